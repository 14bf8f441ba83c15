#include "tilesetalignment.h"

#include <QHash>

#include <utility>
#include <vector>

namespace {

// Tilesets [hereBegin, hereEnd) of one table and [thereBegin, thereEnd) of the other.
struct Span
{
    int hereBegin;
    int hereEnd;
    int thereBegin;
    int thereEnd;
};

using Pairs = QList<std::pair<int, int>>;

// The pairs of a longest common subsequence of the span under equal(here, there), in order.
template<typename Equal>
Pairs longestCommon(Span span, Equal equal)
{
    Pairs pairs;
    auto [a, aEnd, b, bEnd] = span;
    // The ends that already agree, as a rule most of the tables, need no table of lengths.
    while (a < aEnd && b < bEnd && equal(a, b))
        pairs.append({a++, b++});
    Pairs tail;
    while (aEnd > a && bEnd > b && equal(aEnd - 1, bEnd - 1))
        tail.append({--aEnd, --bEnd});
    const int n = aEnd - a;
    const int m = bEnd - b;
    if (n > 0 && m > 0) {
        // length(i, j): the longest common subsequence of here[a + i, aEnd) and there[b + j, bEnd).
        std::vector<quint16> lengths(size_t(n + 1) * (m + 1), 0);
        const auto length = [&](int i, int j) -> quint16 & { return lengths[i * (m + 1) + j]; };
        for (int i = n - 1; i >= 0; --i) {
            for (int j = m - 1; j >= 0; --j)
                length(i, j) = equal(a + i, b + j) ? length(i + 1, j + 1) + 1
                                                   : std::max(length(i + 1, j), length(i, j + 1));
        }
        for (int i = 0, j = 0; i < n && j < m;) {
            if (equal(a + i, b + j))
                pairs.append({a + i++, b + j++});
            else if (length(i + 1, j) >= length(i, j + 1))
                ++i;
            else
                ++j;
        }
    }
    pairs.append(Pairs(tail.crbegin(), tail.crend()));
    return pairs;
}

class Aligner
{
public:
    Aligner(const TilesetTable &here, const TilesetTable &there)
        : mHere(here)
        , mThere(there)
        , mEntries(std::min(here.entryCount(), there.entryCount()))
    {}

    QList<AlignedTilesets> run()
    {
        mOut.reserve(std::max(mHere.tilesetCount(), mThere.tilesetCount()) + 8);
        byRecords({0, mHere.tilesetCount(), 0, mThere.tilesetCount()});
        return mOut;
    }

private:
    QByteArrayView commonRecord(const TilesetTable &table, int tileset) const
    {
        return table.record(tileset).first(recordLength(mEntries));
    }

    // Each record as a number, equal for equal bytes: the table of lengths then compares
    // numbers, not records of up to 8 KB.
    void byRecords(Span span)
    {
        QHash<QByteArrayView, int> numbers;
        numbers.reserve(span.hereEnd + span.thereEnd);
        const auto numbered = [&](const TilesetTable &table, int count) {
            std::vector<int> out(count);
            for (int k = 0; k < count; ++k) {
                auto known = numbers.constFind(commonRecord(table, k));
                if (known == numbers.cend())
                    known = numbers.insert(commonRecord(table, k), int(numbers.size()));
                out[k] = *known;
            }
            return out;
        };
        const std::vector<int> here = numbered(mHere, span.hereEnd);
        const std::vector<int> there = numbered(mThere, span.thereEnd);
        lineUpGaps(span, longestCommon(span, [&](int i, int j) { return here[i] == there[j]; }),
                   &Aligner::byNames);
    }

    void byNames(Span span)
    {
        lineUpGaps(span,
                   longestCommon(span,
                                 [this](int i, int j) {
                                     return mHere.tilesetName(i) == mThere.tilesetName(j);
                                 }),
                   &Aligner::bySimilarity);
    }

    // The pairs in order, and what lies between them lined up by the next rule.
    void lineUpGaps(Span span, const Pairs &pairs, void (Aligner::*between)(Span))
    {
        int a = span.hereBegin;
        int b = span.thereBegin;
        for (const auto &[i, j] : pairs) {
            (this->*between)({a, i, b, j});
            mOut.append({i, j});
            a = i + 1;
            b = j + 1;
        }
        (this->*between)({a, span.hereEnd, b, span.thereEnd});
    }

    // Every field of tilesets [begin, end) as a number, the name first: weighing all pairs
    // of a large span, 65,025 of 256 fields at 255 x 255, then compares numbers. Numbers
    // that collide only make a pair look a little more alike.
    std::vector<size_t> fieldNumbers(const TilesetTable &table, int begin, int end) const
    {
        const int fields = mEntries + 1;
        std::vector<size_t> numbers(size_t(end - begin) * fields);
        for (int t = begin; t < end; ++t) {
            size_t *field = &numbers[size_t(t - begin) * fields];
            field[0] = qHash(table.tilesetName(t));
            for (int e = 0; e < mEntries; ++e)
                field[1 + e] = qHash(table.entry(e, t));
        }
        return numbers;
    }

    // What is left after equal records and names: the most agreeing fields over all pairs,
    // where any pair is worth one more than leaving both alone.
    void bySimilarity(Span span)
    {
        const int n = span.hereEnd - span.hereBegin;
        const int m = span.thereEnd - span.thereBegin;
        const int fields = mEntries + 1;
        const std::vector<size_t> here = fieldNumbers(mHere, span.hereBegin, span.hereEnd);
        const std::vector<size_t> there = fieldNumbers(mThere, span.thereBegin, span.thereEnd);
        std::vector<int> worth(size_t(n) * m);
        for (int i = 0; i < n; ++i) {
            for (int j = 0; j < m; ++j) {
                const size_t *a = &here[size_t(i) * fields];
                const size_t *b = &there[size_t(j) * fields];
                int agreeing = 0;
                for (int f = 0; f < fields; ++f)
                    agreeing += a[f] == b[f];
                worth[i * m + j] = 1 + agreeing;
            }
        }
        // best(i, j): the most that here[i, n) and there[j, m) can be worth.
        std::vector<int> bests(size_t(n + 1) * (m + 1), 0);
        const auto best = [&](int i, int j) -> int & { return bests[i * (m + 1) + j]; };
        for (int i = n - 1; i >= 0; --i) {
            for (int j = m - 1; j >= 0; --j)
                best(i, j) = std::max(
                    {best(i + 1, j), best(i, j + 1), worth[i * m + j] + best(i + 1, j + 1)});
        }
        int i = 0;
        int j = 0;
        while (i < n || j < m) {
            if (i < n && j < m && best(i, j) == worth[i * m + j] + best(i + 1, j + 1))
                mOut.append({span.hereBegin + i++, span.thereBegin + j++});
            else if (i < n && (j == m || best(i, j) == best(i + 1, j)))
                mOut.append({span.hereBegin + i++, -1});
            else
                mOut.append({-1, span.thereBegin + j++});
        }
    }

    const TilesetTable &mHere;
    const TilesetTable &mThere;
    const int mEntries;
    QList<AlignedTilesets> mOut;
};

} // namespace

QList<AlignedTilesets> alignTilesets(const TilesetTable &here, const TilesetTable &there)
{
    return Aligner(here, there).run();
}

#include "tilesetmerge.h"

#include "tilesetalignment.h"

#include <QHash>

#include <cstring>

namespace {

// What became of base's tilesets on one side: each one's tileset there or -1 where it was
// deleted, and the tilesets inserted before each (the last list: after all of them).
struct Descent
{
    QList<int> kept;
    QList<QList<int>> insertedBefore;
};

Descent descent(const TilesetTable &base, const TilesetTable &side)
{
    Descent descent;
    descent.kept.fill(-1, base.tilesetCount());
    descent.insertedBefore.resize(base.tilesetCount() + 1);
    QList<int> pending;
    for (const auto [b, s] : alignTilesets(base, side)) {
        if (b < 0) {
            pending.append(s);
            continue;
        }
        descent.kept[b] = s;
        descent.insertedBefore[b].swap(pending);
    }
    descent.insertedBefore.last().swap(pending);
    return descent;
}

class Merger
{
public:
    Merger(const TilesetTable &base, const TilesetTable &ours, const TilesetTable &theirs)
        : mBase(base)
        , mOurs(ours)
        , mTheirs(theirs)
    {}

    TilesetMerge run()
    {
        Q_ASSERT(mOurs.entryCount() == mBase.entryCount() &&
                 mTheirs.entryCount() == mBase.entryCount());
        const Descent ours = descent(mBase, mOurs);
        const Descent theirs = descent(mBase, mTheirs);
        mBytes.reserve(std::max(mOurs.bytes().size(), mTheirs.bytes().size()));
        for (int b = 0; b <= mBase.tilesetCount(); ++b) {
            // Ours first, then those of theirs that ours did not insert there too: the same
            // insert on both sides, or one merged in before, is taken once.
            QList<int> oursInserted = ours.insertedBefore[b];
            for (int o : std::as_const(oursInserted))
                append(mOurs.record(o));
            for (int t : theirs.insertedBefore[b]) {
                const auto same =
                    std::find_if(oursInserted.begin(), oursInserted.end(), [&](int o) {
                        return o >= 0 && mOurs.record(o) == mTheirs.record(t);
                    });
                if (same == oursInserted.end())
                    append(mTheirs.record(t));
                else
                    *same = -1;
            }
            if (b < mBase.tilesetCount())
                mergeTileset(b, ours.kept[b], theirs.kept[b]);
        }
        TilesetMerge result;
        result.merged = TilesetTable(mCount, mBase.entryCount(), Qt::Uninitialized);
        if (mCount > 0)
            std::memcpy(result.merged.recordData(), mBytes.constData(), mBytes.size());
        // Bytes after the records belong to no tileset: ours, the file being merged into.
        result.merged.setTrailingBytes(mOurs.trailingBytes());
        result.conflicts = std::move(mConflicts);
        return result;
    }

private:
    void append(QByteArrayView record)
    {
        mBytes.append(record);
        ++mCount;
    }

    void mergeTileset(int b, int o, int t)
    {
        const QByteArrayView base = mBase.record(b);
        if (o < 0 && t < 0)
            return;
        if (o < 0) {
            if (mTheirs.record(t) != base)
                mConflicts.append({MergeConflict::RemovedInOurs,
                                   mCount,
                                   -1,
                                   t,
                                   base.toByteArray(),
                                   {},
                                   mTheirs.record(t).toByteArray()});
            return;
        }
        const QByteArrayView ours = mOurs.record(o);
        if (t < 0) {
            if (ours != base) {
                mConflicts.append({MergeConflict::RemovedInTheirs,
                                   mCount,
                                   -1,
                                   -1,
                                   base.toByteArray(),
                                   ours.toByteArray(),
                                   {}});
                append(ours);
            }
            return;
        }
        const QByteArrayView theirs = mTheirs.record(t);
        const qsizetype start = mBytes.size();
        append(ours);
        if (theirs == base || theirs == ours)
            return;
        for (int entry = -1; entry < mBase.entryCount(); ++entry) {
            const qsizetype at = entry < 0 ? 0 : NameWidth + qsizetype(EntryWidth) * entry;
            const qsizetype width = entry < 0 ? NameWidth : EntryWidth;
            const QByteArrayView was = base.sliced(at, width);
            const QByteArrayView theirsField = theirs.sliced(at, width);
            const QByteArrayView oursField = ours.sliced(at, width);
            if (theirsField == was || theirsField == oursField)
                continue;
            if (oursField == was)
                mBytes.replace(start + at, width, theirsField.data(), width);
            else
                mConflicts.append({MergeConflict::Field, mCount - 1, entry, t, was.toByteArray(),
                                   oursField.toByteArray(), theirsField.toByteArray()});
        }
    }

    const TilesetTable &mBase;
    const TilesetTable &mOurs;
    const TilesetTable &mTheirs;
    QByteArray mBytes;
    int mCount = 0;
    QList<MergeConflict> mConflicts;
};

} // namespace

TilesetMerge mergeTilesets(const TilesetTable &base, const TilesetTable &ours,
                           const TilesetTable &theirs)
{
    return Merger(base, ours, theirs).run();
}

QList<OpenConflict> openConflicts(const TilesetTable &document,
                                  const QList<TilesetDifference> &fromTheirs,
                                  const QList<MergeConflict> &conflicts)
{
    QHash<std::pair<int, int>, qsizetype> fields;     // by theirs' tileset and the entry
    QHash<int, qsizetype> removedInOurs;              // by theirs' tileset
    QHash<QByteArrayView, qsizetype> removedInTheirs; // by the record ours kept
    for (qsizetype c = 0; c < conflicts.size(); ++c) {
        const MergeConflict &conflict = conflicts[c];
        if (conflict.kind == MergeConflict::Field)
            fields.insert({conflict.theirsTileset, conflict.entry}, c);
        else if (conflict.kind == MergeConflict::RemovedInOurs)
            removedInOurs.insert(conflict.theirsTileset, c);
        else
            removedInTheirs.insert(conflict.ours, c);
    }
    QList<OpenConflict> open;
    for (const TilesetDifference &difference : fromTheirs) {
        qsizetype c = -1;
        if (difference.there < 0) {
            c = removedInTheirs.value(document.record(difference.here), -1);
        } else if (difference.here < 0) {
            c = removedInOurs.value(difference.there, -1);
        } else {
            c = fields.value({difference.there, difference.entry}, -1);
            const QByteArrayView field = difference.entry < 0
                                             ? document.tilesetName(difference.here)
                                             : document.entry(difference.entry, difference.here);
            if (c >= 0 && field != conflicts[c].ours)
                c = -1;
        }
        if (c >= 0)
            open.append({difference, c});
    }
    return open;
}

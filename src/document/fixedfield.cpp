#include "fixedfield.h"

#include <QtEndian>

#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__)
#include <immintrin.h>
#endif

QByteArray storeFixedText(QByteArrayView text, int width)
{
    if (text.size() >= width)
        return text.first(width).toByteArray();
    QByteArray field(width, ' ');
    if (!text.isEmpty()) // an empty view may have no data pointer at all
        std::memcpy(field.data(), text.data(), text.size());
    field[text.size()] = '\0';
    return field;
}

QByteArray padFixedText(QByteArrayView text, int width)
{
    QByteArray field(width, ' ');
    if (!text.isEmpty())
        std::memcpy(field.data(), text.data(), std::min<qsizetype>(text.size(), width));
    return field;
}

namespace {

constexpr quint64 Ones = 0x0101010101010101ULL;
constexpr quint64 Highs = 0x8080808080808080ULL;
constexpr quint64 Spaces = 0x2020202020202020ULL;

// Index of the first NUL; width when there is none. Eight bytes at a time, since the
// loader runs this for every field of a file (65,025 entries in the largest).
int firstNul(const char *field, int width)
{
    int i = 0;
    for (; i + 8 <= width; i += 8) {
        const quint64 word = qFromLittleEndian<quint64>(field + i);
        // The lowest flagged byte is exactly the first zero byte of the word.
        const quint64 zeros = (word - Ones) & ~word & Highs;
        if (zeros)
            return i + std::countr_zero(zeros) / 8;
    }
    for (; i < width; ++i) {
        if (field[i] == '\0')
            return i;
    }
    return width;
}

// Bytes from pad on become spaces, a word at a time.
void fillSpaces(char *field, int width, int pad)
{
    int i = pad;
    const int wordStart = pad & ~7;
    if (pad != wordStart && wordStart + 8 <= width) {
        // Finish the word that holds pad, keeping its bytes before pad.
        const quint64 word = qFromLittleEndian<quint64>(field + wordStart);
        const quint64 keep = ~0ULL >> (64 - 8 * (pad - wordStart));
        qToLittleEndian<quint64>((word & keep) | (Spaces & ~keep), field + wordStart);
        i = wordStart + 8;
    }
    for (; i + 8 <= width; i += 8)
        std::memcpy(field + i, &Spaces, 8);
    for (; i < width; ++i)
        field[i] = ' ';
}

} // namespace

void applyFieldRule(char *field, int width)
{
    const int visible = firstNul(field, width);
    if (visible == width)
        return; // the whole field is text; a field cut at its width keeps no NUL
    // Trimming shortens the raw field exactly when its first or last byte is a blank.
    const bool trimmable = uchar(field[0]) <= 32 || uchar(field[width - 1]) <= 32;
    // With a terminator the NUL found stays where it is and only what follows it changes.
    fillSpaces(field, width, trimmable ? visible + 1 : visible);
}

namespace {

// One entry; inlined into the loop below, where a call per entry would cost as much as the
// rule itself.
inline void tidyEntry(char *entry)
{
    static_assert(EntryWidth == 32);
#if defined(__SSE2__)
    // The largest file has 65,025 entries: sixteen bytes at a time keeps the rule close to
    // the speed of reading the bytes at all.
    const __m128i zero = _mm_setzero_si128();
    __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i *>(entry));
    __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i *>(entry + 16));
    const uint nuls = uint(_mm_movemask_epi8(_mm_cmpeq_epi8(low, zero))) |
                      uint(_mm_movemask_epi8(_mm_cmpeq_epi8(high, zero))) << 16;
    if (nuls == 0)
        return;
    const int visible = std::countr_zero(nuls);
    if (visible == 0) {
        _mm_storeu_si128(reinterpret_cast<__m128i *>(entry), zero);
        _mm_storeu_si128(reinterpret_cast<__m128i *>(entry + 16), zero);
        return;
    }
    const bool trimmable = uchar(entry[0]) <= 32 || uchar(entry[EntryWidth - 1]) <= 32;
    const int pad = trimmable ? visible + 1 : visible; // bytes from pad on become spaces
    const __m128i last = _mm_set1_epi8(char(pad - 1));
    const __m128i spaces = _mm_set1_epi8(' ');
    const __m128i lowIndex = _mm_setr_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
    const __m128i highIndex = _mm_add_epi8(lowIndex, _mm_set1_epi8(16));
    const __m128i lowFill = _mm_cmpgt_epi8(lowIndex, last);
    const __m128i highFill = _mm_cmpgt_epi8(highIndex, last);
    low = _mm_or_si128(_mm_andnot_si128(lowFill, low), _mm_and_si128(lowFill, spaces));
    high = _mm_or_si128(_mm_andnot_si128(highFill, high), _mm_and_si128(highFill, spaces));
    _mm_storeu_si128(reinterpret_cast<__m128i *>(entry), low);
    _mm_storeu_si128(reinterpret_cast<__m128i *>(entry + 16), high);
#else
    if (entry[0] == '\0')
        std::memset(entry, '\0', EntryWidth);
    else
        applyFieldRule(entry, EntryWidth);
#endif
}

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define HMK_HAVE_AVX2_RULE 1
// The same rule with a whole entry in one register, for processors that have AVX2: the
// loader's tidying then costs about what reading the file does.
__attribute__((target("avx2"))) void tidyEntriesAvx2(char *entries, int count)
{
    const __m256i zero = _mm256_setzero_si256();
    const __m256i spaces = _mm256_set1_epi8(' ');
    const __m256i index =
        _mm256_setr_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20,
                         21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31);
    for (char *entry = entries; entry != entries + qsizetype(EntryWidth) * count;
         entry += EntryWidth) {
        auto *place = reinterpret_cast<__m256i *>(entry);
        const __m256i bytes = _mm256_loadu_si256(place);
        const uint nuls = uint(_mm256_movemask_epi8(_mm256_cmpeq_epi8(bytes, zero)));
        if (nuls == 0)
            continue;
        const int visible = std::countr_zero(nuls);
        if (visible == 0) {
            _mm256_storeu_si256(place, zero);
            continue;
        }
        const bool trimmable = uchar(entry[0]) <= 32 || uchar(entry[EntryWidth - 1]) <= 32;
        const int pad = trimmable ? visible + 1 : visible;
        const __m256i fill = _mm256_cmpgt_epi8(index, _mm256_set1_epi8(char(pad - 1)));
        _mm256_storeu_si256(place, _mm256_blendv_epi8(bytes, spaces, fill));
    }
}
#endif

} // namespace

void applyEntryRule(char *entry)
{
    tidyEntry(entry);
}

void applyEntryRules(char *entries, int count)
{
#if defined(HMK_HAVE_AVX2_RULE)
    static const bool hasAvx2 = __builtin_cpu_supports("avx2");
    if (hasAvx2)
        return tidyEntriesAvx2(entries, count);
#endif
    for (int j = 0; j < count; ++j, entries += EntryWidth)
        tidyEntry(entries);
}

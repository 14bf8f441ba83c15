#include "fieldsearch.h"

#include "fixedfield.h"
#include "textutils.h"
#include "windows1252.h"

#include <optional>

namespace {

bool isAscii(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

char foldAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

// Matches and replaces the searched text in fields. Every field of the largest file is
// looked at, so a text of ASCII letters is looked for in the bytes themselves: no letter
// of the code page outside ASCII folds to an ASCII one, so this finds exactly what
// comparing the decoded texts would. Other texts go through the decoded field.
class FieldMatcher
{
public:
    explicit FieldMatcher(const SearchOptions &options)
        : mOptions(options)
        , mCase(options.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive)
    {
        if (isAscii(options.text)) {
            mNeedle = options.text.toLatin1();
            if (!options.matchCase)
                std::transform(mNeedle->begin(), mNeedle->end(), mNeedle->begin(), foldAscii);
        }
    }

    bool matches(QByteArrayView field) const
    {
        const QByteArrayView visible = cutAtNul(field);
        if (!mNeedle) {
            const QString text = fromWindows1252(visible);
            if (mOptions.wholeField)
                return withoutPadding(QStringView(text)).compare(mOptions.text, mCase) == 0;
            return text.contains(mOptions.text, mCase);
        }
        if (mOptions.wholeField) {
            const QByteArrayView text = withoutPadding(visible);
            return text.size() == mNeedle->size() && find(text, 0) == 0;
        }
        return find(visible, 0) >= 0;
    }

    // The field's text with the searched text replaced, as Windows-1252 bytes.
    QByteArray replaced(QByteArrayView field, const QString &replacement) const
    {
        if (mOptions.wholeField)
            return toWindows1252(replacement);
        const QByteArrayView visible = cutAtNul(field);
        if (!mNeedle)
            return toWindows1252(
                fromWindows1252(visible).replace(mOptions.text, replacement, mCase));
        const QByteArray bytes = toWindows1252(replacement);
        QByteArray text;
        text.reserve(visible.size() + bytes.size());
        qsizetype from = 0;
        for (qsizetype at = find(visible, 0); at >= 0; at = find(visible, from)) {
            text += visible.sliced(from, at - from);
            text += bytes;
            from = at + mNeedle->size();
        }
        return text.append(visible.sliced(from));
    }

private:
    qsizetype find(QByteArrayView text, qsizetype from) const
    {
        const QByteArray &needle = *mNeedle;
        if (mOptions.matchCase)
            return text.indexOf(needle, from);
        for (qsizetype i = from; i + needle.size() <= text.size(); ++i) {
            qsizetype j = 0;
            while (j < needle.size() && foldAscii(text[i + j]) == needle[j])
                ++j;
            if (j == needle.size())
                return i;
        }
        return -1;
    }

    const SearchOptions &mOptions;
    Qt::CaseSensitivity mCase;
    std::optional<QByteArray> mNeedle; // the ASCII text, folded unless case matters
};

} // namespace

QList<FieldAddress> findFields(const TilesetTable &table, const SearchOptions &options)
{
    QList<FieldAddress> matches;
    if (options.text.isEmpty())
        return matches;
    const FieldMatcher matcher(options);
    for (int t = 0; t < table.tilesetCount(); ++t) {
        if (options.names && matcher.matches(table.tilesetName(t)))
            matches.append({t, -1});
        if (!options.entries)
            continue;
        for (int e = 0; e < table.entryCount(); ++e) {
            const QByteArrayView field = table.entry(e, t);
            if (field[0] != '\0' && matcher.matches(field))
                matches.append({t, e});
        }
    }
    return matches;
}

FieldReplacement replaceFields(const TilesetTable &table, const QList<FieldAddress> &matches,
                               const SearchOptions &options, const QString &replacement)
{
    FieldReplacement result;
    const FieldMatcher matcher(options);
    for (const FieldAddress &match : matches) {
        const bool name = match.entry < 0;
        const QByteArrayView old =
            name ? table.tilesetName(match.tileset) : table.entry(match.entry, match.tileset);
        const QByteArray text = matcher.replaced(old, replacement);
        if (withoutPadding(QByteArrayView(text)).size() > old.size())
            ++result.cutFields;
        const QByteArray field = storeFixedText(text, int(old.size()));
        if (field != old) {
            ++result.changedFields;
            result.edit.add(name ? table.nameOffset(match.tileset)
                                 : table.entryOffset(match.entry, match.tileset),
                            old, field);
        }
    }
    return result;
}

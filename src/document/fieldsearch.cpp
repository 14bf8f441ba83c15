#include "fieldsearch.h"

#include "fixedfield.h"
#include "textutils.h"
#include "windows1252.h"

namespace {

Qt::CaseSensitivity caseOf(const SearchOptions &options)
{
    return options.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
}

// A field stored without a terminator is padded with blanks: they are no part of its text
// when the whole field is compared.
QStringView withoutPadding(QStringView text)
{
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == u' ')
        --end;
    return text.first(end);
}

QByteArrayView fieldAt(const TilesetTable &table, const FieldMatch &match)
{
    return match.entry < 0 ? table.tilesetName(match.tileset)
                           : table.entry(match.entry, match.tileset);
}

} // namespace

QString fieldText(QByteArrayView field)
{
    return fromWindows1252(cutAtNul(field));
}

bool textMatches(const QString &text, const SearchOptions &options)
{
    if (options.wholeField)
        return withoutPadding(text).compare(options.text, caseOf(options)) == 0;
    return text.contains(options.text, caseOf(options));
}

QList<FieldMatch> findFields(const TilesetTable &table, const SearchOptions &options)
{
    QList<FieldMatch> matches;
    if (options.text.isEmpty())
        return matches;
    for (int t = 0; t < table.tilesetCount(); ++t) {
        if (options.names && textMatches(fieldText(table.tilesetName(t)), options))
            matches.append({t, -1});
        if (!options.entries)
            continue;
        for (int e = 0; e < table.entryCount(); ++e) {
            const QByteArrayView field = table.entry(e, t);
            if (field[0] != '\0' && textMatches(fieldText(field), options))
                matches.append({t, e});
        }
    }
    return matches;
}

QString replacedText(const QString &text, const SearchOptions &options, const QString &replacement)
{
    if (options.wholeField)
        return replacement;
    return QString(text).replace(options.text, replacement, caseOf(options));
}

FieldReplacement replaceFields(const TilesetTable &table, const QList<FieldMatch> &matches,
                               const SearchOptions &options, const QString &replacement)
{
    FieldReplacement result;
    for (const FieldMatch &match : matches) {
        const QByteArrayView old = fieldAt(table, match);
        const int width = int(old.size());
        const QString text = replacedText(fieldText(old), options, replacement);
        if (withoutPadding(text).size() > width)
            ++result.cutFields;
        const QByteArray field = storeFixedText(toWindows1252(text), width);
        const qsizetype offset = match.entry < 0 ? table.nameOffset(match.tileset)
                                                 : table.entryOffset(match.entry, match.tileset);
        if (field != old) {
            ++result.changedFields;
            result.edit.add(offset, old, field);
        }
    }
    return result;
}

#include "tablefile.h"

#include "fieldformat.h"
#include "filereason.h"
#include "textutils.h"
#include "windows1252.h"
#include "xlsxtable.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QStringDecoder>

#include <algorithm>
#include <map>

using namespace Qt::StringLiterals;

namespace {

constexpr char ByteOrderMark[] = "\xEF\xBB\xBF";
// Far above the largest table's 1.5 MB of text; a larger file is refused unread.
constexpr qint64 MaximumTableBytes = 64 * 1024 * 1024;
constexpr qsizetype MaximumCells = 1024 * 1024;

QChar separatorOf(TableFormat format)
{
    return format == TableFormat::Csv ? u',' : u'\t';
}

// As a spreadsheet heads its columns: A to Z, then AA.
QString columnName(qsizetype column)
{
    QString name;
    for (qsizetype c = column + 1; c > 0; c = (c - 1) / 26)
        name.prepend(QChar(char16_t(u'A' + (c - 1) % 26)));
    return name;
}

QString place(qsizetype row, qsizetype column)
{
    return u"Row %1, column %2: "_s.arg(row + 1).arg(columnName(column));
}

// A number of one to three digits, blanks around it allowed; -1 for anything else.
int numberIn(const QString &cell)
{
    const QString digits = cell.trimmed();
    if (digits.isEmpty() || digits.size() > 3 ||
        !std::all_of(digits.begin(), digits.end(),
                     [](QChar c) { return c.isDigit() && c < u'\x80'; }))
        return -1;
    return digits.toInt();
}

bool isEmptyRow(const QStringList &row)
{
    return std::all_of(row.begin(), row.end(), [](const QString &cell) { return cell.isEmpty(); });
}

} // namespace

std::optional<TableFormat> tableFormatOf(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"csv")
        return TableFormat::Csv;
    if (suffix == u"tsv")
        return TableFormat::Tsv;
    if (suffix == u"xlsx")
        return TableFormat::Xlsx;
    return std::nullopt;
}

TextRows tableRows(const TilesetTable &table)
{
    TextRows rows;
    rows.reserve(table.tilesetCount() + 1);
    QStringList header{u"Tileset"_s, u"Name"_s};
    for (int e = 0; e < table.entryCount(); ++e)
        header.append(entryNumber(e));
    rows.append(header);
    for (int t = 0; t < table.tilesetCount(); ++t) {
        QStringList row{tilesetNumber(t), fieldText(table.tilesetName(t))};
        row.reserve(table.entryCount() + 2);
        for (int e = 0; e < table.entryCount(); ++e)
            row.append(fieldText(table.entry(e, t)));
        rows.append(row);
    }
    return rows;
}

std::optional<QByteArray> tableFileBytes(const TextRows &rows, TableFormat format, QString *error)
{
    if (format == TableFormat::Xlsx)
        return xlsxBytes(rows, error);
    return QByteArray(ByteOrderMark) + toDelimitedText(rows, separatorOf(format)).toUtf8();
}

std::optional<TextRows> rowsFromTableFile(const QByteArray &bytes, TableFormat format,
                                          QString *error)
{
    if (format == TableFormat::Xlsx)
        return rowsFromXlsx(bytes, error);
    QString text;
    if (bytes.startsWith(ByteOrderMark)) {
        text = QString::fromUtf8(bytes.sliced(3));
    } else {
        QStringDecoder utf8(QStringDecoder::Utf8);
        text = utf8(bytes);
        if (utf8.hasError())
            text = fromWindows1252(bytes);
    }
    return fromDelimitedText(text, separatorOf(format), MaximumCells);
}

bool writeTableFile(const TilesetTable &table, const QString &path, QString *error)
{
    const std::optional<TableFormat> format = tableFormatOf(path);
    if (!format) {
        *error = u"a table is a .csv, .tsv or .xlsx file"_s;
        return false;
    }
    if (*error = unsavablePathReason(path); !error->isEmpty())
        return false;
    const std::optional<QByteArray> bytes = tableFileBytes(tableRows(table), *format, error);
    if (!bytes)
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(*bytes) != bytes->size() || !file.commit()) {
        *error = deviceErrorReason(file, true);
        return false;
    }
    return true;
}

std::optional<TextRows> readTableFile(const QString &path, QString *error)
{
    const std::optional<TableFormat> format = tableFormatOf(path);
    if (!format) {
        *error = u"a table is a .csv, .tsv or .xlsx file"_s;
        return std::nullopt;
    }
    if (*error = unreadablePathReason(path); !error->isEmpty())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = deviceErrorReason(file, false);
        return std::nullopt;
    }
    const QByteArray bytes = file.read(MaximumTableBytes + 1);
    if (bytes.size() > MaximumTableBytes) {
        *error = u"larger than any table of a tileset file"_s;
        return std::nullopt;
    }
    return rowsFromTableFile(bytes, *format, error);
}

TableImport importTable(const TilesetTable &table, const TextRows &rows)
{
    const auto refused = [](const QString &why) { return TableImport{{}, 0, 0, why}; };
    const auto first = std::find_if_not(rows.begin(), rows.end(), isEmptyRow);
    if (first == rows.end())
        return refused(u"The table is empty: its first row names the columns, Tileset, Name, "
                       u"000 and on."_s);
    const qsizetype headerRow = first - rows.begin();
    const QStringList &header = *first;

    // Which column is which: the tileset's number, or the field at column 0 (the name) or
    // 1 + j (entry j).
    qsizetype numberColumn = -1;
    std::map<qsizetype, int> fieldColumns;
    QHash<int, qsizetype> seen; // field or -1 for the number, by the column that names it
    for (qsizetype c = 0; c < header.size(); ++c) {
        const QString name = header[c].trimmed();
        int field = -2;
        if (name.compare(u"Tileset"_s, Qt::CaseInsensitive) == 0)
            field = -1;
        else if (name.compare(u"Name"_s, Qt::CaseInsensitive) == 0)
            field = 0;
        else if (const int entry = numberIn(name); entry >= 0 && entry < table.entryCount())
            field = entry + 1;
        if (name.isEmpty()) {
            if (std::any_of(first + 1, rows.end(),
                            [c](const QStringList &row) { return !row.value(c).isEmpty(); }))
                return refused(place(headerRow, c) + u"a column without a header."_s);
            continue;
        }
        if (field == -2)
            return refused(place(headerRow, c) +
                           u"\u201c%1\u201d is not a column of this file; the columns are "
                           u"Tileset, Name and the entries 000 to %2."_s.arg(
                               name, entryNumber(table.entryCount() - 1)));
        if (seen.contains(field))
            return refused(place(headerRow, c) +
                           u"\u201c%1\u201d is there twice (also column %2)."_s.arg(
                               name, columnName(seen.value(field))));
        seen.insert(field, c);
        if (field == -1)
            numberColumn = c;
        else
            fieldColumns.emplace(c, field);
    }
    if (numberColumn < 0)
        return refused(u"Row %1: there is no \u201cTileset\u201d column to tell which row is "
                       u"which tileset."_s.arg(headerRow + 1));

    // Every row's tileset; rows after the last tileset add tilesets, one after another.
    QHash<int, qsizetype> rowOf;
    QList<std::pair<qsizetype, int>> numbered; // rows in order, with their tilesets
    std::map<int, qsizetype> added;
    for (qsizetype r = headerRow + 1; r < rows.size(); ++r) {
        if (isEmptyRow(rows[r]))
            continue;
        const QString cell = rows[r].value(numberColumn);
        const int t = numberIn(cell);
        if (t < 0)
            return refused(place(r, numberColumn) +
                           u"\u201c%1\u201d is not a tileset number."_s.arg(cell));
        if (rowOf.contains(t))
            return refused(place(r, numberColumn) +
                           u"tileset %1 is there twice (also row %2)."_s.arg(
                               tilesetNumber(t), QString::number(rowOf.value(t) + 1)));
        rowOf.insert(t, r);
        numbered.append({r, t});
        if (t >= table.tilesetCount())
            added.emplace(t, r);
    }
    int next = table.tilesetCount();
    for (const auto &[t, r] : added) {
        if (t != next++ || t >= MaximumCount)
            return refused(place(r, numberColumn) +
                           u"there is no tileset %1; the file has tilesets 00 to %2, and new "
                           u"rows go on from %3, up to %4."_s.arg(
                               tilesetNumber(t), tilesetNumber(table.tilesetCount() - 1),
                               tilesetNumber(table.tilesetCount()),
                               tilesetNumber(MaximumCount - 1)));
    }

    // The fields of each row, into the table's record or an added one.
    TableImport result;
    result.addedTilesets = int(added.size());
    QHash<int, QByteArray> addedRecords;
    for (const auto &[r, t] : numbered) {
        const bool adding = t >= table.tilesetCount();
        QByteArray *record = nullptr;
        if (adding) {
            record = &addedRecords[t];
            *record = QByteArray(table.recordSize(), ' '); // as Insert makes a tileset
            record->replace(0, NameWidth, padFixedText("New Tileset", NameWidth));
        }
        for (const auto &[c, field] : fieldColumns) {
            const QString text = rows[r].value(c);
            const qsizetype offset = field == 0 ? 0 : TilesetTable::entryOffset(field - 1);
            const int width = field == 0 ? NameWidth : EntryWidth;
            const QByteArray old = (adding ? QByteArrayView(*record) : table.record(t))
                                       .sliced(offset, width)
                                       .toByteArray();
            if (!adding && text == fieldText(old))
                continue;
            if (const QString fault = unstorableCharacter(text); !fault.isEmpty())
                return refused(place(r, c) + u"the text "_s + fault);
            const QByteArray bytes = toWindows1252(text);
            if (bytes.size() > width)
                return refused(place(r, c) +
                               u"the text has %1 characters; %2 holds at most %3."_s.arg(
                                   QString::number(bytes.size()),
                                   field == 0 ? u"a name"_s : u"an entry"_s,
                                   QString::number(width)));
            const QByteArray stored = storeFixedText(bytes, width);
            if (adding) {
                record->replace(offset, width, stored);
                ++result.changedFields;
            } else if (stored != old) {
                result.edit.add(table.nameOffset(t) + offset, old, stored);
                ++result.changedFields;
            }
        }
    }
    QByteArray appended;
    for (const auto &[t, r] : added)
        appended += addedRecords.value(t);
    if (!appended.isEmpty())
        result.edit.add(table.nameOffset(table.tilesetCount()), {}, appended);
    return result;
}

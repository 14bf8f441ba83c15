#include "xlsxtable.h"

#include <QHash>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <minizip/unzip.h>
#include <xlsxwriter.h>

#include <algorithm>
#include <cstring>

using namespace Qt::StringLiterals;

namespace {

// No tileset table comes near these; a larger sheet or part is refused unread.
constexpr int MaximumRows = 1024;
constexpr int MaximumColumns = 1024;
constexpr qint64 MaximumPartBytes = 64 * 1024 * 1024;

// The workbook's bytes as minizip's file: it reads the package from memory.
struct MemoryFile
{
    const QByteArray *bytes;
    qint64 position = 0;
};

voidpf openMemory(voidpf opaque, const void *, int)
{
    return opaque;
}

uLong readMemory(voidpf, voidpf stream, void *buffer, uLong size)
{
    auto *file = static_cast<MemoryFile *>(stream);
    const qint64 count = std::clamp<qint64>(file->bytes->size() - file->position, 0, qint64(size));
    std::memcpy(buffer, file->bytes->constData() + file->position, size_t(count));
    file->position += count;
    return uLong(count);
}

uLong writeMemory(voidpf, voidpf, const void *, uLong)
{
    return 0;
}

ZPOS64_T tellMemory(voidpf, voidpf stream)
{
    return ZPOS64_T(static_cast<MemoryFile *>(stream)->position);
}

long seekMemory(voidpf, voidpf stream, ZPOS64_T offset, int origin)
{
    auto *file = static_cast<MemoryFile *>(stream);
    const qint64 base = origin == ZLIB_FILEFUNC_SEEK_CUR   ? file->position
                        : origin == ZLIB_FILEFUNC_SEEK_END ? file->bytes->size()
                                                           : 0;
    const qint64 to = base + qint64(offset);
    if (to < 0 || to > file->bytes->size())
        return -1;
    file->position = to;
    return 0;
}

int closeMemory(voidpf, voidpf)
{
    return 0;
}

int memoryError(voidpf, voidpf)
{
    return 0;
}

// An open package, closed when it goes.
class Package
{
public:
    explicit Package(const QByteArray &bytes)
        : mFile{&bytes}
    {
        zlib_filefunc64_def functions{openMemory, readMemory,  writeMemory, tellMemory,
                                      seekMemory, closeMemory, memoryError, &mFile};
        mZip = unzOpen2_64("workbook", &functions);
    }
    ~Package()
    {
        if (mZip)
            unzClose(mZip);
    }
    Package(const Package &) = delete;
    Package &operator=(const Package &) = delete;

    bool isOpen() const { return mZip != nullptr; }

    // A part, or nothing when it is missing, damaged or larger than any table's.
    std::optional<QByteArray> part(const QString &name)
    {
        unz_file_info64 info{};
        if (unzLocateFile(mZip, name.toUtf8().constData(), 1) != UNZ_OK ||
            unzGetCurrentFileInfo64(mZip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK ||
            info.uncompressed_size > ZPOS64_T(MaximumPartBytes) ||
            unzOpenCurrentFile(mZip) != UNZ_OK)
            return std::nullopt;
        QByteArray bytes(qsizetype(info.uncompressed_size), Qt::Uninitialized);
        const int read = unzReadCurrentFile(mZip, bytes.data(), unsigned(bytes.size()));
        char beyond = 0;
        const bool whole = read == bytes.size() && unzReadCurrentFile(mZip, &beyond, 1) == 0;
        // Closing checks the part's CRC.
        if (unzCloseCurrentFile(mZip) != UNZ_OK || !whole)
            return std::nullopt;
        return bytes;
    }

private:
    MemoryFile mFile;
    unzFile mZip = nullptr;
};

// Characters XML cannot carry are written as _xHHHH_.
QString unescaped(const QString &text)
{
    if (!text.contains(u"_x"_s))
        return text;
    static const QRegularExpression escape(u"_x([0-9A-Fa-f]{4})_"_s);
    QString out;
    qsizetype from = 0;
    for (auto it = escape.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        out += QStringView(text).mid(from, match.capturedStart() - from);
        out += QChar(char16_t(match.captured(1).toUShort(nullptr, 16)));
        from = match.capturedEnd();
    }
    out += QStringView(text).mid(from);
    return out;
}

// The text of the element holding runs (<si>, <is>) just started: every <t> in it but the
// phonetic ones; the reader stops at its end.
QString runText(QXmlStreamReader &xml)
{
    QString text;
    for (int depth = 1; depth > 0 && !xml.atEnd();) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement) {
            --depth;
        } else if (token == QXmlStreamReader::StartElement) {
            if (xml.name() == u"rPh")
                xml.skipCurrentElement();
            else if (xml.name() == u"t")
                text += xml.readElementText();
            else
                ++depth;
        }
    }
    return unescaped(text);
}

QStringList sharedStrings(const QByteArray &part)
{
    QStringList strings;
    QXmlStreamReader xml(part);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"si")
            strings.append(runText(xml));
    }
    return strings;
}

// The first sheet's part, as the workbook and its relationships name it.
QString firstSheetPart(Package &zip)
{
    QString id;
    if (const std::optional<QByteArray> workbook = zip.part(u"xl/workbook.xml"_s)) {
        QXmlStreamReader xml(*workbook);
        while (id.isEmpty() && !xml.atEnd()) {
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"sheet")
                for (const QXmlStreamAttribute &attribute : xml.attributes())
                    if (attribute.name() == u"id")
                        id = attribute.value().toString();
        }
    }
    if (const std::optional<QByteArray> relations = zip.part(u"xl/_rels/workbook.xml.rels"_s)) {
        QXmlStreamReader xml(*relations);
        while (!xml.atEnd()) {
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"Relationship" &&
                xml.attributes().value(u"Id"_s) == id) {
                const QString target = xml.attributes().value(u"Target"_s).toString();
                return target.startsWith(u'/') ? target.mid(1) : u"xl/"_s + target;
            }
        }
    }
    return u"xl/worksheets/sheet1.xml"_s;
}

// "AB12": column 27 and row 11, from 0; nothing when it is no cell reference.
std::optional<std::pair<int, int>> cellPlace(QStringView reference)
{
    int column = 0;
    qsizetype i = 0;
    for (; i < reference.size() && reference[i] >= u'A' && reference[i] <= u'Z' && i < 3; ++i)
        column = column * 26 + (reference[i].unicode() - u'A' + 1);
    bool ok = false;
    const int row = reference.mid(i).toInt(&ok);
    if (i == 0 || !ok || row < 1)
        return std::nullopt;
    return std::pair(column - 1, row - 1);
}

} // namespace

std::optional<QByteArray> xlsxBytes(const TextRows &rows, QString *error)
{
    // The library writes to a file only: one in a folder of its own, read back whole.
    QTemporaryDir folder;
    const QByteArray path = QFile::encodeName(folder.filePath(u"table.xlsx"_s));
    lxw_workbook *workbook = folder.isValid() ? workbook_new(path.constData()) : nullptr;
    if (!workbook) {
        *error = u"cannot make a workbook in the temporary folder"_s;
        return std::nullopt;
    }
    lxw_worksheet *sheet = workbook_add_worksheet(workbook, "Tilesets");
    lxw_format *text = workbook_add_format(workbook);
    format_set_num_format(text, "@"); // a cell typed into later stays text too
    const int columns = rows.isEmpty() ? 1 : int(rows.first().size());
    worksheet_set_column(sheet, 0, lxw_col_t(columns - 1), 20, text);
    worksheet_freeze_panes(sheet, 1, 2);
    // The library escapes control characters as _xHHHH_ but not a text that reads so itself.
    static const QRegularExpression escapeLike(u"_(x[0-9A-Fa-f]{4}_)"_s);
    for (qsizetype r = 0; r < rows.size(); ++r) {
        for (qsizetype c = 0; c < rows[r].size(); ++c) {
            QString cell = rows[r][c];
            if (cell.isEmpty())
                continue;
            if (cell.contains(u"_x"_s))
                cell.replace(escapeLike, u"_x005F_\\1"_s);
            worksheet_write_string(sheet, lxw_row_t(r), lxw_col_t(c), cell.toUtf8().constData(),
                                   text);
        }
    }
    if (const lxw_error result = workbook_close(workbook); result != LXW_NO_ERROR) {
        *error = QString::fromUtf8(lxw_strerror(result));
        return std::nullopt;
    }
    QFile file(QFile::decodeName(path));
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return std::nullopt;
    }
    return file.readAll();
}

std::optional<TextRows> rowsFromXlsx(const QByteArray &bytes, QString *error)
{
    Package zip(bytes);
    if (!zip.isOpen()) {
        *error = u"not a workbook (no ZIP archive)"_s;
        return std::nullopt;
    }
    const QString sheetName = firstSheetPart(zip);
    const std::optional<QByteArray> sheet = zip.part(sheetName);
    if (!sheet) {
        *error = u"a damaged workbook (no sheet %1)"_s.arg(sheetName);
        return std::nullopt;
    }
    const QStringList strings =
        sharedStrings(zip.part(u"xl/sharedStrings.xml"_s).value_or(QByteArray()));
    TextRows rows;
    QXmlStreamReader xml(*sheet);
    int row = -1;
    int column = -1;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"row") {
            row = xml.attributes().hasAttribute(u"r"_s) ? xml.attributes().value(u"r"_s).toInt() - 1
                                                        : row + 1;
            column = -1;
            continue;
        }
        if (xml.name() != u"c")
            continue;
        const QString type = xml.attributes().value(u"t"_s).toString();
        if (const auto place = cellPlace(xml.attributes().value(u"r"_s)))
            std::tie(column, row) = *place;
        else
            ++column;
        QString value;
        bool hasValue = false;
        while (xml.readNextStartElement()) {
            if (xml.name() == u"v") {
                value = xml.readElementText();
                hasValue = true;
            } else if (xml.name() == u"is") {
                value = runText(xml);
                hasValue = true;
            } else {
                xml.skipCurrentElement();
            }
        }
        if (!hasValue)
            continue; // a formatted cell holding nothing
        if (row < 0 || row >= MaximumRows || column < 0 || column >= MaximumColumns) {
            *error = u"a sheet larger than any tileset table"_s;
            return std::nullopt;
        }
        if (type == u"s") {
            bool ok = false;
            const int index = value.toInt(&ok);
            if (!ok || index < 0 || index >= strings.size()) {
                *error = u"a damaged workbook (a text that is not there)"_s;
                return std::nullopt;
            }
            value = strings[index];
        } else {
            value = unescaped(value);
        }
        if (rows.size() <= row)
            rows.resize(row + 1);
        if (rows[row].size() <= column)
            rows[row].resize(column + 1);
        rows[row][column] = value;
    }
    if (xml.hasError()) {
        *error = u"a damaged workbook (%1)"_s.arg(xml.errorString());
        return std::nullopt;
    }
    return rows;
}

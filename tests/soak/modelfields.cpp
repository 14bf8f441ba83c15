#include "modelfields.h"

#include <array>

using namespace Qt::StringLiterals;

namespace SoakModel {

namespace {

bool isBlank(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}

// Characters of the bytes 0x80..0x9F; the five bytes the code page leaves open show as the
// control characters of the same number.
constexpr std::array<char16_t, 32> High = {
    u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F',
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178',
};

// The table of categories, in tree order; a negative number is a sub-entry, placed below
// the entry listed just before it.
struct CategoryRow
{
    const char16_t *name;
    std::vector<int> entries;
};

std::vector<CategoryRow> categoryRows()
{
    std::vector<int> rest{48, 51, 72, 101, 102, 111, 112, 117, 118};
    for (int e = 120; e <= 150; ++e)
        rest.push_back(e);
    return {
        {u"Ground textures", {0, 1, 2, 3, 4, 5, 6, 7, 8}},
        {u"Banks & cliffs", {9, 10, -11, 50, 85, 86, -87}},
        {u"Roads", {78}},
        {u"Debris", {49, 79, 80, 81, 82, 83, 84, 92}},
        {u"Trees", {17, -29, 20, -32, 21, -33, 22, -34, 23, -35}},
        {u"Rocks", {12, -24, 13, -25, 15, -27}},
        {u"Barrels & other junk", {14, -26, 16, -28, 18, -30, 19, -31,  88,  -90,  89,  -91,
                                   93, -95, 94, -96, 97, -99, 98, -100, 103, -105, 104, -106}},
        {u"Walls", {36, 37, 38, 39}},
        {u"Doors", {40, -44, 41, -45, 42, -46, 43, -47}},
        {u"Roofs", {64, 65, 66, 67, 68, 69, 70, 71}},
        {u"Damaged walls", {52, 53, 54, 55}},
        {u"Furniture", {73, 74, 75, 76, 77}},
        {u"Wall decals", {56, 57, 58, 59, 113, 114, 115, 116, 119}},
        {u"Floors", {60, 61, 62, 63}},
        {u"Generic furniture", {107, 108, 109, 110}},
        {u"Rest", rest},
    };
}

Field loadedField(const std::string &raw, int width)
{
    const std::string visible = beforeNul(raw);
    const bool blankAtAnEnd = isBlank(raw.front()) || isBlank(raw.back());
    if (blankAtAnEnd && int(visible.size()) < width)
        return storedText(visible, width);
    return paddedText(visible, width);
}

} // namespace

Field storedText(const std::string &text, int width)
{
    if (int(text.size()) >= width)
        return text.substr(0, width);
    Field field = text;
    field.push_back('\0');
    field.resize(width, ' ');
    return field;
}

Field paddedText(const std::string &text, int width)
{
    Field field = text.substr(0, std::min<size_t>(text.size(), width));
    field.resize(width, ' ');
    return field;
}

Field loadedName(const std::string &raw)
{
    return loadedField(raw, NameBytes);
}

Field loadedEntry(const std::string &raw)
{
    if (raw.front() == '\0')
        return Field(EntryBytes, '\0');
    return loadedField(raw, EntryBytes);
}

std::string trimmed(const std::string &field)
{
    size_t first = 0;
    size_t last = field.size();
    while (first < last && isBlank(field[first]))
        ++first;
    while (last > first && isBlank(field[last - 1]))
        --last;
    return field.substr(first, last - first);
}

std::string beforeNul(const std::string &field)
{
    return field.substr(0, field.find('\0'));
}

QString fromCodePage(const std::string &bytes)
{
    QString text;
    text.reserve(qsizetype(bytes.size()));
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        text.append(byte >= 0x80 && byte <= 0x9F ? QChar(High[byte - 0x80])
                                                 : QChar(char16_t(byte)));
    }
    return text;
}

std::string toCodePage(const QString &text)
{
    std::string bytes;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            bytes.push_back(char(u));
            continue;
        }
        for (int i = 0; i < int(High.size()); ++i) {
            if (High[i] == u)
                bytes.push_back(char(0x80 + i));
        }
    }
    return bytes;
}

QString digits(int number, int width)
{
    return QString::number(number).rightJustified(width, u'0');
}

QString tilesetNumber(int tileset)
{
    return digits(tileset, tileset >= 100 ? 3 : 2);
}

ReadOutcome readTable(const QByteArray *bytes, int requiredEntries, Table &table)
{
    if (!bytes || bytes->size() < 2)
        return ReadOutcome::LoadFailed;
    const int tilesets = static_cast<unsigned char>(bytes->at(0));
    const int entries = static_cast<unsigned char>(bytes->at(1));
    const qint64 size = bytes->size();
    if (size < qint64(tilesets) * entries)
        return ReadOutcome::IncorrectFilesize;
    if (tilesets == 0 || entries == 0)
        return ReadOutcome::LoadFailed;
    if (requiredEntries >= 0 && entries != requiredEntries)
        return ReadOutcome::IncompatibleEntries;
    const qint64 record = NameBytes + qint64(EntryBytes) * entries;
    if (size < 5 + tilesets * record)
        return ReadOutcome::LoadFailed; // the soak never writes such a file
    table = Table();
    table.entryCount = entries;
    const char *at = bytes->constData() + 5;
    for (int t = 0; t < tilesets; ++t) {
        table.names.push_back(loadedName(std::string(at, NameBytes)));
        at += NameBytes;
        std::vector<Field> row;
        row.reserve(entries);
        for (int j = 0; j < entries; ++j, at += EntryBytes)
            row.push_back(loadedEntry(std::string(at, EntryBytes)));
        table.entries.push_back(std::move(row));
    }
    return ReadOutcome::Loaded;
}

QByteArray headerBytes(int tilesets, int entries)
{
    QByteArray bytes;
    bytes.append(char(tilesets));
    bytes.append(char(entries));
    bytes.append(3, '\0');
    return bytes;
}

QByteArray tableBytes(const Table &table)
{
    QByteArray bytes = headerBytes(table.tilesetCount(), table.entryCount);
    for (int t = 0; t < table.tilesetCount(); ++t) {
        bytes.append(table.names[t].data(), qsizetype(table.names[t].size()));
        for (const Field &entry : table.entries[t])
            bytes.append(entry.data(), qsizetype(entry.size()));
    }
    return bytes;
}

std::vector<NodeShape> categorisedShape()
{
    std::vector<NodeShape> nodes;
    for (const CategoryRow &row : categoryRows()) {
        nodes.push_back({-1, 0, QString::fromUtf16(row.name)});
        const int category = int(nodes.size());
        int previous = 0;
        for (int e : row.entries) {
            const int entry = e < 0 ? -e : e;
            nodes.push_back({entry, e < 0 ? previous : category, digits(entry, 3) + u". "_s});
            previous = int(nodes.size());
        }
    }
    return nodes;
}

std::vector<NodeShape> flatShape(int entries)
{
    std::vector<NodeShape> nodes;
    for (int e = 0; e < entries; ++e)
        nodes.push_back({e, 0, digits(e, 3) + u". "_s});
    return nodes;
}

} // namespace SoakModel

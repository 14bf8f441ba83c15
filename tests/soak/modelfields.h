#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <string>
#include <vector>

// The soak test's own picture of fields, files and the entry tree's shape, written from the
// documented rules alone and sharing no code with the program, so that the two can disagree.
namespace SoakModel {

// One fixed-width field, byte for byte.
using Field = std::string;

constexpr int NameBytes = 33;
constexpr int EntryBytes = 32;
constexpr int CategorisedEntries = 151;
constexpr int MaxCount = 255;

// Typed text: the text, one NUL when it is shorter than the field, then spaces.
Field storedText(const std::string &text, int width);
// A literal name or empty inserted entry: text and spaces, no NUL.
Field paddedText(const std::string &text, int width);
// What the loader makes of a raw field; an entry whose first byte is NUL stays all NUL.
Field loadedName(const std::string &raw);
Field loadedEntry(const std::string &raw);

// Without the blanks (code 32 or less) at both ends.
std::string trimmed(const std::string &field);
// The bytes before the first NUL.
std::string beforeNul(const std::string &field);

// Windows-1252 both ways; toCodePage only meets characters the code page has.
QString fromCodePage(const std::string &bytes);
std::string toCodePage(const QString &text);

// "07" / "007"; tilesets from 100 up take three digits.
QString digits(int number, int width);
QString tilesetNumber(int tileset);

struct Table
{
    int entryCount = 0;
    std::vector<Field> names;
    std::vector<std::vector<Field>> entries; // [tileset][entry]

    int tilesetCount() const { return int(names.size()); }
    bool operator==(const Table &) const = default;
};

enum class ReadOutcome
{
    Loaded,
    IncorrectFilesize,
    IncompatibleEntries,
    LoadFailed
};

// Reads a file's bytes by the loader's rules; requiredEntries is the open document's E when
// importing, -1 when loading. Null bytes stand for a path that is no readable file.
ReadOutcome readTable(const QByteArray *bytes, int requiredEntries, Table &table);

// Header and records as the writer lays them out.
QByteArray tableBytes(const Table &table);
QByteArray headerBytes(int tilesets, int entries);

// One node of the categorised entry tree, in creation order.
struct NodeShape
{
    int entry;  // -1 for a category
    int parent; // node index (1-based), 0 at the top level
    QString text;
};
std::vector<NodeShape> categorisedShape();
std::vector<NodeShape> flatShape(int entries);

} // namespace SoakModel

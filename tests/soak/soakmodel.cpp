#include "soakmodel.h"

#include <array>
#include <cmath>

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

qsizetype fileLength(int tilesets, int entries)
{
    return 5 + qsizetype(tilesets) * (NameBytes + qsizetype(EntryBytes) * entries);
}

// What the loader makes of a raw field; an entry that begins with NUL stays all NUL.
Field loadedField(const std::string &raw, int width)
{
    const std::string visible = beforeNul(raw);
    if (width == EntryBytes && raw.front() == '\0')
        return Field(EntryBytes, '\0');
    if ((isBlank(raw.front()) || isBlank(raw.back())) && int(visible.size()) < width)
        return storedText(visible, width);
    return paddedText(visible, width);
}

} // namespace

Field storedText(const std::string &text, int width)
{
    if (int(text.size()) >= width)
        return text.substr(0, width);
    Field field = text + '\0';
    field.resize(width, ' ');
    return field;
}

Field paddedText(const std::string &text, int width)
{
    Field field = text.substr(0, std::min<size_t>(text.size(), width));
    field.resize(width, ' ');
    return field;
}

std::string trimmed(const std::string &field)
{
    const auto first = std::find_if_not(field.begin(), field.end(), isBlank);
    const auto last = std::find_if_not(field.rbegin(), field.rend(), isBlank).base();
    return first < last ? std::string(first, last) : std::string();
}

QString fromCodePage(const std::string &bytes)
{
    QString text;
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
        const auto high = std::find(High.begin(), High.end(), u);
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
            bytes.push_back(char(u));
        else if (high != High.end())
            bytes.push_back(char(0x80 + (high - High.begin())));
    }
    return bytes;
}

QString box(const QString &text, const QString &title, Buttons buttons, Icon icon)
{
    return u"[%1 | %2 | buttons %3 | icon %4]"_s.arg(text, title).arg(int(buttons)).arg(int(icon));
}

QString fileDialog(const QString &title, bool save, const QString &where)
{
    return u"[%1 | %2 %3]"_s.arg(title, save ? u"save in"_s : u"open"_s, where);
}

std::optional<Table> rawTable(const QByteArray &bytes, bool loaded)
{
    if (bytes.size() < 5)
        return std::nullopt;
    Table table;
    const int tilesets = static_cast<unsigned char>(bytes[0]);
    table.entryCount = static_cast<unsigned char>(bytes[1]);
    if (bytes.size() != fileLength(tilesets, table.entryCount))
        return std::nullopt;
    const char *at = bytes.constData() + 5;
    const auto field = [&at, loaded](int width) {
        const Field raw(at, width);
        at += width;
        return loaded ? loadedField(raw, width) : raw;
    };
    for (int t = 0; t < tilesets; ++t) {
        table.names.push_back(field(NameBytes));
        table.entries.emplace_back();
        for (int j = 0; j < table.entryCount; ++j)
            table.entries.back().push_back(field(EntryBytes));
    }
    return table;
}

QString readTable(const QByteArray *bytes, int requiredEntries, Table &table)
{
    const QString failed = box(u"Error while loading!"_s, u"Error"_s, Buttons::Ok, Icon::Critical);
    if (!bytes || bytes->size() < 2)
        return failed;
    const int tilesets = static_cast<unsigned char>(bytes->at(0));
    const int entries = static_cast<unsigned char>(bytes->at(1));
    if (bytes->size() < qint64(tilesets) * entries)
        return box(u"Error: Incorrect filesize"_s, u"Error"_s, Buttons::Ok, Icon::Exclamation);
    if (tilesets == 0 || entries == 0)
        return failed;
    if (requiredEntries >= 0 && entries != requiredEntries)
        return box(u"Incompatible amount of entries."_s, u"Error importing tileset"_s, Buttons::Ok,
                   Icon::Critical);
    const std::optional<Table> read = rawTable(bytes->left(fileLength(tilesets, entries)), true);
    if (!read)
        return failed; // shorter than its records
    table = *read;
    return QString();
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

} // namespace SoakModel

using namespace SoakModel;

namespace {

// The categories in tree order; a negative number is a sub-entry, placed below the entry
// listed just before it.
const std::vector<std::pair<QString, std::vector<int>>> CategoryRows{
    {u"Ground textures"_s, {0, 1, 2, 3, 4, 5, 6, 7, 8}},
    {u"Banks & cliffs"_s, {9, 10, -11, 50, 85, 86, -87}},
    {u"Roads"_s, {78}},
    {u"Debris"_s, {49, 79, 80, 81, 82, 83, 84, 92}},
    {u"Trees"_s, {17, -29, 20, -32, 21, -33, 22, -34, 23, -35}},
    {u"Rocks"_s, {12, -24, 13, -25, 15, -27}},
    {u"Barrels & other junk"_s, {14, -26, 16, -28, 18, -30, 19, -31,  88,  -90,  89,  -91,
                                 93, -95, 94, -96, 97, -99, 98, -100, 103, -105, 104, -106}},
    {u"Walls"_s, {36, 37, 38, 39}},
    {u"Doors"_s, {40, -44, 41, -45, 42, -46, 43, -47}},
    {u"Roofs"_s, {64, 65, 66, 67, 68, 69, 70, 71}},
    {u"Damaged walls"_s, {52, 53, 54, 55}},
    {u"Furniture"_s, {73, 74, 75, 76, 77}},
    {u"Wall decals"_s, {56, 57, 58, 59, 113, 114, 115, 116, 119}},
    {u"Floors"_s, {60, 61, 62, 63}},
    {u"Generic furniture"_s, {107, 108, 109, 110}},
    {u"Rest"_s, {48,  51,  72,  101, 102, 111, 112, 117, 118, 120, 121, 122, 123, 124,
                 125, 126, 127, 128, 129, 130, 131, 132, 133, 134, 135, 136, 137, 138,
                 139, 140, 141, 142, 143, 144, 145, 146, 147, 148, 149, 150}},
};

} // namespace

QString DocumentModel::bareName(int tileset) const
{
    // A name without a NUL (a literal name padded with spaces) is offered without that
    // padding, so that confirming it unchanged changes nothing.
    const Field &field = table.names[tileset];
    std::string name = beforeNul(field);
    if (name.size() == field.size())
        name.erase(std::find_if_not(name.rbegin(), name.rend(), isBlank).base(), name.end());
    return fromCodePage(name);
}

QString DocumentModel::entryLabel(int entry, const QString &text) const
{
    QString label = digits(entry, 3) + u". "_s;
    if (descEnabled && descChecked && entry < descriptions.size() && !descriptions[entry].isEmpty())
        label += descriptions[entry] + u": "_s;
    return label + text;
}

void DocumentModel::refresh()
{
    for (Node &n : nodes) {
        if (n.entry >= 0 && selectedTileset >= 0)
            n.text = entryLabel(n.entry,
                                fromCodePage(beforeNul(table.entries[selectedTileset][n.entry])));
    }
}

void DocumentModel::selectTileset(int tileset)
{
    // Bringing a node into view opens its group.
    if (groupHead(tileset) >= 0)
        groupOpen[groupHead(tileset) / 50] = true;
    selectedTileset = tileset;
}

void DocumentModel::doubleClickTileset(int tileset)
{
    selectTileset(tileset);
    refresh();
    // The tree opens or closes a node with children on a double-click of its own.
    if ((tileset == 0 || tileset == 50) && tilesetCount() > tileset + 1)
        groupOpen[tileset / 50] = !groupOpen[tileset / 50];
}

void DocumentModel::selectNode(int node, bool click)
{
    if (click)
        rememberedNode = node;
    if (node < 1 || node > int(nodes.size()))
        return;
    for (int p = nodes[node - 1].parent; p; p = nodes[p - 1].parent)
        nodes[p - 1].expanded = true;
    selectedNode = node;
}

void DocumentModel::doubleClickNode(int node)
{
    selectNode(node, true);
    if (nodes[node - 1].entry < 0)
        nodes[node - 1].expanded = !nodes[node - 1].expanded;
}

void DocumentModel::expandOrCollapseAll()
{
    const bool allOpen = std::all_of(nodes.begin(), nodes.end(),
                                     [](const Node &n) { return n.entry >= 0 || n.expanded; });
    // A selected node inside a closing category hands the selection to the category.
    while (allOpen && selectedNode && nodes[selectedNode - 1].parent)
        selectedNode = nodes[selectedNode - 1].parent;
    for (Node &n : nodes)
        n.expanded = n.entry < 0 && !allOpen;
}

void DocumentModel::openCategory(int category)
{
    for (size_t n = 0, seen = 0; n < nodes.size(); ++n) {
        if (nodes[n].entry < 0 && seen++ == size_t(category)) {
            nodes[n].expanded = true;
            selectedNode = int(n) + 1;
        }
    }
}

void DocumentModel::goTo(double value)
{
    if (!(value >= 0 && value <= 150))
        return;
    // Halves round to the even neighbour.
    const double floor = std::floor(value);
    const int entry =
        int(floor) + (value - floor > 0.5 || (value - floor == 0.5 && int(floor) % 2));
    for (size_t n = 0; entry < table.entryCount && n < nodes.size(); ++n) {
        if (nodes[n].entry == entry)
            selectNode(int(n) + 1);
    }
}

void DocumentModel::namePath(const QString &path, bool keepSeparator)
{
    filePath = lastOpenedPath = path;
    fileTitle = path.mid(path.lastIndexOf(u'/') + 1);
    fileFolder = path.left(path.size() - fileTitle.size() - (keepSeparator ? 0 : 1));
    title = WindowTitle + u" - "_s + path;
}

void DocumentModel::showTable(Table loaded)
{
    table = std::move(loaded);
    open = treesShown = true;
    nodes.clear();
    for (const auto &[name, entries] : CategoryRows) {
        if (!categorised())
            break;
        nodes.push_back({-1, 0, name, false});
        const int category = int(nodes.size());
        for (int e : entries)
            nodes.push_back({std::abs(e), e < 0 ? int(nodes.size()) : category, QString(), false});
    }
    for (int e = 0; e < table.entryCount && !categorised(); ++e)
        nodes.push_back({e, 0, QString(), false});
    selectedNode = 1;
    descEnabled = categorised();
    selectNode(categorised() ? rememberedNode : 1);
    relist(0);
}

// The tileset list built again, with a tileset selected.
void DocumentModel::relist(int tileset)
{
    tilesetLabels.clear();
    for (int t = 0; t < table.tilesetCount(); ++t)
        tilesetLabels.push_back(tilesetLabel(t, fromCodePage(trimmed(table.names[t]))));
    groupOpen[0] = groupOpen[1] = true;
    selectTileset(tileset);
    refresh();
}

void DocumentModel::drop()
{
    open = treesShown = changes = false;
    table = Table();
    tilesetLabels.clear();
    selectedTileset = -1;
    nodes.clear();
    selectedNode = 0;
}

void DocumentModel::newFile(int tilesets)
{
    Table fresh;
    fresh.entryCount = CategorisedEntries;
    fresh.names.assign(tilesets, Field(NameBytes, '\0'));
    fresh.entries.assign(tilesets, std::vector<Field>(CategorisedEntries, Field(EntryBytes, '\0')));
    fresh.names[0] = paddedText("Generic", NameBytes);
    if (tilesets > 50)
        fresh.names[50] = paddedText("New generic", NameBytes);
    filePath = u"Untitled"_s;
    fileTitle = u"untitled"_s;
    fileFolder = u"n/a"_s;
    title = WindowTitle + u" - Untitled"_s;
    showTable(std::move(fresh));
    changes = true;
}

void DocumentModel::openPath(const QString &path)
{
    if (path.isEmpty())
        return;
    namePath(path, false);
    Table loaded;
    const QString refusal = readTable(disk.count(path) ? &disk[path] : nullptr, -1, loaded);
    if (refusal.isEmpty()) {
        showTable(std::move(loaded));
        changes = false;
        return;
    }
    boxes.append(refusal);
    if (open)
        drop(); // given up rather than kept under this title
}

void DocumentModel::saveTo(const QString &path)
{
    if (folders.count(path))
        return expect(u"Error while saving!"_s, u"Error"_s, Buttons::Ok, Icon::Critical);
    disk[path] = tableBytes(table);
    written.emplace_back(path, table);
}

void DocumentModel::saveAs(const QString &path)
{
    if (path.isEmpty())
        return;
    namePath(path, true);
    saveTo(path);
    changes = false;
}

void DocumentModel::store(Field &field, int width, const QString &typed)
{
    const std::string bytes = toCodePage(typed);
    changes = changes || bytes != trimmed(field);
    field = storedText(bytes, width);
}

void DocumentModel::rename(int tileset, const QString &typed)
{
    store(table.names[tileset], NameBytes, typed);
    // The label shows everything typed, also past what the field keeps; Return reaches the
    // tileset list, whose key events relabel the entry tree.
    tilesetLabels[tileset] = tilesetLabel(tileset, typed);
    refresh();
}

void DocumentModel::editEntry(int entry, const QString &typed)
{
    store(table.entries[selectedTileset][entry], EntryBytes, typed);
    nodes[selectedNode - 1].text = entryLabel(entry, typed);
}

void DocumentModel::insert()
{
    if (tilesetCount() >= 255)
        return expect(u"A tileset file holds at most 255 tilesets; delete one before inserting "
                      u"another."_s,
                      u"Error while inserting tileset"_s, Buttons::Ok, Icon::Exclamation);
    const int s = selectedTileset;
    table.names.insert(table.names.begin() + s, paddedText("New Tileset", NameBytes));
    table.entries.insert(table.entries.begin() + s,
                         std::vector<Field>(table.entryCount, Field(EntryBytes, ' ')));
    relist(s);
    changes = true;
}

void DocumentModel::remove()
{
    if (tilesetCount() < 2)
        return expect(u"There must be at least one tileset left!"_s,
                      u"Error while deleting tileset"_s, Buttons::Ok, Icon::Exclamation);
    const int s = selectedTileset;
    table.names.erase(table.names.begin() + s);
    table.entries.erase(table.entries.begin() + s);
    // The tileset that followed the deleted one, or the new last one.
    relist(std::min(s, table.tilesetCount() - 1));
    changes = true;
}

void DocumentModel::copyFrom(int source)
{
    if (source < 0)
        return;
    table.entries[selectedTileset] = table.entries[source];
    changes = true;
    refresh();
}

void DocumentModel::importFrom(const QString &path, const std::function<int(const Table &)> &choose)
{
    const int t = selectedTileset;
    if (path.isEmpty())
        return;
    Table pending;
    const QString refusal =
        readTable(disk.count(path) ? &disk[path] : nullptr, table.entryCount, pending);
    if (!refusal.isEmpty())
        boxes.append(refusal);
    if (const int choice = refusal.isEmpty() ? choose(pending) : -1; choice >= 0) {
        table.names[t] = pending.names[choice];
        table.entries[t] = pending.entries[choice];
        changes = true;
    }
    // Also after a refusal or a cancelled choice.
    tilesetLabels[t] = tilesetLabel(t, fromCodePage(beforeNul(table.names[t])));
    refresh();
}

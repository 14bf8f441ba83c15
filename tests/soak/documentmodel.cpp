#include "documentmodel.h"

#include <cmath>

using namespace Qt::StringLiterals;
using namespace SoakModel;

namespace {

const QString WindowTitle = u"HMK Tileset Editor"_s;

qsizetype lastSeparator(const QString &path)
{
    return std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
}

} // namespace

DocumentModel::DocumentModel()
    : title(WindowTitle)
{}

void DocumentModel::beginStep()
{
    messages.clear();
    fileDialogs.clear();
    written.clear();
}

int DocumentModel::roundHalfEven(double value)
{
    const double floor = std::floor(value);
    const double rest = value - floor;
    auto whole = static_cast<long long>(floor);
    if (rest > 0.5 || (rest == 0.5 && whole % 2 != 0))
        ++whole;
    return int(whole);
}

QString DocumentModel::bareName(int tileset) const
{
    // The name up to its first NUL. A name without one (a literal name padded with spaces)
    // is offered without that padding, so that confirming it unchanged changes nothing.
    const Field &field = table.names[tileset];
    std::string name = beforeNul(field);
    if (name.size() == field.size()) {
        while (!name.empty() && static_cast<unsigned char>(name.back()) <= 32)
            name.pop_back();
    }
    return fromCodePage(name);
}

bool DocumentModel::blanksBeforeNul(int tileset) const
{
    const Field &field = table.names[tileset];
    const std::string name = beforeNul(field);
    return name.size() < field.size() && !name.empty() &&
           static_cast<unsigned char>(name.back()) <= 32;
}

QString DocumentModel::bareEntry(int entry) const
{
    return fromCodePage(trimmed(table.entries[selectedTileset][entry]));
}

const QByteArray *DocumentModel::fileAt(const QString &path) const
{
    if (folders.count(path))
        return nullptr;
    const auto found = disk.find(path);
    return found == disk.end() ? nullptr : &found->second;
}

ReadOutcome DocumentModel::read(const QString &path, int requiredEntries, Table &out) const
{
    return readTable(fileAt(path), requiredEntries, out);
}

void DocumentModel::expect(const QString &text, const QString &title, Buttons buttons, Icon icon)
{
    messages.append({text, title, buttons, icon});
}

void DocumentModel::showTable(Table loaded)
{
    table = std::move(loaded);
    open = true;
    treesShown = true;
    buildTilesetList();
    buildEntryTree();
    descEnabled = categorised();
    restoreTreeSelection();
}

void DocumentModel::reportLoadFailure(ReadOutcome outcome)
{
    switch (outcome) {
    case ReadOutcome::IncorrectFilesize:
        expect(u"Error: Incorrect filesize"_s, u"Error"_s, Buttons::Ok, Icon::Exclamation);
        break;
    case ReadOutcome::IncompatibleEntries:
        expect(u"Incompatible amount of entries."_s, u"Error importing tileset"_s, Buttons::Ok,
               Icon::Critical);
        break;
    case ReadOutcome::LoadFailed:
        expect(u"Error while loading!"_s, u"Error"_s, Buttons::Ok, Icon::Critical);
        break;
    case ReadOutcome::Loaded:
        break;
    }
}

void DocumentModel::newFile(int tilesets)
{
    Table fresh;
    fresh.entryCount = CategorisedEntries;
    fresh.names.assign(tilesets, Field(NameBytes, '\0'));
    fresh.entries.assign(tilesets, std::vector<Field>(CategorisedEntries, Field(EntryBytes, '\0')));
    fresh.names[0] = paddedText("Generic", NameBytes);
    if (tilesets - 1 >= 50)
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
    filePath = path;
    fileTitle = path.mid(lastSeparator(path) + 1);
    fileFolder = path.left(std::max<qsizetype>(lastSeparator(path), 0));
    lastOpenedPath = path;
    title = WindowTitle + u" - "_s + path;
    tilesetLabels.clear();
    selectedTileset = -1;
    Table loaded;
    const ReadOutcome outcome = read(path, -1, loaded);
    if (outcome == ReadOutcome::Loaded) {
        showTable(std::move(loaded));
        changes = false;
        return;
    }
    reportLoadFailure(outcome);
    if (open) {
        // The window gives the previous document up rather than keep it under this title.
        open = false;
        table = Table();
        treesShown = false;
        changes = false;
    }
    clearTrees();
}

void DocumentModel::close()
{
    title = WindowTitle;
    treesShown = false;
    open = false;
    table = Table();
    clearTrees();
    changes = false;
}

void DocumentModel::saveTo(const QString &path)
{
    if (folders.count(path)) {
        expect(u"Error while saving!"_s, u"Error"_s, Buttons::Ok, Icon::Critical);
        return;
    }
    disk[path] = tableBytes(table);
    written.emplace_back(path, table);
}

void DocumentModel::saveAs(const QString &path)
{
    filePath = path;
    fileTitle = path.mid(lastSeparator(path) + 1);
    fileFolder = path.left(path.size() - fileTitle.size());
    lastOpenedPath = path;
    title = WindowTitle + u" - "_s + path;
    saveTo(path);
    changes = false;
}

void DocumentModel::rename(int tileset, const QString &typed)
{
    const std::string bytes = toCodePage(typed);
    if (bytes != trimmed(table.names[tileset]))
        changes = true;
    table.names[tileset] = storedText(bytes, NameBytes);
    // The label shows everything typed, also past what the field keeps.
    tilesetLabels[tileset] = tilesetLabel(tileset, typed);
}

void DocumentModel::editEntry(int entry, const QString &typed)
{
    Field &field = table.entries[selectedTileset][entry];
    const std::string bytes = toCodePage(typed);
    if (bytes != trimmed(field))
        changes = true;
    field = storedText(bytes, EntryBytes);
    entryLabels[entry] = entryLabel(entry, typed);
}

void DocumentModel::insert()
{
    const int s = selectedTileset;
    if (tilesetCount() >= MaxCount) {
        expect(u"A tileset file holds at most 255 tilesets; delete one before inserting "
               u"another."_s,
               u"Error while inserting tileset"_s, Buttons::Ok, Icon::Exclamation);
        return;
    }
    table.names.insert(table.names.begin() + s, paddedText("New Tileset", NameBytes));
    table.entries.insert(table.entries.begin() + s,
                         std::vector<Field>(table.entryCount, Field(EntryBytes, ' ')));
    buildTilesetList();
    selectTileset(s);
    refresh();
    changes = true;
}

void DocumentModel::remove()
{
    const int s = selectedTileset;
    if (tilesetCount() < 2) {
        expect(u"There must be at least one tileset left!"_s, u"Error while deleting tileset"_s,
               Buttons::Ok, Icon::Exclamation);
        return;
    }
    table.names.erase(table.names.begin() + s);
    table.entries.erase(table.entries.begin() + s);
    buildTilesetList();
    const int deletedNode = s + 1;
    const int count = table.tilesetCount();
    const int node = deletedNode > 1 ? std::min(deletedNode, count) : 1;
    selectTileset(node - 1);
    refresh();
    changes = true;
}

void DocumentModel::copyFrom(int source)
{
    table.entries[selectedTileset] = table.entries[source];
    changes = true;
    refresh();
}

bool DocumentModel::importRead(const QString &path, Table &pending)
{
    const ReadOutcome outcome = read(path, table.entryCount, pending);
    reportLoadFailure(outcome);
    return outcome == ReadOutcome::Loaded;
}

void DocumentModel::importChosen(const Table &pending, int choice)
{
    table.names[selectedTileset] = pending.names[choice];
    table.entries[selectedTileset] = pending.entries[choice];
    changes = true;
}

void DocumentModel::importRelabel()
{
    const int t = selectedTileset;
    tilesetLabels[t] = tilesetLabel(t, fromCodePage(beforeNul(table.names[t])));
    refresh();
}

void DocumentModel::toggleDescriptions()
{
    descChecked = !descChecked;
    refresh();
}

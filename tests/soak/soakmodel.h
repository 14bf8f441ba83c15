#pragma once

#include "platformservices.h"

#include <QList>
#include <QStringList>

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

// The soak test's own picture of fields, files and the window, written from the documented
// rules alone and sharing no code with the program, so that the two can disagree.
namespace SoakModel {

using Buttons = PlatformServices::Buttons;
using Icon = PlatformServices::Icon;
// One fixed-width field, byte for byte.
using Field = std::string;

constexpr int NameBytes = 33;
constexpr int EntryBytes = 32;
constexpr int CategorisedEntries = 151;

// Typed text: the text, one NUL when it is shorter than the field, then spaces.
Field storedText(const std::string &text, int width);
// A literal name or an inserted entry: text and spaces, no NUL.
Field paddedText(const std::string &text, int width);
// Without the blanks (code 32 or less) at both ends.
std::string trimmed(const std::string &field);
inline std::string beforeNul(const std::string &field)
{
    return field.substr(0, field.find('\0'));
}

// Windows-1252 both ways; toCodePage only meets characters the code page has.
QString fromCodePage(const std::string &bytes);
std::string toCodePage(const QString &text);

// "007"; tilesets from 100 up take three digits, the others two.
inline QString digits(int number, int width)
{
    return QString::number(number).rightJustified(width, u'0');
}
inline QString tilesetNumber(int tileset)
{
    return digits(tileset, tileset >= 100 ? 3 : 2);
}

// A message box and a file dialog as the checks compare them.
QString box(const QString &text, const QString &title, Buttons buttons, Icon icon);
QString fileDialog(const QString &title, bool save, const QString &where);

struct Table
{
    int entryCount = 0;
    std::vector<Field> names;
    std::vector<std::vector<Field>> entries; // [tileset][entry]

    int tilesetCount() const { return int(names.size()); }
    bool operator==(const Table &) const = default;
};

// The fields exactly as stored, when the file is exactly as long as its header announces;
// loaded, they are read as the loader reads them.
std::optional<Table> rawTable(const QByteArray &bytes, bool loaded = false);
// Reads by the loader's rules; requiredEntries is the open document's count when importing,
// -1 when loading; null bytes stand for a path that is no readable file. Returns the box the
// window shows when it refuses the file, or nothing.
QString readTable(const QByteArray *bytes, int requiredEntries, Table &table);
inline QByteArray headerBytes(int tilesets, int entries)
{
    return QByteArray(1, char(tilesets)) + char(entries) + QByteArray(3, '\0');
}
QByteArray tableBytes(const Table &table);

} // namespace SoakModel

// What the window should hold after each user command: the document, the file values, the
// two trees as the user sees them, the files on disk, and the boxes and file dialogs the
// command should have shown. Commands take the user's choices as arguments.
class DocumentModel
{
public:
    struct Node
    {
        int entry; // -1 for a category
        int parent;
        QString text;
        bool expanded; // followed for categories only
    };
    static inline const QString WindowTitle = QStringLiteral("HMK Tileset Editor");

    // The document
    bool open = false;
    SoakModel::Table table;
    QString filePath, fileTitle, fileFolder, lastOpenedPath;
    bool changes = false;

    // The window
    QString title = WindowTitle;
    bool treesShown = true;
    bool descEnabled = true;
    bool descChecked = false;
    QStringList descriptions;
    std::vector<QString> tilesetLabels;
    int selectedTileset = -1;
    bool groupOpen[2] = {true, true}; // below tileset 0 and below tileset 50
    std::vector<Node> nodes;          // node n is nodes[n - 1]
    int selectedNode = 0;
    int rememberedNode = 1;

    // Files as they should be on disk; folders can be neither read nor written as files.
    std::map<QString, QByteArray> disk;
    std::set<QString> folders;

    // What the current step should show and write
    QStringList boxes;
    QStringList fileDialogs;
    std::vector<std::pair<QString, SoakModel::Table>> written;

    // The tileset whose node holds tileset t's node, or -1 at the top level.
    static int groupHead(int t) { return t >= 1 && t <= 49 ? 0 : t >= 51 ? 50 : -1; }
    void expect(const QString &text, const QString &title, SoakModel::Buttons buttons,
                SoakModel::Icon icon)
    {
        boxes.append(SoakModel::box(text, title, buttons, icon));
    }
    int tilesetCount() const { return open ? table.tilesetCount() : 0; }
    bool categorised() const { return open && table.entryCount == SoakModel::CategorisedEntries; }
    QString bareName(int tileset) const;
    QString bareEntry(int entry) const
    {
        return SoakModel::fromCodePage(SoakModel::trimmed(table.entries[selectedTileset][entry]));
    }
    int selectedEntry() const { return selectedNode ? nodes[selectedNode - 1].entry : -1; }

    // Tree events
    void refresh();
    void selectTileset(int tileset);
    void doubleClickTileset(int tileset);
    void selectNode(int node, bool click = false); // a click makes it the remembered node
    void doubleClickNode(int node);
    void expandOrCollapseAll();
    void openCategory(int category);
    void goTo(double value); // NaN when the answer is no number
    void toggleDescriptions()
    {
        descChecked = !descChecked;
        refresh();
    }

    // Commands; an empty path stands for a cancelled file dialog.
    void newFile(int tilesets);
    void openPath(const QString &path);
    void close()
    {
        title = WindowTitle;
        drop();
    }
    void saveTo(const QString &path);
    void saveAs(const QString &path);
    void rename(int tileset, const QString &typed);
    void editEntry(int entry, const QString &typed);
    void insert();
    void remove();
    void copyFrom(int source);
    // choose gets the file's tilesets and returns the one picked, or -1.
    void importFrom(const QString &path,
                    const std::function<int(const SoakModel::Table &)> &choose);

private:
    void namePath(const QString &path, bool keepSeparator);
    void showTable(SoakModel::Table loaded);
    void drop();
    void relist(int tileset);
    void store(SoakModel::Field &field, int width, const QString &typed);
    QString entryLabel(int entry, const QString &text) const;
    QString tilesetLabel(int tileset, const QString &text) const
    {
        return SoakModel::tilesetNumber(tileset) + QStringLiteral(". ") + text;
    }
};

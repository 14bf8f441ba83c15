#pragma once

#include "modelfields.h"
#include "platformservices.h"

#include <QList>

#include <map>
#include <optional>
#include <set>

// What the window should hold after each user command: the document, the file values, the
// two trees as the user sees them, the files on disk, and the boxes and file dialogs the
// command should have shown. Commands take the user's choices as arguments.
class DocumentModel
{
public:
    using Buttons = PlatformServices::Buttons;
    using Icon = PlatformServices::Icon;
    using Table = SoakModel::Table;

    struct Message
    {
        QString text;
        QString title;
        Buttons buttons;
        Icon icon;
    };
    struct FileDialog
    {
        QString title;
        bool save = false;
        QString folder; // only checked for Save as
    };
    struct Node
    {
        int entry = -1;
        int parent = 0;
        QString text;
        bool expanded = false;
        bool hasChildren = false;
    };

    // The document
    bool open = false;
    Table table;
    QString filePath;
    QString fileTitle;
    QString fileFolder;
    QString lastOpenedPath;
    bool changes = false;

    // The window
    QString title;
    bool treesShown = true;
    bool descEnabled = true;
    bool descChecked = false;
    QStringList descriptions;

    std::vector<QString> tilesetLabels;
    int selectedTileset = -1;
    bool firstGroupOpen = true;
    bool secondGroupOpen = true;

    std::vector<Node> nodes; // node n is nodes[n - 1]
    int selectedNode = 0;
    int rememberedNode = 1;
    std::vector<QString> entryLabels;

    // Files as they should be on disk; folders cannot be read or written as files.
    std::map<QString, QByteArray> disk;
    std::set<QString> folders;

    // What the current step should show
    QList<Message> messages;
    QList<FileDialog> fileDialogs;
    std::vector<std::pair<QString, Table>> written; // what each save wrote

    DocumentModel();
    void beginStep();

    int tilesetCount() const { return open ? table.tilesetCount() : 0; }
    int entryCount() const { return open ? table.entryCount : 0; }
    bool categorised() const { return entryCount() == SoakModel::CategorisedEntries; }
    bool descriptionsOn() const { return descEnabled && descChecked; }
    QString entryLabel(int entry, const QString &text) const;
    QString tilesetLabel(int tileset, const QString &text) const;
    QString bareName(int tileset) const;
    // A name whose text ends in blanks before its NUL.
    bool blanksBeforeNul(int tileset) const;
    QString bareEntry(int entry) const;
    std::vector<int> visibleTilesets() const;
    int nodeOfEntry(int entry) const;
    int categoryNode(int category) const;
    bool isEntryNode(int node) const;
    const QByteArray *fileAt(const QString &path) const;
    // A loaded file's table, or the outcome that stops it.
    SoakModel::ReadOutcome read(const QString &path, int requiredEntries, Table &out) const;

    // Tree events
    void refresh();
    void selectTileset(int tileset);
    void clickTileset(int tileset);
    void doubleClickTileset(int tileset);
    void selectNode(int node);
    void clickNode(int node);
    void doubleClickNode(int node);
    void expandOrCollapseAll();
    void openCategory(int category);
    void goTo(std::optional<double> value);

    // Commands
    void newFile(int tilesets);
    void openPath(const QString &path);
    void close();
    void saveTo(const QString &path);
    void saveAs(const QString &path);
    void rename(int tileset, const QString &typed);
    void editEntry(int entry, const QString &typed);
    void insert();
    void remove();
    void copyFrom(int source);
    // Reads the file to import; true when the Select tileset dialog comes next.
    bool importRead(const QString &path, Table &pending);
    void importChosen(const Table &pending, int choice);
    void importRelabel();
    void toggleDescriptions();
    void expect(const QString &text, const QString &title, Buttons buttons, Icon icon);

    static int roundHalfEven(double value);

private:
    void showTable(Table loaded);
    void clearTrees();
    void buildTilesetList();
    void buildEntryTree();
    void restoreTreeSelection();
    void reportLoadFailure(SoakModel::ReadOutcome outcome);
};

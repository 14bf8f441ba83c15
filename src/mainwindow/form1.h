#pragma once

#include "document.h"
#include "platformservices.h"
#include "windowlayout.h"

#include <QMainWindow>

class EntryToolbar;
class EntryTree;
class FileToolbar;
class QMenu;
class QTimer;
class Sizer;
class TilesetList;
class TilesetTable;
struct EditorSettings;

// The main window: the menus and two toolbars, the tileset list and the entry tree with the
// splitter between them, and every command. It owns the one document.
class Form1 : public QMainWindow
{
    Q_OBJECT

public:
    // Start-up runs here, reading desc.txt and hmktse.ini from programFolder.
    Form1(PlatformServices &services, const QString &programFolder, QWidget *parent = nullptr);
    ~Form1() override;

    Document &document() { return mDocument; }
    const WindowLayout &windowLayout() const { return mLayout; }

    // Loads FilePath and, when that works, shows the document.
    void Opn();
    // target -1 loads the whole file; t >= 0 imports one of its tilesets over tileset t.
    void LoadTilesetFile(const QString &path, int target);
    void SaveTilesetFile(const QString &path);
    void RefreshEntryTexts();
    void RestoreTreeSelection();
    void LayoutWindow();

    TilesetList *NewList1;
    EntryTree *NewList2;
    Sizer *sizer;
    FileToolbar *Toolbar1;
    EntryToolbar *Toolbar2;
    QTimer *Timer1;

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    // Construction (form1.cpp)
    void createMenus();
    void createClientArea();
    QAction *addMenuItem(QMenu *menu, const QString &name, const QString &caption,
                         void (Form1::*command)());
    void addSeparator(QMenu *menu, const QString &name);
    QAction *action(const QString &name) const;
    void setEditMenuEnabled(bool enabled);
    enum CommandState
    {
        NoDocument,
        DocumentOpen
    };
    void enterState(CommandState state);
    void setEntryToolbarState();
    void setTitle(const QString &suffix = {});

    // Start-up and shutdown (form1startup.cpp)
    void startUp();
    void readDescriptions();
    void applySettings(EditorSettings settings, bool settingsFound);
    bool shutDown();
    void quit();
    void writeSettings();

    // Document commands (form1files.cpp)
    void fileOpen();
    void fileClose();
    void discardDocument(); // trees hidden and empty, no tilesets, NoDocument
    void fileSave();
    void fileSaveAs();
    bool askToSave(const QString &question);
    PlatformServices::FileRequest fileRequest(PlatformServices::FileRequest::Mode mode,
                                              const QString &title,
                                              const QString &fileName = {}) const;
    void showMessage(QStringView text, QStringView title, PlatformServices::Icon icon);
    int chooseImportedTileset(const TilesetTable &pending);

    // Tree events and navigation (form1trees.cpp)
    void connectTrees();
    void renameTileset();
    void storeTilesetName(int tileset, const QString &text);
    void editEntry();
    void storeEntryText(int node, const QString &text);
    void goToEntry();
    void entryToolbarClicked(int index);
    void toggleDescriptions();
    void toggleOpenLast();

    // Tileset commands and dialogs (form1tilesets.cpp)
    void fileNew();
    void insertTileset();
    void deleteTileset();
    void copyTileset();
    void importTileset();
    void fileInfo();
    void rebuildTilesetList(int selectNode);

    // Help (form1help.cpp)
    void openReadme();
    void visitSite();
    void showAbout();

    // Layout and splitter (form1layout.cpp)
    void applyLayout();
    void timerTick();
    void splitterPressed(int x);
    void splitterMoved(Qt::MouseButtons buttons, int x);
    void fileToolbarClicked(int index);
    int clientWidthTwips() const;
    int clientHeightTwips() const;

    PlatformServices &mServices;
    const QString mProgramFolder;
    Document mDocument;
    WindowLayout mLayout;
    QWidget *mClientArea = nullptr;
    QMenu *mEditMenu = nullptr;
    bool mSettingsIncomplete = false; // told once the window is up
    bool descriptionsOn() const;
};

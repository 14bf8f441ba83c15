#pragma once

#include "document.h"
#include "fieldsearch.h"
#include "platformservices.h"
#include "programfolders.h"
#include "windowlayout.h"

#include <QDateTime>
#include <QMainWindow>

#include <optional>

class EntryToolbar;
class FindDialog;
class QLabel;
class QUndoStack;

class EntryTree;
class FileToolbar;
class QFileSystemWatcher;
class QMenu;
class QTimer;
class SplitterBar;
class TilesetList;
class TilesetTable;
struct EditorSettings;

// The main window: the menus and two toolbars, the tileset list and the entry tree with the
// splitter between them, and every command. It owns the one document.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    // Start-up runs here, reading desc.txt and hmktse.ini from the folders.
    MainWindow(PlatformServices &services, const ProgramFolders &folders,
               QWidget *parent = nullptr);
    // Everything in one folder (ProgramFolders::portable).
    MainWindow(PlatformServices &services, const QString &programFolder, QWidget *parent = nullptr);
    ~MainWindow() override;

    Document &document() { return mDocument; }
    const WindowLayout &windowLayout() const { return mLayout; }

    // Loads filePath and, when that works, shows the document.
    void openDocumentFile();
    // target -1 loads the whole file; t >= 0 imports one of its tilesets over tileset t.
    void loadFile(const QString &path, int target);
    bool saveFile(const QString &path); // false after the error was shown
    void refreshEntryTexts();
    void restoreTreeSelection();
    // Opens a file as Open does once its dialog has given the path: from the command
    // line, a drop or the recent files.
    void openFile(const QString &path);
    void layoutWindow();

    TilesetList *tilesetList() const { return mTilesetList; }
    EntryTree *entryTree() const { return mEntryTree; }
    SplitterBar *splitter() const { return mSplitter; }
    FileToolbar *fileToolbar() const { return mFileToolbar; }
    EntryToolbar *entryToolbar() const { return mEntryToolbar; }
    QTimer *layoutTimer() const { return mLayoutTimer; }
    QUndoStack *undoStack() const { return mUndoStack; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    // Construction (mainwindow.cpp)
    void createMenus();
    void createClientArea();
    QAction *addMenuItem(QMenu *menu, const QString &name, const QString &caption,
                         void (MainWindow::*command)(), const QKeySequence &shortcut = {});
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
    // A command first stores what a label editor still holds, so that nothing typed is lost
    // to a command that closes, replaces or changes the document under it.
    void finishLabelEdits();

    // Start-up and shutdown (mainwindowstartup.cpp)
    void startUp();
    void readDescriptions();
    void applySettings(EditorSettings settings, bool settingsFound);
    void fitOuterSize();
    bool shutDown();
    void quit();
    void writeSettings();

    // Document commands (mainwindowfiles.cpp)
    void fileOpen();
    void openChosenFile(const QString &path);
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

    // Tree events and navigation (mainwindowtrees.cpp)
    void connectTrees();
    void renameTileset();
    void storeTilesetName(int tileset, const QString &text);
    void editEntry();
    void storeEntryText(int node, const QString &text);
    void goToEntry();
    void entryToolbarClicked(int index);
    void toggleDescriptions();
    void toggleOpenLast();

    // Tileset commands and dialogs (mainwindowtilesets.cpp)
    void fileNew();
    void insertTileset();
    void deleteTileset();
    void copyTileset();
    void importTileset();
    void fileInfo();
    void rebuildTilesetList(int selectNode);

    // Undo history (mainwindowhistory.cpp)
    void createHistory();
    // Records a change the command has just made as one undo step.
    void recordEdit(const QString &text, TableEdit edit, int tileset, int entry);
    void applyStep(const TableEdit &edit, bool undo, int tileset, int entry);
    void clearHistory();
    void markSaved();
    void updateHistoryActions();
    void undo();
    void redo();

    // Find and replace (mainwindowfind.cpp)
    void showFindDialog(bool replacing);
    void openFind() { showFindDialog(false); }
    void openReplace() { showFindDialog(true); }
    void findAll();
    void findNext();
    void replaceAll();
    void showMatch(int row);
    void clearFindResults();
    QString matchRow(const FieldMatch &match) const;

    // Status bar (mainwindowstatus.cpp)
    void createStatusBar();
    void updateFieldStatus();
    void showTypedCount(bool name, const QString &text);
    QString fieldPlace(int tileset, int entry) const;

    // Recent files and the file on disk (mainwindowdesktop.cpp)
    QStringList recentFiles() const;
    void setRecentFiles(const QStringList &paths);
    void addRecentFile(const QString &path);
    void rebuildRecentMenu();
    void openRecentFile(const QString &path);
    void watchDocumentFile();
    void unwatchDocumentFile();
    void documentFileChanged(const QString &path);

    // Help (mainwindowhelp.cpp)
    void openReadme();
    void visitSite();
    void showAbout();

    // Layout and splitter (mainwindowlayout.cpp)
    void applyLayout();
    void timerTick();
    void splitterPressed(int x);
    void splitterMoved(Qt::MouseButtons buttons, int x);
    void fileToolbarClicked(int index);
    int clientWidthTwips() const;
    int clientHeightTwips() const;

    TilesetList *mTilesetList = nullptr;
    EntryTree *mEntryTree = nullptr;
    SplitterBar *mSplitter = nullptr;
    FileToolbar *mFileToolbar = nullptr;
    EntryToolbar *mEntryToolbar = nullptr;
    QTimer *mLayoutTimer = nullptr;
    PlatformServices &mServices;
    const ProgramFolders mFolders;
    Document mDocument;
    WindowLayout mLayout;
    QWidget *mClientArea = nullptr;
    QMenu *mEditMenu = nullptr;
    QUndoStack *mUndoStack = nullptr;
    FindDialog *mFindDialog = nullptr; // made when first asked for
    QList<FieldMatch> mFindMatches;
    QLabel *mFieldStatus = nullptr;
    QMenu *mRecentMenu = nullptr;
    QFileSystemWatcher *mWatcher = nullptr;
    struct FileStamp
    {
        QDateTime modified;
        qint64 size = -1;
        bool operator==(const FileStamp &) const = default;
    };
    FileStamp mWatchedStamp; // the file as the editor last read or wrote it
    bool mDiskChangeTold = false;
    bool mStatusOnName = false;             // the status bar shows the name rather than the entry
    bool mSettingsIncomplete = false;       // told once the window is up
    std::optional<QSize> mPendingOuterSize; // until the window's frame is known
    bool descriptionsOn() const;
};

#pragma once

#include "platformservices.h"
#include "programfolders.h"

#include <QMainWindow>

#include <functional>
#include <optional>

class ClientArea;
class CompareController;
class ComparisonState;
class DocumentFileWatcher;
class EntryTree;
class FieldCommands;
class FieldCursor;
class FieldStatus;
class FindController;
class GridWindow;
class QLabel;
class RecentFilesMenu;
class RecoveryController;
class TableCommands;
class TilesetDocument;
class TilesetList;
class TilesetTable;
struct EditorSettings;
struct FileStamp;

// The main window: the menus, the client area with its toolbars and trees, the status bar,
// and the commands. It owns the one document and wires its parts to it: the trees follow
// the document's signals, and every command hands its change to the document.
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

    TilesetDocument &document() const { return *mDocument; }

    // Opens a file as Open does once its dialog has given the path: from the command
    // line, a drop or the recent files.
    void openFile(const QString &path);

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void changeEvent(QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    // Construction and command states (mainwindow.cpp)
    void createActions();
    void connectParts();
    template<typename Command>
    QAction *addCommand(QMenu *menu, const QString &name, const QString &caption, Command command,
                        const QKeySequence &shortcut = {});
    // Enables what the document, open or not, and its history allow.
    void enableCommands();
    void setTitle(const QString &suffix = {});
    void showModified(bool modified);
    // A command first stores what a label editor still holds, so that nothing typed is lost
    // to a command that closes, replaces or changes the document under it.
    void finishLabelEdits();
    // The trees follow the document.
    void showTable();
    void refreshEntryTexts();
    // "All tilesets": the grid's window, made when first asked for.
    void showGrid();

    // Start-up and shutdown (mainwindowstartup.cpp)
    void startUp();
    void applySettings(EditorSettings settings, bool settingsFound);
    void fitOuterSize();
    void writeSettings();

    // Document commands (mainwindowfiles.cpp)
    void fileNew();
    void fileOpen();
    void openChosenFile(const QString &path);
    void fileClose();
    bool fileSave();
    bool fileSaveAs();
    // True when the asking command may go on: No, or Yes and the save succeeded.
    bool maybeSave(const QString &question);
    // Reads path with the progress window up, and shows what went wrong. whileShown runs on
    // the tileset file read, before the progress window closes. stamp receives the file as it
    // was before the read, so that a change during a slow load is still news afterwards.
    std::optional<TilesetTable>
    readFile(const QString &path, int requiredEntryCount,
             const std::function<void(const TilesetTable &)> &whileShown = {},
             FileStamp *stamp = nullptr);
    // Saves the document to path with the progress window up, and shows what went wrong;
    // the saved file's stamp.
    std::optional<FileStamp> writeFile(const QString &path);
    void fileChangedOnDisk(const QString &path);
    void fileRemovedFromDisk(const QString &path);

    // Tileset and entry commands (mainwindowedits.cpp)
    void renameTileset();
    void storeTilesetName(int tileset, const QString &text);
    void editEntry();
    void storeEntryText(int entry, const QString &text);
    void goToEntry();
    void insertTileset();
    void deleteTileset();
    void copyTileset();
    void importTileset();
    void fileInfo();

    PlatformServices &mServices;
    const ProgramFolders mFolders;
    TilesetDocument *mDocument;
    ClientArea *mClientArea;
    TilesetList *mTilesetList;
    EntryTree *mEntryTree;
    FieldCursor *mCursor;
    ComparisonState *mComparison;
    FieldStatus *mFieldStatus = nullptr;
    QLabel *mUnsavedMark = nullptr;
    FindController *mFind = nullptr;
    FieldCommands *mFields = nullptr;
    TableCommands *mTables = nullptr;
    CompareController *mCompare = nullptr;
    RecentFilesMenu *mRecentFiles = nullptr;
    DocumentFileWatcher *mFileWatcher;
    RecoveryController *mRecovery;
    GridWindow *mGridWindow = nullptr;
    QString mLastOpenedPath; // remembered as the last file at shutdown

    QMenu *mEditMenu = nullptr;
    struct Actions
    {
        QAction *newFile;
        QAction *open;
        QAction *fileInfo;
        QAction *close;
        QAction *save;
        QAction *saveAs;
        QAction *exportTable;
        QAction *importTable;
        QAction *undo;
        QAction *redo;
        QAction *showDescriptions;
        QAction *openLast;
    } mActions{};

    bool mSettingsIncomplete = false;       // told once the window is up
    std::optional<QSize> mPendingOuterSize; // until the window's frame is known
};

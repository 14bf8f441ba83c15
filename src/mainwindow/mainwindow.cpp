#include "mainwindow.h"

#include "clientarea.h"
#include "comparecontroller.h"
#include "comparisonstate.h"
#include "descriptionfile.h"
#include "documentfilewatcher.h"
#include "entrycategories.h"
#include "entrytoolbar.h"
#include "entrytree.h"
#include "fieldcommands.h"
#include "fieldcursor.h"
#include "fieldstatus.h"
#include "filetoolbar.h"
#include "findcontroller.h"
#include "gridwindow.h"
#include "helpmenu.h"
#include "recentfilesmenu.h"
#include "recoverycontroller.h"
#include "svgicon.h"
#include "tablecommands.h"
#include "tilesetdocument.h"
#include "tilesetgrid.h"
#include "tilesetgridmodel.h"
#include "tilesetlist.h"

#include <QDir>
#include <QEvent>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QUndoStack>

using namespace Qt::StringLiterals;

MainWindow::MainWindow(PlatformServices &services, const ProgramFolders &folders, QWidget *parent)
    : QMainWindow(parent)
    , mServices(services)
    , mFolders(folders)
    , mDocument(new TilesetDocument(this))
    , mClientArea(new ClientArea(this))
    , mTilesetList(mClientArea->tilesetList())
    , mEntryTree(mClientArea->entryTree())
    , mCursor(new FieldCursor(mDocument, this))
    , mComparison(new ComparisonState(mDocument, mCursor, this))
    , mFileWatcher(new DocumentFileWatcher(mDocument, this))
    , mRecovery(new RecoveryController(mDocument, folders.recovery, this))
{
    setObjectName(u"Form1"_s);
    setWindowIcon(svgIcon(u":/icons/app.svg"_s));
    setAcceptDrops(true);
    setCentralWidget(mClientArea);
    statusBar()->setObjectName(u"statusBar"_s);
    statusBar()->setSizeGripEnabled(false);
    mFieldStatus = new FieldStatus(mDocument, mCursor, mTilesetList, mEntryTree, statusBar());
    statusBar()->addWidget(mFieldStatus, 1);
    mFind = new FindController(mDocument, services, mCursor, mClientArea, this);
    mFields = new FieldCommands(mDocument, mCursor, services, this);
    mTables = new TableCommands(mDocument, services, this);
    mCompare = new CompareController(
        mDocument, mComparison, mCursor, services,
        [this](const QString &path) { return readFile(path, -1); }, this);
    statusBar()->addPermanentWidget(mCompare->countLabel());
    mUnsavedMark = new QLabel(statusBar());
    mUnsavedMark->setObjectName(u"unsavedMark"_s);
    statusBar()->addPermanentWidget(mUnsavedMark);
    createActions();
    connectParts();
    startUp();
}

MainWindow::MainWindow(PlatformServices &services, const QString &programFolder, QWidget *parent)
    : MainWindow(services, ProgramFolders::portable(programFolder), parent)
{}

MainWindow::~MainWindow()
{
    // Children outlive this body: the history reports an emptied stack, and a label editor
    // still open commits its text as it closes. Neither may reach a window half gone.
    mDocument->disconnect(this);
    mDocument->undoStack()->disconnect(this);
    delete mGridWindow; // its model reads the document to the last
    mCursor->disconnect();
    mComparison->disconnect();
    mTilesetList->disconnect(this);
    mEntryTree->disconnect(this);
}

template<typename Command>
QAction *MainWindow::addCommand(QMenu *menu, const QString &name, const QString &caption,
                                Command command, const QKeySequence &shortcut)
{
    QAction *item = menu->addAction(caption);
    item->setObjectName(name);
    item->setShortcut(shortcut);
    connect(item, &QAction::triggered, this, &MainWindow::finishLabelEdits);
    connect(item, &QAction::triggered, this, command);
    return item;
}

void MainWindow::createActions()
{
    const auto separator = [](QMenu *menu, const QString &name) {
        menu->addSeparator()->setObjectName(name);
    };
    // The "&" of a menu title only underlines its Alt key; the caption reads as before.
    QMenu *file = menuBar()->addMenu(u"&File"_s);
    file->setObjectName(u"mnufile"_s);
    mActions.newFile =
        addCommand(file, u"mnunew"_s, u"&New"_s, &MainWindow::fileNew, QKeySequence::New);
    separator(file, u"mnus"_s);
    mActions.open =
        addCommand(file, u"mnuopen"_s, u"&Open..."_s, &MainWindow::fileOpen, QKeySequence::Open);
    mRecentFiles = new RecentFilesMenu(mFolders.recentFilesStore(), mServices, this);
    file->addMenu(mRecentFiles);
    mActions.close =
        addCommand(file, u"mnuclose"_s, u"&Close"_s, &MainWindow::fileClose, Qt::CTRL | Qt::Key_W);
    separator(file, u"mnus0"_s);
    mActions.save =
        addCommand(file, u"mnusave"_s, u"&Save"_s, &MainWindow::fileSave, QKeySequence::Save);
    mActions.saveAs = addCommand(file, u"mnusaveas"_s, u"Save &as..."_s, &MainWindow::fileSaveAs,
                                 Qt::CTRL | Qt::SHIFT | Qt::Key_S);
    separator(file, u"mnustables"_s);
    mActions.exportTable = addCommand(file, u"mnuexporttable"_s, u"&Export table..."_s,
                                      [this] { mTables->exportTable(); });
    mActions.importTable = addCommand(file, u"mnuimporttable"_s, u"&Import table..."_s,
                                      [this] { mTables->importTable(); });
    separator(file, u"mnus1"_s);
    mActions.fileInfo =
        addCommand(file, u"mnufileinfo"_s, u"File in&fo..."_s, &MainWindow::fileInfo);
    separator(file, u"mnus2"_s);
    mCompare->addFileCommands(file);
    separator(file, u"mnuscompare"_s);
    addCommand(file, u"mnuquit"_s, u"&Quit"_s, &QWidget::close, Qt::CTRL | Qt::Key_Q);
    mClientArea->fileToolbar()->addCommands(mActions.newFile, mActions.open, mActions.save);

    mEditMenu = menuBar()->addMenu(u"&Edit"_s);
    mEditMenu->setObjectName(u"mnuedit"_s);
    QUndoStack *history = mDocument->undoStack();
    mActions.undo = addCommand(
        mEditMenu, u"mnuundo"_s, u"&Undo"_s, [history] { history->undo(); }, QKeySequence::Undo);
    mActions.redo = addCommand(mEditMenu, u"mnuredo"_s, u"&Redo"_s, [history] { history->redo(); });
    mActions.redo->setShortcuts({Qt::CTRL | Qt::Key_Y, Qt::CTRL | Qt::SHIFT | Qt::Key_Z});
    separator(mEditMenu, u"mnusfields"_s);
    addCommand(
        mEditMenu, u"mnucopyfields"_s, u"&Copy"_s, [this] { mFields->copy(); }, QKeySequence::Copy);
    addCommand(
        mEditMenu, u"mnupastefields"_s, u"&Paste"_s, [this] { mFields->paste(); },
        QKeySequence::Paste);
    addCommand(
        mEditMenu, u"mnuclearfields"_s, u"C&lear"_s, [this] { mFields->clear(); }, Qt::Key_Delete);
    addCommand(
        mEditMenu, u"mnufilldown"_s, u"Fill d&own"_s, [this] { mFields->fillDown(); },
        Qt::CTRL | Qt::Key_D);
    addCommand(
        mEditMenu, u"mnufillright"_s, u"Fill righ&t"_s, [this] { mFields->fillRight(); },
        Qt::CTRL | Qt::Key_R);
    separator(mEditMenu, u"mnus7"_s);
    // Insert and Delete alone act in the tileset list when it has the focus (it asks for
    // them first); these work wherever the focus is.
    addCommand(mEditMenu, u"mnuinsert"_s, u"&Insert Tileset"_s, &MainWindow::insertTileset,
               Qt::CTRL | Qt::SHIFT | Qt::Key_Insert);
    addCommand(mEditMenu, u"mnudelete"_s, u"&Delete Tileset"_s, &MainWindow::deleteTileset,
               Qt::CTRL | Qt::SHIFT | Qt::Key_Delete);
    // F2 edits the entry, as it always has: the name has a key of its own.
    addCommand(mEditMenu, u"mnurenametileset"_s, u"Re&name tileset"_s, &MainWindow::renameTileset,
               Qt::SHIFT | Qt::Key_F2);
    addCommand(mEditMenu, u"mnucopy"_s, u"Cop&y from other tileset"_s, &MainWindow::copyTileset,
               Qt::CTRL | Qt::SHIFT | Qt::Key_C);
    separator(mEditMenu, u"mnus6"_s);
    addCommand(mEditMenu, u"mnuimport"_s, u"I&mport tileset from file..."_s,
               &MainWindow::importTileset, Qt::CTRL | Qt::Key_I);
    separator(mEditMenu, u"mnus3"_s);
    addCommand(mEditMenu, u"mnugoto"_s, u"&Go to entry..."_s, &MainWindow::goToEntry,
               Qt::CTRL | Qt::Key_G);
    addCommand(mEditMenu, u"mnueditentry"_s, u"&Edit entry"_s, &MainWindow::editEntry, Qt::Key_F2);
    separator(mEditMenu, u"mnus8"_s);
    addCommand(
        mEditMenu, u"mnufind"_s, u"&Find..."_s, [this] { mFind->showDialog(false); },
        QKeySequence::Find);
    // F3 also steps on from the Find dialog, a window of its own.
    addCommand(
        mEditMenu, u"mnufindnext"_s, u"Find ne&xt"_s, [this] { mFind->findNext(); }, Qt::Key_F3)
        ->setShortcutContext(Qt::ApplicationShortcut);
    addCommand(
        mEditMenu, u"mnureplace"_s, u"Repl&ace..."_s, [this] { mFind->showDialog(true); },
        Qt::CTRL | Qt::Key_H);

    QMenu *view = menuBar()->addMenu(u"&View"_s);
    view->setObjectName(u"mnuviewmenu"_s);
    addCommand(view, u"mnualltilesets"_s, u"&All tilesets"_s, &MainWindow::showGrid, Qt::Key_F7);

    menuBar()->addMenu(mCompare->menu());

    QMenu *options = menuBar()->addMenu(u"&Options"_s);
    options->setObjectName(u"mnuops"_s);
    // The tree follows the check mark while it is shown; "Open last file" acts at start-up.
    mActions.showDescriptions = addCommand(options, u"mnudisplaynames"_s, u"&Show descriptions"_s,
                                           &MainWindow::refreshEntryTexts);
    mActions.showDescriptions->setCheckable(true);
    mActions.openLast = options->addAction(u"&Open last file on start up"_s);
    mActions.openLast->setObjectName(u"mnuopenlast"_s);
    mActions.openLast->setCheckable(true);

    menuBar()->addMenu(new HelpMenu(mFolders.readmeFile(), mServices, this));
}

void MainWindow::connectParts()
{
    // The trees follow the cursor, the comparison and the document, the list first.
    mTilesetList->follow(mDocument, mCursor, mComparison);
    mEntryTree->follow(mCursor);
    connect(mDocument, &TilesetDocument::tableReplaced, this, &MainWindow::showTable);
    connect(mDocument, &TilesetDocument::fieldsChanged, this, &MainWindow::refreshEntryTexts);
    connect(mCursor, &FieldCursor::placeChanged, this, &MainWindow::refreshEntryTexts);
    connect(mComparison, &ComparisonState::marksChanged, this, &MainWindow::refreshEntryTexts);
    QUndoStack *history = mDocument->undoStack();
    const auto caption = [](const QString &verb, const QString &step) {
        return step.isEmpty() ? verb : verb + u' ' + QString(step).replace(u'&', u"&&"_s);
    };
    connect(history, &QUndoStack::undoTextChanged, this, [this, caption](const QString &step) {
        mActions.undo->setText(caption(u"&Undo"_s, step));
    });
    connect(history, &QUndoStack::redoTextChanged, this, [this, caption](const QString &step) {
        mActions.redo->setText(caption(u"&Redo"_s, step));
    });
    connect(history, &QUndoStack::indexChanged, this, &MainWindow::enableCommands);
    connect(mDocument, &TilesetDocument::modifiedChanged, this, &MainWindow::showModified);

    connect(mTilesetList, &TilesetList::clicked, this, &MainWindow::refreshEntryTexts);
    connect(mTilesetList, &TilesetList::keyPressed, this, &MainWindow::refreshEntryTexts);
    connect(mTilesetList, &TilesetList::keyReleased, this, &MainWindow::refreshEntryTexts);
    connect(mTilesetList, &TilesetList::treeDoubleClicked, this, &MainWindow::renameTileset);
    connect(mTilesetList, &LabelTree::editRequested, this, &MainWindow::renameTileset);
    connect(mEntryTree, &LabelTree::editRequested, this, &MainWindow::editEntry);
    connect(mTilesetList, &TilesetList::insertPressed, this, &MainWindow::insertTileset);
    connect(mTilesetList, &TilesetList::deletePressed, this, &MainWindow::deleteTileset);
    connect(mTilesetList, &TilesetList::labelEdited, this, &MainWindow::storeTilesetName);
    connect(mEntryTree, &EntryTree::treeDoubleClicked, this, &MainWindow::editEntry);
    connect(mEntryTree, &EntryTree::labelEdited, this, &MainWindow::storeEntryText);
    for (LabelTree *tree :
         {static_cast<LabelTree *>(mTilesetList), static_cast<LabelTree *>(mEntryTree)})
        connect(tree, &LabelTree::labelInputRefused, this,
                [this](const QString &reason) { statusBar()->showMessage(reason, 5000); });
    connect(mRecovery, &RecoveryController::copyFailed, this,
            [this](const QString &message) { statusBar()->showMessage(message, 10000); });

    connect(mFind, &FindController::aboutToAct, this, &MainWindow::finishLabelEdits);
    connect(mCompare, &CompareController::aboutToAct, this, &MainWindow::finishLabelEdits);
    connect(mCompare, &CompareController::message, statusBar(), &QStatusBar::showMessage);
    const auto showAWhile = [this](const QString &message) {
        statusBar()->showMessage(message, 5000);
    };
    connect(mFields, &FieldCommands::statusMessage, this, showAWhile);
    connect(mTables, &TableCommands::statusMessage, this, showAWhile);
    // The file's followers: the title, the file remembered as the last one, the recent files.
    const auto showFileInTitle = [this] {
        setTitle(!mDocument->isOpen()      ? QString()
                 : mDocument->isUntitled() ? u"Untitled"_s
                                           : mDocument->filePath());
    };
    showFileInTitle();
    connect(mDocument, &TilesetDocument::tableReplaced, this, showFileInTitle);
    connect(mDocument, &TilesetDocument::filePathChanged, this, showFileInTitle);
    connect(mDocument, &TilesetDocument::filePathChanged, this, [this](const QString &path) {
        if (!path.isEmpty())
            mLastOpenedPath = path;
    });
    const auto addToRecentFiles = [this] {
        if (mDocument->isOpen() && !mDocument->isUntitled())
            mRecentFiles->add(mDocument->filePath());
    };
    connect(mDocument, &TilesetDocument::tableReplaced, this, addToRecentFiles);
    connect(mDocument, &TilesetDocument::saved, this, addToRecentFiles);
    connect(mRecentFiles, &RecentFilesMenu::openRequested, this, &MainWindow::openFile);
    connect(mFileWatcher, &DocumentFileWatcher::fileChanged, this, &MainWindow::fileChangedOnDisk);
    connect(mFileWatcher, &DocumentFileWatcher::fileRemoved, this,
            &MainWindow::fileRemovedFromDisk);
    connect(mClientArea->layoutTimer(), &QTimer::timeout, this, [this] {
        if (isVisible())
            mPendingOuterSize.reset(); // a window without a frame by now keeps its size
    });
}

void MainWindow::finishLabelEdits()
{
    mTilesetList->finishEdit();
    mEntryTree->finishEdit();
    if (mGridWindow)
        mGridWindow->grid()->finishEdit();
}

void MainWindow::enableCommands()
{
    const bool open = mDocument->isOpen();
    for (QAction *command : {mActions.fileInfo, mActions.close, mActions.save, mActions.saveAs,
                             mActions.exportTable, mActions.importTable})
        command->setEnabled(open);
    // The categories and their descriptions only mean something for 151 entries per tileset.
    const bool categorised = open && mDocument->entryCount() == CategorisedEntryCount;
    mClientArea->entryToolbar()->setButtonsEnabled(categorised);
    if (open)
        mActions.showDescriptions->setEnabled(categorised);
    // The menu itself, not just its title: a menu disabled on its own stays disabled when a
    // load or save disables and enables the whole window. Its items follow, so that F2
    // does nothing while the menu is disabled; nothing is undone while no document is open.
    mEditMenu->setEnabled(open);
    mEditMenu->menuAction()->setEnabled(open);
    for (QAction *item : mEditMenu->actions())
        item->setEnabled(open);
    mActions.undo->setEnabled(open && mDocument->undoStack()->canUndo());
    mActions.redo->setEnabled(open && mDocument->undoStack()->canRedo());
}

void MainWindow::showModified(bool modified)
{
    // The title stays as it always read; the status bar and the Save button tell instead.
    mUnsavedMark->setText(modified ? u"Unsaved changes"_s : QString());
    mActions.save->setToolTip(modified ? u"Save tileset (there are unsaved changes)"_s
                                       : u"Save tileset"_s);
}

void MainWindow::setTitle(const QString &suffix)
{
    setWindowTitle(suffix.isEmpty() ? u"HMK Tileset Editor"_s
                                    : u"HMK Tileset Editor - "_s + suffix);
}

void MainWindow::showTable()
{
    if (!mDocument->isOpen()) {
        mTilesetList->hide();
        mEntryTree->hide();
        mEntryTree->removeAllNodes();
        enableCommands();
        return;
    }
    mTilesetList->show();
    mEntryTree->build(mDocument->entryCount());
    mEntryTree->show();
    enableCommands();
    // The entry last clicked, remembered between runs, only for the categorised tree.
    if (mDocument->entryCount() == CategorisedEntryCount)
        mEntryTree->selectNode(mEntryTree->selectedEntryNode());
    else
        mEntryTree->selectNode(1);
    mCursor->showField(0, -1);
    refreshEntryTexts();
}

void MainWindow::refreshEntryTexts()
{
    if (!mDocument->isOpen())
        return;
    const QAction *descriptions = mActions.showDescriptions;
    mEntryTree->setDescriptionsOn(descriptions->isVisible() && descriptions->isEnabled() &&
                                  descriptions->isChecked());
    // A placeholder shows the other file's entries, to see what Take would insert; they
    // cannot be edited, as it stands for no tileset here.
    const auto [table, tileset] = mComparison->tilesetAt(mCursor->place(), mDocument->table());
    mEntryTree->showTileset(*table, tileset);
    mEntryTree->setMarks(mComparison->entryMarks(mCursor->place()));
}

void MainWindow::showGrid()
{
    if (!mGridWindow) {
        mGridWindow = new GridWindow(mDocument, mComparison, mCursor,
                                     QDir(mFolders.user).filePath(u"grid.conf"_s), this);
        if (const QString descriptions = mFolders.descriptionFile(); !descriptions.isEmpty())
            mGridWindow->model()->setEntryDescriptions(readDescriptionFile(descriptions));
        // A cell's edit is the trees' edit of that field: the same undo step.
        connect(mGridWindow->model(), &TilesetGridModel::textEdited, this,
                [this](int tileset, int entry, const QString &text) {
                    mCursor->showField(tileset, entry);
                    if (entry < 0)
                        storeTilesetName(tileset, text);
                    else
                        storeEntryText(entry, text);
                });
        mFields->setGrid(mGridWindow->grid());
        connect(mGridWindow->grid(), &TilesetGrid::inputRefused, this,
                [this](const QString &reason) { statusBar()->showMessage(reason, 5000); });
        // The commands that act on the cursor reach it from the grid's window too; F2 there
        // edits the grid's cell.
        for (const QString &name : {u"mnuundo"_s, u"mnuredo"_s, u"mnucopyfields"_s,
                                    u"mnupastefields"_s, u"mnuclearfields"_s, u"mnufilldown"_s,
                                    u"mnufillright"_s, u"mnufind"_s, u"mnureplace"_s, u"mnugoto"_s})
            mGridWindow->addAction(findChild<QAction *>(name));
        mGridWindow->addActions(mCompare->menu()->actions());
    }
    mGridWindow->show();
    mGridWindow->raise();
    mGridWindow->activateWindow();
}

void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // Restoring a minimized window runs a full pass.
    if (event->type() == QEvent::WindowStateChange && !isMinimized())
        mClientArea->layOut();
}

#include "mainwindow.h"

#include "entrycategories.h"
#include "entrytoolbar.h"
#include "entrytree.h"
#include "filetoolbar.h"
#include "splitterbar.h"
#include "svgicon.h"
#include "tilesetlist.h"

#include <QFileSystemWatcher>
#include <QFontDatabase>
#include <QMenuBar>
#include <QTimer>
#include <QUndoStack>

using namespace Qt::StringLiterals;

MainWindow::MainWindow(PlatformServices &services, const ProgramFolders &folders, QWidget *parent)
    : QMainWindow(parent)
    , mServices(services)
    , mFolders(folders)
{
    setObjectName(u"Form1"_s);
    setWindowIcon(svgIcon(u":/icons/app.svg"_s));
    setAcceptDrops(true);
    mWatcher = new QFileSystemWatcher(this);
    connect(mWatcher, &QFileSystemWatcher::fileChanged, this, &MainWindow::documentFileChanged);
    createClientArea();
    createHistory();
    createMenus();
    createStatusBar();
    connectTrees();
    startUp();
}

MainWindow::MainWindow(PlatformServices &services, const QString &programFolder, QWidget *parent)
    : MainWindow(services, ProgramFolders::portable(programFolder), parent)
{}

MainWindow::~MainWindow()
{
    // Children outlive this body: the history reports an emptied stack, and a label editor
    // still open commits its text as it closes. Neither may reach a window half gone.
    mUndoStack->disconnect(this);
    mTilesetList->disconnect(this);
    mEntryTree->disconnect(this);
}

void MainWindow::createClientArea()
{
    // The toolbars, trees and splitter are placed by layoutWindow, in twips, rather than by
    // a layout manager: the splitter and the 720-twip floor of the entry tree need it.
    mClientArea = new QWidget(this);
    mClientArea->setObjectName(u"clientArea"_s);
    setCentralWidget(mClientArea);

    mFileToolbar = new FileToolbar(mClientArea);
    mEntryToolbar = new EntryToolbar(mClientArea);
    mTilesetList = new TilesetList(mClientArea);
    mSplitter = new SplitterBar(mClientArea);
    mEntryTree = new EntryTree(mClientArea);

    // Tahoma where the system has it, else the desktop's own face, at the designed size.
    QFont treeFont = QFontDatabase::hasFamily(u"Tahoma"_s) ? QFont(u"Tahoma"_s) : font();
    treeFont.setPointSizeF(8.25);
    mTilesetList->setFont(treeFont);
    mEntryTree->setFont(treeFont);

    mLayoutTimer = new QTimer(this);
    mLayoutTimer->setObjectName(u"Timer1"_s);
    mLayoutTimer->setInterval(1500);
    connect(mLayoutTimer, &QTimer::timeout, this, &MainWindow::timerTick);
    mLayoutTimer->start();

    connect(mFileToolbar, &FileToolbar::buttonClicked, this, &MainWindow::fileToolbarClicked);
    connect(mEntryToolbar, &EntryToolbar::buttonClicked, this, &MainWindow::entryToolbarClicked);
    connect(mSplitter, &SplitterBar::pressed, this, &MainWindow::splitterPressed);
    connect(mSplitter, &SplitterBar::moved, this, &MainWindow::splitterMoved);
}

QAction *MainWindow::addMenuItem(QMenu *menu, const QString &name, const QString &caption,
                                 void (MainWindow::*command)(), const QKeySequence &shortcut)
{
    QAction *item = menu->addAction(caption);
    item->setObjectName(name);
    item->setShortcut(shortcut);
    connect(item, &QAction::triggered, this, &MainWindow::finishLabelEdits);
    connect(item, &QAction::triggered, this, command);
    return item;
}

void MainWindow::finishLabelEdits()
{
    mTilesetList->finishEdit();
    mEntryTree->finishEdit();
}

void MainWindow::addSeparator(QMenu *menu, const QString &name)
{
    menu->addSeparator()->setObjectName(name);
}

void MainWindow::createMenus()
{
    // The "&" of a menu title only underlines its Alt key; the caption reads as before.
    QMenu *file = menuBar()->addMenu(u"&File"_s);
    file->setObjectName(u"mnufile"_s);
    addMenuItem(file, u"mnunew"_s, u"New"_s, &MainWindow::fileNew, QKeySequence::New);
    addSeparator(file, u"mnus"_s);
    addMenuItem(file, u"mnuopen"_s, u"Open..."_s, &MainWindow::fileOpen, QKeySequence::Open);
    mRecentMenu = file->addMenu(u"Recent files"_s);
    mRecentMenu->setObjectName(u"mnurecent"_s);
    rebuildRecentMenu();
    addMenuItem(file, u"mnuclose"_s, u"Close"_s, &MainWindow::fileClose, Qt::CTRL | Qt::Key_W);
    addSeparator(file, u"mnus0"_s);
    addMenuItem(file, u"mnusave"_s, u"Save"_s, &MainWindow::fileSave, QKeySequence::Save);
    addMenuItem(file, u"mnusaveas"_s, u"Save as..."_s, &MainWindow::fileSaveAs,
                Qt::CTRL | Qt::SHIFT | Qt::Key_S);
    addSeparator(file, u"mnus1"_s);
    addMenuItem(file, u"mnufileinfo"_s, u"File info..."_s, &MainWindow::fileInfo);
    addSeparator(file, u"mnus2"_s);
    addMenuItem(file, u"mnuquit"_s, u"Quit"_s, &MainWindow::quit, Qt::CTRL | Qt::Key_Q);

    mEditMenu = menuBar()->addMenu(u"&Edit"_s);
    mEditMenu->setObjectName(u"mnuedit"_s);
    addMenuItem(mEditMenu, u"mnuundo"_s, u"Undo"_s, &MainWindow::undo, QKeySequence::Undo);
    addMenuItem(mEditMenu, u"mnuredo"_s, u"Redo"_s, &MainWindow::redo)
        ->setShortcuts({Qt::CTRL | Qt::Key_Y, Qt::CTRL | Qt::SHIFT | Qt::Key_Z});
    addSeparator(mEditMenu, u"mnus7"_s);
    addMenuItem(mEditMenu, u"mnuinsert"_s, u"Insert Tileset"_s, &MainWindow::insertTileset);
    addMenuItem(mEditMenu, u"mnudelete"_s, u"Delete Tileset"_s, &MainWindow::deleteTileset);
    addMenuItem(mEditMenu, u"mnucopy"_s, u"Copy from other tileset"_s, &MainWindow::copyTileset);
    addSeparator(mEditMenu, u"mnus6"_s);
    addMenuItem(mEditMenu, u"mnuimport"_s, u"Import tileset from file..."_s,
                &MainWindow::importTileset);
    addSeparator(mEditMenu, u"mnus3"_s);
    addMenuItem(mEditMenu, u"mnugoto"_s, u"Go to entry..."_s, &MainWindow::goToEntry,
                Qt::CTRL | Qt::Key_G);
    addMenuItem(mEditMenu, u"mnueditentry"_s, u"Edit entry"_s, &MainWindow::editEntry, Qt::Key_F2);
    addSeparator(mEditMenu, u"mnus8"_s);
    addMenuItem(mEditMenu, u"mnufind"_s, u"Find..."_s, &MainWindow::openFind, QKeySequence::Find);
    // F3 also steps on from the Find dialog, a window of its own.
    addMenuItem(mEditMenu, u"mnufindnext"_s, u"Find next"_s, &MainWindow::findNext, Qt::Key_F3)
        ->setShortcutContext(Qt::ApplicationShortcut);
    addMenuItem(mEditMenu, u"mnureplace"_s, u"Replace..."_s, &MainWindow::openReplace,
                Qt::CTRL | Qt::Key_H);

    QMenu *options = menuBar()->addMenu(u"&Options"_s);
    options->setObjectName(u"mnuops"_s);
    addMenuItem(options, u"mnudisplaynames"_s, u"Show descriptions"_s,
                &MainWindow::toggleDescriptions)
        ->setCheckable(true);
    addMenuItem(options, u"mnuopenlast"_s, u"Open last file on start up"_s,
                &MainWindow::toggleOpenLast)
        ->setCheckable(true);

    QMenu *help = menuBar()->addMenu(u"&Help"_s);
    help->setObjectName(u"mnuhelp"_s);
    addMenuItem(help, u"mnureadme"_s, u"Readme.txt"_s, &MainWindow::openReadme);
    addMenuItem(help, u"mnuvisitsite"_s, u"Visit my site"_s, &MainWindow::visitSite);
    addSeparator(help, u"mnus5"_s);
    addMenuItem(help, u"mnuabout"_s, u"About..."_s, &MainWindow::showAbout);
}

QAction *MainWindow::action(const QString &name) const
{
    return findChild<QAction *>(name);
}

void MainWindow::setEditMenuEnabled(bool enabled)
{
    // The menu itself, not just its title: a menu disabled on its own stays disabled when a
    // load or save disables and enables the whole window. Its items follow, so that F2
    // does nothing while the menu is disabled.
    mEditMenu->setEnabled(enabled);
    mEditMenu->menuAction()->setEnabled(enabled);
    for (QAction *item : mEditMenu->actions())
        item->setEnabled(enabled);
    updateHistoryActions();
}

void MainWindow::enterState(CommandState state)
{
    const bool open = state == DocumentOpen;
    for (const QString &name : {u"mnufileinfo"_s, u"mnuclose"_s, u"mnusave"_s, u"mnusaveas"_s})
        action(name)->setEnabled(open);
    mFileToolbar->button(3)->setEnabled(open);
    if (open)
        setEntryToolbarState();
    else
        mEntryToolbar->setButtonsEnabled(false);
    setEditMenuEnabled(open);
}

void MainWindow::setEntryToolbarState()
{
    // The categories and their descriptions only mean something for 151 entries per tileset.
    const bool categorised = mDocument.entryCount() == CategorisedEntryCount;
    mEntryToolbar->setButtonsEnabled(categorised);
    action(u"mnudisplaynames"_s)->setEnabled(categorised);
}

void MainWindow::setTitle(const QString &suffix)
{
    setWindowTitle(suffix.isEmpty() ? u"HMK Tileset Editor"_s
                                    : u"HMK Tileset Editor - "_s + suffix);
}

void MainWindow::quit()
{
    close();
}

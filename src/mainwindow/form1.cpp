#include "form1.h"

#include "entrycategories.h"
#include "entrytoolbar.h"
#include "entrytree.h"
#include "filetoolbar.h"
#include "sizer.h"
#include "tilesetlist.h"

#include <QFontDatabase>
#include <QMenuBar>
#include <QTimer>

using namespace Qt::StringLiterals;

Form1::Form1(PlatformServices &services, const QString &programFolder, QWidget *parent)
    : QMainWindow(parent)
    , mServices(services)
    , mProgramFolder(programFolder)
{
    setObjectName(u"Form1"_s);
    setWindowIcon(QIcon(u":/icons/app.svg"_s));
    createClientArea();
    createMenus();
    connectTrees();
    startUp();
}

Form1::~Form1() = default;

void Form1::createClientArea()
{
    // The toolbars, trees and splitter are placed by LayoutWindow, in twips, rather than by
    // a layout manager: the splitter and the 720-twip floor of the entry tree need it.
    mClientArea = new QWidget(this);
    mClientArea->setObjectName(u"clientArea"_s);
    setCentralWidget(mClientArea);

    Toolbar1 = new FileToolbar(mClientArea);
    Toolbar2 = new EntryToolbar(mClientArea);
    NewList1 = new TilesetList(mClientArea);
    sizer = new Sizer(mClientArea);
    NewList2 = new EntryTree(mClientArea);

    // Tahoma where the system has it, else the desktop's own face, at the designed size.
    QFont treeFont = QFontDatabase::hasFamily(u"Tahoma"_s) ? QFont(u"Tahoma"_s) : font();
    treeFont.setPointSizeF(8.25);
    NewList1->setFont(treeFont);
    NewList2->setFont(treeFont);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(u"Timer1"_s);
    Timer1->setInterval(1500);
    connect(Timer1, &QTimer::timeout, this, &Form1::timerTick);
    Timer1->start();

    connect(Toolbar1, &FileToolbar::buttonClicked, this, &Form1::fileToolbarClicked);
    connect(Toolbar2, &EntryToolbar::buttonClicked, this, &Form1::entryToolbarClicked);
    connect(sizer, &Sizer::pressed, this, &Form1::splitterPressed);
    connect(sizer, &Sizer::moved, this, &Form1::splitterMoved);
}

QAction *Form1::addMenuItem(QMenu *menu, const QString &name, const QString &caption,
                            void (Form1::*command)())
{
    QAction *item = menu->addAction(caption);
    item->setObjectName(name);
    connect(item, &QAction::triggered, this, command);
    return item;
}

void Form1::addSeparator(QMenu *menu, const QString &name)
{
    menu->addSeparator()->setObjectName(name);
}

void Form1::createMenus()
{
    QMenu *file = menuBar()->addMenu(u"File"_s);
    file->setObjectName(u"mnufile"_s);
    addMenuItem(file, u"mnunew"_s, u"New"_s, &Form1::fileNew);
    addSeparator(file, u"mnus"_s);
    addMenuItem(file, u"mnuopen"_s, u"Open..."_s, &Form1::fileOpen);
    addMenuItem(file, u"mnuclose"_s, u"Close"_s, &Form1::fileClose);
    addSeparator(file, u"mnus0"_s);
    addMenuItem(file, u"mnusave"_s, u"Save"_s, &Form1::fileSave);
    addMenuItem(file, u"mnusaveas"_s, u"Save as..."_s, &Form1::fileSaveAs);
    addSeparator(file, u"mnus1"_s);
    addMenuItem(file, u"mnufileinfo"_s, u"File info..."_s, &Form1::fileInfo);
    addSeparator(file, u"mnus2"_s);
    addMenuItem(file, u"mnuquit"_s, u"Quit"_s, &Form1::quit);

    mEditMenu = menuBar()->addMenu(u"Edit"_s);
    mEditMenu->setObjectName(u"mnuedit"_s);
    addMenuItem(mEditMenu, u"mnuinsert"_s, u"Insert Tileset"_s, &Form1::insertTileset);
    addMenuItem(mEditMenu, u"mnudelete"_s, u"Delete Tileset"_s, &Form1::deleteTileset);
    addMenuItem(mEditMenu, u"mnucopy"_s, u"Copy from other tileset"_s, &Form1::copyTileset);
    addSeparator(mEditMenu, u"mnus6"_s);
    addMenuItem(mEditMenu, u"mnuimport"_s, u"Import tileset from file..."_s, &Form1::importTileset);
    addSeparator(mEditMenu, u"mnus3"_s);
    addMenuItem(mEditMenu, u"mnugoto"_s, u"Go to entry..."_s, &Form1::goToEntry);
    addMenuItem(mEditMenu, u"mnueditentry"_s, u"Edit entry"_s, &Form1::editEntry)
        ->setShortcut(Qt::Key_F2);

    QMenu *options = menuBar()->addMenu(u"Options"_s);
    options->setObjectName(u"mnuops"_s);
    addMenuItem(options, u"mnudisplaynames"_s, u"Show descriptions"_s, &Form1::toggleDescriptions)
        ->setCheckable(true);
    addMenuItem(options, u"mnuopenlast"_s, u"Open last file on start up"_s, &Form1::toggleOpenLast)
        ->setCheckable(true);

    QMenu *help = menuBar()->addMenu(u"Help"_s);
    help->setObjectName(u"mnuhelp"_s);
    addMenuItem(help, u"mnureadme"_s, u"Readme.txt"_s, &Form1::openReadme);
    addMenuItem(help, u"mnuvisitsite"_s, u"Visit my site"_s, &Form1::visitSite);
    addSeparator(help, u"mnus5"_s);
    addMenuItem(help, u"mnuabout"_s, u"About..."_s, &Form1::showAbout);
}

QAction *Form1::action(const QString &name) const
{
    return findChild<QAction *>(name);
}

void Form1::setEditMenuEnabled(bool enabled)
{
    // The menu itself, not just its title: a menu disabled on its own stays disabled when a
    // load or save disables and enables the whole window. Its items follow, so that F2
    // does nothing while the menu is disabled.
    mEditMenu->setEnabled(enabled);
    mEditMenu->menuAction()->setEnabled(enabled);
    for (QAction *item : mEditMenu->actions())
        item->setEnabled(enabled);
}

void Form1::enterState(CommandState state)
{
    const bool open = state == DocumentOpen;
    for (const QString &name : {u"mnufileinfo"_s, u"mnuclose"_s, u"mnusave"_s, u"mnusaveas"_s})
        action(name)->setEnabled(open);
    Toolbar1->button(3)->setEnabled(open);
    if (open)
        setEntryToolbarState();
    else
        Toolbar2->setButtonsEnabled(false);
    setEditMenuEnabled(open);
}

void Form1::setEntryToolbarState()
{
    // The categories and their descriptions only mean something for 151 entries per tileset.
    const bool categorised = mDocument.entryCount() == CategorisedEntryCount;
    Toolbar2->setButtonsEnabled(categorised);
    action(u"mnudisplaynames"_s)->setEnabled(categorised);
}

void Form1::setTitle(const QString &suffix)
{
    setWindowTitle(suffix.isEmpty() ? u"HMK Tileset Editor"_s
                                    : u"HMK Tileset Editor - "_s + suffix);
}

void Form1::quit()
{
    close();
}

#include "mainwindow.h"

#include "clientarea.h"
#include "descriptionfile.h"
#include "documentfilewatcher.h"
#include "entrycategories.h"
#include "entrytree.h"
#include "pathutils.h"
#include "recoverycontroller.h"
#include "settingsfile.h"
#include "tilesetdocument.h"
#include "tilesetlist.h"
#include "twips.h"

#include <QCloseEvent>
#include <QDir>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>

using namespace Qt::StringLiterals;

void MainWindow::startUp()
{
    enableCommands();
    const QString descriptions = mFolders.descriptionFile();
    mActions.showDescriptions->setVisible(!descriptions.isEmpty());
    if (!descriptions.isEmpty())
        mEntryTree->setEntryDescriptions(readDescriptionFile(descriptions));

    // The designed size: a client area of 7875 x 6135 twips below the menu bar.
    const Twips twips(this);
    resize(twips.toPixelsX(WindowLayout::ClientWidth), twips.toPixelsY(WindowLayout::ClientHeight) +
                                                           menuBar()->sizeHint().height() +
                                                           statusBar()->sizeHint().height());

    EditorSettings settings;
    const QString settingsPath = mFolders.settingsToRead();
    const bool found = !settingsPath.isEmpty();
    if (found)
        mSettingsIncomplete = !readSettingsFile(settingsPath, settings);
    applySettings(settings, found);
}

void MainWindow::applySettings(EditorSettings settings, bool settingsFound)
{
    const Twips twips(this);
    if (!settingsFound) {
        // Centred only when there is no settings file at all.
        const QRect screen = this->screen()->geometry();
        const int screenWidth = twips.fromPixelsX(screen.width());
        const int screenHeight = twips.fromPixelsY(screen.height());
        const QSize outer = frameGeometry().size();
        settings.windowLeft = qRound(screenWidth / 2.0 - twips.fromPixelsX(outer.width()) / 2.0);
        settings.windowTop = qRound(screenHeight / 2.0 - twips.fromPixelsY(outer.height()) / 2.0);
    }
    if (settings.lastOpened == EditorSettings::NoDocument)
        settings.lastOpened.clear();

    // Sizes are outer sizes, frame included. The frame is known only once the window is
    // shown; until then the inner size stands in, and fitOuterSize() corrects it.
    QSize outer; // the stored sides; 0 keeps the designed one
    if (settings.windowWidth > 0)
        outer.setWidth(twips.toPixelsX(settings.windowWidth));
    else
        settings.windowWidth = twips.fromPixelsX(frameGeometry().width());
    if (settings.windowHeight > 0)
        outer.setHeight(twips.toPixelsY(settings.windowHeight));
    else
        settings.windowHeight = twips.fromPixelsY(frameGeometry().height());
    resize(outer.width() > 0 ? outer.width() : width(),
           outer.height() > 0 ? outer.height() : height());
    if (outer.width() > 0 || outer.height() > 0)
        mPendingOuterSize = outer;

    if (settings.sizerLeft <= WindowLayout::MinimumTreeWidth ||
        settings.sizerLeft >
            settings.windowWidth - WindowLayout::SizerWidth - WindowLayout::MinimumTreeWidth)
        settings.sizerLeft = WindowLayout::SizerDesignedLeft;
    if (settings.selectedEntry < 1 || settings.selectedEntry > CategorisedNodeCount)
        settings.selectedEntry = 1;
    mEntryTree->setSelectedEntryNode(qint16(settings.selectedEntry));

    // Where the file says, without a check against the screens.
    move(twips.toPixelsX(settings.windowLeft), twips.toPixelsY(settings.windowTop));
    mClientArea->setTilesetListWidth(settings.sizerLeft);

    mActions.showDescriptions->setChecked(settings.showDescriptions == 1);
    mActions.openLast->setChecked(settings.openLastFileOnStartup == 1);

    // A copy left by an editor that stopped is offered first; the last file does not replace
    // the document it restores.
    const bool restored = mRecovery->offerLeftCopies(this, mServices);
    if (!settings.lastOpened.isEmpty() && fileExists(settings.lastOpened) &&
        mLastOpenedPath.isEmpty()) {
        mLastOpenedPath = settings.lastOpened;
        if (mActions.openLast->isChecked() && !restored)
            openChosenFile(settings.lastOpened);
    }
}

void MainWindow::fitOuterSize()
{
    // Once the frame is known, the window shrinks by it, so that the outer size is the one
    // stored and the window does not grow by its frame from one run to the next.
    const QSize frame = frameGeometry().size() - size();
    if (!mPendingOuterSize || frame.isNull())
        return;
    const QSize outer = *mPendingOuterSize;
    mPendingOuterSize.reset();
    resize(outer.width() > 0 ? outer.width() - frame.width() : width(),
           outer.height() > 0 ? outer.height() - frame.height() : height());
}

void MainWindow::moveEvent(QMoveEvent *event)
{
    QMainWindow::moveEvent(event);
    fitOuterSize(); // a window manager reports its frame when it places the window
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    fitOuterSize();
    if (mSettingsIncomplete) {
        mSettingsIncomplete = false;
        // Once the window is on the screen, not just about to be.
        QTimer::singleShot(0, this, [this] {
            mServices.notify(this,
                             u"An error occured; some settings may not have loaded correctly."_s,
                             u"HMK Tileset Editor"_s, PlatformServices::Icon::Exclamation);
        });
    }
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    event->ignore();
    if (!isEnabled()) {
        // A load or save is running: it ends first, then the window closes.
        QTimer::singleShot(100, this, &QWidget::close);
        return;
    }
    finishLabelEdits();
    if (mDocument->isModified() && !maybeSave(u"Save changes before closing file?"_s))
        return;
    writeSettings();
    mRecovery->discard(); // a normal end leaves nothing to recover
    event->accept();
}

void MainWindow::writeSettings()
{
    const Twips twips(this);
    EditorSettings settings;
    // A window without an open file remembers none.
    // Hidden trees: a document was closed (or a failed open gave it up); at start-up, with
    // none opened yet, they show empty and the file tried last is remembered.
    settings.lastOpened =
        mTilesetList->isHidden() ? EditorSettings::NoDocument.toString() : mLastOpenedPath;
    settings.windowLeft = twips.fromPixelsX(x());
    settings.windowTop = twips.fromPixelsY(y());
    settings.windowWidth = twips.fromPixelsX(frameGeometry().width());
    settings.windowHeight = twips.fromPixelsY(frameGeometry().height());
    settings.sizerLeft = mClientArea->windowLayout().splitter.left;
    settings.showDescriptions = mActions.showDescriptions->isChecked() ? 1 : 0;
    settings.openLastFileOnStartup = mActions.openLast->isChecked() ? 1 : 0;
    settings.selectedEntry = mEntryTree->selectedEntryNode();
    // A settings file that cannot be written is lost; the program ends all the same.
    const QString path = mFolders.settingsToWrite();
    QDir().mkpath(folderOf(path)); // the user's folder may not be there yet
    writeSettingsFile(path, settings);
}

#include "mainwindow.h"

#include "descriptionfile.h"
#include "entrycategories.h"
#include "entrytree.h"
#include "pathutils.h"
#include "settingsfile.h"
#include "textutils.h"
#include "tilesetlist.h"
#include "twips.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

const QString SettingsFileName = u"hmktse.ini"_s;
const QString DescriptionFileName = u"desc.txt"_s;

} // namespace

void MainWindow::startUp()
{
    setTitle();
    enterState(NoDocument);
    readDescriptions();

    // The designed size: a client area of 7875 x 6135 twips below the menu bar.
    const Twips twips(this);
    resize(twips.toPixelsX(WindowLayout::ClientWidth),
           twips.toPixelsY(WindowLayout::ClientHeight) + menuBar()->sizeHint().height());

    EditorSettings settings;
    const QString settingsPath = programFile(mProgramFolder, SettingsFileName);
    const bool found = fileExists(settingsPath);
    if (found)
        mSettingsIncomplete = !readSettingsFile(settingsPath, settings);
    applySettings(settings, found);
}

void MainWindow::readDescriptions()
{
    const QString path = programFile(mProgramFolder, DescriptionFileName);
    QAction *command = action(u"mnudisplaynames"_s);
    const bool present = fileExists(path);
    command->setVisible(present);
    if (present)
        mEntryTree->setEntryDescriptions(readDescriptionFile(path));
}

void MainWindow::applySettings(EditorSettings settings, bool settingsFound)
{
    const Twips twips(this);
    if (!settingsFound) {
        // Centred only when there is no settings file at all.
        const QRect screen = this->screen()->geometry();
        const int screenWidth = twips.fromPixelsX(screen.width());
        const int screenHeight = twips.fromPixelsY(screen.height());
        settings.windowLeft = qRound(screenWidth / 2.0 - twips.fromPixelsX(width()) / 2.0);
        settings.windowTop = qRound(screenHeight / 2.0 - twips.fromPixelsY(height()) / 2.0);
    }
    if (settings.lastOpened == u"n/a"_s)
        settings.lastOpened.clear();

    // Sizes are the window's own, without the frame the window manager adds around it, so
    // that the window does not grow by its frame from one run to the next.
    if (settings.windowWidth > 0)
        resize(twips.toPixelsX(settings.windowWidth), height());
    else
        settings.windowWidth = twips.fromPixelsX(width());
    if (settings.windowHeight > 0)
        resize(width(), twips.toPixelsY(settings.windowHeight));
    else
        settings.windowHeight = twips.fromPixelsY(height());

    if (settings.sizerLeft <= WindowLayout::MinimumTreeWidth ||
        settings.sizerLeft >
            settings.windowWidth - WindowLayout::SizerWidth - WindowLayout::MinimumTreeWidth)
        settings.sizerLeft = WindowLayout::SizerDesignedLeft;
    if (settings.selectedEntry < 1 || settings.selectedEntry > CategorisedNodeCount)
        settings.selectedEntry = 1;
    mEntryTree->setSelectedEntryNode(qint16(settings.selectedEntry));

    // Where the file says, without a check against the screens.
    move(twips.toPixelsX(settings.windowLeft), twips.toPixelsY(settings.windowTop));
    mLayout.tilesetList.width = settings.sizerLeft;
    applyLayout();

    action(u"mnudisplaynames"_s)->setChecked(settings.showDescriptions == 1);
    action(u"mnuopenlast"_s)->setChecked(settings.openLastFileOnStartup == 1);

    mDocument.lastOpenedPath = settings.lastOpened;
    if (!settings.lastOpened.isEmpty() && fileExists(settings.lastOpened)) {
        mDocument.filePath = settings.lastOpened;
        mDocument.fileTitle = fileTitleOf(settings.lastOpened);
        mDocument.fileFolder = folderOf(settings.lastOpened);
        if (action(u"mnuopenlast"_s)->isChecked())
            openDocumentFile();
    } else {
        mDocument.lastOpenedPath.clear();
    }
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (mSettingsIncomplete) {
        mSettingsIncomplete = false;
        // Once the window is on the screen, not just about to be.
        QTimer::singleShot(0, this, [this] {
            showMessage(u"An error occured; some settings may not have loaded correctly.",
                        u"HMK Tileset Editor", PlatformServices::Icon::Exclamation);
        });
    }
}

bool MainWindow::shutDown()
{
    if (!isEnabled())
        return false; // a load or save is running; it ends first
    if (mDocument.changesMade && !askToSave(u"Save changes before closing file?"_s))
        return false;
    if (mTilesetList->isHidden())
        mDocument.lastOpenedPath = u"n/a"_s;
    writeSettings();
    return true;
}

void MainWindow::writeSettings()
{
    const Twips twips(this);
    EditorSettings settings;
    settings.lastOpened = mDocument.lastOpenedPath;
    settings.windowLeft = twips.fromPixelsX(x());
    settings.windowTop = twips.fromPixelsY(y());
    settings.windowWidth = twips.fromPixelsX(width());
    settings.windowHeight = twips.fromPixelsY(height());
    settings.sizerLeft = mLayout.splitter.left;
    settings.showDescriptions = action(u"mnudisplaynames"_s)->isChecked() ? 1 : 0;
    settings.openLastFileOnStartup = action(u"mnuopenlast"_s)->isChecked() ? 1 : 0;
    settings.selectedEntry = mEntryTree->selectedEntryNode();
    // A settings file that cannot be written is lost; the program ends all the same.
    writeSettingsFile(programFile(mProgramFolder, SettingsFileName), settings);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (shutDown())
        event->accept();
    else
        event->ignore();
}

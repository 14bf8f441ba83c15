#include "form1.h"

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

void Form1::startUp()
{
    setTitle();
    enterState(NoDocument);
    readDescriptions();

    // The designed size: a client area of 7875 x 6135 twips below the menu bar.
    const Twips twips(this);
    resize(twips.toPixelsX(WindowLayout::ClientWidth),
           twips.toPixelsY(WindowLayout::ClientHeight) + menuBar()->sizeHint().height());

    EditorSettings settings;
    const QString settingsPath = ProgramFile(mProgramFolder, SettingsFileName);
    const bool found = FileExists(settingsPath);
    if (found)
        mSettingsIncomplete = !ReadSettings(settingsPath, settings);
    applySettings(settings, found);
}

void Form1::readDescriptions()
{
    const QString path = ProgramFile(mProgramFolder, DescriptionFileName);
    QAction *command = action(u"mnudisplaynames"_s);
    const bool present = FileExists(path);
    command->setVisible(present);
    if (present)
        NewList2->setEntryDescriptions(ReadDescriptions(path));
}

void Form1::applySettings(EditorSettings settings, bool settingsFound)
{
    const Twips twips(this);
    if (!settingsFound) {
        // Centred only when there is no settings file at all.
        const QRect screen = this->screen()->geometry();
        const int screenWidth = twips.fromPixelsX(screen.width());
        const int screenHeight = twips.fromPixelsY(screen.height());
        settings.WindowLeft = qRound(screenWidth / 2.0 - twips.fromPixelsX(width()) / 2.0);
        settings.WindowTop = qRound(screenHeight / 2.0 - twips.fromPixelsY(height()) / 2.0);
    }
    if (settings.LastOpened == u"n/a"_s)
        settings.LastOpened.clear();

    // Sizes are the window's own, without the frame the window manager adds around it, so
    // that the window does not grow by its frame from one run to the next.
    if (settings.WindowWidth > 0)
        resize(twips.toPixelsX(settings.WindowWidth), height());
    else
        settings.WindowWidth = twips.fromPixelsX(width());
    if (settings.WindowHeight > 0)
        resize(width(), twips.toPixelsY(settings.WindowHeight));
    else
        settings.WindowHeight = twips.fromPixelsY(height());

    if (settings.SizerLeft <= WindowLayout::MinimumTreeWidth ||
        settings.SizerLeft >
            settings.WindowWidth - WindowLayout::SizerWidth - WindowLayout::MinimumTreeWidth)
        settings.SizerLeft = WindowLayout::SizerDesignedLeft;
    if (settings.SelectedEntry < 1 || settings.SelectedEntry > CategorisedNodeCount)
        settings.SelectedEntry = 1;
    NewList2->SelectedEntryNode = qint16(settings.SelectedEntry);

    // Where the file says, without a check against the screens.
    move(twips.toPixelsX(settings.WindowLeft), twips.toPixelsY(settings.WindowTop));
    mLayout.NewList1.width = settings.SizerLeft;
    applyLayout();

    action(u"mnudisplaynames"_s)->setChecked(settings.ShowDescriptions == 1);
    action(u"mnuopenlast"_s)->setChecked(settings.OpenLastFileOnStartup == 1);

    mDocument.LastOpenedPath = settings.LastOpened;
    if (!settings.LastOpened.isEmpty() && FileExists(settings.LastOpened)) {
        mDocument.FilePath = settings.LastOpened;
        mDocument.FileTitle = FileTitleOf(settings.LastOpened);
        mDocument.FileFolder = FolderOf(settings.LastOpened);
        if (action(u"mnuopenlast"_s)->isChecked())
            Opn();
    } else {
        mDocument.LastOpenedPath.clear();
    }
}

void Form1::showEvent(QShowEvent *event)
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

bool Form1::shutDown()
{
    if (!isEnabled())
        return false; // a load or save is running; it ends first
    if (mDocument.ChangesMade && !askToSave(u"Save changes before closing file?"_s))
        return false;
    if (NewList1->isHidden())
        mDocument.LastOpenedPath = u"n/a"_s;
    writeSettings();
    return true;
}

void Form1::writeSettings()
{
    const Twips twips(this);
    EditorSettings settings;
    settings.LastOpened = mDocument.LastOpenedPath;
    settings.WindowLeft = twips.fromPixelsX(x());
    settings.WindowTop = twips.fromPixelsY(y());
    settings.WindowWidth = twips.fromPixelsX(width());
    settings.WindowHeight = twips.fromPixelsY(height());
    settings.SizerLeft = mLayout.sizer.left;
    settings.ShowDescriptions = action(u"mnudisplaynames"_s)->isChecked() ? 1 : 0;
    settings.OpenLastFileOnStartup = action(u"mnuopenlast"_s)->isChecked() ? 1 : 0;
    settings.SelectedEntry = NewList2->SelectedEntryNode;
    // A settings file that cannot be written is lost; the program ends all the same.
    WriteSettings(ProgramFile(mProgramFolder, SettingsFileName), settings);
}

void Form1::closeEvent(QCloseEvent *event)
{
    if (shutDown())
        event->accept();
    else
        event->ignore();
}

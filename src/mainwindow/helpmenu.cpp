#include "helpmenu.h"

#include "aboutdialog.h"
#include "pathutils.h"
#include "platformservices.h"

#include <QDir>
#include <QUrl>

using namespace Qt::StringLiterals;

HelpMenu::HelpMenu(const QString &readmePath, PlatformServices &services, QWidget *window)
    : QMenu(u"&Help"_s, window)
    , mReadmePath(readmePath)
    , mServices(services)
    , mWindow(window)
{
    setObjectName(u"mnuhelp"_s);
    addAction(u"&Readme.txt"_s, this, &HelpMenu::openReadme)->setObjectName(u"mnureadme"_s);
    addAction(u"&Visit my site"_s, this, [this] {
        openWithDesktop(AboutDialog::siteUrl(), u"Visit my site"_s);
    })->setObjectName(u"mnuvisitsite"_s);
    addSeparator()->setObjectName(u"mnus5"_s);
    addAction(u"&About..."_s, this, &HelpMenu::showAbout)->setObjectName(u"mnuabout"_s);
}

void HelpMenu::openReadme()
{
    if (fileExists(mReadmePath)) {
        openWithDesktop(QUrl::fromLocalFile(mReadmePath), u"Readme.txt"_s);
        return;
    }
    mServices.notify(mWindow, u"Couldn't find "_s + mReadmePath, u"Readme.txt"_s,
                     PlatformServices::Icon::Exclamation);
}

void HelpMenu::showAbout()
{
    AboutDialog dialog;
    connect(&dialog, &AboutDialog::openRequested, this,
            [this](const QUrl &url) { openWithDesktop(url, u"About"_s); });
    mServices.execDialog(mWindow, dialog);
}

void HelpMenu::openWithDesktop(const QUrl &url, const QString &title)
{
    if (mServices.openWithDesktop(url))
        return;
    const QString target =
        url.isLocalFile() ? QDir::toNativeSeparators(url.toLocalFile()) : url.toString();
    mServices.notify(mWindow,
                     u"The desktop has no program to open %1. Open it by hand."_s.arg(target),
                     title, PlatformServices::Icon::Exclamation);
}

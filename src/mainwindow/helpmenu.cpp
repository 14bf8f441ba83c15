#include "helpmenu.h"

#include "aboutdialog.h"
#include "pathutils.h"
#include "platformservices.h"

#include <QUrl>

using namespace Qt::StringLiterals;

HelpMenu::HelpMenu(const QString &readmePath, PlatformServices &services, QWidget *window)
    : QMenu(u"&Help"_s, window)
    , mReadmePath(readmePath)
    , mServices(services)
    , mWindow(window)
{
    setObjectName(u"mnuhelp"_s);
    addAction(u"Readme.txt"_s, this, &HelpMenu::openReadme)->setObjectName(u"mnureadme"_s);
    addAction(u"Visit my site"_s, this, [this] {
        mServices.openWithDesktop(AboutDialog::siteUrl());
    })->setObjectName(u"mnuvisitsite"_s);
    addSeparator()->setObjectName(u"mnus5"_s);
    addAction(u"About..."_s, this, &HelpMenu::showAbout)->setObjectName(u"mnuabout"_s);
}

void HelpMenu::openReadme()
{
    if (fileExists(mReadmePath)) {
        mServices.openWithDesktop(QUrl::fromLocalFile(mReadmePath));
        return;
    }
    mServices.notify(mWindow, u"Couldn't find "_s + mReadmePath, u"Readme.txt"_s,
                     PlatformServices::Icon::Exclamation);
}

void HelpMenu::showAbout()
{
    AboutDialog dialog;
    connect(&dialog, &AboutDialog::openRequested, this,
            [this](const QUrl &url) { mServices.openWithDesktop(url); });
    mServices.execDialog(mWindow, dialog);
}

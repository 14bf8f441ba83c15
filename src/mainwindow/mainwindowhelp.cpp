#include "mainwindow.h"

#include "aboutdialog.h"
#include "pathutils.h"

#include <QUrl>

using namespace Qt::StringLiterals;

void MainWindow::openReadme()
{
    const QString path = mFolders.readmeFile();
    if (fileExists(path)) {
        mServices.openWithDesktop(QUrl::fromLocalFile(path));
        return;
    }
    showMessage(QString(u"Couldn't find "_s + path), u"Readme.txt",
                PlatformServices::Icon::Exclamation);
}

void MainWindow::visitSite()
{
    mServices.openWithDesktop(AboutDialog::siteUrl());
}

void MainWindow::showAbout()
{
    AboutDialog dialog;
    connect(&dialog, &AboutDialog::openRequested, this,
            [this](const QUrl &url) { mServices.openWithDesktop(url); });
    mServices.execDialog(this, dialog);
}

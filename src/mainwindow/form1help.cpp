#include "form1.h"

#include "form7.h"
#include "pathutils.h"

#include <QUrl>

using namespace Qt::StringLiterals;

void Form1::openReadme()
{
    const QString path = ProgramFile(mProgramFolder, u"readme.txt"_s);
    if (FileExists(path)) {
        mServices.openWithDesktop(QUrl::fromLocalFile(path));
        return;
    }
    showMessage(QString(u"Couldn't find "_s + path), u"Readme.txt",
                PlatformServices::Icon::Exclamation);
}

void Form1::visitSite()
{
    mServices.openWithDesktop(Form7::siteUrl());
}

void Form1::showAbout()
{
    Form7 dialog;
    connect(&dialog, &Form7::openRequested, this,
            [this](const QUrl &url) { mServices.openWithDesktop(url); });
    mServices.execDialog(this, dialog);
}

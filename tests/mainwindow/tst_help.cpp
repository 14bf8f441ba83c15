#include "form7.h"
#include "windowfixture.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

class TestHelp : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void readme_data();
    void readme();
    void visitSite();
    void aboutDialog();

private:
    std::unique_ptr<WindowFixture> mFixture;
};

void TestHelp::init()
{
    mFixture = std::make_unique<WindowFixture>();
}

void TestHelp::cleanup()
{
    QVERIFY2(mFixture->services.unexpected.isEmpty(),
             qPrintable(mFixture->services.unexpected.join(u"; "_s)));
    QVERIFY(mFixture->services.allAnswersUsed());
    mFixture.reset();
}

void TestHelp::readme_data()
{
    QTest::addColumn<QString>("present"); // what stands at <folder>/readme.txt
    QTest::addColumn<bool>("opened");
    QTest::newRow("file") << u"file"_s << true;
    QTest::newRow("empty file") << u"empty"_s << true;
    QTest::newRow("absent") << QString() << false;
    QTest::newRow("a folder by that name") << u"folder"_s << false;
}

void TestHelp::readme()
{
    QFETCH(QString, present);
    QFETCH(bool, opened);
    if (present == u"file"_s)
        mFixture->writeFile(u"readme.txt"_s, "Read me.\r\n");
    else if (present == u"empty"_s)
        mFixture->writeFile(u"readme.txt"_s, QByteArray());
    else if (present == u"folder"_s)
        QVERIFY(QDir(mFixture->folder()).mkdir(u"readme.txt"_s));
    mFixture->start().show();
    QVERIFY(mFixture->trigger(u"mnureadme"_s));

    ScriptedServices &services = mFixture->services;
    if (opened) {
        QCOMPARE(services.openedUrls,
                 QList<QUrl>{QUrl::fromLocalFile(mFixture->folderPath(u"readme.txt"_s))});
        QVERIFY(services.messages.isEmpty());
        return;
    }
    QVERIFY(services.openedUrls.isEmpty());
    QCOMPARE(services.messages.size(), 1);
    const ScriptedServices::Message message = services.messages.first();
    QCOMPARE(message.text,
             u"Couldn't find "_s + mFixture->folder() + QDir::separator() + u"readme.txt"_s);
    QCOMPARE(message.title, u"Readme.txt"_s);
    QCOMPARE(message.buttons, PlatformServices::Buttons::Ok);
    QCOMPARE(message.icon, PlatformServices::Icon::Exclamation);
}

void TestHelp::visitSite()
{
    mFixture->start();
    QVERIFY(mFixture->trigger(u"mnuvisitsite"_s));
    QCOMPARE(mFixture->services.openedUrls, QList<QUrl>{Form7::siteUrl()});
    QVERIFY(mFixture->services.messages.isEmpty());
}

void TestHelp::aboutDialog()
{
    Form1 &window = mFixture->start();
    window.show();
    ScriptedServices &services = mFixture->services;
    QString title;
    QString purpose;
    int urlsWhileOpen = -1;
    services.onDialog([&](QDialog &dialog) {
        auto *about = qobject_cast<Form7 *>(&dialog);
        QVERIFY(about);
        about->show();
        title = about->windowTitle();
        QTest::mouseDClick(about->Label10, Qt::LeftButton); // changes this dialog only
        QTest::mouseClick(about->Label7, Qt::LeftButton);
        urlsWhileOpen = int(services.openedUrls.size());
        QTest::mouseClick(about->Command1, Qt::LeftButton);
    });
    QVERIFY(mFixture->trigger(u"mnuabout"_s));
    QCOMPARE(title, u"About HMK Tileset Editor"_s);
    QCOMPARE(urlsWhileOpen, 1); // the mail link goes to the desktop at once
    QCOMPARE(services.openedUrls.size(), 1);
    QCOMPARE(services.openedUrls.first().scheme(), u"mailto"_s);
    QCOMPARE(services.openedUrls.first(), Form7::mailUrl());

    // Made afresh each time: the warning of the last time is gone.
    services.onDialog([&](QDialog &dialog) {
        if (auto *about = qobject_cast<Form7 *>(&dialog))
            purpose = about->Label3->text();
        dialog.reject();
    });
    QVERIFY(mFixture->trigger(u"mnuabout"_s));
    QCOMPARE(purpose, u"For editing tilesets used by Harrowmark and Harrowmark: Veldrune"_s);
    QVERIFY(window.isVisible());
}

QTEST_MAIN(TestHelp)
#include "tst_help.moc"

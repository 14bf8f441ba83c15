#include "aboutdialog.h"
#include "widgets.h"
#include "windowtest.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

class TestHelp : public WindowTest
{
    Q_OBJECT

private Q_SLOTS:

    void readme_data()
    {
        QTest::addColumn<QString>("present"); // what stands at <folder>/readme.txt
        QTest::newRow("file") << u"file"_s;
        QTest::newRow("absent") << QString();
        QTest::newRow("a folder by that name") << u"folder"_s;
    }

    void readme()
    {
        QFETCH(QString, present);
        if (present == u"folder"_s)
            QVERIFY(QDir(mFixture->folder()).mkdir(u"readme.txt"_s));
        else if (!present.isEmpty())
            mFixture->writeFile(u"readme.txt"_s, "Read me.\r\n");
        mFixture->start().show();
        QVERIFY(mFixture->trigger(u"mnureadme"_s));

        const ScriptedServices &services = mFixture->services;
        const QString path = mFixture->folder() + QDir::separator() + u"readme.txt"_s;
        if (present == u"file"_s) {
            QCOMPARE(services.openedUrls, QList<QUrl>{QUrl::fromLocalFile(path)});
            QVERIFY(services.messages.isEmpty());
            return;
        }
        QVERIFY(services.openedUrls.isEmpty());
        QCOMPARE(services.messages.size(), 1);
        QCOMPARE(services.messages.first().text, u"Couldn't find "_s + path);
        QCOMPARE(services.messages.first().title, u"Readme.txt"_s);
        QCOMPARE(services.messages.first().icon, PlatformServices::Icon::Exclamation);
    }

    void visitSiteAndAbout()
    {
        MainWindow &window = mFixture->start();
        window.show();
        ScriptedServices &services = mFixture->services;
        QVERIFY(mFixture->trigger(u"mnuvisitsite"_s));
        QCOMPARE(services.openedUrls, QList<QUrl>{AboutDialog::siteUrl()});

        services.openedUrls.clear();
        services.onDialog([&](QDialog &dialog) {
            auto *about = qobject_cast<AboutDialog *>(&dialog);
            QVERIFY(about);
            about->show();
            QTest::mouseDClick(child<QLabel>(about, u"Label10"_s),
                               Qt::LeftButton); // changes this dialog only
            QTest::mouseClick(child<QLabel>(about, u"Label7"_s), Qt::LeftButton);
            QTest::mouseClick(child<QPushButton>(about, u"Command1"_s), Qt::LeftButton);
        });
        QVERIFY(mFixture->trigger(u"mnuabout"_s));
        QCOMPARE(services.openedUrls, QList<QUrl>{AboutDialog::mailUrl()});

        // Made afresh each time: the warning of the last time is gone.
        QString purpose;
        services.onDialog([&](QDialog &dialog) {
            if (auto *about = qobject_cast<AboutDialog *>(&dialog))
                purpose = child<QLabel>(about, u"Label3"_s)->text();
            dialog.reject();
        });
        QVERIFY(mFixture->trigger(u"mnuabout"_s));
        QCOMPARE(purpose, u"For editing tilesets used by Harrowmark and Harrowmark: Veldrune"_s);
        QVERIFY(services.messages.isEmpty());
    }
};

QTEST_MAIN(TestHelp)
#include "tst_help.moc"

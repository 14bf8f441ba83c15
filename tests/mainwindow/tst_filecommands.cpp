#include "entrytoolbar.h"
#include "entrytree.h"
#include "filetoolbar.h"
#include "progresswindow.h"
#include "tilesetfiles.h"
#include "tilesetlist.h"
#include "widgets.h"
#include "windowtest.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QTest>

using namespace Qt::StringLiterals;
using Answer = PlatformServices::Answer;
using Icon = PlatformServices::Icon;
using Buttons = PlatformServices::Buttons;

class TestFileCommands : public WindowTest
{
    Q_OBJECT

    ScriptedServices &services() { return mFixture->services; }
    Document &document() { return mFixture->document(); }
    QAction *action(const QString &name) { return mFixture->window().findChild<QAction *>(name); }
    // Opens a numbered file with an unsaved change to entry 0 of tileset 0.
    void openChanged(const QString &path)
    {
        QVERIFY(mFixture->open(path));
        document().tilesets.setEntry(0, 0, QByteArray(32, 'Z'));
        document().changesMade = true;
    }

private Q_SLOTS:
    void menuCaptionsAndShortcut()
    {
        MainWindow &window = mFixture->start();
        const auto items = [&window](const QString &menu) {
            QStringList texts;
            for (const QAction *item : window.findChild<QMenu *>(menu)->actions())
                texts.append(item->text());
            return texts;
        };
        const QString separator;
        QCOMPARE(items(u"mnufile"_s), QStringList({u"New"_s, separator, u"Open..."_s, u"Close"_s,
                                                   separator, u"Save"_s, u"Save as..."_s, separator,
                                                   u"File info..."_s, separator, u"Quit"_s}));
        QCOMPARE(items(u"mnuedit"_s), QStringList({u"Insert Tileset"_s, u"Delete Tileset"_s,
                                                   u"Copy from other tileset"_s, separator,
                                                   u"Import tileset from file..."_s, separator,
                                                   u"Go to entry..."_s, u"Edit entry"_s}));
        QCOMPARE(items(u"mnuops"_s),
                 QStringList({u"Show descriptions"_s, u"Open last file on start up"_s}));
        QCOMPARE(items(u"mnuhelp"_s),
                 QStringList({u"Readme.txt"_s, u"Visit my site"_s, separator, u"About..."_s}));
        QCOMPARE(action(u"mnueditentry"_s)->shortcut(), QKeySequence(Qt::Key_F2));
        QCOMPARE(window.fileToolbar()->button(2)->toolTip(), u"Open a tileset"_s);
        QCOMPARE(window.entryToolbar()->button(8)->toolTip(), u"Rocks"_s);
    }

    void openDialogRequest()
    {
        MainWindow &window = mFixture->start();
        services().chooseFile(QString()); // a cancelled dialog first
        QVERIFY(mFixture->trigger(u"mnuopen"_s));
        const PlatformServices::FileRequest request = services().fileRequests.first();
        QCOMPARE(request.mode, PlatformServices::FileRequest::Open);
        QCOMPARE(request.title, u"Open hmkset.dat"_s);
        QCOMPARE(request.fileName, u"hmkset.dat"_s);
        QCOMPARE(request.filters, QStringList({u"Hmkset.dat (*.dat)"_s, u"All files (*.*)"_s}));
        QCOMPARE(request.defaultSuffix, u"dat"_s);
        QVERIFY(request.folder.isEmpty());
        QCOMPARE(window.windowTitle(), u"HMK Tileset Editor"_s);
    }

    void failedOpenReportsAndKeepsState_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("icon");
        QTest::newRow("too short") << QByteArray("\x0a\x0a\0\0\0", 5)
                                   << u"Error: Incorrect filesize"_s << int(Icon::Exclamation);
        QTest::newRow("no tilesets")
            << QByteArray("\x00\x03\0\0\0", 5) << u"Error while loading!"_s << int(Icon::Critical);
        QTest::newRow("empty") << QByteArray() << u"Error while loading!"_s << int(Icon::Critical);
    }

    void failedOpenReportsAndKeepsState()
    {
        QFETCH(QByteArray, bytes);
        MainWindow &window = mFixture->start();
        const QString path = mFixture->writeFile(u"bad.dat"_s, bytes);
        QVERIFY(mFixture->open(path));
        QCOMPARE(services().messages.size(), 1);
        const ScriptedServices::Message message = services().messages.first();
        QTEST(message.text, "text");
        QCOMPARE(message.title, u"Error"_s);
        QTEST(int(message.icon), "icon");
        QCOMPARE(message.buttons, Buttons::Ok);
        // The title and file values name the file that failed; nothing else changed.
        QCOMPARE(window.windowTitle(), u"HMK Tileset Editor - "_s + path);
        QCOMPARE(document().filePath, path);
        QVERIFY(!action(u"mnusave"_s)->isEnabled());
        QVERIFY(!document().hasTilesets());
        QVERIFY(window.isEnabled());
    }

    void failedOpenAfterAnotherGivesItUp()
    {
        MainWindow &window = mFixture->start();
        const QString good = mFixture->writeNumberedFile(u"good.dat"_s, 4, 151);
        const QByteArray damaged("\x0a\x0a\0\0\0", 5);
        const QString bad = mFixture->writeFile(u"bad.dat"_s, damaged);
        QVERIFY(mFixture->open(good));
        QVERIFY(mFixture->open(bad));
        // Save cannot write the previous document over the file that failed.
        QVERIFY(!action(u"mnusave"_s)->isEnabled());
        QVERIFY(!document().hasTilesets());
        QVERIFY(window.tilesetList()->isHidden());
        QCOMPARE(TestFiles::read(bad), damaged);
        QVERIFY(mFixture->open(good)); // and a good file opens again
        QCOMPARE(window.tilesetList()->nodeCount(), 4);
    }

    void progressWindowWhileLoadingAndSaving()
    {
        MainWindow &window = mFixture->start();
        const QString path = mFixture->writeNumberedFile(u"progress.dat"_s, 3, 5);
        QStringList labels;
        QList<int> bars;
        bool disabledThroughout = true;
        services().duringPump = [&] {
            for (QWidget *top : QApplication::topLevelWidgets()) {
                if (auto *form6 = qobject_cast<ProgressWindow *>(top)) {
                    labels.append(child<QLabel>(form6, u"Label1"_s)->text());
                    bars.append(child<QProgressBar>(form6, u"ProgressBar1"_s)->value());
                }
            }
            disabledThroughout = disabledThroughout && !window.isEnabled();
        };
        QVERIFY(mFixture->open(path));
        QCOMPARE(services().pumps, 15); // one per entry record
        QVERIFY(disabledThroughout);
        QCOMPARE(labels.first(), u"Loading file progress.dat"_s);
        QCOMPARE(bars.first(), 50);
        QCOMPARE(bars.last(), 100);
        QVERIFY(window.isEnabled());

        labels.clear();
        services().pumps = 0;
        QVERIFY(mFixture->trigger(u"mnusave"_s));
        QCOMPARE(services().pumps, 3); // one per tileset
        QVERIFY(disabledThroughout);
        QCOMPARE(labels.first(), u"Writing file progress.dat"_s);
        QVERIFY(window.isEnabled());
    }

    void saveWritesTheFileAndClearsChanges()
    {
        mFixture->start();
        const QByteArray original = TestFiles::fileBytes(TestFiles::numberedTable(5, 151));
        const QString path = mFixture->writeFile(u"save.dat"_s, original + "tail");
        QVERIFY(mFixture->open(path));
        document().changesMade = true;
        QVERIFY(mFixture->trigger(u"mnusave"_s));
        QVERIFY(!document().changesMade);
        QCOMPARE(TestFiles::read(path), original); // the tail is gone
    }

    void promptAnswers_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("saved");
        QTest::addColumn<bool>("opened");
        QTest::newRow("Yes saves, then opens") << int(Answer::Yes) << true << true;
        QTest::newRow("No opens without saving") << int(Answer::No) << false << true;
        QTest::newRow("Cancel does nothing") << int(Answer::Cancel) << false << false;
    }

    void promptAnswers()
    {
        QFETCH(int, answer);
        QFETCH(bool, saved);
        QFETCH(bool, opened);
        mFixture->start();
        const QByteArray original = TestFiles::fileBytes(TestFiles::numberedTable(2, 3));
        const QString first = mFixture->writeFile(u"first.dat"_s, original);
        const QString second = mFixture->writeNumberedFile(u"second.dat"_s, 7, 3);
        openChanged(first);
        services().answer(Answer(answer));
        if (answer != int(Answer::Cancel))
            services().chooseFile(second);
        QVERIFY(mFixture->trigger(u"mnuopen"_s));
        QCOMPARE(services().messages.first().text, u"Save changes before opening another file?"_s);
        QCOMPARE(services().messages.first().buttons, Buttons::YesNoCancel);
        QCOMPARE(TestFiles::read(first) != original, saved);
        QCOMPARE(document().tilesetCount(), opened ? 7 : 2);
        QCOMPARE(document().changesMade, !opened);
    }

    void promptYesOnUntitledThenCancelledSaveAs()
    {
        mFixture->start();
        const QString other = mFixture->writeNumberedFile(u"other.dat"_s, 3, 3);
        openChanged(other);
        document().filePath = u"Untitled"_s; // as New leaves it
        services().answer(Answer::Yes);
        services().chooseFile(QString()); // Save as cancelled
        services().chooseFile(other);     // the open goes on
        QVERIFY(mFixture->trigger(u"mnuopen"_s));
        QCOMPARE(services().fileRequests.at(1).title, u"Save hmkset.dat"_s);
        QCOMPARE(document().filePath, other);
        QVERIFY(!document().changesMade);
    }
};

QTEST_MAIN(TestFileCommands)
#include "tst_filecommands.moc"

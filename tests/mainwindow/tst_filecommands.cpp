#include "aboutdialog.h"
#include "entrytree.h"
#include "progresswindow.h"
#include "tilesetfiles.h"
#include "tilesetlist.h"
#include "widgets.h"
#include "windowtest.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QScreen>

#include <sys/stat.h>

using namespace Qt::StringLiterals;
using Answer = PlatformServices::Answer;

// File commands, start-up and shutdown, and help: what the window reads, writes and says.
class TestFileCommands : public WindowTest
{
    Q_OBJECT

    // The message boxes shown, as "text | title | icon".
    QString boxes() const
    {
        QStringList shown;
        for (const ScriptedServices::Message &m : std::as_const(mFixture->services.messages))
            shown.append(u"%1 | %2 | %3"_s.arg(m.text, m.title).arg(int(m.icon)));
        return shown.join(u", "_s);
    }
    MainWindow &startShown(const QByteArray &settings = {})
    {
        if (!settings.isNull())
            mFixture->writeFile(u"hmktse.ini"_s, "[HMKTSE-Settings]\n" + settings);
        mFixture->start().show();
        QCoreApplication::processEvents();
        return mFixture->window();
    }
    // Quits through the menu; hmktse.ini's values after "key= ", in file order.
    QStringList quitAndRead()
    {
        mFixture->trigger(u"mnuquit"_s);
        const QByteArray ini = TestFiles::read(mFixture->folderPath(u"hmktse.ini"_s));
        QStringList values;
        for (const QString &line : QString::fromUtf8(ini).split(u"\r\n"_s).mid(1, 9))
            values.append(line.section(u"= "_s, 1, -1));
        return values;
    }
    QString openChanged()
    {
        const QString path = mFixture->writeNumberedFile(u"changed.dat"_s, 2, 151);
        mFixture->open(path);
        document().tilesets.setEntry(0, 0, QByteArray(32, 'Z'));
        document().changesMade = true;
        return path;
    }

private Q_SLOTS:
    void failedOpen_data()
    {
        QTest::addColumn<QString>("kind"); // of what stands at the chosen path
        QTest::addColumn<QString>("message");
        QTest::newRow("too short")
            << u"\x0a\x0a\0\0\0"_s << u"Error: Incorrect filesize | Error | 0"_s;
        QTest::newRow("no tilesets")
            << u"\x00\x03\0\0\0"_s << u"Error while loading! | Error | 1"_s;
        QTest::newRow("a folder") << u"folder"_s << u"Error while loading! | Error | 1"_s;
        QTest::newRow("a FIFO") << u"fifo"_s << u"Error while loading! | Error | 1"_s;
    }
    void failedOpen()
    {
        QFETCH(QString, kind);
        MainWindow &window = mFixture->start();
        const QString path = mFixture->folderPath(u"bad.dat"_s);
        if (kind == u"folder"_s)
            QVERIFY(QDir().mkpath(path));
        else if (kind == u"fifo"_s) // a read would block
            QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else
            mFixture->writeFile(u"bad.dat"_s, kind.toLatin1());
        const QString good = mFixture->writeNumberedFile(u"good.dat"_s, 4, 151);
        // With no document, and after another: the window is left without one either way,
        // so Save cannot write the previous tilesets over the file that failed.
        for (const bool afterAnother : {false, true}) {
            QVERIFY(!afterAnother || (mFixture->open(good) && document().hasTilesets()));
            services().messages.clear();
            QVERIFY(mFixture->open(path));
            QTEST(boxes(), "message");
            QCOMPARE(window.windowTitle(), u"HMK Tileset Editor - "_s + path);
            QVERIFY(!document().hasTilesets());
            QVERIFY(!action(u"mnusave"_s)->isEnabled() && window.isEnabled());
            // The load disabled and enabled the window; the Edit menu stays disabled.
            QVERIFY(!window.findChild<QMenu *>(u"mnuedit"_s)->menuAction()->isEnabled());
        }
        const PlatformServices::FileRequest request = services().fileRequests.first();
        QCOMPARE(request.title + u' ' + request.fileName, u"Open hmkset.dat hmkset.dat"_s);
        QCOMPARE(request.filters, QStringList({u"Hmkset.dat (*.dat)"_s, u"All files (*)"_s}));
        QCOMPARE(request.defaultSuffix, u"dat"_s);
    }

    void progressWhileLoadingAndSaving()
    {
        MainWindow &window = mFixture->start();
        QStringList seen; // the progress window's label and bar at each pump
        services().duringPump = [&] {
            for (QWidget *top : QApplication::topLevelWidgets())
                if (auto *bar = top->findChild<QProgressBar *>(u"ProgressBar1"_s))
                    seen.append(child<QLabel>(top, u"Label1"_s)->text().left(1) +
                                QString::number(bar->value()));
            QVERIFY(!window.isEnabled());
        };
        QVERIFY(mFixture->open(mFixture->writeNumberedFile(u"p.dat"_s, 3, 2)));
        QVERIFY(mFixture->trigger(u"mnusave"_s));
        QCOMPARE(seen.join(u' '), u"L50 L50 L100 L100 L100 L100 W50 W100 W100"_s);
        QVERIFY(window.isEnabled());
    }

    void saveAs_data()
    {
        QTest::addColumn<QString>("target"); // empty: out.dat in the program folder
        QTest::newRow("out.dat") << QString();
        QTest::newRow("disk full") << u"/dev/full"_s;
        QTest::newRow("a folder") << QDir::tempPath();
    }
    void saveAs()
    {
        QFETCH(QString, target);
        mFixture->start();
        const QString path = openChanged();
        QVERIFY(mFixture->trigger(u"mnusave"_s));
        const QByteArray bytes = TestFiles::read(path);
        QCOMPARE(bytes, TestFiles::fileBytes(document().tilesets));
        if (target.isEmpty())
            target = mFixture->folderPath(u"out.dat"_s);
        services().chooseFile(target);
        QVERIFY(mFixture->trigger(u"mnusaveas"_s));
        QCOMPARE(services().fileRequests.last().folder, QFileInfo(path).path());
        QCOMPARE(mFixture->window().windowTitle(), u"HMK Tileset Editor - "_s + target);
        QCOMPARE(document().fileFolder + document().fileTitle, target); // keeps the separator
        QVERIFY(!document().changesMade);                               // whatever the outcome
        const bool saved = target.endsWith(u"out.dat"_s);
        QCOMPARE(boxes(), saved ? QString() : u"Error while saving! | Error | 1"_s);
        QVERIFY(!saved || TestFiles::read(target) == bytes);
    }

    void savePrompt_data()
    {
        QTest::addColumn<int>("answer"); // -1: Yes on an untitled document, Save as cancelled
        QTest::addColumn<bool>("saved");
        QTest::addColumn<bool>("opened");
        QTest::newRow("Yes saves, then opens") << int(Answer::Yes) << true << true;
        QTest::newRow("No opens without saving") << int(Answer::No) << false << true;
        QTest::newRow("Cancel does nothing") << int(Answer::Cancel) << false << false;
        QTest::newRow("Yes, Save as cancelled, opens") << -1 << false << true;
    }
    void savePrompt()
    {
        QFETCH(int, answer);
        mFixture->start();
        const QString first = openChanged();
        if (answer < 0) {
            document().filePath = u"Untitled"_s; // as New leaves it
            services().chooseFile(QString());
        }
        services().answer(answer < 0 ? Answer::Yes : Answer(answer));
        if (answer != int(Answer::Cancel))
            services().chooseFile(mFixture->writeNumberedFile(u"second.dat"_s, 7, 3));
        QVERIFY(mFixture->trigger(u"mnuopen"_s));
        QCOMPARE(boxes(), u"Save changes before opening another file? | Changes made | 0"_s);
        QCOMPARE(services().messages.first().buttons, PlatformServices::Buttons::YesNoCancel);
        QTEST(TestFiles::read(first).at(5 + 33) == 'Z', "saved");
        QTEST(document().tilesetCount() == 7, "opened");
        QCOMPARE(document().changesMade, document().tilesetCount() == 2);
    }

    void firstRunIsCentred()
    {
        MainWindow &window = startShown();
        const QRect screen = window.screen()->geometry();
        QVERIFY(qAbs(window.x() - (screen.width() - window.width()) / 2.0) <= 0.5);
        QVERIFY(qAbs(window.y() - (screen.height() - window.height()) / 2.0) <= 0.5);
        QCOMPARE(window.centralWidget()->size(), QSize(7875 / 15, 6135 / 15)); // as designed
        const QStringList first = quitAndRead();
        // The outer size, frame included.
        QCOMPARE(first.mid(1, 3),
                 QStringList({QString::number(window.x() * 15), QString::number(window.y() * 15),
                              QString::number(window.frameGeometry().width() * 15)}));
        startShown(); // the window neither moves nor grows from run to run
        QCOMPARE(quitAndRead(), first);
    }

    // What start-up takes from hmktse.ini, seen in what shutdown writes back.
    void settingsApplied_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<QString>("written"); // W, H: the designed outer size
        QTest::addColumn<QString>("told");    // the message shown once the window is up
        const auto row = [](const char *settings, const char *written) {
            QTest::newRow(*settings ? settings : "section only")
                << QByteArray(settings).replace(' ', '\n') << QString::fromLatin1(written)
                << QString();
        };
        row("", "0 0 W H 3360 0 0 1");
        row("WindowLeft=1500 WindowTop=750 WindowWidth=9000 WindowHeight=7500",
            "1500 750 9000 7500 3360 0 0 1");
        row("WindowWidth=0 WindowHeight=-15", "0 0 W H 3360 0 0 1");
        row("SizerLeft=720", "0 0 W H 3360 0 0 1");
        row("SizerLeft=721", "0 0 W H 721 0 0 1");
        row("SizerLeft=7095", "0 0 W H 7095 0 0 1");
        row("SizerLeft=7096", "0 0 W H 3360 0 0 1");
        row("WindowWidth=9000 SizerLeft=8220", "0 0 9000 H 8220 0 0 1");
        row("ShowDescriptions=1 OpenLastFileOnStartup=1 SelectedEntry=167", "0 0 W H 3360 1 1 167");
        row("ShowDescriptions=2 OpenLastFileOnStartup=2 SelectedEntry=168", "0 0 W H 3360 0 0 1");
        row("SelectedEntry=0", "0 0 W H 3360 0 0 1");
        QTest::newRow("out of range")
            << QByteArray("WindowLeft=40000\nWindowTop=750") << u"0 750 W H 3360 0 0 1"_s
            << u"An error occured; some settings may not have loaded "
               u"correctly. | HMK Tileset Editor | 0"_s;
    }
    void settingsApplied()
    {
        QFETCH(QByteArray, settings);
        QFETCH(QString, written);
        const QSize outer = startShown(settings).frameGeometry().size() * 15;
        QTEST(boxes(), "told");
        written.replace(u'W', QString::number(outer.width()));
        QCOMPARE(quitAndRead().mid(1).join(u' '),
                 written.replace(u'H', QString::number(outer.height())));
    }

    void lastOpened_data()
    {
        QTest::addColumn<QByteArray>("settings"); // beside LastOpened= last.dat
        QTest::addColumn<QString>("commands");    // "open": next.dat; "change": an unsaved change
        QTest::addColumn<int>("answer");          // at the shutdown prompt; -1: no prompt
        QTest::addColumn<QString>("written");     // LastOpened; empty: nothing, the window stays
        const QByteArray reopen = "\nOpenLastFileOnStartup=1";
        QTest::newRow("reopened") << reopen << QString() << -1 << u"last.dat"_s;
        QTest::newRow("not reopened") << QByteArray() << QString() << -1 << u"last.dat"_s;
        QTest::newRow("missing") << reopen << u"missing"_s << -1 << QString();
        QTest::newRow("damaged") << reopen << u"damaged"_s << -1 << u"last.dat"_s;
        QTest::newRow("Open") << QByteArray() << u"open"_s << -1 << u"next.dat"_s;
        QTest::newRow("Close") << reopen << u"mnuclose"_s << -1 << u"n/a"_s;
        QTest::newRow("New, No") << QByteArray() << u"mnunew"_s << int(Answer::No) << u"last.dat"_s;
        QTest::newRow("New, Yes") << QByteArray() << u"mnunew"_s << int(Answer::Yes)
                                  << u"new.dat"_s;
        QTest::newRow("change, Yes") << reopen << u"change"_s << int(Answer::Yes) << u"last.dat"_s;
        QTest::newRow("change, Cancel")
            << reopen << u"change"_s << int(Answer::Cancel) << QString();
    }
    void lastOpened()
    {
        QFETCH(QString, commands);
        QFETCH(int, answer);
        QFETCH(QString, written);
        const QString last = mFixture->folderPath(u"last.dat"_s);
        if (commands != u"missing"_s)
            mFixture->writeFile(u"last.dat"_s,
                                commands == u"damaged"_s
                                    ? QByteArray("\x0a\x0a\0\0\0", 5)
                                    : TestFiles::fileBytes(TestFiles::numberedTable(2, 151)));
        QFETCH(QByteArray, settings);
        MainWindow &window = startShown("LastOpened=" + last.toUtf8() + settings);
        const bool tried = !settings.isEmpty() && commands != u"missing"_s;
        QCOMPARE(window.windowTitle(),
                 tried ? u"HMK Tileset Editor - "_s + last : u"HMK Tileset Editor"_s);
        QCOMPARE(document().hasTilesets(), tried && commands != u"damaged"_s);
        services().messages.clear();
        if (commands == u"open"_s)
            QVERIFY(mFixture->open(mFixture->writeNumberedFile(u"next.dat"_s, 4, 151)));
        else if (commands == u"change"_s)
            document().changesMade = true;
        else if (commands.startsWith(u"mnu"_s)) {
            if (commands == u"mnunew"_s)
                services().onDialog([](QDialog &dialog) { dialog.accept(); });
            QVERIFY(mFixture->trigger(commands));
        }
        if (answer >= 0)
            services().answer(Answer(answer));
        if (commands == u"mnunew"_s && answer == int(Answer::Yes))
            services().chooseFile(mFixture->folderPath(u"new.dat"_s));
        const QStringList values = quitAndRead();
        QCOMPARE(services().messages.size(), answer >= 0 ? 1 : 0);
        QCOMPARE(window.isVisible(), answer == int(Answer::Cancel));
        if (answer != int(Answer::Cancel))
            QCOMPARE(values.first(), written.isEmpty() || written == u"n/a"_s
                                         ? written
                                         : mFixture->folderPath(written));
    }

    void unwritableSettingsStillCloses()
    {
        // A folder in the file's place cannot be replaced, even by root.
        QVERIFY(QDir().mkpath(mFixture->folderPath(u"hmktse.ini"_s)));
        QVERIFY(startShown().close());
    }

    void descriptionsAndHelp()
    {
        mFixture->writeFile(u"desc.txt"_s, " a b \r\n\r\n\xe9t\xe9");
        EntryTree *tree = startShown("ShowDescriptions=1").entryTree();
        QVERIFY(mFixture->open(mFixture->writeNumberedFile(u"d.dat"_s, 2, 151)));
        QStringList labels;
        for (int entry = 0; entry < 3; ++entry)
            labels.append(tree->node(tree->entryNode(entry))->text(0));
        QCOMPARE(labels, QStringList({u"000.  a b : 0:0"_s, u"001. 0:1"_s, u"002. été: 0:2"_s}));
        QVERIFY(mFixture->trigger(u"mnuvisitsite"_s));
        services().onDialog([](QDialog &dialog) {
            dialog.show();
            QTest::mouseClick(child<QLabel>(&dialog, u"Label7"_s), Qt::LeftButton);
            dialog.accept();
        });
        QVERIFY(mFixture->trigger(u"mnuabout"_s));
        const QString readme = mFixture->folderPath(u"readme.txt"_s);
        QVERIFY(mFixture->trigger(u"mnureadme"_s)); // absent
        QCOMPARE(boxes(), u"Couldn't find "_s + readme + u" | Readme.txt | 0"_s);
        TestFiles::write(readme, "Read me.");
        QVERIFY(mFixture->trigger(u"mnureadme"_s));
        QCOMPARE(services().openedUrls, QList<QUrl>({AboutDialog::siteUrl(), AboutDialog::mailUrl(),
                                                     QUrl::fromLocalFile(readme)}));
    }

    void withoutDescriptionsTheItemIsHidden()
    {
        mFixture->start();
        QVERIFY(!action(u"mnudisplaynames"_s)->isVisible());
    }
};

QTEST_MAIN(TestFileCommands)
#include "tst_filecommands.moc"

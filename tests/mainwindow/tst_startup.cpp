#include "entrytree.h"
#include "tilesetfiles.h"
#include "tilesetlist.h"
#include "windowtest.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QScreen>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;
using Answer = PlatformServices::Answer;

namespace {

constexpr int TwipsPerPixel = 15; // at 96 dpi
const QSize DesignedClient(7875 / TwipsPerPixel, 6135 / TwipsPerPixel);

// What shutdown should write: the path, then the eight numbers in the order of the file.
QByteArrayList expectedLines(const QString &lastOpened, const QList<int> &numbers)
{
    static const char *const keys[] = {
        "WindowLeft", "WindowTop",        "WindowWidth",           "WindowHeight",
        "SizerLeft",  "ShowDescriptions", "OpenLastFileOnStartup", "SelectedEntry"};
    QByteArray text = "[HMKTSE-Settings]\r\nLastOpened= " + lastOpened.toUtf8() + "\r\n";
    for (int i = 0; i < numbers.size(); ++i)
        text += QByteArray(keys[i]) + "= " + QByteArray::number(numbers[i]) + "\r\n";
    return text.split('\n'); // each line keeps its CR, so the line ends are compared too
}

} // namespace

// Start-up and shutdown: hmktse.ini and desc.txt in the program folder.
class TestStartup : public WindowTest
{
    Q_OBJECT

    QString iniPath() const { return mFixture->folderPath(u"hmktse.ini"_s); }
    // Settings lines as a user or an earlier run left them.
    void writeSettings(const QByteArray &lines) const
    {
        mFixture->writeFile(u"hmktse.ini"_s, "[HMKTSE-Settings]\r\n" +
                                                 QByteArray(lines).replace("\n", "\r\n") + "\r\n");
    }
    MainWindow &startShown()
    {
        MainWindow &window = mFixture->start();
        window.show();
        return window;
    }
    QAction *action(const QString &name) const
    {
        return mFixture->window().findChild<QAction *>(name);
    }
    QByteArrayList quitAndRead()
    {
        if (!mFixture->trigger(u"mnuquit"_s))
            qWarning("Quit not reachable");
        return TestFiles::read(iniPath()).split('\n');
    }
    QString label(int entry) const
    {
        const EntryTree *tree = mFixture->window().entryTree();
        return tree->node(tree->entryNode(entry))->text(0);
    }

private Q_SLOTS:

    void firstRunIsCentredAndWrittenBackTheSame()
    {
        MainWindow &window = startShown();
        const QRect screen = window.screen()->geometry();
        // Centred to within the half pixel that the twips round to.
        QVERIFY(qAbs(window.x() - (screen.width() - window.width()) / 2.0) <= 0.5);
        QVERIFY(qAbs(window.y() - (screen.height() - window.height()) / 2.0) <= 0.5);
        QCOMPARE(window.centralWidget()->size(), DesignedClient);
        QCOMPARE(window.width(), DesignedClient.width());
        const QByteArrayList first = quitAndRead();
        QCOMPARE(first,
                 expectedLines(QString(), {window.x() * TwipsPerPixel, window.y() * TwipsPerPixel,
                                           7875, window.height() * TwipsPerPixel, 3360, 0, 0, 1}));
        // The window's own size is stored, so it neither grows nor shrinks from run to run.
        startShown();
        QCOMPARE(quitAndRead(), first);
    }

    void placedOffEveryScreenAndWrittenBackTheSame()
    {
        writeSettings("WindowLeft= -1500\nWindowTop= 30000\nWindowWidth= 9000\nWindowHeight= 7500\n"
                      "SizerLeft= 2000\nSelectedEntry= 20");
        startShown();
        const QByteArrayList first = quitAndRead();
        QCOMPARE(first, expectedLines(QString(), {-1500, 30000, 9000, 7500, 2000, 0, 0, 20}));
        startShown();
        QCOMPARE(quitAndRead(), first);
    }

    void sizerLeftAtStartUp_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<int>("startWidth"); // the tileset list's width given by start-up
        QTest::addColumn<int>("settled");    // the splitter once the delayed pass has run
        QTest::newRow("720") << QByteArray("SizerLeft= 720") << 3360 << 3360;
        QTest::newRow("721") << QByteArray("SizerLeft= 721") << 721 << 721;
        // Upper bound W - 60 - 720 with the designed width; the entry tree's floor then wins.
        QTest::newRow("7095") << QByteArray("SizerLeft= 7095") << 7095 << 6765;
        QTest::newRow("7096") << QByteArray("SizerLeft= 7096") << 3360 << 3360;
        QTest::newRow("8220 in 9000")
            << QByteArray("WindowWidth= 9000\nSizerLeft= 8220") << 8220 << 7890;
        QTest::newRow("8221 in 9000")
            << QByteArray("WindowWidth= 9000\nSizerLeft= 8221") << 3360 << 3360;
    }

    void sizerLeftAtStartUp()
    {
        QFETCH(QByteArray, settings);
        writeSettings(settings);
        MainWindow &window = mFixture->start();
        QTEST(window.windowLayout().tilesetList.width, "startWidth");
        window.show();
        window.layoutTimer()->setInterval(0); // the delayed pass now instead of 1.5 seconds later
        QTRY_VERIFY(!window.layoutTimer()->isActive());
        QTEST(window.windowLayout().splitter.left, "settled");
        QCOMPARE(window.windowLayout().tilesetList.width, window.windowLayout().splitter.left);
    }

    void settingsApplied_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<QRect>("twips"); // where and how big; width or height 0: as designed
        QTest::addColumn<int>("selected");
        QTest::addColumn<bool>("checked"); // both options
        const QByteArray width = "WindowWidth= ";
        // Only the section line: the top-left corner, not centred.
        QTest::newRow("section only") << QByteArray() << QRect() << 1 << false;
        QTest::newRow("position") << QByteArray("WindowLeft= 1500\nWindowTop= -750")
                                  << QRect(1500, -750, 0, 0) << 1 << false;
        QTest::newRow("size") << width + "9000\nWindowHeight= 7500" << QRect(0, 0, 9000, 7500) << 1
                              << false;
        QTest::newRow("size 0") << width + "0\nWindowHeight= 0" << QRect() << 1 << false;
        QTest::newRow("size negative")
            << width + "-900\nWindowHeight= -15" << QRect() << 1 << false;
        QTest::newRow("width only") << width + "6000" << QRect(0, 0, 6000, 0) << 1 << false;
        for (const auto &[stored, applied] : {std::pair{0, 1}, {1, 1}, {167, 167}, {168, 1}})
            QTest::addRow("SelectedEntry %d", stored)
                << "SelectedEntry= " + QByteArray::number(stored) << QRect() << applied << false;
        for (const auto &[stored, checked] : {std::pair{1, true}, {2, false}, {-1, false}})
            QTest::addRow("options %d", stored)
                << "ShowDescriptions= " + QByteArray::number(stored) +
                       "\nOpenLastFileOnStartup= " + QByteArray::number(stored)
                << QRect() << 1 << checked;
    }

    void settingsApplied()
    {
        QFETCH(QByteArray, settings);
        QFETCH(QRect, twips);
        QFETCH(int, selected);
        QFETCH(bool, checked);
        mFixture->writeFile(u"desc.txt"_s, "A\r\n");
        writeSettings(settings);
        MainWindow &window = startShown();
        QCOMPARE(window.pos() * TwipsPerPixel, twips.topLeft());
        QCOMPARE(twips.width() ? window.width() * TwipsPerPixel : window.centralWidget()->width(),
                 twips.width() ? twips.width() : DesignedClient.width());
        QCOMPARE(twips.height() ? window.height() * TwipsPerPixel
                                : window.centralWidget()->height(),
                 twips.height() ? twips.height() : DesignedClient.height());
        QCOMPARE(int(window.entryTree()->selectedEntryNode()), selected);
        QCOMPARE(action(u"mnudisplaynames"_s)->isChecked(), checked);
        QCOMPARE(action(u"mnuopenlast"_s)->isChecked(), checked);
        // And written back as applied.
        const QByteArray on = checked ? "1\r" : "0\r";
        QCOMPARE(quitAndRead().mid(7, 3),
                 QByteArrayList({"ShowDescriptions= " + on, "OpenLastFileOnStartup= " + on,
                                 "SelectedEntry= " + QByteArray::number(selected) + '\r'}));
    }

    void lastOpenedFile_data()
    {
        QTest::addColumn<QString>("name");     // in the program folder, except "n/a"
        QTest::addColumn<QByteArray>("bytes"); // empty: no file there
        QTest::addColumn<int>("openLast");
        QTest::addColumn<bool>("opened");
        const QByteArray good = TestFiles::fileBytes(TestFiles::numberedTable(3, 151));
        const QByteArray damaged("\x0a\x0a\0\0\0", 5);
        QTest::newRow("existing, reopened") << u"last.dat"_s << good << 1 << true;
        QTest::newRow("existing, not reopened") << u"last.dat"_s << good << 0 << false;
        QTest::newRow("damaged, reopened") << u"bad.dat"_s << damaged << 1 << false;
        QTest::newRow("missing") << u"gone.dat"_s << QByteArray() << 1 << false;
        QTest::newRow("n/a") << u"n/a"_s << QByteArray() << 1 << false;
    }

    void lastOpenedFile()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(int, openLast);
        QFETCH(bool, opened);
        const bool remembered = !bytes.isEmpty(); // a file that exists
        const QString value = name == u"n/a"_s ? name : mFixture->folderPath(name);
        if (!bytes.isEmpty())
            mFixture->writeFile(name, bytes);
        writeSettings("LastOpened= " + value.toUtf8() +
                      "\nOpenLastFileOnStartup= " + QByteArray::number(openLast));
        MainWindow &window = startShown();

        const Document &document = mFixture->document();
        const bool tried = remembered && openLast == 1;
        QCOMPARE(document.hasTilesets(), opened);
        // A load that fails is told by the loader, with the title already naming the file.
        QCOMPARE(mFixture->services.messages.size(), tried && !opened ? 1 : 0);
        QCOMPARE(window.windowTitle(),
                 tried ? u"HMK Tileset Editor - "_s + value : u"HMK Tileset Editor"_s);
        QCOMPARE(document.lastOpenedPath, remembered ? value : QString());
        const QByteArray written = "LastOpened= " + (remembered ? value.toUtf8() : QByteArray());
        QCOMPARE(quitAndRead().value(1), written + '\r');
    }

    // Reading the value is the settings file's own test; here: told once, once shown.
    void valueOutOfRangeIsToldOnceShown()
    {
        writeSettings("WindowLeft= 40000\nWindowTop= 750");
        MainWindow &window = mFixture->start();
        QVERIFY(mFixture->services.messages.isEmpty()); // not before the window is up
        window.show();
        window.hide();
        window.show();
        QTest::qWait(20);
        QCOMPARE(mFixture->services.messages.size(), 1);
        QCOMPARE(mFixture->services.messages.first().text,
                 u"An error occured; some settings may not have loaded correctly."_s);
        QCOMPARE(window.pos(), QPoint(0, 50)); // the other keys still apply
    }

    void writtenFileAfterCommands_data()
    {
        QTest::addColumn<QString>("commands");   // "open": next.dat; "change": an unsaved change
        QTest::addColumn<int>("answer");         // at the shutdown prompt; -1: no prompt
        QTest::addColumn<QString>("saveAs");     // the Save as choice for an untitled document
        QTest::addColumn<QString>("lastOpened"); // "prev.dat" (remembered), "next.dat", "n/a";
                                                 // empty: nothing written, the window stays
        const int no = int(Answer::No);
        const int yes = int(Answer::Yes);
        QTest::newRow("nothing") << QString() << -1 << QString() << u"prev.dat"_s;
        QTest::newRow("Open") << u"open"_s << -1 << QString() << u"next.dat"_s;
        QTest::newRow("Close") << u"open mnuclose"_s << -1 << QString() << u"n/a"_s;
        QTest::newRow("New, No") << u"mnunew"_s << no << QString() << u"prev.dat"_s;
        QTest::newRow("Open, New, No") << u"open mnunew"_s << no << QString() << u"next.dat"_s;
        QTest::newRow("New, Yes, saved as") << u"mnunew"_s << yes << u"new.dat"_s << u"new.dat"_s;
        QTest::newRow("New, Yes, Save as cancelled")
            << u"mnunew"_s << yes << QString() << u"prev.dat"_s;
        QTest::newRow("Open, change, Yes") << u"open change"_s << yes << QString() << u"next.dat"_s;
        QTest::newRow("Open, change, Cancel")
            << u"open change"_s << int(Answer::Cancel) << QString() << QString();
    }

    void writtenFileAfterCommands()
    {
        QFETCH(QString, commands);
        QFETCH(int, answer);
        QFETCH(QString, saveAs);
        QFETCH(QString, lastOpened);
        const QString previous = mFixture->writeNumberedFile(u"prev.dat"_s, 2, 151);
        const QString next = mFixture->writeNumberedFile(u"next.dat"_s, 4, 151);
        writeSettings("LastOpened= " + previous.toUtf8() +
                      "\nWindowLeft= 1500\nWindowTop= 750\nWindowWidth= 9000\nWindowHeight= 7500"
                      "\nSizerLeft= 2000\nShowDescriptions= 1\nOpenLastFileOnStartup= 0"
                      "\nSelectedEntry= 5");
        const QByteArrayList before = TestFiles::read(iniPath()).split('\n');
        startShown();
        for (const QString &command : commands.split(u' ', Qt::SkipEmptyParts)) {
            if (command == u"open"_s) {
                QVERIFY(mFixture->open(next));
            } else if (command == u"change"_s) {
                mFixture->document().tilesets.setEntry(0, 0, QByteArray(32, 'Z'));
                mFixture->document().changesMade = true;
            } else {
                if (command == u"mnunew"_s)
                    mFixture->services.onDialog([](QDialog &dialog) { dialog.accept(); });
                QVERIFY(mFixture->trigger(command));
            }
        }
        const bool untitled = mFixture->document().filePath == u"Untitled"_s;
        if (answer >= 0)
            mFixture->services.answer(Answer(answer));
        if (answer == int(Answer::Yes) && untitled)
            mFixture->services.chooseFile(saveAs.isEmpty() ? saveAs : mFixture->folderPath(saveAs));

        const QByteArrayList written = quitAndRead();
        QCOMPARE(mFixture->services.messages.size(), answer >= 0 ? 1 : 0);
        if (lastOpened.isEmpty()) { // Cancel: the window stays, with its changes
            QCOMPARE(mFixture->services.messages.first().text,
                     u"Save changes before closing file?"_s);
            QVERIFY(mFixture->window().isVisible());
            QVERIFY(mFixture->document().changesMade);
            QCOMPARE(written, before); // nothing written
            return;
        }
        const QString expected =
            lastOpened == u"n/a"_s ? lastOpened : mFixture->folderPath(lastOpened);
        // showDescriptions is written as checked although desc.txt is absent here.
        QCOMPARE(written, expectedLines(expected, {1500, 750, 9000, 7500, 2000, 1, 0, 5}));
        QVERIFY(!mFixture->window().isVisible());
    }

    void unwritableSettingsStillCloses()
    {
        // A folder in the file's place cannot be replaced, even by root.
        QVERIFY(QDir(mFixture->folder()).mkdir(u"hmktse.ini"_s));
        MainWindow &window = startShown();
        QVERIFY(mFixture->close());
        QVERIFY(!window.isVisible());
        QVERIFY(QFileInfo(iniPath()).isDir());
    }

    void descriptionsFromTheStart_data()
    {
        QTest::addColumn<QByteArray>("desc"); // empty: no desc.txt
        QTest::addColumn<QStringList>("labels");
        // Blanks and code-page letters kept, an empty line, a last line without its end.
        QTest::newRow("desc.txt") << QByteArray(" a b \r\n\r\n\xe9t\xe9\r\n\tlast")
                                  << QStringList({u"000.  a b : 0:0"_s, u"001. 0:1"_s,
                                                  u"002. \u00e9t\u00e9: 0:2"_s,
                                                  u"003. \tlast: 0:3"_s});
        QTest::newRow("no desc.txt")
            << QByteArray()
            << QStringList({u"000. 0:0"_s, u"001. 0:1"_s, u"002. 0:2"_s, u"003. 0:3"_s});
    }

    void descriptionsFromTheStart()
    {
        QFETCH(QByteArray, desc);
        if (!desc.isEmpty())
            mFixture->writeFile(u"desc.txt"_s, desc);
        writeSettings("ShowDescriptions= 1");
        MainWindow &window = startShown();
        QVERIFY(mFixture->open(mFixture->writeNumberedFile(u"d.dat"_s, 2, 151)));
        QCOMPARE(action(u"mnudisplaynames"_s)->isVisible(), !desc.isEmpty());
        QTEST(QStringList({label(0), label(1), label(2), label(3)}), "labels");
        QCOMPARE(window.entryTree()->categoryNode(0)->text(0), u"Ground textures"_s);
        // The check mark is kept all the same.
        QCOMPARE(quitAndRead().value(7), "ShowDescriptions= 1\r");
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"

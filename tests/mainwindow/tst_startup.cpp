#include "entrycategories.h"
#include "entrytoolbar.h"
#include "entrytree.h"
#include "filetoolbar.h"
#include "tilesetfiles.h"
#include "tilesetlist.h"
#include "windowfixture.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
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

class TestStartup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    // Start-up
    void firstRunIsCentredAndWritesEmptyLastOpened();
    void sizerLeftAtStartUp_data();
    void sizerLeftAtStartUp();
    void settingsApplied_data();
    void settingsApplied();
    void lastOpenedFile_data();
    void lastOpenedFile();
    void valueOutOfRangeIsToldOnceShown_data();
    void valueOutOfRangeIsToldOnceShown();

    // Shutdown
    void writtenFileAfterCommands_data();
    void writtenFileAfterCommands();
    void nextRunWritesTheSameFile_data();
    void nextRunWritesTheSameFile();
    void cancelAtShutdownKeepsEverything();
    void openLastToggledTwice_data();
    void openLastToggledTwice();
    void unwritableSettingsStillCloses();

private:
    QString iniPath() const { return mFixture->folderPath(u"hmktse.ini"_s); }
    // Settings lines as a user or an earlier run left them.
    void writeSettings(const QByteArray &lines) const
    {
        mFixture->writeFile(u"hmktse.ini"_s, "[HMKTSE-Settings]\r\n" +
                                                 QByteArray(lines).replace("\n", "\r\n") + "\r\n");
    }
    Form1 &startShown()
    {
        Form1 &window = mFixture->start();
        window.show();
        return window;
    }
    // Runs the one delayed layout pass now instead of 1.5 seconds later.
    static void tick(Form1 &window)
    {
        window.Timer1->setInterval(0);
        QTRY_VERIFY(!window.Timer1->isActive());
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

    std::unique_ptr<WindowFixture> mFixture;
};

void TestStartup::initTestCase()
{
    QWidget probe;
    if (probe.logicalDpiX() != 96 || probe.logicalDpiY() != 96)
        QSKIP("the expected values assume 15 twips a pixel (96 dpi)");
}

void TestStartup::init()
{
    mFixture = std::make_unique<WindowFixture>();
}

void TestStartup::cleanup()
{
    QVERIFY2(mFixture->services.unexpected.isEmpty(),
             qPrintable(mFixture->services.unexpected.join(u"; "_s)));
    QVERIFY(mFixture->services.allAnswersUsed());
    mFixture.reset();
}

void TestStartup::firstRunIsCentredAndWritesEmptyLastOpened()
{
    Form1 &window = startShown();
    const QRect screen = window.screen()->geometry();
    // Centred to within the half pixel that the twips round to.
    QVERIFY(qAbs(window.x() - (screen.width() - window.width()) / 2.0) <= 0.5);
    QVERIFY(qAbs(window.y() - (screen.height() - window.height()) / 2.0) <= 0.5);
    QCOMPARE(window.centralWidget()->size(), DesignedClient);
    QCOMPARE(window.width(), DesignedClient.width());

    QVERIFY(!action(u"mnudisplaynames"_s)->isVisible());
    for (const QString &name : {u"mnufileinfo"_s, u"mnuclose"_s, u"mnusave"_s, u"mnusaveas"_s})
        QVERIFY2(!action(name)->isEnabled(), qPrintable(name));
    QVERIFY(!window.findChild<QMenu *>(u"mnuedit"_s)->menuAction()->isEnabled());
    QVERIFY(!window.Toolbar1->button(3)->isEnabled());
    for (int i = 1; i <= EntryToolbar::ButtonCount; ++i)
        QVERIFY(!window.Toolbar2->button(i)->isEnabled());

    const QPoint pos = window.pos();
    const int height = window.height();
    QCOMPARE(quitAndRead(),
             expectedLines(QString(), {pos.x() * TwipsPerPixel, pos.y() * TwipsPerPixel, 7875,
                                       height * TwipsPerPixel, 3360, 0, 0, 1}));
    QVERIFY(!window.isVisible());
}

void TestStartup::sizerLeftAtStartUp_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<int>("startWidth"); // the tileset list's width given by start-up
    QTest::addColumn<int>("settled");    // the splitter once the delayed pass has run
    QTest::newRow("absent") << QByteArray() << 3360 << 3360;
    QTest::newRow("720") << QByteArray("SizerLeft= 720") << 3360 << 3360;
    QTest::newRow("721") << QByteArray("SizerLeft= 721") << 721 << 721;
    // Upper bound W - 60 - 720 with the designed width; the entry tree's floor then wins.
    QTest::newRow("7095") << QByteArray("SizerLeft= 7095") << 7095 << 6765;
    QTest::newRow("7096") << QByteArray("SizerLeft= 7096") << 3360 << 3360;
    QTest::newRow("8220 in 9000") << QByteArray("WindowWidth= 9000\nSizerLeft= 8220") << 8220
                                  << 7890;
    QTest::newRow("8221 in 9000") << QByteArray("WindowWidth= 9000\nSizerLeft= 8221") << 3360
                                  << 3360;
}

void TestStartup::sizerLeftAtStartUp()
{
    QFETCH(QByteArray, settings);
    writeSettings(settings);
    Form1 &window = mFixture->start();
    QTEST(window.windowLayout().NewList1.width, "startWidth");
    window.show();
    tick(window);
    QTEST(window.windowLayout().sizer.left, "settled");
    QCOMPARE(window.windowLayout().NewList1.width, window.windowLayout().sizer.left);
}

void TestStartup::settingsApplied_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QPoint>("pos");
    QTest::addColumn<QSize>("size"); // twips; 0: the designed client width or height
    QTest::addColumn<int>("selected");
    QTest::addColumn<bool>("checked"); // both options
    // Only the section line: the top-left corner, not centred.
    QTest::newRow("section only") << QByteArray() << QPoint(0, 0) << QSize() << 1 << false;
    QTest::newRow("position") << QByteArray("WindowLeft= 1500\nWindowTop= -750") << QPoint(100, -50)
                              << QSize() << 1 << false;
    QTest::newRow("size") << QByteArray("WindowWidth= 9000\nWindowHeight= 7500") << QPoint()
                          << QSize(9000, 7500) << 1 << false;
    QTest::newRow("size 0") << QByteArray("WindowWidth= 0\nWindowHeight= 0") << QPoint() << QSize()
                            << 1 << false;
    QTest::newRow("size negative")
        << QByteArray("WindowWidth= -900\nWindowHeight= -15") << QPoint() << QSize() << 1 << false;
    QTest::newRow("width only") << QByteArray("WindowWidth= 6000") << QPoint() << QSize(6000, 0)
                                << 1 << false;
    QTest::newRow("height only") << QByteArray("WindowHeight= 8010") << QPoint() << QSize(0, 8010)
                                 << 1 << false;
    for (const auto &[stored, applied] : {std::pair{0, 1}, {-3, 1}, {1, 1}, {167, 167}, {168, 1}})
        QTest::addRow("SelectedEntry %d", stored) << "SelectedEntry= " + QByteArray::number(stored)
                                                  << QPoint() << QSize() << applied << false;
    for (const auto &[stored, checked] : {std::pair{1, true}, {2, false}, {-1, false}})
        QTest::addRow("options %d", stored)
            << "ShowDescriptions= " + QByteArray::number(stored) +
                   "\nOpenLastFileOnStartup= " + QByteArray::number(stored)
            << QPoint() << QSize() << 1 << checked;
}

void TestStartup::settingsApplied()
{
    QFETCH(QByteArray, settings);
    QFETCH(QSize, size);
    mFixture->writeFile(u"desc.txt"_s, "A\r\n");
    writeSettings(settings);
    Form1 &window = startShown();
    QTEST(window.pos(), "pos");
    if (size.width() > 0)
        QCOMPARE(window.width() * TwipsPerPixel, size.width());
    else
        QCOMPARE(window.centralWidget()->width(), DesignedClient.width());
    if (size.height() > 0)
        QCOMPARE(window.height() * TwipsPerPixel, size.height());
    else
        QCOMPARE(window.centralWidget()->height(), DesignedClient.height());
    QTEST(int(window.NewList2->SelectedEntryNode), "selected");
    QTEST(action(u"mnudisplaynames"_s)->isChecked(), "checked");
    QTEST(action(u"mnuopenlast"_s)->isChecked(), "checked");
}

void TestStartup::lastOpenedFile_data()
{
    QTest::addColumn<QString>("name");     // in the program folder, except "n/a"
    QTest::addColumn<QByteArray>("bytes"); // empty: no file there
    QTest::addColumn<int>("openLast");
    QTest::addColumn<bool>("opened");
    QTest::addColumn<bool>("remembered");
    const QByteArray good = TestFiles::fileBytes(TestFiles::numberedTable(3, 151));
    QTest::newRow("existing, reopened") << u"last.dat"_s << good << 1 << true << true;
    QTest::newRow("existing, not reopened") << u"last.dat"_s << good << 0 << false << true;
    QTest::newRow("damaged, reopened")
        << u"bad.dat"_s << QByteArray("\x0a\x0a\0\0\0", 5) << 1 << false << true;
    QTest::newRow("missing") << u"gone.dat"_s << QByteArray() << 1 << false << false;
    QTest::newRow("n/a") << u"n/a"_s << QByteArray() << 1 << false << false;
}

void TestStartup::lastOpenedFile()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(int, openLast);
    QFETCH(bool, opened);
    QFETCH(bool, remembered);
    const QString value = name == u"n/a"_s ? name : mFixture->folderPath(name);
    if (!bytes.isEmpty())
        mFixture->writeFile(name, bytes);
    writeSettings("LastOpened= " + value.toUtf8() +
                  "\nOpenLastFileOnStartup= " + QByteArray::number(openLast));
    Form1 &window = startShown();

    const Document &document = mFixture->document();
    const bool tried = remembered && openLast == 1;
    QCOMPARE(document.hasTilesets(), opened);
    // A load that fails is told by the loader, with the title already naming the file.
    QCOMPARE(mFixture->services.messages.size(), tried && !opened ? 1 : 0);
    QCOMPARE(window.windowTitle(),
             tried ? u"HMK Tileset Editor - "_s + value : u"HMK Tileset Editor"_s);
    QCOMPARE(window.NewList1->nodeCount(), opened ? 3 : 0);
    QCOMPARE(window.NewList2->nodeCount(), opened ? CategorisedNodeCount : 0);
    QCOMPARE(action(u"mnusave"_s)->isEnabled(), opened);
    QCOMPARE(document.FilePath, remembered ? value : QString());
    QCOMPARE(document.LastOpenedPath, remembered ? value : QString());
    if (remembered) {
        QCOMPARE(document.FileTitle, name);
        QCOMPARE(document.FileFolder, mFixture->folder());
    }
    const QByteArray written = "LastOpened= " + (remembered ? value.toUtf8() : QByteArray());
    QCOMPARE(quitAndRead().value(1), written + '\r');
}

void TestStartup::valueOutOfRangeIsToldOnceShown_data()
{
    QTest::addColumn<QByteArray>("left");
    QTest::addColumn<bool>("told");
    QTest::addColumn<int>("x");
    QTest::newRow("40000") << QByteArray("40000") << true << 0;
    QTest::newRow("-40000") << QByteArray("-40000") << true << 0;
    QTest::newRow("32767.5 rounds past the top") << QByteArray("32767.5") << true << 0;
    QTest::newRow("very long") << QByteArray("123456789012345678901") << true << 0;
    QTest::newRow("in range") << QByteArray("1500") << false << 100;
}

void TestStartup::valueOutOfRangeIsToldOnceShown()
{
    QFETCH(QByteArray, left);
    QFETCH(bool, told);
    writeSettings("WindowLeft= " + left + "\nWindowTop= 750\nSizerLeft= 2000\nSelectedEntry= 5");
    Form1 &window = mFixture->start();
    QVERIFY(mFixture->services.messages.isEmpty()); // not before the window is up
    window.show();
    window.hide();
    window.show();

    if (told)
        QTRY_COMPARE(mFixture->services.messages.size(), 1);
    QTest::qWait(10); // and no second time
    QCOMPARE(mFixture->services.messages.size(), told ? 1 : 0);
    if (told) {
        const ScriptedServices::Message message = mFixture->services.messages.first();
        QCOMPARE(message.text, u"An error occured; some settings may not have loaded correctly."_s);
        QCOMPARE(message.buttons, PlatformServices::Buttons::Ok);
    }
    // The other keys still apply.
    QTEST(window.x(), "x");
    QCOMPARE(window.y(), 50);
    QCOMPARE(window.windowLayout().sizer.left, 2000);
    QCOMPARE(window.NewList2->SelectedEntryNode, 5);
}

void TestStartup::writtenFileAfterCommands_data()
{
    QTest::addColumn<QStringList>("commands"); // "open": next.dat; "change": a change to save
    QTest::addColumn<int>("answer");           // at the shutdown prompt; -1: no prompt
    QTest::addColumn<QString>("saveAs");       // the Save as choice for an untitled document
    QTest::addColumn<QString>("lastOpened");   // "prev.dat" (remembered), "next.dat" or "n/a"
    const int no = int(Answer::No);
    const int yes = int(Answer::Yes);
    QTest::newRow("nothing") << QStringList() << -1 << QString() << u"prev.dat"_s;
    QTest::newRow("Open") << QStringList{u"open"_s} << -1 << QString() << u"next.dat"_s;
    QTest::newRow("Close") << QStringList{u"open"_s, u"mnuclose"_s} << -1 << QString() << u"n/a"_s;
    QTest::newRow("New, No") << QStringList{u"mnunew"_s} << no << QString() << u"prev.dat"_s;
    QTest::newRow("Open, New, No")
        << QStringList{u"open"_s, u"mnunew"_s} << no << QString() << u"next.dat"_s;
    QTest::newRow("New, Yes, saved as")
        << QStringList{u"mnunew"_s} << yes << u"new.dat"_s << u"new.dat"_s;
    QTest::newRow("New, Yes, Save as cancelled")
        << QStringList{u"mnunew"_s} << yes << QString() << u"prev.dat"_s;
    QTest::newRow("Open, change, Yes")
        << QStringList{u"open"_s, u"change"_s} << yes << QString() << u"next.dat"_s;
}

void TestStartup::writtenFileAfterCommands()
{
    QFETCH(QStringList, commands);
    QFETCH(int, answer);
    QFETCH(QString, saveAs);
    QFETCH(QString, lastOpened);
    const QString previous = mFixture->writeNumberedFile(u"prev.dat"_s, 2, 151);
    const QString next = mFixture->writeNumberedFile(u"next.dat"_s, 4, 151);
    writeSettings("LastOpened= " + previous.toUtf8() +
                  "\nWindowLeft= 1500\nWindowTop= 750\nWindowWidth= 9000\nWindowHeight= 7500"
                  "\nSizerLeft= 2000\nShowDescriptions= 1\nOpenLastFileOnStartup= 0"
                  "\nSelectedEntry= 5");
    startShown();
    for (const QString &command : std::as_const(commands)) {
        if (command == u"open"_s) {
            QVERIFY(mFixture->open(next));
        } else if (command == u"change"_s) {
            mFixture->document().Tilesets.setEntry(0, 0, QByteArray(32, 'Z'));
            mFixture->document().ChangesMade = true;
        } else {
            if (command == u"mnunew"_s)
                mFixture->services.onDialog([](QDialog &dialog) { dialog.accept(); });
            QVERIFY(mFixture->trigger(command));
        }
    }
    QCOMPARE(mFixture->document().ChangesMade, answer >= 0);
    const bool untitled = mFixture->document().FilePath == u"Untitled"_s;
    if (answer >= 0)
        mFixture->services.answer(Answer(answer));
    if (answer == int(Answer::Yes) && untitled)
        mFixture->services.chooseFile(saveAs.isEmpty() ? saveAs : mFixture->folderPath(saveAs));

    const QString expected = lastOpened == u"n/a"_s ? lastOpened : mFixture->folderPath(lastOpened);
    // ShowDescriptions is written as checked although desc.txt is absent here.
    QCOMPARE(quitAndRead(), expectedLines(expected, {1500, 750, 9000, 7500, 2000, 1, 0, 5}));
    QCOMPARE(mFixture->services.messages.size(), answer >= 0 ? 1 : 0);
    QVERIFY(!mFixture->window().isVisible());
    if (answer == int(Answer::Yes) && !untitled) // saved before the program ended
        QCOMPARE(TestFiles::read(next).mid(5 + 33, 32), QByteArray(32, 'Z'));
    if (answer == int(Answer::Yes) && !saveAs.isEmpty()) // the New file preset: 70 x 151
        QCOMPARE(TestFiles::read(mFixture->folderPath(saveAs)).size(), 5 + 70 * (33 + 151 * 32));
}

void TestStartup::nextRunWritesTheSameFile_data()
{
    QTest::addColumn<QByteArray>("settings"); // empty: no file, the first run
    QTest::newRow("first run") << QByteArray();
    QTest::newRow("off every screen")
        << QByteArray("WindowLeft= -1500\nWindowTop= 30000\nWindowWidth= 9000\nWindowHeight= 7500\n"
                      "SizerLeft= 2000\nSelectedEntry= 20");
}

void TestStartup::nextRunWritesTheSameFile()
{
    // The window's own size is stored, so it neither grows nor shrinks from run to run.
    QFETCH(QByteArray, settings);
    if (!settings.isEmpty())
        writeSettings(settings);
    startShown();
    const QByteArrayList first = quitAndRead();
    startShown();
    QCOMPARE(quitAndRead(), first);
    if (!settings.isEmpty())
        QCOMPARE(first, expectedLines(QString(), {-1500, 30000, 9000, 7500, 2000, 0, 0, 20}));
}

void TestStartup::cancelAtShutdownKeepsEverything()
{
    Form1 &window = startShown();
    const QString path = mFixture->writeNumberedFile(u"a.dat"_s, 3, 151);
    QVERIFY(mFixture->open(path));
    mFixture->document().ChangesMade = true;
    mFixture->services.answer(Answer::Cancel);
    QVERIFY(mFixture->trigger(u"mnuquit"_s));

    QCOMPARE(mFixture->services.messages.last().text, u"Save changes before closing file?"_s);
    QVERIFY(window.isVisible());
    QVERIFY(mFixture->document().ChangesMade);
    QCOMPARE(mFixture->document().tilesetCount(), 3);
    QCOMPARE(mFixture->document().LastOpenedPath, path);
    QCOMPARE(window.windowTitle(), u"HMK Tileset Editor - "_s + path);
    QVERIFY(!QFileInfo::exists(iniPath())); // nothing written
    QVERIFY(action(u"mnusave"_s)->isEnabled());
}

void TestStartup::openLastToggledTwice_data()
{
    QTest::addColumn<int>("stored");
    QTest::newRow("unchecked") << 0;
    QTest::newRow("checked") << 1;
}

void TestStartup::openLastToggledTwice()
{
    QFETCH(int, stored);
    writeSettings("OpenLastFileOnStartup= " + QByteArray::number(stored));
    startShown();
    QVERIFY(mFixture->trigger(u"mnuopenlast"_s));
    QCOMPARE(action(u"mnuopenlast"_s)->isChecked(), stored == 0);
    QVERIFY(mFixture->trigger(u"mnuopenlast"_s));
    QCOMPARE(quitAndRead().value(8), "OpenLastFileOnStartup= " + QByteArray::number(stored) + '\r');
}

void TestStartup::unwritableSettingsStillCloses()
{
    // A folder in the file's place cannot be replaced, even by root.
    QVERIFY(QDir(mFixture->folder()).mkdir(u"hmktse.ini"_s));
    Form1 &window = startShown();
    QVERIFY(mFixture->close());
    QVERIFY(!window.isVisible());
    QVERIFY(QFileInfo(iniPath()).isDir());
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"

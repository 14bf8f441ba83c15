// Files and devices that fail: every failure is reported with the program's own message,
// leaves the document as it was, and the window goes on working.
#include "tilesetfiles.h"
#include "tilesetlist.h"
#include "windowtest.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTest>

#include <csignal>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

// A file size limit for this process, so that a write fails half-way as on a full disk.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &mPrevious);
        mPreviousHandler = std::signal(SIGXFSZ, SIG_IGN); // fail the write instead
        rlimit limit = mPrevious;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &mPrevious);
        std::signal(SIGXFSZ, mPreviousHandler);
    }

private:
    rlimit mPrevious{};
    void (*mPreviousHandler)(int) = nullptr;
};

} // namespace

class TestFaults : public WindowTest
{
    Q_OBJECT

    const TilesetTable mTilesets = TestFiles::numberedTable(6, 151);

    ScriptedServices &services() { return mFixture->services; }
    void openSample()
    {
        QVERIFY(
            mFixture->open(mFixture->writeFile(u"sample.dat"_s, TestFiles::fileBytes(mTilesets))));
        QVERIFY(mFixture->document().tilesets == mTilesets);
    }
    void checkMessage(const QString &text)
    {
        QCOMPARE(services().messages.size(), 1);
        QCOMPARE(services().messages.first().text, text);
        QCOMPARE(services().messages.first().title, u"Error"_s);
        QCOMPARE(services().messages.first().icon, PlatformServices::Icon::Critical);
    }
    void checkUnchangedAndUsable()
    {
        QVERIFY(mFixture->document().tilesets == mTilesets);
        QVERIFY(mFixture->window().isEnabled());
        // Still usable: a save to a good place works.
        const QString good = mFixture->folderPath(u"good.dat"_s);
        services().chooseFile(good);
        QVERIFY(mFixture->trigger(u"mnusaveas"_s));
        QCOMPARE(TestFiles::read(good), TestFiles::fileBytes(mTilesets));
    }

private Q_SLOTS:
    void init()
    {
        setUpFixture();
        mFixture->start();
    }

    void saveFailures_data()
    {
        QTest::addColumn<QString>("target"); // empty: a file in the folder, under a size limit
        QTest::newRow("disk full") << u"/dev/full"_s;
        QTest::newRow("a folder") << QDir::tempPath();
        QTest::newRow("missing folder") << u"/nonexistent-folder/hmkset.dat"_s;
        QTest::newRow("failing half-way") << QString();
    }

    void saveFailures()
    {
        QFETCH(QString, target);
        const bool halfway = target.isEmpty();
        if (halfway)
            target = mFixture->folderPath(u"halfway.dat"_s);
        openSample();
        mFixture->document().changesMade = true;
        services().chooseFile(target);
        {
            std::optional<FileSizeLimit> limit;
            if (halfway)
                limit.emplace(10000); // two records and a little
            QVERIFY(mFixture->trigger(u"mnusaveas"_s));
        }
        checkMessage(u"Error while saving!"_s);
        QVERIFY(!mFixture->document().changesMade); // cleared whatever the outcome
        if (halfway)                                // what was written before the error stays
            QVERIFY(QFileInfo(target).size() <= 10000);
        checkUnchangedAndUsable();
    }

    void loadFailures_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("a folder") << u"folder"_s;
        QTest::newRow("a FIFO") << u"fifo"_s;
        QTest::newRow("gone before the read") << u"gone"_s;
    }

    void loadFailures()
    {
        QFETCH(QString, kind);
        const QString path = mFixture->folderPath(kind);
        if (kind == u"folder"_s)
            QVERIFY(QDir().mkpath(path));
        else if (kind == u"fifo"_s)
            QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0); // a read would block
        // "gone": the dialog named a file that no longer exists when the read starts.

        // Opening it with no document open: the window stays without one.
        QVERIFY(mFixture->open(path));
        checkMessage(u"Error while loading!"_s);
        QVERIFY(!mFixture->document().hasTilesets());
        QVERIFY(!mFixture->window().findChild<QAction *>(u"mnusave"_s)->isEnabled());
        // The load disabled and enabled the window; the Edit menu stays disabled all the same.
        QVERIFY(!mFixture->window().findChild<QMenu *>(u"mnuedit"_s)->menuAction()->isEnabled());

        // Importing it into an open document: the document stays exactly as it was.
        services().messages.clear();
        openSample();
        mFixture->window().tilesetList()->selectNode(3);
        services().answer(PlatformServices::Answer::Ok);
        services().chooseFile(path);
        QVERIFY(mFixture->trigger(u"mnuimport"_s));
        QCOMPARE(services().messages.last().text, u"Error while loading!"_s);
        QVERIFY(!mFixture->document().changesMade);
        checkUnchangedAndUsable();
    }
};

QTEST_MAIN(TestFaults)
#include "tst_faults.moc"

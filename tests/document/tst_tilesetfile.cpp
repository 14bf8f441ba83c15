#include "tilesetfile.h"
#include "tilesetfiles.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QByteArray nul(int n = 1)
{
    return QByteArray(n, '\0');
}

// Everything a load may touch, to prove that a failed one touched nothing.
struct Snapshot
{
    explicit Snapshot(const Document &d)
        : tilesets(d.Tilesets)
        , values{d.FilePath, d.FileTitle, d.FileFolder, d.LastOpenedPath}
        , changesMade(d.ChangesMade)
    {}
    bool operator==(const Snapshot &) const = default;

    TilesetTable tilesets;
    QStringList values;
    bool changesMade;
};

// Records what the window would see: bar values and the number of event pumps.
struct Recorder
{
    QList<float> values;
    int pumps = 0;
    FileProgress progress()
    {
        return {[this](float v) { values.append(v); }, [this] { ++pumps; }};
    }
};

// A device that accepts a number of bytes and then fails, like a disk that fills up.
class FailingDevice : public QIODevice
{
public:
    explicit FailingDevice(qint64 capacity)
        : mCapacity(capacity)
    {
        open(WriteOnly);
    }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64 size) override
    {
        if (mWritten + size > mCapacity)
            return -1;
        mWritten += size;
        return size;
    }

private:
    qint64 mCapacity;
    qint64 mWritten = 0;
};

} // namespace

class TestTilesetFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();

    void writesTheWorkedLayout();
    void fieldsAreWrittenAsHeld();
    void loadAppliesTheFieldRule();
    void editorFilesResaveByteForByte();
    void randomFilesSettleAfterOneLoad();
    void trailingBytesAreIgnored();
    void largeHeaderPassesTheSizeCheck();

    void failuresLeaveTheDocumentUnchanged_data();
    void failuresLeaveTheDocumentUnchanged();

    void importCopiesTheChosenTilesetWhole();
    void importCancelledChangesNothing();
    void importRefusesOtherEntryCountsBeforeReading();

    void progressAndPumps_data();
    void progressAndPumps();

    void saveFailures();
    void saveCutsALongerFile();

private:
    QString path(const QString &name) const { return mDir.filePath(name); }

    QTemporaryDir mDir;
    Document mDocument;
};

void TestTilesetFile::init()
{
    mDocument = Document();
}

void TestTilesetFile::writesTheWorkedLayout()
{
    TilesetTable tilesets(2, 3);
    tilesets.setTilesetName(0, StoreFixedText("Generic", NameWidth));
    tilesets.setTilesetName(1, PadFixedText("Other", NameWidth));
    for (int k = 0; k < 2; ++k)
        for (int j = 0; j < 3; ++j)
            tilesets.setEntry(j, k,
                              StoreFixedText(QByteArray(1, char('a' + 3 * k + j)), EntryWidth));

    QVERIFY(writeTilesetFile(tilesets, path(u"layout.dat"_s), {}));
    const QByteArray file = TestFiles::read(path(u"layout.dat"_s));

    QCOMPARE(file.size(), 263);
    QCOMPARE(file.first(5), QByteArray("\x02\x03\0\0\0", 5));
    QCOMPARE(file.sliced(5, 33), "Generic" + nul() + QByteArray(25, ' '));
    QCOMPARE(file.sliced(38, 32), "a" + nul() + QByteArray(30, ' '));
    QCOMPARE(file.sliced(102, 1), QByteArray("c"));
    QCOMPARE(file.sliced(134, 33), "Other" + QByteArray(28, ' '));
    QCOMPARE(file.sliced(167, 1), QByteArray("d"));
    QCOMPARE(file.sliced(231, 1), QByteArray("f"));
}

void TestTilesetFile::fieldsAreWrittenAsHeld()
{
    TilesetTable tilesets(1, 2); // entry 1 is never assigned
    tilesets.setTilesetName(0, PadFixedText("Generic", NameWidth));
    tilesets.setEntry(0, 0, StoreFixedText("", EntryWidth));

    QVERIFY(writeTilesetFile(tilesets, path(u"held.dat"_s), {}));
    const QByteArray file = TestFiles::read(path(u"held.dat"_s));
    QCOMPARE(file.sliced(5), tilesets.bytes());
    QCOMPARE(file.sliced(5 + 33 + 32), nul(32));
}

void TestTilesetFile::loadAppliesTheFieldRule()
{
    QByteArray file("\x01\x04\0\0\0", 5);
    file += "Grass" + nul(28);                        // NUL padded name
    file += "tree" + nul(28);                         // NUL padded entry
    file += nul() + "ghost" + QByteArray(26, ' ');    // first byte NUL: never assigned
    file += QByteArray(32, 'W');                      // full width
    file += "ab" + nul() + QByteArray(28, '-') + "z"; // NUL inside, no terminator kept
    TestFiles::write(path(u"rule.dat"_s), file);

    QCOMPARE(loadTilesetFile(mDocument, path(u"rule.dat"_s), -1, {}), LoadError::None);
    QVERIFY(mDocument.LoadSucceeded);
    QCOMPARE(mDocument.TilesetNames(0).toByteArray(), "Grass" + nul() + QByteArray(27, ' '));
    QCOMPARE(mDocument.Entries(0, 0).toByteArray(), "tree" + nul() + QByteArray(27, ' '));
    QCOMPARE(mDocument.Entries(1, 0).toByteArray(), nul(32));
    QCOMPARE(mDocument.Entries(2, 0).toByteArray(), QByteArray(32, 'W'));
    QCOMPARE(mDocument.Entries(3, 0).toByteArray(), "ab" + QByteArray(30, ' '));
}

void TestTilesetFile::editorFilesResaveByteForByte()
{
    const QByteArray original = TestFiles::fileBytes(TestFiles::numberedTable(70, 151));
    TestFiles::write(path(u"in.dat"_s), original);
    QCOMPARE(loadTilesetFile(mDocument, path(u"in.dat"_s), -1, {}), LoadError::None);
    QVERIFY(writeTilesetFile(mDocument.Tilesets, path(u"out.dat"_s), {}));
    QCOMPARE(TestFiles::read(path(u"out.dat"_s)), original);
}

void TestTilesetFile::randomFilesSettleAfterOneLoad()
{
    for (quint32 seed = 1; seed <= 20; ++seed) {
        const int t = 1 + int(seed * 37 % 60);
        const int e = 1 + int(seed * 53 % 160);
        TestFiles::write(path(u"random.dat"_s), TestFiles::randomFile(t, e, seed));
        QCOMPARE(loadTilesetFile(mDocument, path(u"random.dat"_s), -1, {}), LoadError::None);
        const TilesetTable first = mDocument.Tilesets;
        QCOMPARE(first.tilesetCount(), t);
        QCOMPARE(first.entryCount(), e);

        // Saving writes what is held; loading that back gives the same fields again.
        QVERIFY(writeTilesetFile(first, path(u"saved.dat"_s), {}));
        QCOMPARE(TestFiles::read(path(u"saved.dat"_s)), TestFiles::fileBytes(first));
        QCOMPARE(loadTilesetFile(mDocument, path(u"saved.dat"_s), -1, {}), LoadError::None);
        QVERIFY2(mDocument.Tilesets == first, qPrintable(u"seed %1"_s.arg(seed)));
    }
}

void TestTilesetFile::trailingBytesAreIgnored()
{
    const QByteArray file = TestFiles::fileBytes(TestFiles::numberedTable(3, 5));
    TestFiles::write(path(u"plain.dat"_s), file);
    TestFiles::write(path(u"tail.dat"_s), file + "trailing junk");
    QCOMPARE(loadTilesetFile(mDocument, path(u"plain.dat"_s), -1, {}), LoadError::None);
    const TilesetTable plain = mDocument.Tilesets;
    QCOMPARE(loadTilesetFile(mDocument, path(u"tail.dat"_s), -1, {}), LoadError::None);
    QVERIFY(mDocument.Tilesets == plain);
}

void TestTilesetFile::largeHeaderPassesTheSizeCheck()
{
    // 255 x 151 is above 32,767: the product must not overflow a 16-bit count.
    const QByteArray file = TestFiles::fileBytes(TestFiles::numberedTable(255, 151));
    TestFiles::write(path(u"large.dat"_s), file);
    QCOMPARE(loadTilesetFile(mDocument, path(u"large.dat"_s), -1, {}), LoadError::None);
    QCOMPARE(mDocument.tilesetCount(), 255);
    QCOMPARE(mDocument.TilesetNames(254).first(7).toByteArray(), QByteArray("Set 254"));
}

void TestTilesetFile::failuresLeaveTheDocumentUnchanged_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<LoadError>("error");
    const QByteArray good = TestFiles::fileBytes(TestFiles::numberedTable(2, 3));
    QTest::newRow("empty file") << QByteArray() << LoadError::LoadFailed;
    QTest::newRow("one byte") << QByteArray("\x02") << LoadError::LoadFailed;
    QTest::newRow("shorter than T x E")
        << QByteArray("\x0a\x0a\0\0\0", 5) << LoadError::IncorrectFilesize;
    QTest::newRow("no tilesets") << QByteArray("\x00\x03\0\0\0", 5) << LoadError::LoadFailed;
    QTest::newRow("no entries") << QByteArray("\x03\x00\0\0\0", 5) << LoadError::LoadFailed;
    QTest::newRow("truncated records") << good.first(200) << LoadError::LoadFailed;
    QTest::newRow("header only, passes size check")
        << QByteArray("\x02\x03", 2) + nul(8) << LoadError::LoadFailed;
}

void TestTilesetFile::failuresLeaveTheDocumentUnchanged()
{
    QFETCH(QByteArray, file);
    QFETCH(LoadError, error);

    TestFiles::write(path(u"good.dat"_s), TestFiles::fileBytes(TestFiles::numberedTable(4, 6)));
    QCOMPARE(loadTilesetFile(mDocument, path(u"good.dat"_s), -1, {}), LoadError::None);
    mDocument.FilePath = u"/mods/good.dat"_s;
    mDocument.ChangesMade = true;
    const Snapshot before(mDocument);

    TestFiles::write(path(u"bad.dat"_s), file);
    QCOMPARE(loadTilesetFile(mDocument, path(u"bad.dat"_s), -1, {}), error);
    QVERIFY(!mDocument.LoadSucceeded);
    QVERIFY(Snapshot(mDocument) == before);
    QVERIFY(loadTilesetFile(mDocument, path(u"bad.dat"_s), 1, {}) != LoadError::None); // import too
    QVERIFY(Snapshot(mDocument) == before);

    // The failed load released the file: it can be replaced and loaded at once.
    TestFiles::write(path(u"bad.dat"_s), TestFiles::fileBytes(TestFiles::numberedTable(2, 3)));
    QCOMPARE(loadTilesetFile(mDocument, path(u"bad.dat"_s), -1, {}), LoadError::None);
    QVERIFY(mDocument.LoadSucceeded);
    QCOMPARE(mDocument.tilesetCount(), 2);
}

void TestTilesetFile::importCopiesTheChosenTilesetWhole()
{
    mDocument.Tilesets = TestFiles::numberedTable(5, 4);
    TilesetTable source = TestFiles::numberedTable(2, 4);
    source.setTilesetName(1, PadFixedText("Imported", NameWidth)); // no terminator: kept whole
    source.setEntry(2, 1, StoreFixedText("new entry", EntryWidth));
    TestFiles::write(path(u"source.dat"_s), TestFiles::fileBytes(source));

    QList<QByteArray> offered;
    LoadHooks hooks;
    hooks.chooseTileset = [&](const TilesetTable &pending) {
        for (int k = 0; k < pending.tilesetCount(); ++k)
            offered.append(pending.TilesetNames(k).toByteArray());
        return 1;
    };
    QCOMPARE(loadTilesetFile(mDocument, path(u"source.dat"_s), 3, hooks), LoadError::None);

    QCOMPARE(offered.size(), 2);
    QVERIFY(mDocument.ChangesMade);
    QVERIFY(mDocument.LoadSucceeded);
    QCOMPARE(mDocument.tilesetCount(), 5);
    QCOMPARE(mDocument.Tilesets.record(3).toByteArray(), source.record(1).toByteArray());
    QCOMPARE(mDocument.Tilesets.record(2).toByteArray(),
             TestFiles::numberedTable(5, 4).record(2).toByteArray());
}

void TestTilesetFile::importCancelledChangesNothing()
{
    mDocument.Tilesets = TestFiles::numberedTable(3, 4);
    const Snapshot before(mDocument);
    TestFiles::write(path(u"source.dat"_s), TestFiles::fileBytes(TestFiles::numberedTable(6, 4)));
    LoadHooks hooks;
    hooks.chooseTileset = [](const TilesetTable &) { return -1; };
    QCOMPARE(loadTilesetFile(mDocument, path(u"source.dat"_s), 0, hooks), LoadError::None);
    QVERIFY(mDocument.LoadSucceeded);
    QVERIFY(Snapshot(mDocument) == before);
}

void TestTilesetFile::importRefusesOtherEntryCountsBeforeReading()
{
    mDocument.Tilesets = TestFiles::numberedTable(3, 151);
    const Snapshot before(mDocument);
    TestFiles::write(path(u"other.dat"_s), TestFiles::fileBytes(TestFiles::numberedTable(3, 150)));
    Recorder recorder;
    bool asked = false;
    LoadHooks hooks{recorder.progress(), [&](const TilesetTable &) {
                        asked = true;
                        return 0;
                    }};
    QCOMPARE(loadTilesetFile(mDocument, path(u"other.dat"_s), 1, hooks),
             LoadError::IncompatibleEntries);
    QCOMPARE(recorder.pumps, 0);
    QVERIFY(recorder.values.isEmpty());
    QVERIFY(!asked);
    QVERIFY(Snapshot(mDocument) == before);
}

void TestTilesetFile::progressAndPumps_data()
{
    QTest::addColumn<int>("tilesets");
    QTest::addColumn<int>("entries");
    QTest::newRow("T=1") << 1 << 151;
    QTest::newRow("T=2") << 2 << 151;
    QTest::newRow("T=70") << 70 << 151;
    QTest::newRow("T=255") << 255 << 255;
}

void TestTilesetFile::progressAndPumps()
{
    QFETCH(int, tilesets);
    QFETCH(int, entries);
    // The bar gets the running total of 100 / (T - 1) while it stays within 100.
    QList<float> expected;
    if (tilesets >= 2) {
        const double step = 100.0 / (tilesets - 1);
        double total = 0;
        for (int k = 0; k < tilesets; ++k) {
            total += step;
            if (total <= 100.0)
                expected.append(float(total));
        }
    }
    QVERIFY(expected.size() <= std::max(tilesets - 1, 0));
    QVERIFY(expected.isEmpty() || expected.last() <= 100.0f);

    TestFiles::write(path(u"p.dat"_s),
                     TestFiles::fileBytes(TestFiles::numberedTable(tilesets, entries)));
    Recorder load;
    QCOMPARE(loadTilesetFile(mDocument, path(u"p.dat"_s), -1, {load.progress(), {}}),
             LoadError::None);
    QCOMPARE(load.values, expected);
    QCOMPARE(load.pumps, tilesets * entries);

    Recorder save;
    QVERIFY(writeTilesetFile(mDocument.Tilesets, path(u"q.dat"_s), save.progress()));
    QCOMPARE(save.values, expected);
    QCOMPARE(save.pumps, tilesets);
}

void TestTilesetFile::saveFailures()
{
    const TilesetTable tilesets = TestFiles::numberedTable(3, 4);

    // Too many tilesets for the one-byte count: refused before the old file is touched.
    const QByteArray previous("previous contents");
    TestFiles::write(path(u"keep.dat"_s), previous);
    QVERIFY(!writeTilesetFile(TilesetTable(256, 1), path(u"keep.dat"_s), {}));
    QCOMPARE(TestFiles::read(path(u"keep.dat"_s)), previous);

    QVERIFY(!writeTilesetFile(tilesets, mDir.path(), {}));
    QVERIFY(!writeTilesetFile(tilesets, path(u"missing/folder/x.dat"_s), {}));

    FailingDevice halfway(5 + tilesets.recordSize() + 10);
    QVERIFY(!writeTilesetDevice(tilesets, halfway, {}));

    // A later save to a good path works.
    QVERIFY(writeTilesetFile(tilesets, path(u"good.dat"_s), {}));
    QCOMPARE(TestFiles::read(path(u"good.dat"_s)), TestFiles::fileBytes(tilesets));
}

void TestTilesetFile::saveCutsALongerFile()
{
    TestFiles::write(path(u"long.dat"_s), QByteArray(100000, 'x'));
    const TilesetTable tilesets = TestFiles::numberedTable(2, 3);
    QVERIFY(writeTilesetFile(tilesets, path(u"long.dat"_s), {}));
    QCOMPARE(TestFiles::read(path(u"long.dat"_s)).size(), 263);
}

QTEST_GUILESS_MAIN(TestTilesetFile)
#include "tst_tilesetfile.moc"

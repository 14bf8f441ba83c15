#include "tilesetfile.h"
#include "tilesetfiles.h"

#include <QTemporaryDir>
#include <QTest>

#include <tuple>

using namespace Qt::StringLiterals;

namespace {

QByteArray nul(int n = 1)
{
    return QByteArray(n, '\0');
}

QByteArray counts(int tilesets, int entries)
{
    return QByteArray(1, char(tilesets)) + char(entries);
}

// Everything a load may touch, to prove that a failed one touched nothing.
auto snapshot(const Document &d)
{
    return std::tuple(d.tilesets, d.filePath, d.fileTitle, d.fileFolder, d.lastOpenedPath,
                      d.changesMade);
}

// What the window would see: bar values and the number of event pumps.
struct Recorder
{
    QList<float> values;
    int pumps = 0;
    FileProgress progress()
    {
        return {[this](float v) { values.append(v); }, [this] { ++pumps; }};
    }
};

// Takes a number of bytes and then fails, like a disk that fills up.
struct FailingDevice : QIODevice
{
    explicit FailingDevice(qint64 capacity)
        : left(capacity)
    {
        open(WriteOnly);
    }
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64 size) override { return (left -= size) < 0 ? -1 : size; }
    qint64 left;
};

} // namespace

class TestTilesetFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void writesTheWorkedLayout();
    void loadAppliesTheFieldRule();
    void randomFilesRoundTrip();
    void failuresLeaveTheDocumentUnchanged_data();
    void failuresLeaveTheDocumentUnchanged();
    void importMode();
    void progressAndPumps_data();
    void progressAndPumps();
    void saveFailures();

private:
    QString path(const QString &name) const { return mDir.filePath(name); }
    LoadError load(const QString &name, int target = -1, const LoadHooks &hooks = {})
    {
        return loadTilesetFile(mDocument, path(name), target, hooks);
    }

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
    tilesets.setTilesetName(0, ::storeFixedText("Generic", NameWidth));
    tilesets.setTilesetName(1, ::padFixedText("Other", NameWidth));
    for (int j = 0; j < 6; ++j)
        tilesets.setEntry(j % 3, j / 3, ::storeFixedText(QByteArray(1, char('a' + j)), EntryWidth));
    QVERIFY(writeTilesetFile(tilesets, path(u"layout.dat"_s), {}));

    const auto entry = [](char c) { return c + nul() + QByteArray(30, ' '); };
    const QByteArray file = TestFiles::read(path(u"layout.dat"_s));
    QCOMPARE(file.size(), 263);
    QCOMPARE(file, QByteArray("\x02\x03\0\0\0", 5) + "Generic" + nul() + QByteArray(25, ' ') +
                       entry('a') + entry('b') + entry('c') + "Other" + QByteArray(28, ' ') +
                       entry('d') + entry('e') + entry('f'));
}

void TestTilesetFile::loadAppliesTheFieldRule()
{
    const QByteArray file = counts(1, 1) + nul(3) + "Grass" + nul(28) + nul() + "ghost" +
                            QByteArray(26, ' ') + "trailing bytes are ignored";
    TestFiles::write(path(u"rule.dat"_s), file);
    QCOMPARE(load(u"rule.dat"_s), LoadError::None);
    QCOMPARE(mDocument.tilesetName(0).toByteArray(), "Grass" + nul() + QByteArray(27, ' '));
    QCOMPARE(mDocument.entry(0, 0).toByteArray(), nul(32)); // the entry rule, not the name's
}

// Loading settles every field; saving writes what is held; loading that gives it back.
void TestTilesetFile::randomFilesRoundTrip()
{
    for (quint32 seed = 1; seed <= 20; ++seed) {
        const int t = 1 + int(seed * 37 % 60);
        const int e = 1 + int(seed * 53 % 160);
        TestFiles::write(path(u"random.dat"_s), TestFiles::randomFile(t, e, seed));
        QCOMPARE(load(u"random.dat"_s), LoadError::None);
        const TilesetTable first = mDocument.tilesets;

        QVERIFY(writeTilesetFile(first, path(u"saved.dat"_s), {}));
        QCOMPARE(TestFiles::read(path(u"saved.dat"_s)), TestFiles::fileBytes(first));
        QCOMPARE(load(u"saved.dat"_s), LoadError::None);
        QVERIFY2(mDocument.tilesets == first, qPrintable(u"seed %1"_s.arg(seed)));
    }
}

void TestTilesetFile::failuresLeaveTheDocumentUnchanged_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<LoadError>("error");
    QTest::newRow("one byte") << QByteArray("\x02") << LoadError::LoadFailed;
    QTest::newRow("size T x E - 1") << counts(2, 5) + nul(7) << LoadError::IncorrectFilesize;
    QTest::newRow("size T x E, no records") << counts(2, 5) + nul(8) << LoadError::LoadFailed;
    QTest::newRow("no tilesets") << counts(0, 3) + nul(3) << LoadError::LoadFailed;
    QTest::newRow("no entries") << counts(3, 0) + nul(3) << LoadError::LoadFailed;
    QTest::newRow("one byte short")
        << TestFiles::fileBytes(TestFiles::numberedTable(2, 3)).chopped(1) << LoadError::LoadFailed;
}

void TestTilesetFile::failuresLeaveTheDocumentUnchanged()
{
    QFETCH(QByteArray, file);
    TestFiles::write(path(u"good.dat"_s), TestFiles::fileBytes(TestFiles::numberedTable(4, 6)));
    QCOMPARE(load(u"good.dat"_s), LoadError::None);
    mDocument.filePath = u"/mods/good.dat"_s;
    mDocument.changesMade = true;
    const auto before = snapshot(mDocument);

    TestFiles::write(path(u"bad.dat"_s), file);
    QTEST(load(u"bad.dat"_s), "error");
    QVERIFY(!mDocument.loadSucceeded);
    QVERIFY(snapshot(mDocument) == before);
    QVERIFY(load(u"bad.dat"_s, 1) != LoadError::None); // import as well
    QVERIFY(snapshot(mDocument) == before);

    // The failed load released the file: it can be replaced and loaded at once.
    TestFiles::write(path(u"bad.dat"_s), TestFiles::fileBytes(TestFiles::numberedTable(2, 3)));
    QCOMPARE(load(u"bad.dat"_s), LoadError::None);
    QVERIFY(mDocument.loadSucceeded);
    QCOMPARE(mDocument.tilesetCount(), 2);
}

void TestTilesetFile::importMode()
{
    const TilesetTable original = TestFiles::numberedTable(5, 4);
    mDocument.tilesets = original;
    TilesetTable source = TestFiles::numberedTable(2, 4);
    source.setTilesetName(1, ::padFixedText("Imported", NameWidth)); // no terminator: kept whole
    source.setEntry(2, 1, ::storeFixedText("new entry", EntryWidth));
    TestFiles::write(path(u"source.dat"_s), TestFiles::fileBytes(source));
    TestFiles::write(path(u"other.dat"_s), TestFiles::fileBytes(TestFiles::numberedTable(2, 5)));

    Recorder recorder;
    int choice = -1;
    int offered = 0;
    const LoadHooks hooks{recorder.progress(), [&](const TilesetTable &pending) {
                              offered = pending.tilesetCount();
                              return choice;
                          }};
    const auto before = snapshot(mDocument);
    // Another entry count is refused before any record is read or a tileset is offered.
    QCOMPARE(load(u"other.dat"_s, 3, hooks), LoadError::IncompatibleEntries);
    QCOMPARE(recorder.pumps, 0);
    QVERIFY(recorder.values.isEmpty());
    QCOMPARE(offered, 0);
    QVERIFY(snapshot(mDocument) == before);

    QCOMPARE(load(u"source.dat"_s, 3, hooks), LoadError::None); // cancelled
    QCOMPARE(offered, 2);
    QVERIFY(mDocument.loadSucceeded);
    QVERIFY(snapshot(mDocument) == before);

    choice = 1;
    QCOMPARE(load(u"source.dat"_s, 3, hooks), LoadError::None);
    QVERIFY(mDocument.changesMade);
    QByteArray expected = original.bytes();
    expected.replace(3 * source.recordSize(), source.recordSize(), source.record(1).toByteArray());
    QCOMPARE(mDocument.tilesets.bytes(), expected);
}

void TestTilesetFile::progressAndPumps_data()
{
    // The bar goes up by 100 / (T - 1) before each tileset while the total stays within 100.
    QTest::addColumn<int>("tilesets");
    QTest::addColumn<int>("entries");
    QTest::addColumn<int>("barValues");
    QTest::addColumn<float>("lastValue");
    QTest::newRow("T=1") << 1 << 151 << 0 << 0.0f;
    QTest::newRow("T=2") << 2 << 151 << 1 << 100.0f;
    QTest::newRow("T=70") << 70 << 151 << 68 << 98.550725f; // 69 steps of 100/69 sum above 100
    QTest::newRow("T=255") << 255 << 255 << 254 << 100.0f;
}

// Both directions; a file the editor wrote comes back byte for byte.
void TestTilesetFile::progressAndPumps()
{
    QFETCH(int, tilesets);
    QFETCH(int, entries);
    QFETCH(int, barValues);
    const QByteArray original = TestFiles::fileBytes(TestFiles::numberedTable(tilesets, entries));
    TestFiles::write(path(u"p.dat"_s), original);

    Recorder load;
    QCOMPARE(loadTilesetFile(mDocument, path(u"p.dat"_s), -1, {load.progress(), {}}),
             LoadError::None);
    QCOMPARE(load.pumps, tilesets * entries);
    Recorder save;
    QVERIFY(writeTilesetFile(mDocument.tilesets, path(u"q.dat"_s), save.progress()));
    QCOMPARE(save.pumps, tilesets);
    QCOMPARE(TestFiles::read(path(u"q.dat"_s)), original);

    QCOMPARE(save.values, load.values);
    QCOMPARE(load.values.size(), barValues);
    QTEST(load.values.value(barValues - 1), "lastValue");
}

void TestTilesetFile::saveFailures()
{
    const TilesetTable tilesets = TestFiles::numberedTable(3, 4);
    const QByteArray longer(100000, 'x');

    // A count above 255 does not fit its byte: refused before the old file is touched.
    TestFiles::write(path(u"keep.dat"_s), longer);
    QVERIFY(!writeTilesetFile(TilesetTable(256, 1), path(u"keep.dat"_s), {}));
    QCOMPARE(TestFiles::read(path(u"keep.dat"_s)), longer);

    QVERIFY(!writeTilesetFile(tilesets, mDir.path(), {}));
    QVERIFY(!writeTilesetFile(tilesets, path(u"missing/folder/x.dat"_s), {}));
    FailingDevice halfway(5 + tilesets.recordSize() + 10);
    QVERIFY(!writeTilesetDevice(tilesets, halfway, {}));

    // A later save works and cuts the longer file to the written length.
    QVERIFY(writeTilesetFile(tilesets, path(u"keep.dat"_s), {}));
    QCOMPARE(TestFiles::read(path(u"keep.dat"_s)), TestFiles::fileBytes(tilesets));
}

QTEST_GUILESS_MAIN(TestTilesetFile)
#include "tst_tilesetfile.moc"

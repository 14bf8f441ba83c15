#include "fixedfield.h"
#include "tilesetfiles.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

// Tilesets "Set k" of entries "k:j", but for the first name, which looks like a format.
QByteArray numberedFile(int tilesetCount, int entryCount,
                        const std::function<void(TilesetTable &)> &change = {})
{
    TilesetTable table = TestFiles::numberedTable(tilesetCount, entryCount);
    table.setTilesetName(0, storeFixedText("%1 50%", NameWidth));
    if (change)
        change(table);
    return TestFiles::fileBytes(table);
}

} // namespace

// hmkset diff A B, run as a modder's script runs it, on files made here.
class TestHmksetDiff : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void listsWhatDiffers_data();
    void listsWhatDiffers();
};

void TestHmksetDiff::listsWhatDiffers_data()
{
    QTest::addColumn<QByteArray>("after"); // b.dat; a.dat is 2 tilesets of 3 entries
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("shown"); // stdout, or stderr when the exit code is 2

    const auto name = [](TilesetTable &table) {
        table.setTilesetName(0, storeFixedText("caf\xe9 \x80", NameWidth));
    };
    // Blanks and a control byte stay visible; padding without an end mark is shown whole.
    const auto entries = [](TilesetTable &table) {
        table.setEntry(2, 0, storeFixedText(" a\t", EntryWidth));
        table.setEntry(0, 1, padFixedText("wide", EntryWidth));
    };
    const auto lastEntry = [](TilesetTable &table) {
        table.setEntry(1, 1, storeFixedText("new", EntryWidth));
    };
    QTest::newRow("equal") << numberedFile(2, 3) << 0 << QByteArray();
    QTest::newRow("name") << numberedFile(2, 3, name) << 1
                          << QByteArray("tileset 0 name: \"%1 50%\" -> \"café €\"\n");
    QTest::newRow("entries") << numberedFile(2, 3, entries) << 1
                             << "tileset 0 entry 2: \"0:2\" -> \" a\\t\"\n"
                                "tileset 1 entry 0: \"1:0\" -> \"wide" +
                                    QByteArray(28, ' ') + "\"\n";
    QTest::newRow("tileset added")
        << numberedFile(3, 3) << 1 << QByteArray("tilesets: 2 -> 3\ntileset 2 added: \"Set 2\"\n");
    QTest::newRow("tileset removed")
        << numberedFile(1, 3) << 1
        << QByteArray("tilesets: 2 -> 1\ntileset 1 removed: \"Set 1\"\n");
    // The entries both files have are still compared.
    QTest::newRow("entries per tileset")
        << numberedFile(2, 2, lastEntry) << 1
        << QByteArray("entries per tileset: 3 -> 2\ntileset 1 entry 1: \"1:1\" -> \"new\"\n");
    QTest::newRow("missing") << QByteArray() << 2 << QByteArray("b.dat: Error while loading!\n");
    QTest::newRow("refused") << QByteArray("\x0a\x0a\0\0\0", 5) << 2
                             << QByteArray("b.dat: Error: Incorrect filesize\n");
}

void TestHmksetDiff::listsWhatDiffers()
{
    QFETCH(QByteArray, after);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, shown);
    QTemporaryDir dir;
    TestFiles::write(dir.filePath(u"a.dat"_s), numberedFile(2, 3));
    if (!after.isNull())
        TestFiles::write(dir.filePath(u"b.dat"_s), after);

    QProcess hmkset;
    hmkset.setWorkingDirectory(dir.path());
    hmkset.start(QStringLiteral(HMKSET_PATH), {u"diff"_s, u"a.dat"_s, u"b.dat"_s});
    QVERIFY(hmkset.waitForFinished(60000));
    QCOMPARE(hmkset.exitStatus(), QProcess::NormalExit);
    QCOMPARE(hmkset.exitCode(), exitCode);
    const QByteArray out = hmkset.readAllStandardOutput();
    const QByteArray err = hmkset.readAllStandardError();
    QCOMPARE(exitCode == 2 ? err : out, shown);
    QCOMPARE(exitCode == 2 ? out : err, QByteArray());
}

QTEST_GUILESS_MAIN(TestHmksetDiff)
#include "tst_hmksetdiff.moc"

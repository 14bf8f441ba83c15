#include "descriptionfile.h"
#include "fieldsearch.h"
#include "settingsfile.h"
#include "tilesetfiles.h"
#include "tilesetreader.h"
#include "tilesetwriter.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using TestFiles::read;

Q_DECLARE_METATYPE(EditorSettings)
Q_DECLARE_METATYPE(SearchOptions)

namespace {

const QByteArray Nul(1, '\0');

QByteArray padded(const QByteArray &text, char fill, int width)
{
    return text + QByteArray(width - text.size(), fill);
}

// Tileset 1 holds the odd fields: a name padded with blanks and no terminator, text after a
// NUL, a field never written, a full-width entry.
TilesetTable searchTable()
{
    TilesetTable table = TestFiles::numberedTable(3, 4);
    table.setTilesetName(1, padFixedText("Rock garden", NameWidth));
    table.setEntry(0, 1, storeFixedText("rock012.bmp", EntryWidth));
    table.setEntry(1, 1, padded("grass", '\0', EntryWidth - 4) + "rock");
    table.setEntry(2, 1, QByteArray(EntryWidth, '\0'));
    table.setEntry(3, 1, QByteArray(EntryWidth, 'R'));
    table.setEntry(2, 2, storeFixedText("ROCK012.BMP", EntryWidth));
    return table;
}

} // namespace

// The file formats, and finding and replacing in the table.
class TestDocument : public QObject
{
    Q_OBJECT

    QTemporaryDir mDir;
    TilesetTable mTable;
    QString path(const QString &name) const { return mDir.filePath(name); }
    LoadError load(const QByteArray &bytes, const FileProgress &progress = {})
    {
        return readTilesetFile(TestFiles::write(path(u"in.dat"_s), bytes), -1, progress, mTable);
    }

private Q_SLOTS:
    void init() { mTable = TilesetTable(); }

    // The loader's rule, for names and for entries, each row as both.
    void fieldRule_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<QByteArray>("raw");
        QTest::addColumn<QByteArray>("expected");
        for (const int w : {NameWidth, EntryWidth}) {
            const auto row = [w](const char *name, const QByteArray &raw, const QByteArray &to) {
                QTest::addRow("%s %s", w == NameWidth ? "name" : "entry", name) << w << raw << to;
            };
            row("NUL padded", padded("Grass", '\0', w), padded("Grass" + Nul, ' ', w));
            // Text at both ends of the raw field: no terminator is kept.
            row("NUL inside", padded("ab" + Nul, '-', w - 1) + "\xe9", padded("ab", ' ', w));
            row("space first", padded(" ab" + Nul, '-', w - 1) + "z", padded(" ab" + Nul, ' ', w));
            // An entry whose first byte is NUL was never assigned: it becomes all NUL.
            row("first byte NUL", padded(Nul + "hidden", ' ', w),
                w == NameWidth ? padded(Nul, ' ', w) : QByteArray(w, '\0'));
        }
    }
    void fieldRule()
    {
        QFETCH(int, width);
        QFETCH(QByteArray, raw);
        if (width == NameWidth) {
            applyFieldRule(raw.data(), width);
            QTEST(raw, "expected");
            return;
        }
        // One entry alone, and the same between others in a run, which may take another path.
        QByteArray run = QByteArray(EntryWidth, 'x') + raw + raw;
        applyEntryRule(raw.data());
        QTEST(raw, "expected");
        applyEntryRules(run.data(), 3);
        QCOMPARE(run, QByteArray(EntryWidth, 'x') + raw + raw);
    }

    void readSettings_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<int>("sizerLeft"); // 15 before; the others keep their values
        QTest::addColumn<QString>("lastOpened");
        QTest::addColumn<bool>("complete");
        const QString old = u"/old/set.dat"_s;
        const auto row = [&old](const char *name, const char *contents, int sizer, bool complete) {
            QTest::newRow(name) << QByteArray(contents) << sizer << old << complete;
        };
        // A value that does not fit 16 bits is not taken and makes the read incomplete.
        row("7000px", "SizerLeft= 7000px", 7000, true);
        row("blanks inside", "SizerLeft= 1 2 3", 123, true);
        row("-0.6", "SizerLeft= -0.6", -1, true);
        row("2.5 to even", "SizerLeft= 2.5", 2, true);
        row("3.5 to even", "SizerLeft= 3.5", 4, true);
        row("32767", "SizerLeft= 32767", 32767, true);
        row("32768", "SizerLeft= 32768", 15, false);
        row("-32768", "SizerLeft= -32768", -32768, true);
        row("-32769", "SizerLeft= -32769", 15, false);
        row("CR, LF, no final line end", "SizerLeft=1\rSizerLeft=2\nSizerLeft=3", 3, true);
        row("capitals, blanks around =", "  SIZERLEFT  =  120   \r\n", 120, true);
        row("out of range, reading goes on", "SizerLeft= 40000\r\nSizerLeft= 500", 500, false);
        row("long s is no s", "\xc5\xbfizerleft= 2000", 15, true); // ASCII case only
        QTest::newRow("a value holding =")
            << QByteArray("LastOpened= C:\\a=b.dat") << 15 << u"C:\\a=b.dat"_s << true;
    }
    void readSettings()
    {
        QFETCH(QByteArray, contents);
        const EditorSettings initial{u"/old/set.dat"_s, 11, 12, 13, 14, 15, 16, 17, 18};
        EditorSettings settings = initial;
        QTEST(readSettingsFile(TestFiles::write(path(u"hmktse.ini"_s), contents), settings),
              "complete");
        EditorSettings expected = initial;
        QFETCH(int, sizerLeft);
        QFETCH(QString, lastOpened);
        expected.sizerLeft = sizerLeft;
        expected.lastOpened = lastOpened;
        QCOMPARE(settings, expected);
    }

    void descriptions_data()
    {
        QTest::addColumn<QByteArray>("contents"); // null: no file
        QTest::addColumn<QStringList>("first");   // every later text is empty
        const QStringList aEmptyC = {u"A"_s, QString(), u"C"_s};
        QTest::newRow("CR LF") << QByteArray("A\r\n\r\nC\r\n") << aEmptyC;
        QTest::newRow("no final line end") << QByteArray("A\n\nC") << aEmptyC;
        QTest::newRow("blanks kept, code page")
            << QByteArray(" Grass \t\r\n\x80 caf\xe9") << QStringList{u" Grass \t"_s, u"€ café"_s};
        QTest::newRow("missing file") << QByteArray() << QStringList();
    }
    void descriptions()
    {
        QFETCH(QByteArray, contents);
        QFETCH(QStringList, first);
        const QString desc = path(QString::fromLatin1(QTest::currentDataTag()));
        if (!contents.isNull())
            TestFiles::write(desc, contents);
        const QStringList texts = readDescriptionFile(desc);
        QCOMPARE(texts.size(), DescriptionCount);
        QCOMPARE(texts.first(first.size()), first);
        QCOMPARE(texts.sliced(first.size()).join(QString()), QString());
    }

    void failedLoadChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<LoadError>("error");
        QTest::newRow("T x E - 1 bytes")
            << QByteArray("\x02\x05\0\0\0", 5) + Nul + Nul << LoadError::IncorrectFilesize;
        QTest::newRow("T x E bytes")
            << QByteArray("\x02\x05\0\0\0", 5) + QByteArray(5, 0) << LoadError::LoadFailed;
        QTest::newRow("0 entries") << QByteArray("\x02\x00\0\0\0", 5) << LoadError::LoadFailed;
        QTest::newRow("0 tilesets") << QByteArray("\x00\x02\0\0\0", 5) << LoadError::LoadFailed;
        QTest::newRow("one byte short")
            << TestFiles::fileBytes(TestFiles::numberedTable(2, 3)).chopped(1)
            << LoadError::LoadFailed;
    }
    void failedLoadChangesNothing()
    {
        QFETCH(QByteArray, file);
        mTable = TestFiles::numberedTable(4, 6);
        const TilesetTable before = mTable;
        QTEST(load(file), "error");
        QVERIFY(mTable == before);
    }

    // The bar goes up by 100 / (T - 1) before each tileset while the total stays within 100.
    void progress_data()
    {
        QTest::addColumn<int>("tilesets");
        QTest::addColumn<int>("barValues");
        QTest::addColumn<float>("lastValue");
        QTest::newRow("T=1") << 1 << 0 << 0.0f;
        QTest::newRow("T=2") << 2 << 1 << 100.0f;
    }
    void progress()
    {
        QFETCH(int, tilesets);
        QFETCH(int, barValues);
        const QByteArray original = TestFiles::fileBytes(TestFiles::numberedTable(tilesets, 9));
        QList<float> loading, saving;
        int pumps = 0;
        const auto seen = [&pumps](QList<float> &values) -> FileProgress {
            return {[&values](float v) { values.append(v); }, [&pumps] { ++pumps; }};
        };
        QCOMPARE(load(original + "trailing bytes are ignored", seen(loading)), LoadError::None);
        QCOMPARE(pumps, tilesets * 9); // one per entry while loading, one per tileset saving
        const QString out = TestFiles::write(path(u"out.dat"_s), QByteArray(99999, 'x'));
        QVERIFY(writeTilesetFile(mTable, out, seen(saving)));
        QCOMPARE(pumps, tilesets * 10);
        QCOMPARE(read(out), original); // the header and records, and cut to that length
        QCOMPARE(saving, loading);
        QCOMPARE(loading.size(), barValues);
        QTEST(loading.value(barValues - 1), "lastValue");
    }

    // A slow disk: the records come in pieces of at most 256 KB, with pumps between them.
    void readsInPieces()
    {
        struct Disk : QBuffer
        {
            int pumps = 0;
            QList<std::pair<qint64, int>> reads; // the size asked for, the pumps before it
            qint64 readData(char *data, qint64 size) override
            {
                reads.append({size, pumps});
                return QBuffer::readData(data, size);
            }
        } disk;
        disk.setData(TestFiles::fileBytes(TestFiles::numberedTable(255, 255)));
        disk.open(QIODevice::ReadOnly);
        QCOMPARE(readTilesetDevice(disk, disk.size(), -1, {{}, [&disk] { ++disk.pumps; }}, mTable),
                 LoadError::None);
        QCOMPARE(mTable.bytes(), disk.data().sliced(HeaderSize));
        QCOMPARE(disk.reads.size(), 1 + 9); // the counts, then the records
        for (qsizetype i = 2; i < disk.reads.size(); ++i)
            QVERIFY(disk.reads[i].first <= 256 * 1024 &&
                    disk.reads[i].second > disk.reads[i - 1].second);
    }

    // A save completes or leaves the old file: through a link, in place where the folder
    // takes no new file. A FIFO or a folder is refused in tst_hmkset, run as hmkset runs.
    void save_data()
    {
        QTest::addColumn<QString>("before"); // "file", "link" or "read-only folder"
        QTest::addColumn<int>("tilesets");
        QTest::addColumn<int>("entries");
        QTest::addColumn<QString>("error"); // empty when saved
        QTest::newRow("255 x 255, 0640 kept") << u"file"_s << 255 << 255 << QString();
        // 31 records of 255 entries fill a write batch of 256 KB.
        QTest::newRow("32 x 255, a batch and one") << u"file"_s << 32 << 255 << QString();
        QTest::newRow("a link stays, its file is saved") << u"link"_s << 3 << 3 << QString();
        QTest::newRow("read-only folder: in place") << u"read-only folder"_s << 3 << 3 << QString();
        QTest::newRow("256 tilesets")
            << u"file"_s << 256 << 1 << u"More than 255 tilesets or entries per tileset"_s;
        QTest::newRow("256 entries")
            << u"file"_s << 1 << 256 << u"More than 255 tilesets or entries per tileset"_s;
    }
    void save()
    {
        QFETCH(QString, before);
        QFETCH(int, tilesets);
        QFETCH(int, entries);
        QTemporaryDir dir; // one for each row, which a read-only row makes read-only
        const QString target = dir.filePath(u"hmkset.dat"_s);
        const QString file = before == u"link" ? dir.filePath(u"linked.dat"_s) : target;
        TestFiles::write(file, "old file");
        QVERIFY(before != u"link" || QFile::link(file, target));
        const bool readOnly = before == u"read-only folder";
        QCOMPARE(chmod(QFile::encodeName(file).constData(), readOnly ? 0666 : 0640), 0);
        const QFile::Permissions permissions = QFileInfo(file).permissions();

        // Root writes into any folder: the folder's mode only holds for another user.
        QVERIFY(!readOnly || chmod(QFile::encodeName(dir.path()).constData(), 0555) == 0);
        const bool asOther = readOnly && geteuid() == 0;
        if (asOther && seteuid(65534) != 0)
            QSKIP("root cannot save as another user here");
        const TilesetTable table = TestFiles::numberedTable(tilesets, entries);
        QString error;
        const bool saved = writeTilesetFile(table, target, {}, &error);
        QVERIFY(!asOther || seteuid(0) == 0);
        chmod(QFile::encodeName(dir.path()).constData(), 0700);

        QTEST(error, "error");
        QCOMPARE(saved, error.isEmpty());
        QCOMPARE(QFileInfo(target).symLinkTarget(), before == u"link" ? file : QString());
        QCOMPARE(QFileInfo(file).permissions(), permissions);
        QCOMPARE(read(file), saved ? TestFiles::fileBytes(table) : "old file");
    }

    void findFields_data()
    {
        QTest::addColumn<SearchOptions>("options");
        QTest::addColumn<QList<int>>("found"); // tileset * 10 + entry + 1; a name is tileset * 10
        const auto row = [](const char *name, SearchOptions options, QList<int> found) {
            QTest::newRow(name) << options << found;
        };
        row("any case, names and entries", {u"rock"_s}, {10, 11, 23});
        row("match case", {u"rock"_s, true}, {11});
        row("text after a NUL is no text", {u"grass"_s}, {12});
        row("whole field, padding aside", {u"rock garden"_s, false, true}, {10});
        row("whole field, not a part", {u"rock"_s, false, true}, {});
    }
    void findFields()
    {
        QFETCH(SearchOptions, options);
        QList<int> found;
        for (const FieldMatch &m : ::findFields(searchTable(), options))
            found.append(m.tileset * 10 + m.entry + 1);
        QTEST(found, "found");
    }

    void replaceFields_data()
    {
        QTest::addColumn<QString>("find");
        QTest::addColumn<QString>("replacement");
        QTest::addColumn<QByteArray>("entry0"); // of tileset 1, afterwards
        QTest::addColumn<int>("changed");
        QTest::addColumn<int>("cut");
        QTest::newRow("stored as an edit stores it")
            << u"rock"_s << u"stone"_s << storeFixedText("stone012.bmp", EntryWidth) << 3 << 0;
        QTest::newRow("cut at the width, and counted")
            << u"012"_s << QString(30, u'x') << QByteArray("rock") + QByteArray(28, 'x') << 2 << 2;
        // "Rock gardens" and its padding come to 34 characters: the blanks go, no NUL.
        QTest::newRow("padding that falls off is no cut")
            << u"garden"_s << u"gardens"_s << storeFixedText("rock012.bmp", EntryWidth) << 1 << 0;
    }
    void replaceFields()
    {
        QFETCH(QString, find);
        QFETCH(QString, replacement);
        TilesetTable table = searchTable();
        const TilesetTable before = table;
        const FieldReplacement r =
            ::replaceFields(table, ::findFields(table, {find}), {find}, replacement);
        QTEST(r.changedFields, "changed");
        QTEST(r.cutFields, "cut");
        r.edit.redo(table);
        QTEST(table.entry(0, 1).toByteArray(), "entry0");
        r.edit.undo(table);
        QVERIFY(table == before);
    }

    void tableEditUndoesExactly()
    {
        TilesetTable table = TestFiles::numberedTable(3, 2);
        const TilesetTable before = table;
        TableEdit edit;
        edit.add(table.nameOffset(1), table.record(1), {});                     // delete tileset 1
        edit.add(table.nameOffset(0), {}, QByteArray(table.recordSize(), ' ')); // insert at 0
        edit.add(table.entryOffset(1, 2), table.entry(1, 2), storeFixedText("x", EntryWidth));
        edit.redo(table);
        QCOMPARE(table.entry(1, 2).toByteArray(), storeFixedText("x", EntryWidth));
        edit.undo(table);
        QVERIFY(table == before);
    }
};

QTEST_GUILESS_MAIN(TestDocument)
#include "tst_document.moc"

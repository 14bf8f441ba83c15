#include "datatable.h"
#include "descriptionfile.h"
#include "fieldinfo.h"
#include "fieldsearch.h"
#include "settingsfile.h"
#include "tilesetfiles.h"
#include "tilesetmerge.h"
#include "tilesetreader.h"
#include "tilesetwriter.h"

#include <QBuffer>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace TestFiles;

const QByteArray Nul(1, '\0');

// The settings before a read; the rows differ only in these two.
static EditorSettings oldSettings(int sizerLeft, const QString &lastOpened = u"/old/set.dat"_s)
{
    return {lastOpened, 11, 12, 13, 14, sizerLeft, 16, 17, 18};
}

// The file formats, and finding and replacing in the table.
class TestDocument : public QObject
{
    Q_OBJECT

    QTemporaryDir mDir; // the current folder
    static QByteArray padded(QByteArray t, char fill, int w) { return t.leftJustified(w, fill); }

private Q_SLOTS:
    void initTestCase() { QVERIFY(QDir::setCurrent(mDir.path())); }

    // The loader's rule, for names and for entries, each row as both.
    void fieldRule_data()
    {
        addColumns<int, QByteArray, QByteArray>("width", "raw", "expected");
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
        auto [width, raw] = fetch<int, QByteArray>("width", "raw");
        // One entry alone, and the same between others in a run, which may take another path.
        QByteArray run = QByteArray(EntryWidth, 'x') + raw + raw;
        width == NameWidth ? applyFieldRule(raw.data(), width) : applyEntryRule(raw.data());
        QTEST(raw, "expected");
        QVERIFY(width == NameWidth ||
                (applyEntryRules(run.data(), 3), run == QByteArray(EntryWidth, 'x') + raw + raw));
    }

    void readSettings_data()
    {
        // contents: read over oldSettings(15)
        addColumns<QByteArray, EditorSettings, bool>("contents", "expected", "complete");
        const auto row = [](const char *name, const QByteArray &bytes, int sizer, bool complete) {
            QTest::newRow(name) << bytes << oldSettings(sizer) << complete;
        };
        // Blanks inside are dropped and halves go to even; a value that does not fit 16 bits is
        // not taken and makes the read incomplete.
        const std::tuple<const char *, int, bool> values[] = {
            {"7000px", 7000, true}, {"1 2 3", 123, true},     {"-0.6", -1, true},
            {"2.5", 2, true},       {"3.5", 4, true},         {"32767", 32767, true},
            {"32768", 15, false},   {"-32768", -32768, true}, {"-32769", 15, false}};
        for (const auto &[value, sizer, complete] : values)
            row(value, "SizerLeft= " + QByteArray(value), sizer, complete);
        row("CR, LF, no final line end", "SizerLeft=1\rSizerLeft=2\nSizerLeft=3", 3, true);
        row("capitals, blanks around =", "  SIZERLEFT  =  120   \r\n", 120, true);
        row("out of range, reading goes on", "SizerLeft= 40000\r\nSizerLeft= 500", 500, false);
        row("long s is no s", "\xc5\xbfizerleft= 2000", 15, true); // ASCII case only
        // The first 64 KB are read, up to their last whole line.
        const QByteArray to64K = "SizerLeft= 500\r\n" + QByteArray(65536 - 32, ';') + "\r\n";
        QTest::newRow("64 KB") << to64K + "SizerLeft= 123" << oldSettings(123) << true;
        QTest::newRow("a byte more") << to64K + "SizerLeft= 1234" << oldSettings(500) << false;
        // What the writer makes of a value beyond 16 bits reads back as written: at the end.
        for (const int far : {-32775, 32775}) {
            QVERIFY(writeSettingsFile(u"far.ini"_s, oldSettings(far)));
            QTest::addRow("written as %d", far)
                << read(u"far.ini"_s) << oldSettings(far < 0 ? -32768 : 32767) << true;
        }
        QTest::newRow("a value holding =")
            << QByteArray("LastOpened= C:\\a=b.dat") << oldSettings(15, u"C:\\a=b.dat"_s) << true;
    }
    void readSettings()
    {
        QFETCH(QByteArray, contents);
        EditorSettings settings = oldSettings(15);
        QTEST(readSettingsFile(write(u"hmktse.ini"_s, contents), settings), "complete");
        QTEST(settings, "expected");
    }

    void descriptions_data()
    {
        // bytes: null: no file
        // first: every later text is empty
        addColumns<QByteArray, QStringList>("bytes", "first");
        const QStringList aEmptyC = {u"A"_s, QString(), u"C"_s};
        QTest::newRow("CR LF") << QByteArray("A\r\n\r\nC\r\n") << aEmptyC;
        QTest::newRow("no final line end") << QByteArray("A\n\nC") << aEmptyC;
        QTest::newRow("blanks kept, code page")
            << QByteArray(" Grass \t\r\n\x80 caf\xe9") << QStringList{u" Grass \t"_s, u"€ café"_s};
        QTest::newRow("missing file") << QByteArray() << QStringList();
        QTest::newRow("a line too many") << QByteArray("\n").repeated(150) + "last\nextra"
                                         << QStringList(150, QString()) + QStringList{u"last"_s};
        QTest::newRow("1 MB cut at 500")
            << QByteArray(1 << 20, 'x') + "\rB" << QStringList{QString(500, u'x'), u"B"_s};
    }

    void descriptions()
    {
        auto [bytes, first] = fetch<QByteArray, QStringList>("bytes", "first");
        first.resize(DescriptionCount);
        QCOMPARE(readDescriptionFile(bytes.isNull() ? u"none"_s : write(u"desc"_s, bytes)), first);
    }

    void failedLoadChangesNothing_data()
    {
        // place: "file" holding the bytes, "missing", "folder", "fifo" (never opened, so
        // no wait) or "unreadable"
        // requiredEntries: an import's document; -1 when opened
        using enum LoadError;
        addColumns<QString, QByteArray, int, LoadError, QString>("place", "file", "requiredEntries",
                                                                 "error", "reason");
        const auto row = [](const char *name, const QByteArray &file, LoadError error,
                            const QString &reason, const QString &place = u"file"_s) {
            QTest::newRow(name) << place << file << -1 << error << reason;
        };
        const QString cut = u"the file is %1 short: its counts need %2 bytes, it has %3"_s;
        row("T x E - 1 bytes", QByteArray("\x02\x05\0\0\0\0\0", 7), IncorrectFilesize,
            cut.arg(u"384 bytes"_s, u"391"_s, u"7"_s));
        row("T x E bytes", "\xff\xff" + QByteArray(65023, 0), LoadFailed,
            cut.arg(u"2,024,195 bytes"_s, u"2,089,220"_s, u"65,025"_s));
        // Long enough for two names, as a header of 0 entries would have it.
        row("0 entries", QByteArray("\x02\x00\0\0\0", 5) + QByteArray(66, 'n'), LoadFailed,
            u"the file has no entries per tileset"_s);
        row("0 tilesets", QByteArray("\0\x02\0\0\0", 5), LoadFailed, u"the file has no tilesets"_s);
        row("one byte short", fileBytes(numberedTable(2, 3)).chopped(1), LoadFailed,
            cut.arg(u"1 byte"_s, u"263"_s, u"262"_s));
        row("one byte", "\x01", LoadFailed, u"the file is 1 byte short of its two counts"_s);
        row("empty", {}, LoadFailed, u"the file is empty"_s);
        for (const int entries : {2, 4})
            QTest::addRow("import of %d entries into 3", entries)
                << u"file"_s << fileBytes(numberedTable(2, entries)) << 3 << IncompatibleEntries
                << u"the document has 3 entries per tileset; this file has %1"_s.arg(entries);
        row("missing", {}, LoadFailed, u"no such file"_s, u"missing"_s);
        row("folder", {}, LoadFailed, u"is a folder"_s, u"folder"_s);
        row("fifo", {}, LoadFailed, u"pipes are refused; save it to a file first"_s, u"fifo"_s);
        row("unreadable", "\x01\x01", LoadFailed, u"permission denied"_s, u"unreadable"_s);
    }
    void failedLoadChangesNothing()
    {
        const auto [place, file, requiredEntries] =
            fetch<QString, QByteArray, int>("place", "file", "requiredEntries");
        QVERIFY(place == u"folder" ? QDir().mkpath(place)
                : place == u"fifo" ? mkfifo("fifo", 0600) == 0
                                   : place == u"missing" || !write(place, file).isEmpty());
        // Root reads any file: the unreadable one is read as another user.
        QVERIFY(place != u"unreadable" || (chmod("unreadable", 0) == 0 && chmod(".", 0711) == 0));
        const bool asOther = place == u"unreadable" && geteuid() == 0;
        if (asOther && seteuid(65534) != 0)
            QSKIP("root cannot read as another user here");
        TilesetTable table = numberedTable(4, 6);
        QString reason;
        const LoadError error = readTilesetFile(place, requiredEntries, {}, table, &reason);
        QVERIFY(!asOther || seteuid(0) == 0);
        QCOMPARE(std::tuple(error, reason), (fetch<LoadError, QString>("error", "reason")));
        QVERIFY(table == numberedTable(4, 6));
    }

    // Loading pumps once per entry record and reads the records in pieces of at most 256 KB,
    // pumping between them, then the bytes after them; saving pumps once per tileset, writes
    // those bytes back and cuts the file to its length.
    // The bar goes up by 100 / (T - 1) before each tileset while the total stays within 100.
    void progress_data()
    {
        // bar: its first values, loading and saving alike
        addColumns<int, int, int, QList<float>>("tilesets", "entries", "pieces", "bar");
        QTest::newRow("1 x 9") << 1 << 9 << 1 << QList<float>{};
        QTest::newRow("2 x 9") << 2 << 9 << 1 << QList<float>{100.0f};
        QTest::newRow("255 x 255") << 255 << 255 << 9 << QList<float>{100.0 / 254, 200.0 / 254};
    }
    void progress()
    {
        auto [tilesets, entries] = fetch<int, int>("tilesets", "entries");
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
        disk.setData(fileBytes(numberedTable(tilesets, entries)) + "trailing bytes are kept");
        disk.open(QIODevice::ReadOnly);
        QList<float> loading, saving;
        TilesetTable table;
        const auto seen = [&disk](QList<float> &values) -> FileProgress {
            return {[&values](float v) { values.append(v); }, [&disk] { ++disk.pumps; }};
        };
        QCOMPARE(readTilesetDevice(disk, disk.size(), -1, seen(loading), table), LoadError::None);
        QCOMPARE(disk.pumps, tilesets * entries);
        QTEST(int(disk.reads.size()) - 2, "pieces"); // after the counts, before the trailing
        for (qsizetype i = 2; i < disk.reads.size(); ++i)
            QVERIFY(disk.reads[i].first <= 256 * 1024 &&
                    disk.reads[i].second > disk.reads[i - 1].second);
        QVERIFY(writeTilesetFile(table, write(u"out.dat"_s, QByteArray(99999, 'x')), seen(saving)));
        // The header, records and trailing bytes, and cut to that length.
        QCOMPARE(std::pair(disk.pumps, read(u"out.dat"_s)),
                 std::pair(tilesets * (entries + 1), disk.data()));
        QFETCH(QList<float>, bar);
        // Never before the last tileset.
        QCOMPARE(std::tuple(loading.size(), loading.first(bar.size()), saving),
                 std::tuple(std::max(0, tilesets - 1), bar, loading));
    }

    // Bytes after the last record stay after it when a tileset is added after the last (a
    // delete is the same replacement of records) and through a merge (ours'); an import
    // reads none.
    void trailingBytes_data()
    {
        addColumns<TilesetTable, QByteArray>("table", "saved");
        const TilesetTable plain = numberedTable(2, 3), x = with(plain, 1, 0, "x");
        TilesetTable tail = plain, imported;
        tail.setTrailingBytes("!");
        QTest::newRow("added") << inserted(tail, 2, "") << fileBytes(inserted(plain, 2, "")) + '!';
        QTest::newRow("merged") << mergeTilesets(plain, tail, x).merged << fileBytes(x) + '!';
        readTilesetFile(write(u"tail.dat"_s, fileBytes(plain) + '!'), 3, {}, imported);
        QTest::newRow("imported") << imported << fileBytes(plain);
    }
    void trailingBytes()
    {
        QFETCH(TilesetTable, table);
        QTEST(writeTilesetFile(table, u"t.dat"_s, {}) ? read(u"t.dat"_s) : QByteArray(), "saved");
    }

    // A save completes or leaves the old file byte for byte, and the file stays the same
    // file: its names, owner, group and mode, in place where a new file cannot take them.
    // A FIFO, a folder or a link loop is refused in tst_hmkset, run as hmkset runs.
    void save_data()
    {
        // before: "file", "link", "hard link", "another's file", or the folder the file is
        // in: "read-only", "read-only and full" (root saves as another user), "sticky"
        // (the file root's, saved as another user), "append-only"; error: empty when saved
        addColumns<QString, int, TilesetTable, QString>("before", "mode", "table", "error");
        const auto row = [](const char *name, const QString &before, int mode, int tilesets,
                            int entries, const QString &error = {}) {
            TilesetTable table = numberedTable(tilesets, entries);
            table.setTrailingBytes(before == u"hard link" ? "tail" : ""); // written in place
            QTest::newRow(name) << before << mode << table << error;
        };
        const QString tooMany = u"more than 255 tilesets or entries per tileset"_s;
        const QString denied = u"permission denied"_s;
        row("255 x 255, 0640 kept", u"file"_s, 0640, 255, 255);
        // 31 records of 255 entries fill a write batch of 256 KB.
        row("32 x 255, a batch and one", u"file"_s, 0640, 32, 255);
        row("setuid, setgid and sticky kept", u"file"_s, 07755, 3, 3);
        row("read-only: root saves, kept", u"file"_s, 0444, 3, 3, geteuid() ? denied : QString());
        row("a link stays, its file is saved", u"link"_s, 0640, 3, 3);
        row("a hard link stays, bytes after the records too", u"hard link"_s, 0640, 3, 3);
        row("another's file keeps its owner", u"another's file"_s, 02640, 3, 3);
        row("read-only folder: in place, cut", u"read-only"_s, 0666, 3, 3);
        row("read-only folder, full: untouched", u"read-only and full"_s, 0666, 3, 9,
            u"file too large"_s);
        row("read-only file and folder", u"read-only"_s, 0444, 3, 3, denied);
        row("sticky folder: in place", u"sticky"_s, 0666, 3, 3);
        row("append-only folder: in place", u"append-only"_s, 0640, 3, 3);
        row("256 tilesets", u"file"_s, 0640, 256, 1, tooMany);
        row("256 entries", u"file"_s, 0640, 1, 256, tooMany);
    }
    void save()
    {
        const auto [before, mode, table, error] =
            fetch<QString, int, TilesetTable, QString>("before", "mode", "table", "error");
        const bool root = geteuid() == 0;
        if (!root && (before == u"another's file" || before == u"sticky"))
            QSKIP("only root gives a file another owner");
        QTemporaryDir dir; // one for each row, whose mode the row sets
        const QString target = dir.filePath(u"hmkset.dat"_s);
        const QString file = before.endsWith(u"link") ? dir.filePath(u"linked.dat"_s) : target;
        const QByteArray old(400, 'o'), name = QFile::encodeName(write(file, old));
        QVERIFY(before != u"link" || QFile::link(file, target));
        QVERIFY(before != u"hard link" || link(name, QFile::encodeName(target)) == 0);
        QVERIFY(before != u"another's file" || chown(name, 65534, 65534) == 0);
        QCOMPARE(chmod(name, mode), 0);
        const auto identity = [&name] {
            struct stat status = {};
            stat(name, &status);
            return std::tuple(status.st_mode, status.st_uid, status.st_gid);
        };
        const auto kept = identity();

        // Root writes into any folder: the folder's mode only holds for another user.
        const bool readOnly = before.startsWith(u"read-only");
        const bool asOther = root && (readOnly || before == u"sticky");
        const QByteArray folder = QFile::encodeName(dir.path());
        QCOMPARE(chmod(folder, readOnly ? 0555 : before == u"sticky" ? 01777 : 0700), 0);
        const auto chattr = [&dir](const QString &flag) {
            const QString quiet = u"chattr \"$0\" \"$1\" 2>/dev/null"_s;
            return QProcess::execute(u"sh"_s, {u"-c"_s, quiet, flag, dir.path()}) == 0;
        };
        if (before == u"append-only" && !chattr(u"+a"_s))
            QSKIP("no append-only folder here");
        if (asOther && seteuid(65534) != 0)
            QSKIP("root cannot save as another user here");
        rlimit unlimited = {};
        getrlimit(RLIMIT_FSIZE, &unlimited);
        const rlimit full = {600, unlimited.rlim_max}; // past the old length, short of the new
        signal(SIGXFSZ, SIG_IGN);
        QVERIFY(!before.endsWith(u"full") || setrlimit(RLIMIT_FSIZE, &full) == 0);
        QString why;
        const bool saved = writeTilesetFile(table, target, {}, &why);
        setrlimit(RLIMIT_FSIZE, &unlimited);
        QVERIFY(!asOther || seteuid(0) == 0);
        QVERIFY((before != u"append-only" || chattr(u"-a"_s)) && chmod(folder, 0700) == 0);

        // No new file is left beside it.
        const QDir::Filters all = QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden;
        QCOMPARE(std::tuple(why, saved, identity(), read(file), QFileInfo(target).symLinkTarget(),
                            QDir(dir.path()).entryList(all).size()),
                 std::tuple(error, error.isEmpty(), kept, saved ? fileBytes(table) : old,
                            before == u"link" ? file : QString(), file == target ? 1 : 2));
    }

    // Each search, then the replacement of what it found, redone and undone.
    void findAndReplace_data()
    {
        // found: each field's tileset and entry; a name has no entry
        // replacement: every field found changes
        // entry0: of tileset 1, afterwards
        addColumns<SearchOptions, QList<FieldAddress>, QString, int, QByteArray>(
            "options", "found", "replacement", "cut", "entry0");
        const auto row = [](const char *name, SearchOptions options, QList<FieldAddress> found,
                            QStringView replacement, int cut, QByteArray entry0) {
            QTest::newRow(name) << options << found << replacement.toString() << cut << entry0;
        };
        // A replaced field is stored as an edit stores it: terminated, then padded.
        const QByteArray rock = storeFixedText("rock012.bmp", EntryWidth);
        const QByteArray stone = storeFixedText("stone012.bmp", EntryWidth);
        row("any case, names and entries", {u"rock"_s}, {{1}, {1, 0}, {2, 2}}, u"stone", 0, stone);
        row("match case", {u"rock"_s, true}, {{1, 0}}, u"stone", 0, stone);
        row("text after a NUL is no text", {u"grass"_s}, {{1, 1}}, u"moss", 0, rock);
        row("whole name, padding aside", {u"rock garden"_s, false, true}, {{1}}, u"x", 0, rock);
        row("whole field, not a part", {u"rock"_s, false, true}, {}, u"stone", 0, rock);
        row("cut at the width, and counted", {u"012"_s}, {{1, 0}, {2, 2}}, QString(30, u'x'), 2,
            QByteArray("rock") + QByteArray(28, 'x'));
        // "Rock gardens" and its padding come to 34 characters: the blanks go, no NUL.
        row("padding that falls off is no cut", {u"garden"_s}, {{1}}, u"gardens", 0, rock);
        row("filling the field exactly is no cut", {u"rock012"_s, true}, {{1, 0}},
            QString(28, u'x'), 0, QByteArray(28, 'x') + ".bmp");
        row("entries only", {u"rock"_s, false, false, false}, {{1, 0}, {2, 2}}, u"stone", 0, stone);
        row("Z in any case", {u"zz"_s}, {{1, 3}}, u"q", 0, rock);
    }
    void findAndReplace()
    {
        const auto [options, replacement, cut] =
            fetch<SearchOptions, QString, int>("options", "replacement", "cut");
        // Tileset 1 holds the odd fields: a name padded with blanks and no terminator, text
        // after a NUL, a field never written, a full-width entry.
        auto table = with(with(numberedTable(3, 4), 1, 0, "rock012.bmp"), 2, 2, "ROCK012.BMP");
        table.setTilesetName(1, padFixedText("Rock garden", NameWidth));
        table.setEntry(1, 1, padded("grass", '\0', EntryWidth - 4) + "rock");
        table.setEntry(2, 1, QByteArray(EntryWidth, '\0'));
        table.setEntry(3, 1, QByteArray(EntryWidth, 'Z'));
        const TilesetTable before = table;
        const QList<FieldAddress> matches = findFields(table, options);
        QTEST(matches, "found");
        const FieldReplacement r = replaceFields(table, matches, options, replacement);
        QCOMPARE(std::pair(r.changedFields, r.cutFields), std::pair(int(matches.size()), cut));
        r.edit.redo(table);
        QTEST(table.entry(0, 1).toByteArray(), "entry0");
        r.edit.undo(table);
        QVERIFY(table == before);
    }

    // The status bar's account of a field, and its bytes sixteen to a line.
    void describeFields_data()
    {
        addColumns<QByteArray, QString>("field", "described");
        const auto row = [](const char *name, const QByteArray &field, const QString &described) {
            QTest::newRow(name) << field << described;
        };
        row("typed", storeFixedText("abc", EntryWidth), u"3 / 32 characters · ends with NUL"_s);
        row("empty name", storeFixedText("", NameWidth), u"0 / 33 characters · ends with NUL"_s);
        row("never written", QByteArray(EntryWidth, '\0'), u"0 / 32 characters · never written"_s);
        row("full", QByteArray(NameWidth, 'x'), u"33 / 33 characters · fills the field"_s);
        row("one short of full", storeFixedText(QByteArray(31, 'x'), EntryWidth),
            u"31 / 32 characters · ends with NUL"_s);
    }
    void describeFields()
    {
        QFETCH(QByteArray, field);
        QTEST(describeField(field), "described");
        const QStringList lines = hexBytes(field).split(u'\n');
        QCOMPARE(lines.size(), (field.size() + 15) / 16);
        QCOMPARE(lines.first(), QString::fromLatin1(field.first(16).toHex(' ').toUpper()));
    }
};

QTEST_GUILESS_MAIN(TestDocument)
#include "tst_document.moc"

#include "datatable.h"
#include "fixedfield.h"
#include "jsonbuild.h"
#include "jsondump.h"
#include "tilesetfiles.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <csignal>
#include <sys/stat.h>

using namespace Qt::StringLiterals;
using namespace TestFiles;

class TestHmkset : public QObject
{
    Q_OBJECT

    // The exit code (-1 when the tool crashed or hung), stdout and stderr.
    using Run = std::tuple<int, QByteArray, QByteArray>;
    const QString mHmkset = QStringLiteral(HMKSET_PATH);
    QTemporaryDir mDir; // the current folder, where every file is and every command runs

    // A program, its arguments after it, run the way a modder's script runs it.
    Run runCommand(QStringList command)
    {
        QProcess process;
        process.start(command.takeFirst(), command);
        process.closeWriteChannel();
        const bool ok = process.waitForFinished() && process.exitStatus() == QProcess::NormalExit;
        return {ok ? process.exitCode() : -1, process.readAllStandardOutput(),
                process.readAllStandardError()};
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(QDir::setCurrent(mDir.path()));
        const TilesetTable in = numberedTable(2, 3);
        // Blanks and a control byte stay visible; padding without an end mark is shown whole.
        // An empty name and an entry never written show apart.
        auto changed = with(with(with(in, 0, -1, "%1 50% caf\xe9 \x80"), 0, 2, " a\t"), 1, -1, "");
        changed.setEntry(0, 1, padFixedText("wide", EntryWidth));
        changed.setEntry(1, 1, QByteArray(EntryWidth, '\0'));
        write(u"in.dat"_s, fileBytes(in) + '!');
        write(u"in2.dat"_s, fileBytes(in) + '?');
        write(u"changed.dat"_s, fileBytes(changed));
        write(u"fewer.dat"_s, fileBytes(with(numberedTable(2, 2), 1, 1, "new")));
        write(u"more.dat"_s, fileBytes(numberedTable(3, 3)));
        const TilesetTable top = inserted(inserted(in, 0, "Top"), 2, "Mid");
        write(u"top.dat"_s, fileBytes(with(with(top, 3, -1, "Moss"), 3, 0, "e")));
        write(u"short.dat"_s, QByteArray("\n\n\0\0\0", 5));
        const QByteArray one = dumpJson(numberedTable(1, 1));
        write(u"256.json"_s, QByteArray(one).replace("\"tilesets\": 1", "\"tilesets\": 256"));
        write(u"in.json"_s, dumpJson(in).replace(R"("1:2")", "\"" + QByteArray(33, 'x') + "\""));
        write(u"key.json"_s, R"({"format": "hmkset", "Sets": []})");
        write(u"bad.json"_s, "{\n}}");
        // Raw controls in a string, a key given twice (the second spelt with an escape), and
        // spacing up to the size limit and one byte over.
        write(u"nul.json"_s, QByteArray(one).insert(105, '\0'));
        write(u"us.json"_s, QByteArray(one).insert(105, '\x1f'));
        write(u"escaped.json"_s, QByteArray(one).replace(91, 6, R"("name": "b", "na\u006de")"));
        write(u"limit.json"_s, one.leftJustified(MaximumJsonBytes, ' '));
        write(u"over.json"_s, one.leftJustified(MaximumJsonBytes + 1, ' '));
        write(u"big.dat"_s, fileBytes(numberedTable(255, 255)));
        write(u"big.json"_s, dumpJson(numberedTable(255, 255)));
        // For git: ours renames the first tileset, theirs adds one above it and changes the last.
        const auto base = numberedTable(4, 2), theirs = with(inserted(base, 0, "Top"), 4, 1, "d");
        write(u"git-base.dat"_s, fileBytes(base));
        write(u"git-ours.dat"_s, fileBytes(with(base, 0, -1, "Moss")));
        write(u"git-theirs.dat"_s, fileBytes(theirs));
        write(u"git-merged.dat"_s, fileBytes(with(theirs, 1, -1, "Moss")));
        write(u"bad.csv"_s, "Tileset,x\n");
        write(u"add.csv"_s, "Tileset,Name\n2,Added\n");
        write(u"same.csv"_s, "Tileset,Name\n0,Set 0\n");
        QVERIFY(QFile::link(u"in.dat"_s, u"link.dat"_s)); // a link to a file is that file
        QVERIFY(QDir().mkdir(u"folder"_s));
        QCOMPARE(mkfifo("fifo", 0600), 0);
    }

    // Each field shape as dump shows it, and build gives back the same bytes.
    void fieldsRoundTrip_data()
    {
        // field: 33 bytes: a name; 32: an entry
        addColumns<QByteArray, QByteArray>("field", "shown");
        const auto row = [](const char *name, const QByteArray &field, const QByteArray &shown) {
            QTest::newRow(name) << field << shown;
        };
        row("empty name", storeFixedText("", NameWidth), "\"\"");
        row("all-NUL name", QByteArray(33, '\0'), "null");
        row("padded, no NUL", "ab" + QByteArray(30, ' '), "\"ab" + QByteArray(30, ' ') + '"');
        row("escapes", storeFixedText("caf\xe9 \x80\x96\n\t\x01\"\\\x7f\x81\xa0\xad", 32),
            "\"café €–\\n\\t\\u0001\\\"\\\\\\u007f\\u0081\\u00a0\\u00ad\"");
        row("text, then NULs only", "ab" + QByteArray(30, '\0'),
            "{\"hex\": \"6162" + QByteArray("00").repeated(30) + "\"}");
        row("NUL then text", QByteArray("ab\0co", 5) + QByteArray(27, ' '),
            "{\"hex\": \"616200636f" + QByteArray("20").repeated(27) + "\"}");
        row("31 characters and NUL", QByteArray(31, 'x') + '\0', '"' + QByteArray(31, 'x') + '"');
    }
    void fieldsRoundTrip()
    {
        auto [field, shown] = fetch<QByteArray, QByteArray>("field", "shown");
        const bool isName = field.size() == NameWidth;
        TilesetTable table = numberedTable(1, 1);
        isName ? table.setTilesetName(0, field) : table.setEntry(0, 0, field);
        const QByteArray json = dumpJson(table);
        QVERIFY2(json.contains(isName ? "\"name\": " + shown + ',' : "\n        " + shown + '\n'),
                 json.constData());
        const BuildResult built = buildTilesets(json);
        QCOMPARE(std::pair(built.error, built.tilesets == table), std::pair(QString(), true));
    }

    void commands_data()
    {
        // arguments: on the files initTestCase() writes
        // shown: the start of stderr when there is any, else stdout
        addColumns<QString, int, QString>("arguments", "exitCode", "shown");
        const auto row = [](const char *command, int exitCode, QStringView shown) {
            QTest::newRow(command) << QString::fromLatin1(command) << exitCode << shown.toString();
        };
        const QString info =
            u"tilesets: %1\nentries per tileset: %2\nfile length: %3\nexpected length: %4\n"_s;
        row("info in.dat", 0, info.arg(2).arg(3).arg(264).arg(263) + u"trailing bytes: 1\n"_s);
        row("info more.dat", 0, info.arg(3).arg(3).arg(392).arg(392) + u"trailing bytes: 0"_s);
        row("info short.dat", 0, info.arg(10).arg(10).arg(5).arg(3535) + u"missing bytes: 3530"_s);
        // Each failed read or write: the editor's message, the file and why.
        const QString cut = u"hmkset: Error: Incorrect filesize short.dat: the file is 3,530 bytes "
                            u"short: its counts need 3,535 bytes, it has 5\n"_s;
        const QString loading = u"hmkset: Error while loading! "_s;
        const QString saving = u"hmkset: Error while saving! "_s;
        row("dump short.dat", 1, cut);
        row("info fifo", 1, loading + u"fifo: pipes are refused; save it to a file first\n"_s);
        row("dump folder", 1, loading + u"folder: is a folder\n"_s);
        row("-h", 0, u"Usage: hmkset COMMAND ARGUMENTS\n"_s);
        row("help dump build", 2, u"hmkset: help takes at most one command\n"_s);
        row("info in.dat in.dat", 2, u"hmkset: info takes 1 argument(s), got 2\n"_s);
        row("build in.json out.dat", 1, u"in.json: sets[1].entries[2]: 33 characters, at most 32");
        row("build 256.json out.dat", 1,
            u"256.json: tilesets: expected a whole number from 1 to 255, got 256\n"_s);
        row("build big.json big2.dat", 0, {}); // the largest file
        row("dump in.dat -o x.dat", 2, u"hmkset: dump takes 1 argument(s), got 3\n"_s);
        row("diff in.dat link.dat", 0, {});
        row("resave in.dat in.dat/out.dat", 1, saving + u"in.dat/out.dat: no such folder\n"_s);
        row("build key.json out.dat", 1, u"key.json: top level: unknown key \"Sets\"\n"_s);
        row("build - out.dat", 1, u"<stdin>: invalid JSON at byte 0 (line 1, column 1)"_s);
        row("build bad.json out.dat", 1, u"bad.json: invalid JSON at byte 3 (line 2, column 2): ");
        const QString raw = u".json: invalid JSON at byte 105 (line 7, column 21): raw control "
                            u"character U+00%1 inside a string; write it as \\u00%2\n"_s;
        row("build nul.json out.dat", 1, u"nul"_s + raw.arg(u"00"_s, u"00"_s));
        row("build us.json out.dat", 1, u"us"_s + raw.arg(u"1F"_s, u"1f"_s));
        row("build escaped.json out.dat", 1,
            u"escaped.json: invalid JSON at byte 104 (line 7, column 20): key \"name\" given"_s);
        // Endless input stops at the limit.
        row("build limit.json limit.dat", 0, {});
        row("build over.json out.dat", 2, u"hmkset: over.json: more than 16 MiB (16,777,216"_s);
        row("build /dev/zero out.dat", 2, u"hmkset: /dev/zero: more than 16 MiB"_s);
        // diff lists what differs, one field a line; % in a name is no placeholder.
        row("diff in.dat in.dat", 0, {});
        row("diff in.dat changed.dat", 1,
            u"tileset 0 name: \"Set 0\" -> \"%1 50% café €\"\n"
            u"tileset 0 entry 2: \"0:2\" -> \" a\\t\"\ntileset 1 name: \"Set 1\" -> \"\"\n"_s +
                u"tileset 1 entry 0: \"1:0\" -> \"wide%1\"\n"_s.arg(QString(28, u' ')) +
                u"tileset 1 entry 1: \"1:1\" -> (never written)\ntrailing bytes: 1 -> 0\n"_s);
        row("diff in.dat in2.dat", 1, u"trailing bytes: 1, changed\n"_s);
        row("diff in.dat more.dat", 1, u"tilesets: 2 -> 3\ntileset 2 added: \"Set 2\"\n"_s);
        row("diff more.dat in.dat", 1, u"tilesets: 3 -> 2\ntileset 2 removed: \"Set 2\"\n"_s);
        // Lined up: an insert is one line, and a tileset is compared with its own, renamed.
        row("diff in.dat top.dat", 1,
            u"tilesets: 2 -> 4\ntileset 0 added: \"Top\"\ntileset 2 added: \"Mid\"\n"
            u"tileset 3 (was 1) name: \"Set 1\" -> \"Moss\"\n"_s);
        row("diff top.dat in.dat", 1,
            u"tilesets: 4 -> 2\ntileset 0 removed: \"Top\"\ntileset 2 removed: \"Mid\"\n"
            u"tileset 1 (was 3) name: \"Moss\" -> \"Set 1\"\n"_s);
        // The entries both files have are still compared.
        row("diff in.dat fewer.dat", 1,
            u"entries per tileset: 3 -> 2\ntileset 1 entry 1: \"1:1\" -> \"new\"\n"_s);
        row("diff in.dat short.dat", 2, cut);
        row("diff missing.dat in.dat", 2, loading + u"missing.dat: no such file\n"_s);
        row("merge in.dat folder in.dat", 2, loading + u"folder: is a folder\n"_s);
        row("merge in.dat in.dat in.dat -o none/out.dat", 2,
            saving + u"none/out.dat: no such folder\n"_s);
        row("merge -o big.dat big.dat big.dat big.dat", 0, {}); // the largest file, over itself
        // Refused at once, untouched: opening a FIFO would wait, a new file would replace it.
        row("resave in.dat fifo", 1,
            saving + u"fifo: pipes are refused; save it to a file first\n"_s);
        row("resave in.dat folder", 1, saving + u"folder: is a folder\n"_s);
        // Tables out and in: anything refused writes nothing.
        row("export in.dat t.xlsx", 0, {});
        row("export in.dat t.txt", 2,
            u"hmkset: cannot write the table t.txt: a table is a .csv, .tsv or .xlsx file\n"_s);
        row("import in.dat same.csv", 0, u"nothing to change\n"_s);
        row("import in.dat bad.csv -o out.dat", 2,
            u"hmkset: bad.csv: Row 1, column B: \u201cx\u201d is not a column"_s);
        row("import in.dat add.csv -o out.dat", 2,
            u"hmkset: add.csv: the table adds 1 tileset after the last; give --append to add "
            u"them. Nothing written.\n"_s);
        row("import in.dat add.csv -o added.dat --append", 0, u"1 field changed\n"_s);
        row("import in.dat missing.csv -o out.dat", 2,
            u"hmkset: cannot import missing.csv: no such file; nothing written\n"_s);
    }
    void commands()
    {
        const auto [arguments, exitCode, shown] =
            fetch<QString, int, QString>("arguments", "exitCode", "shown");
        const auto [code, out, err] = runCommand(QStringList{mHmkset} + arguments.split(u' '));
        QCOMPARE(code, exitCode);
        const QString output = QString::fromUtf8(err.isEmpty() ? out : err);
        QVERIFY2(output.startsWith(shown), qPrintable(output));
        // Errors go to stderr, differences to stdout; a refusal writes nothing.
        QCOMPARE(err.isEmpty(), exitCode == 0 || (exitCode == 1 && arguments.startsWith(u"diff")));
        QVERIFY(!QFile::exists(u"out.dat"_s));
    }

    // Three tilesets of two entries as base; OUT is OURS. An empty merged: nothing written.
    void merge_data()
    {
        // shown: stdout, or stderr when there is any
        addColumns<TilesetTable, TilesetTable, int, TilesetTable, QString>(
            "ours", "theirs", "exitCode", "merged", "shown");
        const auto row = [](const char *name, const TilesetTable &ours, const TilesetTable &theirs,
                            int exitCode, const TilesetTable &merged, const QString &shown = {}) {
            QTest::newRow(name) << ours << theirs << exitCode << merged << shown;
        };
        const TilesetTable base = numberedTable(3, 2);
        const TilesetTable ours = with(base, 1, 0, "oak"), oursAndMore = with(ours, 1, 1, "c");
        row("each side changes its own", with(base, 0, 1, "a"), with(base, 2, -1, "Moss"), 0,
            with(with(base, 0, 1, "a"), 2, -1, "Moss"));
        row("the same change on both sides", ours, ours, 0, ours);
        row("a conflict keeps ours", ours, with(with(base, 1, 0, "pine"), 2, 1, "c"), 1,
            with(ours, 2, 1, "c"),
            u"tileset 1 entry 0: base \"1:0\", ours \"oak\", theirs \"pine\"\n"_s);
        row("inserted on both sides, ours first", inserted(base, 1, "Ours"),
            inserted(base, 1, "Theirs"), 0, inserted(inserted(base, 1, "Theirs"), 1, "Ours"));
        row("the same tileset inserted on both sides", inserted(ours, 1, "Both"),
            inserted(base, 1, "Both"), 0, inserted(ours, 1, "Both"));
        row("inserted at the top, the last deleted", inserted(base, 0, "Top"),
            with(deleted(base, 2), 1, 1, "d"), 0,
            with(deleted(inserted(base, 0, "Top"), 3), 2, 1, "d"));
        const TilesetTable gone = deleted(base, 0), later = with(gone, 1, 1, "d");
        row("deleted by ours, changed by theirs", gone, with(base, 0, -1, "Elm"), 1, gone,
            u"tileset 0: base \"Set 0\", ours removed, theirs changed \"Elm\"\n"_s);
        row("deleted by theirs, a later change", base, later, 0, later);
        row("the same change, theirs changed more", ours, oursAndMore, 0, oursAndMore);
        row("entry counts that differ", base, numberedTable(3, 3), 2, TilesetTable(),
            u"hmkset: the files have different numbers of entries per tileset (2 in base.dat, 2 "
            u"in ours.dat, 3 in theirs.dat); nothing merged\n"_s);
    }
    void merge()
    {
        const auto [ours, theirs, merged] =
            fetch<TilesetTable, TilesetTable, TilesetTable>("ours", "theirs", "merged");
        const auto [code, out, err] = runCommand(
            {mHmkset, u"merge"_s, write(u"base.dat"_s, fileBytes(numberedTable(3, 2))),
             write(u"ours.dat"_s, fileBytes(ours)), write(u"theirs.dat"_s, fileBytes(theirs))});
        QTEST(code, "exitCode");
        QTEST(QString::fromUtf8(err.isEmpty() ? out : err), "shown");
        QCOMPARE(read(u"ours.dat"_s), fileBytes(merged.isNull() ? ours : merged));
    }

    // Commands a shell runs. A save cut short leaves the old file whole: on a full disk (a
    // small tmpfs, where one can be mounted), at the file size limit, and when the limit
    // kills the process midway; the message names the path and the system's reason. A name
    // that is not UTF-8 writes nothing.
    void shellCommands_data()
    {
        // exitCode: 99: the old file changed
        addColumns<QStringList, int, QString>("command", "exitCode", "shown");
        // After limit, the save over a copy of in.dat; $0 is hmkset.
        const QString save = u"; cp in.dat full/out.dat && \"$0\" resave big.dat full/out.dat; "
                             u"s=$?; cmp -s in.dat full/out.dat || exit 99; exit $s"_s;
        const auto run = [this](QString s) { return QStringList{u"sh"_s, u"-c"_s, s, mHmkset}; };
        const auto sh = [&](QString limit) { return run(u"mkdir -p full; "_s + limit + save); };
        const QString failed = u"hmkset: Error while saving! full/out.dat: %1\n"_s;
        QTest::newRow("disk full")
            << QStringList{u"unshare"_s, u"-rm"_s} + sh(u"mount -t tmpfs -o size=64k tmpfs full"_s)
            << 1 << failed.arg(u"no space left on device"_s);
        QTest::newRow("file size limit")
            << sh(u"trap '' XFSZ; ulimit -f 1024"_s) << 1 << failed.arg(u"file too large"_s);
        QTest::newRow("killed at the file size limit")
            << sh(u"ulimit -c 0; ulimit -f 1024; exec 2>/dev/null"_s) << 128 + SIGXFSZ << QString();
        QTest::newRow("a link loop stays")
            << run(u"rm -f loop; ln -s loop loop; \"$0\" resave in.dat loop; s=$?; "
                   u"test -L loop || exit 99; exit $s"_s)
            << 1 << u"hmkset: Error while saving! loop: too many levels of symbolic links\n"_s;
        // A file written under either name goes on to the save after it, which succeeds.
        QTest::newRow("a name not UTF-8")
            << sh(u"\"$0\" resave in.dat \"$(printf '\\377x.dat')\"; s=$?; [ -e *x.dat ] || exit $s"_s)
            << 2 << u"hmkset: \"\\xffx.dat\" is not UTF-8, and hmkset takes UTF-8 names only\n"_s;
        // An import with nothing to change leaves FILE as it was, and still writes OUT.
        QTest::newRow("an import that changes nothing")
            << run(u"cp in.dat keep.dat; touch -d @9 keep.dat; \"$0\" import keep.dat same.csv || "
                   u"exit; [ $(stat -c %Y keep.dat) = 9 ] || exit 99; \"$0\" import keep.dat "
                   u"same.csv -o copy.dat; [ -e copy.dat ] || exit 99"_s)
            << 0 << QString();
        // git merges two branches that changed different tilesets through the merge driver.
        QTest::newRow("git's merge driver")
            << run(uR"(set -e; g() { git -c user.name=t -c user.email=t@t "$@"; }
            rm -rf repo; g init -q -b main repo; cd repo; echo 'hmkset.dat merge=hmkset' > .gitattributes
            g config merge.hmkset.driver "'$0' merge %O %A %B -o %A"
            cp ../git-base.dat hmkset.dat; g add .; g commit -qm base
            g checkout -qb theirs; cp ../git-theirs.dat hmkset.dat; g commit -qam theirs
            g checkout -q main; cp ../git-ours.dat hmkset.dat; g commit -qam ours
            g merge -q --no-edit theirs; cmp -s hmkset.dat ../git-merged.dat)"_s)
            << 0 << QString();
    }
    void shellCommands()
    {
        QFETCH(QStringList, command);
        const auto [code, out, err] = runCommand(command);
        if (err.startsWith("unshare:") || err.startsWith("mount:"))
            QSKIP("no tmpfs can be mounted here");
        QTEST(code, "exitCode");
        QTEST(QString::fromUtf8(err), "shown");
    }
};

QTEST_GUILESS_MAIN(TestHmkset)
#include "tst_hmkset.moc"

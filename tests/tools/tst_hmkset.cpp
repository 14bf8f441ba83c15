#include "fixedfield.h"
#include "jsonbuild.h"
#include "jsondump.h"
#include "tilesetfiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <functional>
#include <sys/resource.h>

using namespace Qt::StringLiterals;

namespace {

struct Run
{
    int exitCode = -1; // -1 when the tool crashed or hung
    QByteArray out;
    QByteArray err;
};

// The built tool, used the way a modder's script uses it.
Run hmkset(const QStringList &arguments, const QByteArray &input = {},
           const std::function<void(QProcess &)> &configure = {})
{
    QProcess process;
    if (configure)
        configure(process);
    process.start(QStringLiteral(HMKSET_PATH), arguments);
    process.waitForStarted();
    process.write(input);
    process.closeWriteChannel();
    const bool exited =
        process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit;
    return {exited ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

QByteArray header(int t, int e)
{
    return QByteArray(1, char(t)) + char(e) + QByteArray(3, '\0');
}

QByteArray field(const QByteArray &content, int width, char fill = '\0')
{
    return content + QByteArray(width - content.size(), fill);
}

// Two tilesets of five entries holding every field shape the loader meets, then bytes
// after the last record.
QByteArray oddFile()
{
    QByteArray high; // 0x80-0xA0: the code page's own characters, its gaps, no-break space
    for (int c = 0x80; c <= 0xA0; ++c)
        high += char(c);
    return header(2, 5) + field("Grass", NameWidth) + field("grass_a", EntryWidth) +
           field(QByteArray("\0ghost", 6), EntryWidth, ' ') + QByteArray(EntryWidth, 'W') +
           field(QByteArray("ab\0", 3) + QByteArray(28, '-'), EntryWidth, 'z') +
           field("\xe9t\xe9 \x80 5", EntryWidth) + high + QByteArray(EntryWidth, '\xff') +
           field(QByteArray(" lead\0junk", 10), EntryWidth) +
           field(QByteArray(31, 'L'), EntryWidth) + field("abc", EntryWidth, ' ') +
           field("\b\f\n\r\t\x01\x1f\x7f\"\\\xa0\xad", EntryWidth) + QByteArray("garbage\0\xff", 9);
}

} // namespace

class TestHmkset : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fieldsShowAsTextAndComeBack_data();
    void fieldsShowAsTextAndComeBack();
    void handwrittenJsonBuilds();
    void dumpLayout();
    void buildOfDumpIsResave_data();
    void buildOfDumpIsResave();
    void refusedJsonWritesNothing_data();
    void refusedJsonWritesNothing();
    void fileCommandsShowTheEditorsText_data();
    void fileCommandsShowTheEditorsText();
    void writeFailures_data();
    void writeFailures();
    void usage_data();
    void usage();

private:
    QString path(const QString &name) const { return mDir.filePath(name); }

    QTemporaryDir mDir;
};

void TestHmkset::fieldsShowAsTextAndComeBack_data()
{
    QTest::addColumn<QByteArray>("field"); // 33 bytes: a name; 32: an entry
    QTest::addColumn<QByteArray>("shown");

    const auto quoted = [](const QByteArray &text) { return '"' + text + '"'; };
    QTest::newRow("empty name") << storeFixedText("", NameWidth) << quoted("");
    QTest::newRow("full-width name") << QByteArray(33, 'N') << quoted(QByteArray(33, 'N'));
    QTest::newRow("all-NUL name") << QByteArray(33, '\0') << QByteArray("null");
    QTest::newRow("longest terminated entry")
        << QByteArray(31, 'L') + '\0' << quoted(QByteArray(31, 'L'));
    QTest::newRow("padded, no NUL")
        << "ab" + QByteArray(30, ' ') << quoted("ab" + QByteArray(30, ' '));
    // Windows-1252 as UTF-8; escaped: what JSON must, controls, C1, no-break space, soft hyphen.
    QTest::newRow("text")
        << storeFixedText("caf\xe9 \x80\b\f\n\r\t\x01\x1f\"\\\x7f\x81\x8d\x8f\x90\x9d\xa0\xad",
                          EntryWidth)
        << QByteArray(R"("café €\b\f\n\r\t\u0001\u001f\"\\\u007f)"
                      R"(\u0081\u008d\u008f\u0090\u009d\u00a0\u00ad")");
    const auto hex = [](const char *name, const QByteArray &field) {
        QTest::newRow(name) << field << R"({"hex": ")" + field.toHex() + "\"}";
    };
    hex("NUL then text", QByteArray("ab\0cd", 5) + QByteArray(27, ' '));
    hex("NUL then NULs", "ab" + QByteArray(30, '\0'));
    hex("NUL first, then spaces", QByteArray(2, '\0') + QByteArray(30, ' '));
}

void TestHmkset::fieldsShowAsTextAndComeBack()
{
    QFETCH(QByteArray, field);
    QFETCH(QByteArray, shown);
    const bool isName = field.size() == NameWidth;
    TilesetTable table(1, 1);
    table.setTilesetName(0, isName ? field : storeFixedText("Plain", NameWidth));
    table.setEntry(0, 0, isName ? storeFixedText("first", EntryWidth) : field);

    const QByteArray json = dumpJson(table);
    const QByteArray line =
        isName ? "\n      \"name\": " + shown + ",\n" : "\n        " + shown + "\n";
    QVERIFY2(json.contains(line), json.constData());
    const BuildResult built = buildTilesets(json);
    QCOMPARE(built.error, QString());
    QVERIFY(built.tilesets == table);
}

void TestHmkset::handwrittenJsonBuilds()
{
    // Keys in another order, upper-case hex, and the byte order mark of some Windows editors.
    const QByteArray json = TestFiles::read(QStringLiteral(HMKSET_TEST_DATA "/handwritten.json"));
    const BuildResult built = buildTilesets("\xef\xbb\xbf" + json);
    QCOMPARE(built.error, QString());

    TilesetTable expected(2, 3);
    expected.setTilesetName(0, storeFixedText("Forest", NameWidth));
    expected.setEntry(0, 0, storeFixedText("tree_oak", EntryWidth));
    expected.setEntry(2, 0, "0123456789abcdef0123456789ABCDEF");
    expected.setTilesetName(1, "Caf\xe9 \x80" + QByteArray(27, ' '));
    expected.setEntry(0, 1, storeFixedText("", EntryWidth));
    expected.setEntry(1, 1, QByteArray("AB\0", 3) + QByteArray(29, '\xfe'));
    expected.setEntry(2, 1, storeFixedText("\xe9", EntryWidth));
    QVERIFY(built.tilesets == expected);
}

void TestHmkset::dumpLayout()
{
    // Fixed key order and one field a line: a change to one entry is a one-line diff.
    const QByteArray file =
        header(2, 2) + field("Grass", NameWidth) + field("grass_a", EntryWidth) +
        field(QByteArray("\0ghost", 6), EntryWidth, ' ') + field("\xc9t\xe9 \x80", NameWidth) +
        field("\x81", EntryWidth) + QByteArray(EntryWidth, 'W');
    const Run dump = hmkset({u"dump"_s, TestFiles::write(path(u"small.dat"_s), file)});
    QCOMPARE(dump.exitCode, 0);
    QCOMPARE(dump.out, QByteArray(R"({
  "format": "hmkset",
  "tilesets": 2,
  "entriesPerTileset": 2,
  "sets": [
    {
      "name": "Grass",
      "entries": [
        "grass_a",
        null
      ]
    },
    {
      "name": "Été €",
      "entries": [
        "\u0081",
        "WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW"
      ]
    }
  ]
}
)"));
}

void TestHmkset::buildOfDumpIsResave_data()
{
    QTest::addColumn<QByteArray>("file");
    for (const auto &[t, e] : {std::pair(1, 1), {255, 1}, {1, 255}, {255, 255}})
        QTest::addRow("random %dx%d", t, e) << TestFiles::randomFile(t, e, t + e);
    QTest::newRow("odd fields, trailing bytes") << oddFile();
}

void TestHmkset::buildOfDumpIsResave()
{
    QFETCH(QByteArray, file);
    const QString in = TestFiles::write(path(u"in.dat"_s), file);
    const QString resaved = path(u"resaved.dat"_s);
    const QString built = path(u"built.dat"_s);
    // Both replace a longer file; build keeps its permissions.
    for (const QString &out : {resaved, built}) {
        TestFiles::write(out, QByteArray(100000, 'x'));
        QFile::setPermissions(out, QFile::ReadOwner | QFile::WriteOwner);
    }

    QElapsedTimer timer;
    timer.start();
    QCOMPARE(hmkset({u"resave"_s, in, resaved}).exitCode, 0);
    const Run dump = hmkset({u"dump"_s, in});
    QCOMPARE(dump.exitCode, 0);
    const Run build = hmkset({u"build"_s, u"-"_s, built}, dump.out);
    QCOMPARE(build.exitCode, 0);
    QCOMPARE(dump.err + build.err + build.out, QByteArray());
    QVERIFY2(timer.elapsed() < 20000, qPrintable(u"%1 ms"_s.arg(timer.elapsed())));

    const QByteArray bytes = TestFiles::read(resaved);
    QCOMPARE(bytes.size(), 5 + uchar(file[0]) * (33 + 32 * uchar(file[1])));
    QVERIFY(TestFiles::read(built) == bytes);
    QCOMPARE(QFileInfo(built).permissions() & QFile::ReadOther, QFile::Permissions());
}

void TestHmkset::refusedJsonWritesNothing_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("message"); // a pattern; most rows are exact text

    // 4 tilesets of 13 entries: names "Set k", entries "k:j".
    const QByteArray numbered = dumpJson(TestFiles::numberedTable(4, 13));
    const auto edit = [&](const char *from, const QByteArray &to) {
        return QByteArray(numbered).replace(from, to);
    };
    const QByteArray oneSet =
        R"({"format": "hmkset", "tilesets": 1, "entriesPerTileset": 1, "sets": )";
    const auto row = [](const char *name, const QByteArray &json, const QString &message) {
        QTest::newRow(name) << json << QRegularExpression::escape(message);
    };
    const QString badCount = u"%1: expected a whole number from 1 to 255, got %2"_s;
    const QByteArray digits = QByteArray("61").repeated(32);
    const auto hexOf = [](const QByteArray &digits) { return R"({"hex": ")" + digits + "\"}"; };

    QTest::newRow("not JSON") << QByteArray("{\n  \"format\": \"hmkset\",\n  oops\n}")
                              << uR"(invalid JSON at byte \d+ \(line 3, column \d+\): .+)"_s;
    QTest::newRow("empty") << QByteArray()
                           << uR"(invalid JSON at byte 0 \(line 1, column 1\): .+)"_s;
    row("array", "[1, 2]", u"top level: expected an object, got an array"_s);
    row("no format", edit(R"("format": "hmkset",)", ""), uR"(top level: missing key "format")"_s);
    row("misspelt key", edit(R"("tilesets")", R"("tileset")"),
        uR"(top level: unknown key "tileset")"_s);
    row("other format", edit(R"("hmkset")", R"("hmkset2")"),
        uR"(format: expected "hmkset", got "hmkset2")"_s);
    row("format a number", edit(R"("hmkset")", "1"), u"format: expected a string, got a number"_s);
    for (const char *count : {"0", "256", "1.5"}) {
        row(("tilesets " + QByteArray(count)).constData(),
            edit(R"("tilesets": 4)", R"("tilesets": )" + QByteArray(count)),
            badCount.arg(u"tilesets"_s, QString::fromLatin1(count)));
    }
    row("tilesets a string", edit(R"("tilesets": 4)", R"("tilesets": "4")"),
        u"tilesets: expected a number, got a string"_s);
    row("256 entries", edit(R"("entriesPerTileset": 13)", R"("entriesPerTileset": 256)"),
        badCount.arg(u"entriesPerTileset"_s, u"256"_s));

    row("more tilesets than sets", edit(R"("tilesets": 4)", R"("tilesets": 5)"),
        u"sets: 4 tilesets, expected 5"_s);
    row("fewer entries than the arrays",
        edit(R"("entriesPerTileset": 13)", R"("entriesPerTileset": 12)"),
        u"sets[0].entries: 13 entries, expected 12"_s);
    row("last set one entry short", edit(",\n        \"3:12\"", ""),
        u"sets[3].entries: 12 entries, expected 13"_s);
    row("set a string", oneSet + R"(["Set 0"]})", u"sets[0]: expected an object, got a string"_s);
    row("set with a comment", oneSet + R"([{"name": "a", "entries": [null], "comment": 1}]})",
        uR"(sets[0]: unknown key "comment")"_s);
    row("entries null", oneSet + R"([{"name": "a", "entries": null}]})",
        u"sets[0].entries: expected an array, got null"_s);

    row("entry too long", edit(R"("3:12")", '"' + QByteArray(33, 'x') + '"'),
        u"sets[3].entries[12]: 33 characters, at most 32"_s);
    row("name too long", edit(R"("Set 0")", '"' + QByteArray(34, 'x') + '"'),
        u"sets[0].name: 34 characters, at most 33"_s);
    row("character outside the code page", edit(R"("Set 1")", R"("Grass \u0100")"),
        u"sets[1].name: character U+0100 has no Windows-1252 byte"_s);
    row("character outside the BMP", edit(R"("1:0")", R"("tree \ud83d\ude00")"),
        u"sets[1].entries[0]: character U+1F600 has no Windows-1252 byte"_s);
    row("name a boolean", edit(R"("Set 2")", "true"),
        uR"(sets[2].name: expected a string, null or {"hex": ...}, got a boolean)"_s);

    row("hex too short", edit(R"("0:1")", hexOf(digits.first(62))),
        u"sets[0].entries[1].hex: 62 characters, expected 64 hex digits"_s);
    row("entry hex for a name", edit(R"("Set 0")", hexOf(digits)),
        u"sets[0].name.hex: 64 characters, expected 66 hex digits"_s);
    row("hex digit g", edit(R"("0:1")", hexOf("61616g" + digits.sliced(6))),
        u"sets[0].entries[1].hex: 'g' at index 5 is not a hex digit"_s);
    row("hex with a blank", edit(R"("0:1")", hexOf("61 " + digits.sliced(3))),
        u"sets[0].entries[1].hex: U+0020 at index 2 is not a hex digit"_s);
    row("hex a number", edit(R"("0:1")", R"({"hex": 61})"),
        u"sets[0].entries[1].hex: expected a string, got a number"_s);
    row("empty object", edit(R"("0:1")", "{}"), uR"(sets[0].entries[1]: missing key "hex")"_s);
}

void TestHmkset::refusedJsonWritesNothing()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString in = TestFiles::write(dir.filePath(u"in.json"_s), json);
    const QString out = dir.filePath(u"out.dat"_s);
    // One line; '.' does not match a line break.
    const QRegularExpression expected(QRegularExpression::anchoredPattern(
        QRegularExpression::escape(in + u": "_s) + message + u"\n"_s));
    const QByteArray previous = "previous contents";

    for (const bool outExists : {false, true}) {
        if (outExists)
            TestFiles::write(out, previous);
        const Run run = hmkset({u"build"_s, in, out});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(expected.match(QString::fromUtf8(run.err)).hasMatch(), run.err.constData());
        QCOMPARE(run.out, QByteArray());
        // No temporary file left, and OUT as it was.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), outExists ? 2 : 1);
        QCOMPARE(TestFiles::read(out), outExists ? previous : QByteArray());
    }
}

void TestHmkset::fileCommandsShowTheEditorsText_data()
{
    QTest::addColumn<QStringList>("arguments"); // in a folder that holds only in.dat
    QTest::addColumn<QByteArray>("file");       // in.dat; none when null
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("shown"); // all of stdout on success, of stderr otherwise

    const QByteArray filesize = "Error: Incorrect filesize\n";
    const QByteArray loading = "Error while loading!\n";
    for (const char *command : {"dump in.dat", "resave in.dat out.dat"}) {
        const auto row = [&](const char *name, const QByteArray &file, const QByteArray &message) {
            QTest::addRow("%s: %s", command, name)
                << QString::fromLatin1(command).split(u' ') << file << 1 << message;
        };
        row("10x10 header in 5 bytes", header(10, 10), filesize);
        row("truncated records", TestFiles::randomFile(2, 3, 1).first(200), loading);
        row("missing file", QByteArray(), loading);
    }

    // info describes damaged files, but needs the two counts.
    const QStringList info = {u"info"_s, u"in.dat"_s};
    const auto infoRow = [&](const char *name, const QByteArray &file, int length,
                             const char *last) {
        QTest::addRow("info: %s", name)
            << info << file << 0
            << QString::asprintf("tilesets: %d\nentries per tileset: %d\nfile length: %d\n"
                                 "expected length: %d\n%s\n",
                                 uchar(file[0]), uchar(file[1]), int(file.size()), length, last)
                   .toUtf8();
    };
    const QByteArray good = TestFiles::fileBytes(TestFiles::numberedTable(2, 3));
    infoRow("exact", good, 263, "trailing bytes: 0");
    infoRow("trailing", good + '!', 263, "trailing bytes: 1");
    infoRow("truncated", good.chopped(1), 263, "missing bytes: 1");
    infoRow("counts only", "\x01\x01", 70, "missing bytes: 68");
    infoRow("255x255 header", header(255, 255), 2089220, "missing bytes: 2089215");
    QTest::newRow("info: missing file") << info << QByteArray() << 1 << loading;
    QTest::newRow("info: one byte") << info << QByteArray("\x02") << 1 << loading;
    QTest::newRow("info: folder") << QStringList{u"info"_s, u"."_s} << QByteArray() << 1 << loading;
}

void TestHmkset::fileCommandsShowTheEditorsText()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, file);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, shown);
    QTemporaryDir dir;
    if (!file.isNull())
        TestFiles::write(dir.filePath(u"in.dat"_s), file);

    const Run run = hmkset(arguments, {}, [&](QProcess &p) { p.setWorkingDirectory(dir.path()); });
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(exitCode == 0 ? run.out : run.err, shown);
    QCOMPARE(exitCode == 0 ? run.err : run.out, QByteArray());
    QVERIFY(!QFileInfo::exists(dir.filePath(u"out.dat"_s)));
}

void TestHmkset::writeFailures_data()
{
    // Run beside big.dat, its dump big.json and out.dat, a small tileset file.
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<bool>("keepsOut"); // the editor's Save, and so resave, writes in place

    const auto row = [](const char *arguments, const char *message, bool keepsOut) {
        QTest::newRow(arguments) << QString::fromLatin1(arguments).split(u' ')
                                 << QByteArray(message) << keepsOut;
    };
    row("build big.json missing/out.dat", "Error while saving!\n", true);
    row("resave big.dat missing/out.dat", "Error while saving!\n", true);
    row("build big.json out.dat", "Error while saving!\n", true);
    row("resave big.dat out.dat", "Error while saving!\n", false);
    // Larger and smaller than the stdio buffer: the write fails, or only the flush.
    row("dump big.dat", "hmkset: cannot write to standard output\n", true);
    row("dump out.dat", "hmkset: cannot write to standard output\n", true);
}

void TestHmkset::writeFailures()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, message);
    QFETCH(bool, keepsOut);
    QTemporaryDir dir;
    const QString dat = TestFiles::write(dir.filePath(u"big.dat"_s),
                                         TestFiles::fileBytes(TestFiles::numberedTable(60, 40)));
    TestFiles::write(dir.filePath(u"big.json"_s), hmkset({u"dump"_s, dat}).out);
    const QByteArray previous = TestFiles::fileBytes(TestFiles::numberedTable(1, 1));
    TestFiles::write(dir.filePath(u"out.dat"_s), previous);

    // Files stop at 16 KiB and standard output is full, as on a full disk.
    const Run run = hmkset(arguments, {}, [&](QProcess &process) {
        process.setWorkingDirectory(dir.path());
        process.setStandardOutputFile(u"/dev/full"_s);
        process.setChildProcessModifier([] {
            const rlimit limit{16384, 16384};
            setrlimit(RLIMIT_FSIZE, &limit);
            std::signal(SIGXFSZ, SIG_IGN);
        });
    });
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.err, message);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             (QStringList{u"big.dat"_s, u"big.json"_s, u"out.dat"_s}));
    if (keepsOut)
        QCOMPARE(TestFiles::read(dir.filePath(u"out.dat"_s)), previous);
}

void TestHmkset::usage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("start"); // of stdout on success, of stderr otherwise

    const auto row = [](const char *arguments, int exitCode, const QString &start) {
        QTest::newRow(*arguments ? arguments : "(none)")
            << QString::fromLatin1(arguments).split(u' ', Qt::SkipEmptyParts) << exitCode << start;
    };
    const QString unknown = uR"(hmkset: unknown command "convert")"_s;
    row("--help", 0, u"Usage: hmkset COMMAND"_s);
    row("help build", 0, u"Usage: hmkset build JSON OUT"_s);
    row("resave in.dat --help", 0, u"Usage: hmkset resave IN OUT"_s);
    row("info -h", 0, u"Usage: hmkset info FILE"_s);
    row("", 2, u"hmkset: no command given"_s);
    row("convert a", 2, unknown);
    row("help convert", 2, unknown);
    row("help dump build", 2, u"hmkset: help takes"_s);
    row("dump a b", 2, u"hmkset: dump takes 1"_s);
    row("build a.json", 2, u"hmkset: build takes 2"_s);
}

void TestHmkset::usage()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, start);
    const Run run = hmkset(arguments);
    QCOMPARE(run.exitCode, exitCode);
    const QString shown = QString::fromUtf8(exitCode == 0 ? run.out : run.err);
    QVERIFY2(shown.startsWith(start), qPrintable(shown));
    QVERIFY2(shown.contains(u"Usage: hmkset"_s), qPrintable(shown));
    QCOMPARE(exitCode == 0 ? run.err : run.out, QByteArray());
}

QTEST_GUILESS_MAIN(TestHmkset)
#include "tst_hmkset.moc"

#include "hmksetrun.h"
#include "tilesetfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

using namespace Qt::StringLiterals;

namespace {

// The file a row stands for: bytes written to it, or one of these two places.
const QByteArray Missing = "<missing>";
const QByteArray Folder = "<folder>";

QByteArray header(int t, int e)
{
    return QByteArray(1, char(t)) + char(e) + QByteArray(3, '\0');
}

} // namespace

class TestHmksetFailures : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void loadFailuresShowTheEditorsText_data();
    void loadFailuresShowTheEditorsText();
    void infoDescribesAnyHeader_data();
    void infoDescribesAnyHeader();
    void usage_data();
    void usage();
    void saveFailures();
    void buildKeepsOutWhenTheDiskFills();

private:
    QString path(const QString &name) const { return mDir.filePath(name); }

    QTemporaryDir mDir;
};

void TestHmksetFailures::loadFailuresShowTheEditorsText_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("message");

    const QByteArray filesize = "Error: Incorrect filesize\n";
    const QByteArray loading = "Error while loading!\n";
    const QByteArray truncated = TestFiles::fileBytes(TestFiles::numberedTable(2, 3)).first(200);
    for (const QString &command : {u"dump"_s, u"resave"_s}) {
        const auto row = [&](const char *name, const QByteArray &file, const QByteArray &message) {
            QTest::addRow("%s: %s", qPrintable(command), name) << command << file << message;
        };
        row("10x10 header in 5 bytes", header(10, 10), filesize);
        row("missing file", Missing, loading);
        row("folder", Folder, loading);
        row("no tilesets", header(0, 3), loading);
        row("no entries", header(3, 0), loading);
        row("truncated records", truncated, loading);
        row("one byte", "\x02", loading);
    }
    // info describes damaged files, but needs the two counts.
    QTest::newRow("info: missing file") << u"info"_s << Missing << loading;
    QTest::newRow("info: folder") << u"info"_s << Folder << loading;
    QTest::newRow("info: empty file") << u"info"_s << QByteArray() << loading;
    QTest::newRow("info: one byte") << u"info"_s << QByteArray("\x02") << loading;
}

void TestHmksetFailures::loadFailuresShowTheEditorsText()
{
    QFETCH(QString, command);
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, message);
    QString in = path(u"in.dat"_s);
    QFile::remove(in);
    if (file == Folder)
        in = mDir.path();
    else if (file != Missing)
        TestFiles::write(in, file);
    const QString out = path(u"out.dat"_s);

    QStringList arguments{command, in};
    if (command == u"resave")
        arguments.append(out);
    const HmksetRun run = runHmkset(arguments);
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.err, message);
    QCOMPARE(run.out, QByteArray());
    QVERIFY(!QFileInfo::exists(out));
}

void TestHmksetFailures::infoDescribesAnyHeader_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("expected");

    const QString lines = u"tilesets: %1\nentries per tileset: %2\nfile length: %3\n"
                          u"expected length: %4\n%5\n"_s;
    const QByteArray good = TestFiles::fileBytes(TestFiles::numberedTable(2, 3));
    QTest::newRow("exact") << good
                           << lines.arg(u"2"_s, u"3"_s, u"263"_s, u"263"_s, u"trailing bytes: 0"_s);
    QTest::newRow("trailing") << good + "13 more bytes."
                              << lines.arg(u"2"_s, u"3"_s, u"277"_s, u"263"_s,
                                           u"trailing bytes: 14"_s);
    QTest::newRow("truncated") << good.first(200)
                               << lines.arg(u"2"_s, u"3"_s, u"200"_s, u"263"_s,
                                            u"missing bytes: 63"_s);
    QTest::newRow("10x10 header in 5 bytes")
        << header(10, 10)
        << lines.arg(u"10"_s, u"10"_s, u"5"_s, u"3535"_s, u"missing bytes: 3530"_s);
    QTest::newRow("no tilesets") << header(0, 3)
                                 << lines.arg(u"0"_s, u"3"_s, u"5"_s, u"5"_s,
                                              u"trailing bytes: 0"_s);
    QTest::newRow("counts only") << QByteArray("\x01\x01")
                                 << lines.arg(u"1"_s, u"1"_s, u"2"_s, u"70"_s,
                                              u"missing bytes: 68"_s);
    QTest::newRow("255x255 header")
        << header(255, 255)
        << lines.arg(u"255"_s, u"255"_s, u"5"_s, u"2089220"_s, u"missing bytes: 2089215"_s);
}

void TestHmksetFailures::infoDescribesAnyHeader()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, expected);
    const HmksetRun run = runHmkset({u"info"_s, TestFiles::write(path(u"info.dat"_s), file)});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(QString::fromUtf8(run.out), expected);
    QCOMPARE(run.err, QByteArray());
}

void TestHmksetFailures::usage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("start"); // of stdout on success, of stderr otherwise

    const QString overview = u"Usage: hmkset COMMAND"_s;
    QTest::newRow("--help") << QStringList{u"--help"_s} << 0 << overview;
    QTest::newRow("-h") << QStringList{u"-h"_s} << 0 << overview;
    QTest::newRow("help") << QStringList{u"help"_s} << 0 << overview;
    QTest::newRow("help build") << QStringList{u"help"_s, u"build"_s} << 0
                                << u"Usage: hmkset build JSON OUT"_s;
    QTest::newRow("dump --help") << QStringList{u"dump"_s, u"--help"_s} << 0
                                 << u"Usage: hmkset dump FILE"_s;
    QTest::newRow("resave IN --help") << QStringList{u"resave"_s, u"in.dat"_s, u"--help"_s} << 0
                                      << u"Usage: hmkset resave IN OUT"_s;
    QTest::newRow("info -h") << QStringList{u"info"_s, u"-h"_s} << 0
                             << u"Usage: hmkset info FILE"_s;

    QTest::newRow("no command") << QStringList() << 2 << u"hmkset: no command given"_s;
    QTest::newRow("unknown command")
        << QStringList{u"convert"_s, u"a"_s} << 2 << uR"(hmkset: unknown command "convert")"_s;
    QTest::newRow("help unknown") << QStringList{u"help"_s, u"convert"_s} << 2
                                  << uR"(hmkset: unknown command "convert")"_s;
    QTest::newRow("help two commands")
        << QStringList{u"help"_s, u"dump"_s, u"build"_s} << 2 << u"hmkset: help takes"_s;
    QTest::newRow("info without file") << QStringList{u"info"_s} << 2 << u"hmkset: info takes 1"_s;
    QTest::newRow("dump two files")
        << QStringList{u"dump"_s, u"a"_s, u"b"_s} << 2 << u"hmkset: dump takes 1"_s;
    QTest::newRow("build one argument")
        << QStringList{u"build"_s, u"a.json"_s} << 2 << u"hmkset: build takes 2"_s;
    QTest::newRow("resave three") << QStringList{u"resave"_s, u"a"_s, u"b"_s, u"c"_s} << 2
                                  << u"hmkset: resave takes 2"_s;
}

void TestHmksetFailures::usage()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, start);
    const HmksetRun run = runHmkset(arguments);
    QCOMPARE(run.exitCode, exitCode);
    const QString shown = QString::fromUtf8(exitCode == 0 ? run.out : run.err);
    const QByteArray silent = exitCode == 0 ? run.err : run.out;
    QVERIFY2(shown.startsWith(start), qPrintable(shown));
    QVERIFY2(shown.contains(u"Usage: hmkset"_s), qPrintable(shown));
    QCOMPARE(silent, QByteArray());
}

void TestHmksetFailures::saveFailures()
{
    const QString json = path(u"good.json"_s);
    const QString dat =
        TestFiles::write(path(u"good.dat"_s), TestFiles::fileBytes(TestFiles::numberedTable(3, 4)));
    QCOMPARE(runHmkset({u"dump"_s, dat}).exitCode, 0);
    TestFiles::write(json, runHmkset({u"dump"_s, dat}).out);

    const QString noFolder = path(u"missing/folder/out.dat"_s);
    for (const QString &out : {noFolder, mDir.path()}) {
        const HmksetRun build = runHmkset({u"build"_s, json, out});
        QCOMPARE(build.exitCode, 1);
        QCOMPARE(build.err, QByteArray("Error while saving!\n"));
        const HmksetRun resave = runHmkset({u"resave"_s, dat, out});
        QCOMPARE(resave.exitCode, 1);
        QCOMPARE(resave.err, QByteArray("Error while saving!\n"));
    }
    QVERIFY(!QFileInfo::exists(noFolder));
    QVERIFY(QFileInfo(mDir.path()).isDir());
}

void TestHmksetFailures::buildKeepsOutWhenTheDiskFills()
{
    // A file size limit makes every write past 16 KiB fail, as a full disk would.
    const auto smallDisk = [](QProcess &process) {
        process.setChildProcessModifier([] {
            const rlimit limit{16384, 16384};
            setrlimit(RLIMIT_FSIZE, &limit);
            std::signal(SIGXFSZ, SIG_IGN);
        });
    };
    QTemporaryDir dir;
    const QString dat = TestFiles::write(dir.filePath(u"big.dat"_s),
                                         TestFiles::fileBytes(TestFiles::numberedTable(60, 40)));
    const QString json =
        TestFiles::write(dir.filePath(u"big.json"_s), runHmkset({u"dump"_s, dat}).out);
    const QByteArray previous = "previous contents";
    const QString out = TestFiles::write(dir.filePath(u"out.dat"_s), previous);

    const HmksetRun build = runHmkset({u"build"_s, json, out}, {}, smallDisk);
    QCOMPARE(build.exitCode, 1);
    QCOMPARE(build.err, QByteArray("Error while saving!\n"));
    QCOMPARE(readFileBytes(out), previous);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
             (QStringList{u"big.dat"_s, u"big.json"_s, u"out.dat"_s}));

    // The editor's Save writes in place; resave reports the same failure.
    const HmksetRun resave = runHmkset({u"resave"_s, dat, out}, {}, smallDisk);
    QCOMPARE(resave.exitCode, 1);
    QCOMPARE(resave.err, QByteArray("Error while saving!\n"));
}

QTEST_GUILESS_MAIN(TestHmksetFailures)
#include "tst_hmksetfailures.moc"

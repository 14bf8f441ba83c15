#include "hmksetrun.h"
#include "oddfields.h"
#include "tilesetfiles.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestHmksetRoundTrip : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void buildOfDumpIsResave_data();
    void buildOfDumpIsResave();
    void dumpShowsTheEditorsText();
    void buildReadsStandardInputAndReplacesOut();
    void dumpReportsAFullDisk();

private:
    QString path(const QString &name) const { return mDir.filePath(name); }

    QTemporaryDir mDir;
};

void TestHmksetRoundTrip::buildOfDumpIsResave_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("tilesets");
    QTest::addColumn<int>("entries");

    const auto random = [](int t, int e, quint32 seed) {
        QTest::addRow("random %dx%d", t, e) << TestFiles::randomFile(t, e, seed) << t << e;
    };
    random(1, 1, 1);
    random(3, 151, 2);
    random(70, 20, 3);
    random(255, 1, 4);
    random(1, 255, 5);
    QTest::newRow("numbered 70x151")
        << TestFiles::fileBytes(TestFiles::numberedTable(70, 151)) << 70 << 151;
    QTest::newRow("odd fields, trailing bytes")
        << OddFields::file() << OddFields::Tilesets << OddFields::Entries;
    // The largest file the header allows, in the time a script can wait for.
    random(255, 255, 6);
}

void TestHmksetRoundTrip::buildOfDumpIsResave()
{
    QFETCH(QByteArray, file);
    QFETCH(int, tilesets);
    QFETCH(int, entries);
    TestFiles::write(path(u"in.dat"_s), file);

    QElapsedTimer timer;
    timer.start();
    const HmksetRun resave = runHmkset({u"resave"_s, path(u"in.dat"_s), path(u"resaved.dat"_s)});
    QCOMPARE(resave.exitCode, 0);
    const HmksetRun dump = runHmkset({u"dump"_s, path(u"in.dat"_s)});
    QCOMPARE(dump.exitCode, 0);
    QCOMPARE(dump.err, QByteArray());
    TestFiles::write(path(u"dump.json"_s), dump.out);
    const HmksetRun build = runHmkset({u"build"_s, path(u"dump.json"_s), path(u"built.dat"_s)});
    QCOMPARE(build.exitCode, 0);
    QCOMPARE(build.err, QByteArray());
    QVERIFY2(timer.elapsed() < 20000, qPrintable(u"%1 ms"_s.arg(timer.elapsed())));

    const QByteArray resaved = readFileBytes(path(u"resaved.dat"_s));
    QCOMPARE(resaved.size(), 5 + tilesets * (33 + 32 * entries));
    QVERIFY(readFileBytes(path(u"built.dat"_s)) == resaved);
}

void TestHmksetRoundTrip::dumpShowsTheEditorsText()
{
    TestFiles::write(path(u"odd.dat"_s), OddFields::file());
    const HmksetRun dump = runHmkset({u"dump"_s, path(u"odd.dat"_s)});
    QCOMPARE(dump.exitCode, 0);
    QJsonParseError error;
    const QJsonObject json = QJsonDocument::fromJson(dump.out, &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);

    QCOMPARE(json[u"format"_s].toString(), u"hmkset"_s);
    QCOMPARE(json[u"tilesets"_s].toInt(), OddFields::Tilesets);
    QCOMPARE(json[u"entriesPerTileset"_s].toInt(), OddFields::Entries);
    const QJsonObject first = json[u"sets"_s][0].toObject();
    QCOMPARE(first[u"name"_s].toString(), u"Grass"_s);
    QCOMPARE(first[u"entries"_s][0].toString(), u"grass_a"_s);
    QVERIFY(first[u"entries"_s][1].isNull());
    QCOMPARE(first[u"entries"_s][4].toString(), u"été"_s);
    QCOMPARE(first[u"entries"_s][5].toString(), u"€ 5"_s);
    QCOMPARE(first[u"entries"_s][6].toString(), u" lead"_s);
    // A NUL inside a field with no blank at either end: the loader keeps no terminator.
    QCOMPARE(first[u"entries"_s][3].toString(), u"ab"_s + QString(30, u' '));
}

void TestHmksetRoundTrip::buildReadsStandardInputAndReplacesOut()
{
    const QByteArray file = TestFiles::fileBytes(TestFiles::numberedTable(4, 10));
    TestFiles::write(path(u"in.dat"_s), file);
    const HmksetRun dump = runHmkset({u"dump"_s, path(u"in.dat"_s)});
    QCOMPARE(dump.exitCode, 0);

    TestFiles::write(path(u"out.dat"_s), QByteArray(100000, 'x'));
    QFile::setPermissions(path(u"out.dat"_s), QFile::ReadOwner | QFile::WriteOwner);
    const HmksetRun build = runHmkset({u"build"_s, u"-"_s, path(u"out.dat"_s)}, dump.out);
    QCOMPARE(build.exitCode, 0);
    QCOMPARE(readFileBytes(path(u"out.dat"_s)), file);
    // Replaced, not recreated with default permissions.
    QCOMPARE(QFileInfo(path(u"out.dat"_s)).permissions() & QFile::ReadOther, QFile::Permissions());
}

void TestHmksetRoundTrip::dumpReportsAFullDisk()
{
    if (!QFileInfo::exists(u"/dev/full"_s))
        QSKIP("no /dev/full here");
    TestFiles::write(path(u"in.dat"_s), TestFiles::fileBytes(TestFiles::numberedTable(20, 20)));
    const HmksetRun dump = runHmkset({u"dump"_s, path(u"in.dat"_s)}, {}, [](QProcess &process) {
        process.setStandardOutputFile(u"/dev/full"_s);
    });
    QCOMPARE(dump.exitCode, 1);
    QCOMPARE(dump.err, QByteArray("hmkset: cannot write to standard output\n"));
}

QTEST_GUILESS_MAIN(TestHmksetRoundTrip)
#include "tst_hmksetroundtrip.moc"

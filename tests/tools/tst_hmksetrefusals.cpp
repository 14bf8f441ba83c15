#include "hmksetrun.h"
#include "tilesetfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

using Change = std::function<void(QJsonObject &)>;

// A document build accepts: t tilesets of e entries named "Set k" and "k:j", then changed.
QByteArray document(int t, int e, const Change &change)
{
    QJsonArray sets;
    for (int k = 0; k < t; ++k) {
        QJsonArray entries;
        for (int j = 0; j < e; ++j)
            entries.append(u"%1:%2"_s.arg(k).arg(j));
        sets.append(QJsonObject{{u"name"_s, u"Set %1"_s.arg(k)}, {u"entries"_s, entries}});
    }
    QJsonObject top{{u"format"_s, u"hmkset"_s},
                    {u"tilesets"_s, t},
                    {u"entriesPerTileset"_s, e},
                    {u"sets"_s, sets}};
    change(top);
    return QJsonDocument(top).toJson();
}

Change setTop(const QString &key, const QJsonValue &value)
{
    return [=](QJsonObject &top) { top[key] = value; };
}

Change removeTop(const QString &key)
{
    return [=](QJsonObject &top) { top.remove(key); };
}

// Replaces sets[k], after letting change edit it as an object.
Change editSet(int k, const std::function<void(QJsonObject &)> &change)
{
    return [=](QJsonObject &top) {
        QJsonArray sets = top[u"sets"_s].toArray();
        QJsonObject set = sets[k].toObject();
        change(set);
        sets[k] = set;
        top[u"sets"_s] = sets;
    };
}

Change setName(int k, const QJsonValue &value)
{
    return editSet(k, [=](QJsonObject &set) { set[u"name"_s] = value; });
}

Change setEntry(int k, int j, const QJsonValue &value)
{
    return editSet(k, [=](QJsonObject &set) {
        QJsonArray entries = set[u"entries"_s].toArray();
        entries[j] = value;
        set[u"entries"_s] = entries;
    });
}

Change dropLastEntry(int k)
{
    return editSet(k, [](QJsonObject &set) {
        QJsonArray entries = set[u"entries"_s].toArray();
        entries.removeLast();
        set[u"entries"_s] = entries;
    });
}

QJsonObject hex(const QString &digits)
{
    return {{u"hex"_s, digits}};
}

} // namespace

class TestHmksetRefusals : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void refusedJsonWritesNothing_data();
    void refusedJsonWritesNothing();
};

void TestHmksetRefusals::refusedJsonWritesNothing_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("message"); // a pattern; most rows are exact text

    const auto row = [](const char *name, const QByteArray &json, const QString &message) {
        QTest::newRow(name) << json << QRegularExpression::escape(message);
    };
    const auto small = [](const Change &change) { return document(2, 3, change); };

    QTest::newRow("not JSON") << QByteArray("{\n  \"format\": \"hmkset\",\n  oops\n}")
                              << uR"(invalid JSON at byte \d+ \(line 3, column \d+\): .+)"_s;
    QTest::newRow("empty") << QByteArray()
                           << uR"(invalid JSON at byte 0 \(line 1, column 1\): .+)"_s;
    QTest::newRow("not UTF-8") << QByteArray("{\"format\": \"\xff\"}")
                               << uR"(invalid JSON at byte \d+ \(line 1, column \d+\): .+)"_s;
    row("array", "[1, 2]", u"top level: expected an object, got an array"_s);
    row("no format", small(removeTop(u"format"_s)), uR"(top level: missing key "format")"_s);
    row("no sets", small(removeTop(u"sets"_s)), uR"(top level: missing key "sets")"_s);
    row("misspelt key", small(setTop(u"entires"_s, 3)), uR"(top level: unknown key "entires")"_s);
    row("other format", small(setTop(u"format"_s, u"hmkset2"_s)),
        uR"(format: expected "hmkset", got "hmkset2")"_s);
    row("format a number", small(setTop(u"format"_s, 1)),
        u"format: expected a string, got a number"_s);

    const QString badCount = u"%1: expected a whole number from 1 to 255, got %2"_s;
    row("no tilesets", small(setTop(u"tilesets"_s, 0)), badCount.arg(u"tilesets"_s, u"0"_s));
    row("256 tilesets", small(setTop(u"tilesets"_s, 256)), badCount.arg(u"tilesets"_s, u"256"_s));
    row("fractional tilesets", small(setTop(u"tilesets"_s, 1.5)),
        badCount.arg(u"tilesets"_s, u"1.5"_s));
    row("tilesets a string", small(setTop(u"tilesets"_s, u"2"_s)),
        u"tilesets: expected a number, got a string"_s);
    row("no entries", small(setTop(u"entriesPerTileset"_s, 0)),
        badCount.arg(u"entriesPerTileset"_s, u"0"_s));
    row("256 entries", small(setTop(u"entriesPerTileset"_s, 256)),
        badCount.arg(u"entriesPerTileset"_s, u"256"_s));

    row("sets an object", small(setTop(u"sets"_s, QJsonObject())),
        u"sets: expected an array, got an object"_s);
    row("more tilesets than sets", small(setTop(u"tilesets"_s, 3)),
        u"sets: 2 tilesets, expected 3"_s);
    row("fewer entries than the arrays", small(setTop(u"entriesPerTileset"_s, 2)),
        u"sets[0].entries: 3 entries, expected 2"_s);
    row("one set short of entries", document(4, 151, dropLastEntry(3)),
        u"sets[3].entries: 150 entries, expected 151"_s);
    row("set a string", small([](QJsonObject &top) {
            QJsonArray sets = top[u"sets"_s].toArray();
            sets[1] = u"Set 1"_s;
            top[u"sets"_s] = sets;
        }),
        u"sets[1]: expected an object, got a string"_s);
    row("set without name", small(editSet(1, [](QJsonObject &set) { set.remove(u"name"_s); })),
        uR"(sets[1]: missing key "name")"_s);
    row("set with a comment", small(editSet(0, [](QJsonObject &set) { set[u"comment"_s] = 1; })),
        uR"(sets[0]: unknown key "comment")"_s);
    row("entries null",
        small(
            editSet(0, [](QJsonObject &set) { set[u"entries"_s] = QJsonValue(QJsonValue::Null); })),
        u"sets[0].entries: expected an array, got null"_s);

    row("entry too long", document(4, 151, setEntry(3, 12, QString(40, u'x'))),
        u"sets[3].entries[12]: 40 characters, at most 32"_s);
    row("name too long", small(setName(0, QString(34, u'x'))),
        u"sets[0].name: 34 characters, at most 33"_s);
    row("character outside the code page", small(setName(0, u"Grass \u4e2d"_s)),
        u"sets[0].name: character U+4E2D has no Windows-1252 byte"_s);
    row("character outside the BMP", small(setEntry(1, 0, u"tree \U0001F600"_s)),
        u"sets[1].entries[0]: character U+1F600 has no Windows-1252 byte"_s);
    row("Latin Extended-A", small(setEntry(1, 2, u"\u0100"_s)),
        u"sets[1].entries[2]: character U+0100 has no Windows-1252 byte"_s);
    row("entry a number", small(setEntry(0, 1, 7)),
        uR"(sets[0].entries[1]: expected a string, null or {"hex": ...}, got a number)"_s);
    row("name a boolean", small(setName(1, true)),
        uR"(sets[1].name: expected a string, null or {"hex": ...}, got a boolean)"_s);

    const QString digits = u"61"_s.repeated(32);
    row("hex too short", small(setEntry(0, 1, hex(digits.first(62)))),
        u"sets[0].entries[1].hex: 62 characters, expected 64 hex digits"_s);
    row("entry hex for a name", small(setName(0, hex(digits))),
        u"sets[0].name.hex: 64 characters, expected 66 hex digits"_s);
    row("hex digit g", small(setEntry(0, 1, hex(u"61616g"_s + digits.sliced(6)))),
        u"sets[0].entries[1].hex: 'g' at index 5 is not a hex digit"_s);
    row("hex a number", small(setEntry(0, 1, QJsonObject{{u"hex"_s, 61}})),
        u"sets[0].entries[1].hex: expected a string, got a number"_s);
    row("hex with text",
        small(setEntry(0, 1, QJsonObject{{u"hex"_s, digits}, {u"text"_s, u"a"_s}})),
        uR"(sets[0].entries[1]: unknown key "text")"_s);
    row("empty object", small(setEntry(0, 1, QJsonObject())),
        uR"(sets[0].entries[1]: missing key "hex")"_s);
}

void TestHmksetRefusals::refusedJsonWritesNothing()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString in = TestFiles::write(dir.filePath(u"in.json"_s), json);
    const QString out = dir.filePath(u"out.dat"_s);
    const QRegularExpression expected(
        QRegularExpression::anchoredPattern(QRegularExpression::escape(in + u": "_s) + message));
    const auto refused = [&] {
        const HmksetRun run = runHmkset({u"build"_s, in, out});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.endsWith('\n') && run.err.count('\n') == 1, run.err.constData());
        QVERIFY2(expected.match(QString::fromUtf8(run.err.chopped(1))).hasMatch(),
                 run.err.constData());
        QCOMPARE(run.out, QByteArray());
    };

    refused();
    if (QTest::currentTestFailed())
        return;
    QVERIFY(!QFileInfo::exists(out));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"in.json"_s});

    const QByteArray previous = TestFiles::fileBytes(TestFiles::numberedTable(1, 1));
    TestFiles::write(out, previous);
    refused();
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(readFileBytes(out), previous);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
             (QStringList{u"in.json"_s, u"out.dat"_s}));
}

QTEST_GUILESS_MAIN(TestHmksetRefusals)
#include "tst_hmksetrefusals.moc"

#include "fixedfield.h"
#include "jsonbuild.h"
#include "jsondump.h"
#include "oddfields.h"
#include "tilesetfiles.h"
#include "tilesetreader.h"

#include <QBuffer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QByteArray nul(int n = 1)
{
    return QByteArray(n, '\0');
}

QByteArray spaces(int n)
{
    return QByteArray(n, ' ');
}

QJsonObject hex(const QByteArray &field)
{
    return {{u"hex"_s, QString::fromLatin1(field.toHex())}};
}

// A table of one tileset whose name or first entry is field, every other field plain text.
TilesetTable tableWith(const QByteArray &field)
{
    TilesetTable table(1, 2);
    table.setTilesetName(0, StoreFixedText("Plain", NameWidth));
    table.setEntry(0, 0, StoreFixedText("first", EntryWidth));
    table.setEntry(1, 0, StoreFixedText("second", EntryWidth));
    if (field.size() == NameWidth)
        table.setTilesetName(0, field);
    else
        table.setEntry(0, 0, field);
    return table;
}

// A field of a shape the loader leaves, or raw bytes it would tidy, so that dump and build
// are shown total over every field, not only over loaded ones.
QByteArray randomField(QRandomGenerator &random, int width)
{
    static const char pool[] = "aZ9 \t\x01\x7f\x80\x81\xa0\xe9\xff\"\\";
    QByteArray text(random.bounded(width + 1), Qt::Uninitialized);
    for (char &c : text)
        c = pool[random.bounded(int(sizeof pool - 1))];
    switch (random.bounded(5)) {
    case 0:
        return StoreFixedText(text, width);
    case 1:
        return PadFixedText(text, width);
    case 2:
        return nul(width);
    case 3: {
        QByteArray raw = PadFixedText(text, width);
        raw[random.bounded(width)] = '\0';
        return raw;
    }
    default:
        return text.leftJustified(width, '\0', true);
    }
}

} // namespace

class TestHmksetJson : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fieldsShowAsTextAndComeBack_data();
    void fieldsShowAsTextAndComeBack();
    void anyTableComesBackExactly();
    void loadedFilesComeBackExactly();
    void dumpLayout();
    void handwrittenJsonBuilds();
};

void TestHmksetJson::fieldsShowAsTextAndComeBack_data()
{
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QJsonValue>("shown");

    const QString fullName = u"N"_s.repeated(NameWidth);
    QTest::newRow("terminated name") << "Grass" + nul() + spaces(27) << QJsonValue(u"Grass"_s);
    QTest::newRow("empty terminated name") << nul() + spaces(32) << QJsonValue(u""_s);
    QTest::newRow("full-width name") << QByteArray(NameWidth, 'N') << QJsonValue(fullName);
    QTest::newRow("all-NUL name") << nul(NameWidth) << QJsonValue(QJsonValue::Null);
    QTest::newRow("never assigned") << nul(32) << QJsonValue(QJsonValue::Null);
    QTest::newRow("terminated entry") << "tree" + nul() + spaces(27) << QJsonValue(u"tree"_s);
    QTest::newRow("longest terminated")
        << QByteArray(31, 'L') + nul() << QJsonValue(u"L"_s.repeated(31));
    QTest::newRow("padded, no NUL")
        << "ab" + spaces(30) << QJsonValue(u"ab"_s + u" "_s.repeated(30));
    QTest::newRow("leading blank") << " lead" + nul() + spaces(26) << QJsonValue(u" lead"_s);
    QTest::newRow("e acute") << "caf\xe9" + nul() + spaces(27) << QJsonValue(u"café"_s);
    QTest::newRow("euro") << "\x80" + nul() + spaces(30) << QJsonValue(u"€"_s);
    QTest::newRow("undefined bytes") << "\x81\x8d\x8f\x90\x9d" + nul() + spaces(26)
                                     << QJsonValue(u"\u0081\u008d\u008f\u0090\u009d"_s);
    QTest::newRow("controls and quotes")
        << "\t\x01\"\\\x7f" + nul() + spaces(26) << QJsonValue(u"\t\u0001\"\\\u007f"_s);
    QTest::newRow("NUL then text")
        << "ab" + nul() + "cd" + spaces(27) << QJsonValue(hex("ab" + nul() + "cd" + spaces(27)));
    QTest::newRow("NUL then NULs") << "ab" + nul(30) << QJsonValue(hex("ab" + nul(30)));
    QTest::newRow("NUL then NULs, name") << "ab" + nul(31) << QJsonValue(hex("ab" + nul(31)));
    QTest::newRow("NUL first, spaces after one NUL")
        << nul(2) + spaces(30) << QJsonValue(hex(nul(2) + spaces(30)));
}

void TestHmksetJson::fieldsShowAsTextAndComeBack()
{
    QFETCH(QByteArray, field);
    QFETCH(QJsonValue, shown);
    const TilesetTable table = tableWith(field);

    const QByteArray json = dumpJson(table);
    QJsonParseError error;
    const QJsonObject set = QJsonDocument::fromJson(json, &error)[u"sets"_s][0].toObject();
    QCOMPARE(error.error, QJsonParseError::NoError);
    const QJsonValue value = field.size() == NameWidth ? set[u"name"_s] : set[u"entries"_s][0];
    QCOMPARE(value, shown);

    const BuildResult built = buildTilesets(json);
    QCOMPARE(built.error, QString());
    QVERIFY(built.tilesets == table);
}

void TestHmksetJson::anyTableComesBackExactly()
{
    for (quint32 seed = 1; seed <= 12; ++seed) {
        QRandomGenerator random(seed);
        const int t = 1 + int(seed * 7 % 20);
        const int e = 1 + int(seed * 31 % 90);
        TilesetTable table(t, e);
        for (int k = 0; k < t; ++k) {
            table.setTilesetName(k, randomField(random, NameWidth));
            for (int j = 0; j < e; ++j)
                table.setEntry(j, k, randomField(random, EntryWidth));
        }
        const BuildResult built = buildTilesets(dumpJson(table));
        QVERIFY2(built.ok(), qPrintable(built.error));
        QVERIFY2(built.tilesets == table, qPrintable(u"seed %1"_s.arg(seed)));
    }
}

void TestHmksetJson::loadedFilesComeBackExactly()
{
    const QList<QByteArray> files = {
        OddFields::file(),
        TestFiles::randomFile(40, 151, 7),
        TestFiles::randomFile(255, 255, 8),
    };
    for (const QByteArray &file : files) {
        QBuffer device;
        device.setData(file);
        QVERIFY(device.open(QIODevice::ReadOnly));
        TilesetTable loaded;
        QCOMPARE(readTilesetDevice(device, file.size(), -1, {}, loaded), LoadError::None);
        const BuildResult built = buildTilesets(dumpJson(loaded));
        QVERIFY2(built.ok(), qPrintable(built.error));
        QVERIFY(built.tilesets == loaded);
    }
}

void TestHmksetJson::dumpLayout()
{
    // Fixed key order and one field a line: a change to one entry is a one-line diff.
    TilesetTable table(2, 2);
    table.setTilesetName(0, StoreFixedText("Grass", NameWidth));
    table.setEntry(0, 0, StoreFixedText("grass_a", EntryWidth));
    table.setTilesetName(1, StoreFixedText("\xc9t\xe9", NameWidth));
    table.setEntry(0, 1, StoreFixedText("\x81", EntryWidth));
    table.setEntry(1, 1, QByteArray(EntryWidth, 'W'));
    const QByteArray expected = R"({
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
      "name": "Été",
      "entries": [
        "\u0081",
        "WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW"
      ]
    }
  ]
}
)";
    QCOMPARE(dumpJson(table), expected);
}

void TestHmksetJson::handwrittenJsonBuilds()
{
    // Written by hand: keys in another order, upper-case hex, and the byte order mark
    // some Windows editors put in front.
    QFile file(QStringLiteral(HMKSET_TEST_DATA "/handwritten.json"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const BuildResult built = buildTilesets("\xef\xbb\xbf" + file.readAll());
    QCOMPARE(built.error, QString());

    TilesetTable expected(2, 3);
    expected.setTilesetName(0, StoreFixedText("Forest", NameWidth));
    expected.setEntry(0, 0, StoreFixedText("tree_oak", EntryWidth));
    expected.setEntry(2, 0, "0123456789abcdef0123456789ABCDEF");
    expected.setTilesetName(1, "Caf\xe9 \x80" + QByteArray(27, ' '));
    expected.setEntry(0, 1, StoreFixedText("", EntryWidth));
    expected.setEntry(1, 1, "AB" + nul() + QByteArray(29, '\xfe'));
    expected.setEntry(2, 1, StoreFixedText("\xe9", EntryWidth));
    QVERIFY(built.tilesets == expected);
}

QTEST_GUILESS_MAIN(TestHmksetJson)
#include "tst_hmksetjson.moc"

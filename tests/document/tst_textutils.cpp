#include "pathutils.h"
#include "textutils.h"
#include "windows1252.h"

#include <QTemporaryDir>
#include <QTest>

#include <stdexcept>

using namespace Qt::StringLiterals;

class TestTextUtils : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void trimBlanks_data();
    void trimBlanks();
    void trimBlanksOfBytesKeepsHighBytes();
    void splitKeyValue_data();
    void splitKeyValue();
    void splitKeyValueWithoutEqualsKeepsPreviousValues();
    void cutAtNul();
    void zeroPad_data();
    void zeroPad();
    void zeroPadRefusesWiderNumbers();
    void fileTitleOf_data();
    void fileTitleOf();
    void fileExists();
    void windows1252RoundTripsEveryByte();
    void windows1252RefusesOtherCharacters();
};

void TestTextUtils::trimBlanks_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("padded field") << QByteArray("  abc" + QByteArray(1, '\0') + QByteArray(30, ' '))
                                  << QByteArray("abc");
    QTest::newRow("all NUL") << QByteArray(33, '\0') << QByteArray();
    QTest::newRow("inner blank stays") << QByteArray("a b") << QByteArray("a b");
    QTest::newRow("controls") << QByteArray("\t\r\nx\x01\x1f") << QByteArray("x");
    QTest::newRow("empty") << QByteArray() << QByteArray();
}

void TestTextUtils::trimBlanks()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, expected);
    QCOMPARE(TrimBlanks(QByteArrayView(text)).toByteArray(), expected);
    QCOMPARE(TrimBlanks(QString::fromLatin1(text)), QString::fromLatin1(expected));
}

void TestTextUtils::trimBlanksOfBytesKeepsHighBytes()
{
    // A signed char comparison would take 0xE9 for a blank.
    const QByteArray text("\xe9 \xa0");
    QCOMPARE(TrimBlanks(QByteArrayView(text)).toByteArray(), text);
}

void TestTextUtils::splitKeyValue_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::newRow("settings line") << u"windowleft = 120"_s << u"windowleft"_s << u"120"_s;
    QTest::newRow("first equals splits") << u"a=b=c"_s << u"a"_s << u"b=c"_s;
    QTest::newRow("blanks around") << u"  \tKey\t=  v a l \r"_s << u"Key"_s << u"v a l"_s;
    QTest::newRow("empty value") << u"LastOpened= "_s << u"LastOpened"_s << QString();
}

void TestTextUtils::splitKeyValue()
{
    QFETCH(QString, line);
    QString key = u"old"_s;
    QString value = u"old"_s;
    SplitKeyValue(line, key, value);
    QTEST(key, "key");
    QTEST(value, "value");
}

void TestTextUtils::splitKeyValueWithoutEqualsKeepsPreviousValues()
{
    QString key = u"sizerleft"_s;
    QString value = u"900"_s;
    SplitKeyValue(u"no assignment here", key, value);
    QCOMPARE(key, u"sizerleft"_s);
    QCOMPARE(value, u"900"_s);
}

void TestTextUtils::cutAtNul()
{
    const QByteArray text("ABC\0XYZ", 7);
    QCOMPARE(CutAtNul(text).toByteArray(), QByteArray("ABC"));
    QCOMPARE(CutAtNul("no terminator").toByteArray(), QByteArray("no terminator"));
    QCOMPARE(CutAtNul(QByteArray(4, '\0')).size(), 0);
}

void TestTextUtils::zeroPad_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("expected");
    QTest::newRow("7/2") << 7 << 2 << u"07"_s;
    QTest::newRow("5/3") << 5 << 3 << u"005"_s;
    QTest::newRow("42/2") << 42 << 2 << u"42"_s;
    QTest::newRow("0/3") << 0 << 3 << u"000"_s;
    QTest::newRow("150/3") << 150 << 3 << u"150"_s;
}

void TestTextUtils::zeroPad()
{
    QFETCH(int, number);
    QFETCH(int, width);
    QTEST(ZeroPad(number, width), "expected");
}

void TestTextUtils::zeroPadRefusesWiderNumbers()
{
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, ZeroPad(100, 2));
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, ZeroPad(-1, 3));
}

void TestTextUtils::fileTitleOf_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("title");
    QTest::newRow("windows path") << u"C:\\Games\\HMK\\hmkset.dat"_s << u"hmkset.dat"_s;
    QTest::newRow("native path") << u"/home/me/mods/hmkset.dat"_s << u"hmkset.dat"_s;
    QTest::newRow("mixed") << u"C:\\mods/new\\set.dat"_s << u"set.dat"_s;
    QTest::newRow("bare name") << u"hmkset.dat"_s << u"hmkset.dat"_s;
    QTest::newRow("trailing separator") << u"C:\\Games\\"_s << QString();
}

void TestTextUtils::fileTitleOf()
{
    QFETCH(QString, path);
    QTEST(FileTitleOf(path), "title");
}

void TestTextUtils::fileExists()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"present.dat"_s);
    QVERIFY(!FileExists(path));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QVERIFY(FileExists(path));
    QVERIFY(!FileExists(dir.path()));
    QVERIFY(!FileExists(QString()));
}

void TestTextUtils::windows1252RoundTripsEveryByte()
{
    QByteArray all(256, Qt::Uninitialized);
    for (int i = 0; i < 256; ++i)
        all[i] = char(i);
    const QString text = FromWindows1252(all);
    QCOMPARE(text.size(), 256);
    QCOMPARE(text.at(0x80), QChar(0x20AC)); // euro sign
    QCOMPARE(text.at(0xE9), QChar(0xE9));
    bool ok = false;
    QCOMPARE(ToWindows1252(text, &ok), all);
    QVERIFY(ok);
}

void TestTextUtils::windows1252RefusesOtherCharacters()
{
    bool ok = true;
    QCOMPARE(ToWindows1252(u"a\u4e2db", &ok), QByteArray("a?b"));
    QVERIFY(!ok);
    QVERIFY(!IsWindows1252(QChar(0x0100)));
    QVERIFY(IsWindows1252(QChar(0x0153))); // oe ligature lives at 0x9C
}

QTEST_GUILESS_MAIN(TestTextUtils)
#include "tst_textutils.moc"

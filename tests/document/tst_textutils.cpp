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
    void splitKeyValue_data();
    void splitKeyValue();
    void zeroPad();
    void fileTitleOf_data();
    void fileTitleOf();
    void fileExists();
    void windows1252();
};

void TestTextUtils::trimBlanks_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("trimmed");
    QTest::addColumn<QByteArray>("cut"); // cutAtNul
    const QByteArray padded = "  abc" + QByteArray(1, '\0') + QByteArray(30, ' ');
    QTest::newRow("padded field") << padded << QByteArray("abc") << QByteArray("  abc");
    QTest::newRow("33 NULs") << QByteArray(33, '\0') << QByteArray() << QByteArray();
    QTest::newRow("inner blank stays")
        << QByteArray("a b") << QByteArray("a b") << QByteArray("a b");
    QTest::newRow("NUL inside") << QByteArray("ABC\0XYZ", 7) << QByteArray("ABC\0XYZ", 7)
                                << QByteArray("ABC");
    QTest::newRow("controls") << QByteArray("\t\r\nx\x01\x1f") << QByteArray("x")
                              << QByteArray("\t\r\nx\x01\x1f");
    // A signed comparison would take bytes from 0x80 on for blanks.
    QTest::newRow("high bytes are text")
        << QByteArray("\xe9 \xa0") << QByteArray("\xe9 \xa0") << QByteArray("\xe9 \xa0");
}

void TestTextUtils::trimBlanks()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, trimmed);
    QCOMPARE(::trimBlanks(QByteArrayView(text)).toByteArray(), trimmed);
    QCOMPARE(::trimBlanks(QString::fromLatin1(text)), QString::fromLatin1(trimmed));
    QTEST(::cutAtNul(text).toByteArray(), "cut");
}

void TestTextUtils::splitKeyValue_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::newRow("first equals splits") << u"a=b=c"_s << u"a"_s << u"b=c"_s;
    QTest::newRow("blanks around") << u"  \tKey\t=  v a l \r"_s << u"Key"_s << u"v a l"_s;
    QTest::newRow("empty value") << u"LastOpened= "_s << u"LastOpened"_s << QString();
    QTest::newRow("no equals keeps previous") << u"no assignment"_s << u"old"_s << u"old"_s;
}

void TestTextUtils::splitKeyValue()
{
    QFETCH(QString, line);
    QString key = u"old"_s;
    QString value = u"old"_s;
    ::splitKeyValue(line, key, value);
    QTEST(key, "key");
    QTEST(value, "value");
}

void TestTextUtils::zeroPad()
{
    QCOMPARE(::zeroPad(7, 2), u"07"_s);
    QCOMPARE(::zeroPad(0, 3), u"000"_s);
    QCOMPARE(::zeroPad(150, 3), u"150"_s);
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, ::zeroPad(100, 2));
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, ::zeroPad(-1, 3));
}

void TestTextUtils::fileTitleOf_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("title");
    QTest::newRow("windows path") << u"C:\\Games\\HMK\\hmkset.dat"_s << u"hmkset.dat"_s;
    QTest::newRow("native path") << u"/home/me/mods/hmkset.dat"_s << u"hmkset.dat"_s;
    QTest::newRow("mixed, slash last") << u"C:\\mods\\new/set.dat"_s << u"set.dat"_s;
    QTest::newRow("bare name") << u"hmkset.dat"_s << u"hmkset.dat"_s;
    QTest::newRow("trailing separator") << u"C:\\Games\\"_s << QString();
}

void TestTextUtils::fileTitleOf()
{
    QFETCH(QString, path);
    QTEST(::fileTitleOf(path), "title");
}

void TestTextUtils::fileExists()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"present.dat"_s);
    QVERIFY(!::fileExists(path));
    QVERIFY(QFile(path).open(QIODevice::WriteOnly));
    QVERIFY(::fileExists(path));
    QVERIFY(!::fileExists(dir.path()));
    QVERIFY(!::fileExists(QString()));
}

void TestTextUtils::windows1252()
{
    QByteArray all(256, Qt::Uninitialized);
    for (int i = 0; i < 256; ++i)
        all[i] = char(i);
    const QString text = ::fromWindows1252(all);
    bool ok = false;
    QCOMPARE(::toWindows1252(text, &ok), all);
    QVERIFY(ok);
    QCOMPARE(::toWindows1252(u"a\u4e2db", &ok), QByteArray("a?b"));
    QVERIFY(!ok);
    QVERIFY(!isWindows1252(QChar(0x0100)));
}

QTEST_GUILESS_MAIN(TestTextUtils)
#include "tst_textutils.moc"

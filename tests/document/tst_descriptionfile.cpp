#include "descriptionfile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

class TestDescriptionFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void readsLines_data();
    void readsLines();
    void linesAfterLastEntryIgnored_data();
    void linesAfterLastEntryIgnored();
    void unreadableFileGivesEmptyTexts_data();
    void unreadableFileGivesEmptyTexts();

private:
    bool writeFile(const QByteArray &bytes);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;
};

void TestDescriptionFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_path = m_dir->filePath(u"desc.txt"_s);
}

bool TestDescriptionFile::writeFile(const QByteArray &bytes)
{
    QFile file(m_path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

void TestDescriptionFile::readsLines_data()
{
    // The texts of the first entries; every later entry must be empty.
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QStringList>("first");

    const QStringList aEmptyC = {u"A"_s, QString(), u"C"_s};
    QTest::newRow("CR LF") << QByteArray("A\r\n\r\nC\r\n") << aEmptyC;
    QTest::newRow("LF only") << QByteArray("A\n\nC\n") << aEmptyC;
    QTest::newRow("CR only") << QByteArray("A\r\rC\r") << aEmptyC;
    QTest::newRow("mixed line ends") << QByteArray("A\n\r\nC\r") << aEmptyC;
    QTest::newRow("CR CR LF") << QByteArray("A\r\r\nC") << aEmptyC;
    QTest::newRow("no final line end") << QByteArray("A\r\n\r\nC") << aEmptyC;
    QTest::newRow("leading empty lines")
        << QByteArray("\r\n\r\nC\r\n") << QStringList{QString(), QString(), u"C"_s};
    QTest::newRow("blanks kept") << QByteArray("  Grass \t\r\n\tWater\r\n")
                                 << QStringList{u"  Grass \t"_s, u"\tWater"_s};
    QTest::newRow("Windows-1252") << QByteArray("Caf\xe9\r\n\x80 5\r\n")
                                  << QStringList{u"Caf\u00e9"_s, u"\u20ac 5"_s};
    QTest::newRow("only a line end") << QByteArray("\r\n") << QStringList();
    QTest::newRow("empty file") << QByteArray() << QStringList();
}

void TestDescriptionFile::readsLines()
{
    QFETCH(QByteArray, contents);
    QFETCH(QStringList, first);

    QVERIFY(writeFile(contents));
    const QStringList texts = ReadDescriptions(m_path);
    QCOMPARE(texts.size(), DescriptionCount);
    QCOMPARE(texts.first(first.size()), first);
    for (qsizetype k = first.size(); k < texts.size(); ++k)
        QVERIFY2(texts[k].isEmpty(), qPrintable(u"entry %1: %2"_s.arg(k).arg(texts[k])));
}

void TestDescriptionFile::linesAfterLastEntryIgnored_data()
{
    QTest::addColumn<int>("lineCount");
    QTest::addColumn<QByteArray>("lineEnd");
    QTest::newRow("200 lines") << 200 << QByteArray("\r\n");
    QTest::newRow("200 lines, LF") << 200 << QByteArray("\n");
    QTest::newRow("152 lines") << 152 << QByteArray("\r\n");
    QTest::newRow("exactly 151") << 151 << QByteArray("\r\n");
}

void TestDescriptionFile::linesAfterLastEntryIgnored()
{
    QFETCH(int, lineCount);
    QFETCH(QByteArray, lineEnd);

    QByteArray contents;
    for (int k = 0; k < lineCount; ++k)
        contents += "line " + QByteArray::number(k) + lineEnd;
    QVERIFY(writeFile(contents));

    const QStringList texts = ReadDescriptions(m_path);
    QCOMPARE(texts.size(), DescriptionCount);
    QCOMPARE(texts.first(), u"line 0"_s);
    QCOMPARE(texts.last(), u"line 150"_s);
}

void TestDescriptionFile::unreadableFileGivesEmptyTexts_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("missing file") << u"absent.txt"_s;
    QTest::newRow("folder") << QString();
}

void TestDescriptionFile::unreadableFileGivesEmptyTexts()
{
    QFETCH(QString, name);
    const QString path = name.isEmpty() ? m_dir->path() : m_dir->filePath(name);
    QCOMPARE(ReadDescriptions(path), QStringList(DescriptionCount, QString()));
}

QTEST_GUILESS_MAIN(TestDescriptionFile)
#include "tst_descriptionfile.moc"

#include "descriptionfile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestDescriptionFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsLines_data();
    void readsLines();

private:
    QTemporaryDir mDir;
};

void TestDescriptionFile::readsLines_data()
{
    // The texts of the first entries; every later entry must be empty.
    QTest::addColumn<QByteArray>("contents"); // null: no file at all
    QTest::addColumn<QStringList>("first");

    const QStringList aEmptyC = {u"A"_s, QString(), u"C"_s};
    QTest::newRow("CR LF") << QByteArray("A\r\n\r\nC\r\n") << aEmptyC;
    QTest::newRow("LF") << QByteArray("A\n\nC\n") << aEmptyC;
    QTest::newRow("CR") << QByteArray("A\r\rC\r") << aEmptyC;
    QTest::newRow("CR CR LF, no final line end") << QByteArray("A\r\r\nC") << aEmptyC;
    QTest::newRow("blanks kept") << QByteArray("  Grass \t\r\n\tWater\r\n")
                                 << QStringList{u"  Grass \t"_s, u"\tWater"_s};
    QTest::newRow("Windows-1252") << QByteArray("Caf\xe9\r\n\x80 5\r\n")
                                  << QStringList{u"Caf\u00e9"_s, u"\u20ac 5"_s};
    QTest::newRow("missing file") << QByteArray() << QStringList();

    QByteArrayList lines;
    QStringList texts;
    for (int k = 0; k < 200; ++k)
        lines.append("line " + QByteArray::number(k));
    for (int k = 0; k < DescriptionCount; ++k)
        texts.append(u"line %1"_s.arg(k));
    QTest::newRow("200 lines") << lines.join("\r\n") << texts;
}

void TestDescriptionFile::readsLines()
{
    QFETCH(QByteArray, contents);
    QFETCH(QStringList, first);

    const QString path = mDir.filePath(QString::fromLatin1(QTest::currentDataTag()));
    QFile file(path);
    if (!contents.isNull())
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size());
    file.close();
    const QStringList texts = ::readDescriptionFile(path);
    QCOMPARE(texts.size(), DescriptionCount);
    QCOMPARE(texts.first(first.size()), first);
    for (qsizetype k = first.size(); k < texts.size(); ++k)
        QVERIFY2(texts[k].isEmpty(), qPrintable(u"entry %1: %2"_s.arg(k).arg(texts[k])));
}

QTEST_GUILESS_MAIN(TestDescriptionFile)
#include "tst_descriptionfile.moc"

#include "dialogclosing.h"
#include "fixedfield.h"
#include "selecttilesetdialog.h"
#include "tilesetfiles.h"
#include "widgets.h"

#include <QComboBox>

using namespace Qt::StringLiterals;

class TestForm5 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void itemText_data();
    void itemText();
    void choosingATileset_data();
    void choosingATileset();
};

void TestForm5::itemText_data()
{
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QString>("item");

    const QByteArray junk =
        QByteArray("Grass\0JUNK\x01\xffWater", 17).leftJustified(NameWidth, 'Z');
    QTest::newRow("junk after NUL") << junk << u"00. Grass"_s;
    QTest::newRow("full width, no NUL")
        << QByteArray(NameWidth, 'A') << u"00. "_s + QString(NameWidth, u'A');
    QTest::newRow("never written") << QByteArray(NameWidth, '\0') << u"00. "_s;
    QTest::newRow("Windows-1252") << storeFixedText("\x80 caf\xe9", NameWidth) << u"00. € café"_s;
}

void TestForm5::itemText()
{
    QFETCH(QByteArray, field);
    QFETCH(QString, item);

    QCOMPARE(SelectTilesetDialog::itemText(0, field), item);
}

void TestForm5::choosingATileset_data()
{
    QTest::addColumn<int>("choice");

    QTest::newRow("Ok") << 100;
    QTest::newRow("Enter") << 100;
    QTest::newRow("Cancel") << -1;
    QTest::newRow("Escape") << -1;
    QTest::newRow("close box") << -1;
}

void TestForm5::choosingATileset()
{
    QFETCH(int, choice);

    SelectTilesetDialog dialog(TestFiles::numberedTable(120, 1));
    verifyTexts(dialog, u"Form5"_s, u"Select tileset"_s, {u"Command1=Ok"_s, u"Command2=Cancel"_s});
    QVERIFY(child<QPushButton>(&dialog, u"Command1"_s)->isDefault());
    QVERIFY(shown(dialog));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());

    // Every tileset, numbered in two digits up to 99 and three from 100; the first is chosen.
    QCOMPARE(child<QComboBox>(&dialog, u"Combo1"_s)->count(), 120);
    QCOMPARE(child<QComboBox>(&dialog, u"Combo1"_s)->currentText(), u"00. Set 0"_s);
    QCOMPARE(child<QComboBox>(&dialog, u"Combo1"_s)->itemText(99), u"99. Set 99"_s);
    child<QComboBox>(&dialog, u"Combo1"_s)->setCurrentIndex(100);
    QCOMPARE(child<QComboBox>(&dialog, u"Combo1"_s)->currentText(), u"100. Set 100"_s);
    closeAsNamed(dialog);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.importChoice(), choice);
}

QTEST_MAIN(TestForm5)
#include "tst_selecttilesetdialog.moc"

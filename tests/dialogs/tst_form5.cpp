#include "dialogclosing.h"
#include "fixedfield.h"
#include "form5.h"
#include "tilesetfiles.h"
#include "tilesettable.h"

#include <QComboBox>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Four tilesets whose names hold text, a NUL, then bytes a loader may leave behind.
TilesetTable junkAfterNul()
{
    TilesetTable table(4, 2);
    const QByteArray texts[] = {"Grass", "Water", "Cave walls", "Dungeon"};
    for (int t = 0; t < 4; ++t) {
        QByteArray field = texts[t] + '\0' + "JUNK\x01\xff" + texts[(t + 1) % 4];
        field.append(QByteArray(NameWidth - field.size(), 'Z'));
        table.setTilesetName(t, field);
    }
    return table;
}

void finish(Form5 &dialog, Close how)
{
    closeDialog(dialog, how, dialog.Command1, dialog.Command2);
}

} // namespace

class TestForm5 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void itemsShowNumberAndNameUpToNul();
    void itemText_data();
    void itemText();
    void hundredthItemHasThreeDigits();
    void firstItemSelectedWhenOpened();
    void buttonsAndWindow();
    void choice_data();
    void choice();
};

void TestForm5::itemsShowNumberAndNameUpToNul()
{
    Form5 dialog(junkAfterNul());
    const QStringList expected = {u"00. Grass"_s, u"01. Water"_s, u"02. Cave walls"_s,
                                  u"03. Dungeon"_s};
    QCOMPARE(dialog.Combo1->count(), expected.size());
    for (int i = 0; i < expected.size(); ++i)
        QCOMPARE(dialog.Combo1->itemText(i), expected[i]);
}

void TestForm5::itemText_data()
{
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QString>("item");

    QTest::newRow("stored text") << StoreFixedText("Forest", NameWidth) << u"00. Forest"_s;
    QTest::newRow("full width, no NUL")
        << QByteArray(NameWidth, 'A') << u"00. "_s + QString(NameWidth, u'A');
    QTest::newRow("never written") << QByteArray(NameWidth, '\0') << u"00. "_s;
    QTest::newRow("e acute") << StoreFixedText("Caf\xe9", NameWidth) << u"00. Café"_s;
    QTest::newRow("euro sign") << StoreFixedText("\x80 shop", NameWidth) << u"00. € shop"_s;
    QTest::newRow("NUL first, junk after")
        << QByteArray("\0visible?", 9) + QByteArray(NameWidth - 9, 'x') << u"00. "_s;
}

void TestForm5::itemText()
{
    QFETCH(QByteArray, field);
    QFETCH(QString, item);

    TilesetTable table(1, 1);
    table.setTilesetName(0, field);
    Form5 dialog(table);
    QCOMPARE(dialog.Combo1->itemText(0), item);
}

void TestForm5::hundredthItemHasThreeDigits()
{
    Form5 dialog(TestFiles::numberedTable(120, 1));
    QCOMPARE(dialog.Combo1->count(), 120);
    QCOMPARE(dialog.Combo1->itemText(0), u"00. Set 0"_s);
    QCOMPARE(dialog.Combo1->itemText(9), u"09. Set 9"_s);
    QCOMPARE(dialog.Combo1->itemText(99), u"99. Set 99"_s);
    QCOMPARE(dialog.Combo1->itemText(100), u"100. Set 100"_s);
    QCOMPARE(dialog.Combo1->itemText(119), u"119. Set 119"_s);
}

void TestForm5::firstItemSelectedWhenOpened()
{
    Form5 dialog(junkAfterNul());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.Combo1->currentIndex(), 0);
    QCOMPARE(dialog.Combo1->currentText(), u"00. Grass"_s);
    QCOMPARE(dialog.ImportChoice(), -1);
}

void TestForm5::buttonsAndWindow()
{
    Form5 dialog(junkAfterNul());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.objectName(), u"Form5"_s);
    QVERIFY(!dialog.windowTitle().isEmpty());
    QCOMPARE(dialog.findChild<QComboBox *>(u"Combo1"_s), dialog.Combo1);
    QCOMPARE(dialog.findChild<QPushButton *>(u"Command1"_s)->text(), u"Ok"_s);
    QCOMPARE(dialog.findChild<QPushButton *>(u"Command2"_s)->text(), u"Cancel"_s);
    QVERIFY(dialog.Command1->isDefault());
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    QVERIFY(!(dialog.windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(dialog.windowFlags() & Qt::WindowMaximizeButtonHint));
}

void TestForm5::choice_data()
{
    QTest::addColumn<Close>("how");
    QTest::addColumn<int>("choice");

    QTest::newRow("Ok") << Close::OkButton << 3;
    QTest::newRow("Enter") << Close::EnterKey << 3;
    QTest::newRow("accept") << Close::Accept << 3;
    QTest::newRow("Cancel") << Close::CancelButton << -1;
    QTest::newRow("Escape") << Close::EscapeKey << -1;
    QTest::newRow("close box") << Close::CloseBox << -1;
    QTest::newRow("reject") << Close::Reject << -1;
}

void TestForm5::choice()
{
    QFETCH(Close, how);
    QFETCH(int, choice);

    Form5 dialog(junkAfterNul());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.Combo1->setCurrentIndex(3);
    finish(dialog, how);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.ImportChoice(), choice);
}

QTEST_MAIN(TestForm5)
#include "tst_form5.moc"

#include "dialogclosing.h"
#include "newfiledialog.h"
#include "widgets.h"

#include <QLineEdit>
#include <QRadioButton>

using namespace Qt::StringLiterals;

namespace {

// Chooses Custom, empties the tileset box with the keyboard, as a user would, then types text.
void typeTilesetCount(NewFileDialog &dialog, const QString &text)
{
    child<QRadioButton>(&dialog, u"Option3"_s)->click();
    textBox(&dialog, 0)->selectAll();
    QTest::keyClick(textBox(&dialog, 0), Qt::Key_Backspace);
    QTest::keyClicks(textBox(&dialog, 0), text);
}

} // namespace

class TestForm4 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void presetsFillTheCountsCustomEditsThem();
    void typedCounts_data();
    void typedCounts();
    void opensOnThePresetAndOnlyOkConfirms_data();
    void opensOnThePresetAndOnlyOkConfirms();
};

void TestForm4::presetsFillTheCountsCustomEditsThem()
{
    NewFileDialog dialog;
    QVERIFY(shown(dialog));

    // From an invalid custom state, which the preset must repair entirely.
    typeTilesetCount(dialog, u"0"_s);
    textBox(&dialog, 1)->setText(u"999"_s);
    child<QRadioButton>(&dialog, u"Option1"_s)->click();
    QCOMPARE(textBox(&dialog, 0)->text(), u"50"_s);
    QCOMPARE(textBox(&dialog, 1)->text(), u"151"_s);
    QVERIFY(!textBox(&dialog, 0)->isEnabled() &&
            child<QPushButton>(&dialog, u"Command1"_s)->isEnabled());

    // Custom keeps what the preset put there and takes the typing into the tileset box only.
    child<QRadioButton>(&dialog, u"Option3"_s)->click();
    QCOMPARE(textBox(&dialog, 0)->text(), u"50"_s);
    QVERIFY(textBox(&dialog, 0)->isEnabled() && !textBox(&dialog, 1)->isEnabled());
    QCOMPARE(dialog.focusWidget(), textBox(&dialog, 0));

    // The other preset repairs it too.
    typeTilesetCount(dialog, u"0"_s);
    child<QRadioButton>(&dialog, u"Option2"_s)->click();
    child<QPushButton>(&dialog, u"Command1"_s)->click();
    QCOMPARE(dialog.tilesetCount(), 70);
}

void TestForm4::typedCounts_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("entries");
    QTest::addColumn<int>("tilesets"); // 0: refused, Ok stays disabled

    QTest::newRow("zero") << u"0"_s << u"151"_s << 0;
    QTest::newRow("256") << u"256"_s << u"151"_s << 0;
    QTest::newRow("digits then letter") << u"12a"_s << u"151"_s << 0;
    QTest::newRow("255, a fourth digit not taken") << u"2551"_s << u"151"_s << 255;
    QTest::newRow(".5") << u".5"_s << u"151"_s << 1;
    QTest::newRow("1.5 rounds down to even") << u"1.5"_s << u"151"_s << 1;
    QTest::newRow("2.5 rounds up to even") << u"2.5"_s << u"151"_s << 3;
    QTest::newRow("blanks around") << u" 7 "_s << u"151"_s << 7;
    QTest::newRow("entries 0") << u"9"_s << u"0"_s << 0;
    QTest::newRow("entries 255") << u"9"_s << u"255"_s << 9;
}

void TestForm4::typedCounts()
{
    QFETCH(QString, typed);
    QFETCH(QString, entries);
    QFETCH(int, tilesets);

    NewFileDialog dialog;
    QVERIFY(shown(dialog));
    textBox(&dialog, 1)->setText(entries);
    typeTilesetCount(dialog, typed);
    QCOMPARE(child<QPushButton>(&dialog, u"Command1"_s)->isEnabled(), tilesets > 0);

    // Enter presses Ok only while Ok is enabled.
    QTest::keyClick(&dialog, Qt::Key_Return);
    QCOMPARE(dialog.confirmed(), tilesets > 0);
    QCOMPARE(dialog.isVisible(), tilesets == 0);
    if (tilesets > 0) {
        QCOMPARE(dialog.tilesetCount(), tilesets);
        QCOMPARE(dialog.entryCount(), entries.toInt());
    }
}

void TestForm4::opensOnThePresetAndOnlyOkConfirms_data()
{
    QTest::addColumn<bool>("confirmed");

    QTest::newRow("Ok") << true;
    QTest::newRow("Cancel") << false;
    QTest::newRow("Escape") << false;
    QTest::newRow("close box") << false;
}

void TestForm4::opensOnThePresetAndOnlyOkConfirms()
{
    QFETCH(bool, confirmed);

    // Every dialog opens alike, even after an earlier row has used one.
    NewFileDialog dialog;
    verifyTexts(dialog, u"Form4"_s, u"New file"_s,
                {u"Option1=Harrowmark"_s, u"Option2=Veldrune"_s, u"Option3=Custom:"_s,
                 u"Label1=Amount of tilesets:"_s, u"Label2=Entries per tileset:"_s,
                 u"Command1=Ok"_s, u"Command2=Cancel"_s});
    QVERIFY(child<QRadioButton>(&dialog, u"Option2"_s)->isChecked());
    QCOMPARE(textBox(&dialog, 0)->text(), u"70"_s);
    QCOMPARE(textBox(&dialog, 1)->text(), u"151"_s);
    QVERIFY(!textBox(&dialog, 0)->isEnabled());
    QVERIFY(child<QPushButton>(&dialog, u"Command1"_s)->isEnabled() &&
            child<QPushButton>(&dialog, u"Command1"_s)->isDefault());
    QVERIFY(shown(dialog));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    QVERIFY(child<QPushButton>(&dialog, u"Command1"_s)->x() <
            child<QPushButton>(&dialog, u"Command2"_s)->x());

    typeTilesetCount(dialog, u"12"_s);
    closeAsNamed(dialog);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(confirmed ? QDialog::Accepted : QDialog::Rejected));
    QCOMPARE(dialog.confirmed(), confirmed);
}

QTEST_MAIN(TestForm4)
#include "tst_newfiledialog.moc"

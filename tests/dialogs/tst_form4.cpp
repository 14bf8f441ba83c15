#include "dialogclosing.h"
#include "form4.h"

#include <QLineEdit>
#include <QRadioButton>

using namespace Qt::StringLiterals;

namespace {

// Chooses Custom, empties the tileset box with the keyboard, as a user would, then types text.
void typeTilesetCount(Form4 &dialog, const QString &text)
{
    dialog.Option3->click();
    dialog.Text1[0]->selectAll();
    QTest::keyClick(dialog.Text1[0], Qt::Key_Backspace);
    QTest::keyClicks(dialog.Text1[0], text);
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
    Form4 dialog;
    QVERIFY(shown(dialog));

    // From an invalid custom state, which the preset must repair entirely.
    typeTilesetCount(dialog, u"0"_s);
    dialog.Text1[1]->setText(u"999"_s);
    dialog.Option1->click();
    QCOMPARE(dialog.Text1[0]->text(), u"50"_s);
    QCOMPARE(dialog.Text1[1]->text(), u"151"_s);
    QVERIFY(!dialog.Text1[0]->isEnabled() && dialog.Command1->isEnabled());

    // Custom keeps what the preset put there and takes the typing into the tileset box only.
    dialog.Option3->click();
    QCOMPARE(dialog.Text1[0]->text(), u"50"_s);
    QVERIFY(dialog.Text1[0]->isEnabled() && !dialog.Text1[1]->isEnabled());
    QCOMPARE(dialog.focusWidget(), dialog.Text1[0]);

    // The other preset repairs it too.
    typeTilesetCount(dialog, u"0"_s);
    dialog.Option2->click();
    dialog.Command1->click();
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

    Form4 dialog;
    QVERIFY(shown(dialog));
    dialog.Text1[1]->setText(entries);
    typeTilesetCount(dialog, typed);
    QCOMPARE(dialog.Command1->isEnabled(), tilesets > 0);

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
    Form4 dialog;
    verifyTexts(dialog, u"Form4"_s, u"New file"_s,
                {u"Option1=Harrowmark"_s, u"Option2=Veldrune"_s, u"Option3=Custom:"_s,
                 u"Label1=Amount of tilesets:"_s, u"Label2=Entries per tileset:"_s,
                 u"Command1=Ok"_s, u"Command2=Cancel"_s});
    QVERIFY(dialog.Option2->isChecked());
    QCOMPARE(dialog.Text1[0]->text(), u"70"_s);
    QCOMPARE(dialog.Text1[1]->text(), u"151"_s);
    QVERIFY(!dialog.Text1[0]->isEnabled());
    QVERIFY(dialog.Command1->isEnabled() && dialog.Command1->isDefault());
    QVERIFY(shown(dialog));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    QVERIFY(dialog.Command1->x() < dialog.Command2->x());

    typeTilesetCount(dialog, u"12"_s);
    closeAsNamed(dialog);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(confirmed ? QDialog::Accepted : QDialog::Rejected));
    QCOMPARE(dialog.confirmed(), confirmed);
}

QTEST_MAIN(TestForm4)
#include "tst_form4.moc"

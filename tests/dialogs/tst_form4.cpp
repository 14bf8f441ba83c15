#include "dialogclosing.h"
#include "form4.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QRadioButton *option(Form4 &dialog, int number)
{
    return dialog.findChild<QRadioButton *>(u"Option%1"_s.arg(number));
}

// Empties the tileset box with the keyboard, as a user would, then types text.
void typeTilesetCount(Form4 &dialog, const QString &text)
{
    dialog.Option3->click();
    dialog.Text1[0]->selectAll();
    QTest::keyClick(dialog.Text1[0], Qt::Key_Backspace);
    QTest::keyClicks(dialog.Text1[0], text);
}

void verifyInitialState(Form4 &dialog)
{
    QVERIFY(!dialog.Option1->isChecked());
    QVERIFY(dialog.Option2->isChecked());
    QVERIFY(!dialog.Option3->isChecked());
    QCOMPARE(dialog.Text1[0]->text(), u"70"_s);
    QCOMPARE(dialog.Text1[1]->text(), u"151"_s);
    QVERIFY(!dialog.Text1[0]->isEnabled());
    QVERIFY(!dialog.Text1[1]->isEnabled());
    QVERIFY(dialog.Command1->isEnabled());
    QVERIFY(!dialog.confirmed());
}

} // namespace

class TestForm4 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void opensOnTheVeldrunePreset();
    void controlsAreNamedAndLabelled();
    void windowIsAFixedDialog();
    void freshDialogsStartAlike();

    void presetsSetTheCounts_data();
    void presetsSetTheCounts();
    void customEnablesOnlyTheTilesetBox();
    void customMovesFocusToTheTilesetBox();

    void typedCounts_data();
    void typedCounts();
    void entriesBoxIsValidatedToo();
    void boxesHoldThreeCharacters();
    void countFromValueRoundsHalfToEven_data();
    void countFromValueRoundsHalfToEven();

    void enterConfirms();
    void cancelling_data();
    void cancelling();
};

void TestForm4::opensOnTheVeldrunePreset()
{
    Form4 dialog;
    verifyInitialState(dialog);
}

void TestForm4::controlsAreNamedAndLabelled()
{
    Form4 dialog;
    QCOMPARE(dialog.objectName(), u"Form4"_s);
    QCOMPARE(dialog.windowTitle(), u"New file"_s);
    QCOMPARE(option(dialog, 1), dialog.Option1);
    QCOMPARE(option(dialog, 2), dialog.Option2);
    QCOMPARE(option(dialog, 3), dialog.Option3);
    QCOMPARE(dialog.Option1->text(), u"Harrowmark"_s);
    QCOMPARE(dialog.Option2->text(), u"Veldrune"_s);
    QCOMPARE(dialog.Option3->text(), u"Custom:"_s);
    QCOMPARE(dialog.findChild<QLabel *>(u"Label1"_s)->text(), u"Amount of tilesets:"_s);
    QCOMPARE(dialog.findChild<QLabel *>(u"Label2"_s)->text(), u"Entries per tileset:"_s);
    QCOMPARE(dialog.findChild<QPushButton *>(u"Command1"_s)->text(), u"Ok"_s);
    QCOMPARE(dialog.findChild<QPushButton *>(u"Command2"_s)->text(), u"Cancel"_s);
    QVERIFY(dialog.Command1->isDefault());
    QVERIFY(!dialog.Command2->isDefault());

    // Both boxes share one name and are told apart by their index.
    const QList<QLineEdit *> boxes = dialog.findChildren<QLineEdit *>(u"Text1"_s);
    QCOMPARE(boxes.size(), 2);
    for (QLineEdit *box : boxes) {
        const int index = box->property("index").toInt();
        QVERIFY(index == 0 || index == 1);
        QCOMPARE(box, dialog.Text1[index]);
    }
}

void TestForm4::windowIsAFixedDialog()
{
    Form4 dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    QVERIFY(!(dialog.windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(dialog.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(dialog.windowFlags() & Qt::WindowCloseButtonHint);

    // Options stacked at the top, the count rows below them, the buttons side by side last.
    const auto top = [&](QWidget *w) { return w->mapTo(&dialog, QPoint()).y(); };
    const auto left = [&](QWidget *w) { return w->mapTo(&dialog, QPoint()).x(); };
    QVERIFY(top(dialog.Option1) < top(dialog.Option2));
    QVERIFY(top(dialog.Option2) < top(dialog.Option3));
    QVERIFY(top(dialog.Option3) < top(dialog.Text1[0]));
    QVERIFY(top(dialog.Text1[0]) < top(dialog.Text1[1]));
    QVERIFY(top(dialog.Text1[1]) < top(dialog.Command1));
    QCOMPARE(top(dialog.Command1), top(dialog.Command2));
    QVERIFY(left(dialog.Command1) < left(dialog.Command2));
    QVERIFY(left(dialog.Label1) < left(dialog.Text1[0]));
    QVERIFY(left(dialog.Label2) < left(dialog.Text1[1]));
}

void TestForm4::freshDialogsStartAlike()
{
    {
        Form4 first;
        typeTilesetCount(first, u"9"_s);
        first.Command1->click();
        QCOMPARE(first.tilesetCount(), 9);
    }
    Form4 second;
    verifyInitialState(second);
    Form4 third;
    verifyInitialState(third);
}

void TestForm4::presetsSetTheCounts_data()
{
    QTest::addColumn<int>("preset");
    QTest::addColumn<QString>("tilesets");

    QTest::newRow("Harrowmark") << 1 << u"50"_s;
    QTest::newRow("Veldrune") << 2 << u"70"_s;
}

void TestForm4::presetsSetTheCounts()
{
    QFETCH(int, preset);
    QFETCH(QString, tilesets);

    Form4 dialog;
    // Start from an invalid custom state, so that the preset must repair everything.
    typeTilesetCount(dialog, u"0"_s);
    dialog.Text1[1]->setText(u"999"_s);
    QVERIFY(!dialog.Command1->isEnabled());

    option(dialog, preset)->click();
    QCOMPARE(dialog.Text1[0]->text(), tilesets);
    QCOMPARE(dialog.Text1[1]->text(), u"151"_s);
    QVERIFY(!dialog.Text1[0]->isEnabled());
    QVERIFY(!dialog.Text1[1]->isEnabled());
    QVERIFY(dialog.Command1->isEnabled());

    dialog.Command1->click();
    QVERIFY(dialog.confirmed());
    QCOMPARE(dialog.tilesetCount(), tilesets.toInt());
    QCOMPARE(dialog.entryCount(), 151);
}

void TestForm4::customEnablesOnlyTheTilesetBox()
{
    Form4 dialog;
    dialog.Option1->click();
    dialog.Option3->click();
    QVERIFY(dialog.Text1[0]->isEnabled());
    QVERIFY(!dialog.Text1[1]->isEnabled());
    // Choosing Custom keeps what the last preset put there.
    QCOMPARE(dialog.Text1[0]->text(), u"50"_s);
    QCOMPARE(dialog.Text1[1]->text(), u"151"_s);
}

void TestForm4::customMovesFocusToTheTilesetBox()
{
    Form4 dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.activateWindow();
    const bool active = QTest::qWaitForWindowActive(&dialog);

    dialog.Option3->setFocus();
    dialog.Option3->click();
    // The dialog's focus child holds even when the platform leaves the window inactive.
    QCOMPARE(dialog.focusWidget(), dialog.Text1[0]);
    if (active)
        QTRY_COMPARE(QApplication::focusWidget(), dialog.Text1[0]);

    // Typing now goes straight into the box.
    dialog.Text1[0]->selectAll();
    QTest::keyClicks(dialog.focusWidget(), u"12"_s);
    QCOMPARE(dialog.Text1[0]->text(), u"12"_s);
}

void TestForm4::typedCounts_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("okEnabled");
    QTest::addColumn<int>("tilesets");

    QTest::newRow("zero") << u"0"_s << false << 0;
    QTest::newRow("256") << u"256"_s << false << 0;
    QTest::newRow("negative") << u"-5"_s << false << 0;
    QTest::newRow("letters") << u"abc"_s << false << 0;
    QTest::newRow("digits then letter") << u"12a"_s << false << 0;
    QTest::newRow("cleared") << QString() << false << 0;
    QTest::newRow("blanks only") << u"   "_s << false << 0;
    QTest::newRow("point only") << u"."_s << false << 0;
    QTest::newRow("infinity") << u"inf"_s << false << 0;
    QTest::newRow("not a number") << u"nan"_s << false << 0;
    QTest::newRow("below one") << u"0.0"_s << false << 0;

    QTest::newRow("255") << u"255"_s << true << 255;
    QTest::newRow("1") << u"1"_s << true << 1;
    QTest::newRow("70") << u"70"_s << true << 70;
    QTest::newRow("2.5 rounds up to even") << u"2.5"_s << true << 3;
    QTest::newRow("1.5 rounds down to even") << u"1.5"_s << true << 1;
    QTest::newRow(".5") << u".5"_s << true << 1;
    QTest::newRow("0.7") << u"0.7"_s << true << 1;
    QTest::newRow("1.6") << u"1.6"_s << true << 2;
    QTest::newRow("blanks around") << u" 7 "_s << true << 7;
}

void TestForm4::typedCounts()
{
    QFETCH(QString, typed);
    QFETCH(bool, okEnabled);
    QFETCH(int, tilesets);

    Form4 dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    typeTilesetCount(dialog, typed);
    QCOMPARE(dialog.Text1[0]->text(), typed);
    QCOMPARE(dialog.Command1->isEnabled(), okEnabled);

    // Enter presses Ok only while Ok is enabled.
    QTest::keyClick(&dialog, Qt::Key_Return);
    QCOMPARE(dialog.confirmed(), okEnabled);
    QCOMPARE(dialog.isVisible(), !okEnabled);
    if (okEnabled) {
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.tilesetCount(), tilesets);
        QCOMPARE(dialog.entryCount(), 151);
    }
}

void TestForm4::entriesBoxIsValidatedToo()
{
    Form4 dialog;
    dialog.Text1[1]->setText(u"0"_s);
    QVERIFY(!dialog.Command1->isEnabled());
    dialog.Text1[1]->setText(u"151"_s);
    QVERIFY(dialog.Command1->isEnabled());

    // A valid tileset count does not hide a bad entry count.
    dialog.Text1[1]->setText(u"x"_s);
    typeTilesetCount(dialog, u"9"_s);
    QVERIFY(!dialog.Command1->isEnabled());
}

void TestForm4::boxesHoldThreeCharacters()
{
    Form4 dialog;
    QCOMPARE(dialog.Text1[0]->maxLength(), 3);
    QCOMPARE(dialog.Text1[1]->maxLength(), 3);

    typeTilesetCount(dialog, u"2551"_s);
    QCOMPARE(dialog.Text1[0]->text(), u"255"_s);
    QVERIFY(dialog.Command1->isEnabled());
    dialog.Command1->click();
    QCOMPARE(dialog.tilesetCount(), 255);
}

void TestForm4::countFromValueRoundsHalfToEven_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("count");

    QTest::newRow("0.5") << 0.5 << 1;
    QTest::newRow("1") << 1.0 << 1;
    QTest::newRow("1.4") << 1.4 << 1;
    QTest::newRow("1.5") << 1.5 << 1;
    QTest::newRow("1.6") << 1.6 << 2;
    QTest::newRow("2.5") << 2.5 << 3;
    QTest::newRow("3.5") << 3.5 << 3;
    QTest::newRow("4.5") << 4.5 << 5;
    QTest::newRow("70") << 70.0 << 70;
    QTest::newRow("254.5") << 254.5 << 255;
    QTest::newRow("255") << 255.0 << 255;
}

void TestForm4::countFromValueRoundsHalfToEven()
{
    QFETCH(double, value);
    QFETCH(int, count);
    QCOMPARE(Form4::countFromValue(value), count);
}

void TestForm4::enterConfirms()
{
    Form4 dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::keyClick(&dialog, Qt::Key_Enter);
    QVERIFY(!dialog.isVisible());
    QVERIFY(dialog.confirmed());
    QCOMPARE(dialog.tilesetCount(), 70);
    QCOMPARE(dialog.entryCount(), 151);
}

void TestForm4::cancelling_data()
{
    QTest::addColumn<Close>("how");

    QTest::newRow("Cancel button") << Close::CancelButton;
    QTest::newRow("Escape") << Close::EscapeKey;
    QTest::newRow("close box") << Close::CloseBox;
    QTest::newRow("reject") << Close::Reject;
}

void TestForm4::cancelling()
{
    QFETCH(Close, how);

    Form4 dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    typeTilesetCount(dialog, u"12"_s);
    QVERIFY(dialog.Command1->isEnabled());

    closeDialog(dialog, how, nullptr, dialog.Command2);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(!dialog.confirmed());
}

QTEST_MAIN(TestForm4)
#include "tst_form4.moc"

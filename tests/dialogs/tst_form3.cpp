#include "dialogclosing.h"
#include "document.h"
#include "form3.h"

#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

Document newDocument(int tilesets = 70, int entries = 151)
{
    Document document;
    document.Tilesets = TilesetTable(tilesets, entries);
    document.FileTitle = u"untitled"_s;
    document.FileFolder = u"n/a"_s;
    return document;
}

QLabel *label(Form3 &dialog, int number)
{
    return dialog.findChild<QLabel *>(u"Label%1"_s.arg(number));
}

} // namespace

class TestForm3 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void showsANewDocument();
    void captionsAreBoldAndLeftOfTheirValues();
    void countsAreDecimal_data();
    void countsAreDecimal();
    void longTextIsCutNotWidened_data();
    void longTextIsCutNotWidened();
    void windowIsAFixedDialog();
    void closing_data();
    void closing();
};

void TestForm3::showsANewDocument()
{
    const Document document = newDocument();
    Form3 dialog(document);
    QCOMPARE(dialog.objectName(), u"Form3"_s);
    QCOMPARE(dialog.windowTitle(), u"File info"_s);
    QCOMPARE(label(dialog, 5)->text(), u"untitled"_s);
    QCOMPARE(label(dialog, 6)->text(), u"n/a"_s);
    QCOMPARE(label(dialog, 7)->text(), u"70"_s);
    QCOMPARE(label(dialog, 8)->text(), u"151"_s);
    QCOMPARE(dialog.findChild<QPushButton *>(u"Command1"_s)->text(), u"Ok"_s);
    QVERIFY(dialog.Command1->isDefault());

    auto *rule = dialog.findChild<QFrame *>(u"Line1"_s);
    QVERIFY(rule);
    QCOMPARE(rule->frameShape(), QFrame::HLine);
    QCOMPARE(rule->frameShadow(), QFrame::Sunken);
}

void TestForm3::captionsAreBoldAndLeftOfTheirValues()
{
    const Document document = newDocument();
    Form3 dialog(document);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    const QStringList captions = {u"Filename:"_s, u"Path:"_s, u"Tilesets:"_s,
                                  u"Entries per tileset:"_s};
    int previousTop = -1;
    for (int row = 0; row < 4; ++row) {
        QLabel *caption = label(dialog, row + 1);
        QLabel *value = label(dialog, row + 5);
        QCOMPARE(caption->text(), captions[row]);
        QVERIFY(caption->font().bold());
        QVERIFY(!value->font().bold());
        QVERIFY(caption->geometry().right() < value->x());
        QVERIFY(caption->y() > previousTop);
        previousTop = caption->y();
        if (row == 1)
            QVERIFY(dialog.Line1->y() > caption->y());
        if (row == 2)
            QVERIFY(dialog.Line1->y() < caption->y());
    }
    // The rule runs across the dialog, under both columns.
    QVERIFY(dialog.Line1->x() <= dialog.Label1->x());
    QVERIFY(dialog.Line1->geometry().right() >= dialog.Label6->geometry().right());
}

void TestForm3::countsAreDecimal_data()
{
    QTest::addColumn<int>("tilesets");
    QTest::addColumn<int>("entries");

    QTest::newRow("smallest") << 1 << 1;
    QTest::newRow("Harrowmark") << 50 << 151;
    QTest::newRow("largest") << 255 << 255;
}

void TestForm3::countsAreDecimal()
{
    QFETCH(int, tilesets);
    QFETCH(int, entries);

    const Document document = newDocument(tilesets, entries);
    Form3 dialog(document);
    QCOMPARE(dialog.Label7->text(), QString::number(tilesets));
    QCOMPARE(dialog.Label8->text(), QString::number(entries));
}

void TestForm3::longTextIsCutNotWidened_data()
{
    QTest::addColumn<bool>("longFolder");

    QTest::newRow("folder") << true;
    QTest::newRow("file name") << false;
}

void TestForm3::longTextIsCutNotWidened()
{
    QFETCH(bool, longFolder);

    const Document shortDocument = newDocument();
    Form3 shortDialog(shortDocument);
    shortDialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&shortDialog));

    Document longDocument = newDocument();
    QString longText = u"/home/user/games/harrowmark/"_s;
    while (longText.size() < 300)
        longText += u"folder/"_s;
    longText.truncate(300);
    (longFolder ? longDocument.FileFolder : longDocument.FileTitle) = longText;
    Form3 longDialog(longDocument);
    longDialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&longDialog));

    QCOMPARE(longDialog.sizeHint(), shortDialog.sizeHint());
    QCOMPARE(longDialog.size(), shortDialog.size());

    // The whole text is kept, on one line, and shown up to the dialog's right margin.
    QLabel *value = longFolder ? longDialog.Label6 : longDialog.Label5;
    QCOMPARE(value->text(), longText);
    QVERIFY(!value->wordWrap());
    QVERIFY(value->geometry().right() < longDialog.width());
    const int margin = longDialog.layout()->contentsMargins().right();
    QVERIFY(value->geometry().right() >= longDialog.width() - margin - 1);
    QVERIFY(value->fontMetrics().horizontalAdvance(longText) > value->width());
}

void TestForm3::windowIsAFixedDialog()
{
    const Document document = newDocument();
    Form3 dialog(document);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    QVERIFY(!(dialog.windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(dialog.windowFlags() & Qt::WindowMaximizeButtonHint));
    // Counts keep one width whatever their value.
    QCOMPARE(dialog.Label7->minimumWidth(), dialog.Label7->maximumWidth());
    QCOMPARE(dialog.Label8->minimumWidth(), dialog.Label8->maximumWidth());
}

void TestForm3::closing_data()
{
    QTest::addColumn<Close>("how");
    QTest::addColumn<int>("result");

    QTest::newRow("Ok") << Close::OkButton << int(QDialog::Accepted);
    QTest::newRow("Enter") << Close::EnterKey << int(QDialog::Accepted);
    QTest::newRow("Escape") << Close::EscapeKey << int(QDialog::Rejected);
    QTest::newRow("close box") << Close::CloseBox << int(QDialog::Rejected);
}

void TestForm3::closing()
{
    QFETCH(Close, how);
    QFETCH(int, result);

    const Document document = newDocument();
    Form3 dialog(document);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    closeDialog(dialog, how, dialog.Command1);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), result);
}

QTEST_MAIN(TestForm3)
#include "tst_form3.moc"

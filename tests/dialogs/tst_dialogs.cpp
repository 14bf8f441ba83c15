#include "aboutdialog.h"
#include "document.h"
#include "fileinfodialog.h"
#include "newfiledialog.h"
#include "progresswindow.h"
#include "selecttilesetdialog.h"
#include "tilesetfiles.h"
#include "widgets.h"

#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Ends a dialog as the data row is named: a button's text, "close box", "Enter" or "Escape".
void closeAsNamed(QDialog &dialog)
{
    const QString how = QString::fromLatin1(QTest::currentDataTag());
    for (QPushButton *button : dialog.findChildren<QPushButton *>())
        if (button->text() == how)
            return button->click();
    if (how == u"close box"_s)
        dialog.close();
    else
        QTest::keyClick(&dialog, how == u"Enter"_s ? Qt::Key_Return : Qt::Key_Escape);
}

// Shows the window; its title and the text of each named control, as "name=text".
QString texts(QWidget &window, const QStringList &names)
{
    window.show();
    QString shown = window.windowTitle();
    for (const QString &name : names)
        shown += u' ' + name + u'=' + child<QObject>(&window, name)->property("text").toString();
    return shown;
}

} // namespace

class TestDialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void newFile_data()
    {
        QTest::addColumn<QString>("typed"); // into the tileset count, after Custom
        QTest::addColumn<int>("tilesets");  // 0: refused, Ok stays disabled
        // Counts are checked after rounding, as they will be used.
        const QString rows = u"0=0|0.4=0|.4=0|.49=0|256=0|12a=0|2551=255|.5=1|1.5=1|2.5=3| 7 =7"_s;
        for (const QString &row : rows.split(u'|'))
            QTest::newRow(qPrintable(row))
                << row.section(u'=', 0, 0) << row.section(u'=', 1).toInt();
    }
    void newFile()
    {
        QFETCH(QString, typed);
        QFETCH(int, tilesets);
        NewFileDialog dialog;
        QCOMPARE(texts(dialog, {u"Option1"_s, u"Option2"_s, u"Option3"_s, u"Label1"_s, u"Text1"_s,
                                u"Label2"_s, u"Command1"_s, u"Command2"_s}),
                 u"New file Option1=Harrowmark Option2=Veldrune Option3=Custom: Label1=Amount of "
                 u"tilesets: Text1=70 Label2=Entries per tileset: Command1=Ok Command2=Cancel"_s);
        QVERIFY(child<QRadioButton>(&dialog, u"Option2"_s)->isChecked());
        QVERIFY(!textBox(&dialog, 0)->isEnabled() && textBox(&dialog, 1)->text() == u"151"_s);
        child<QRadioButton>(&dialog, u"Option3"_s)->click();
        textBox(&dialog, 0)->setText(u"0"_s);
        child<QRadioButton>(&dialog, u"Option1"_s)->click(); // a preset repairs the counts
        QCOMPARE(textBox(&dialog, 0)->text(), u"50"_s);
        child<QRadioButton>(&dialog, u"Option3"_s)->click();
        textBox(&dialog, 0)->selectAll();
        QTest::keyClicks(textBox(&dialog, 0), typed);
        QCOMPARE(child<QPushButton>(&dialog, u"Command1"_s)->isEnabled(), tilesets > 0);
        QTest::keyClick(&dialog, Qt::Key_Return); // presses Ok, only while it is enabled
        QCOMPARE(dialog.confirmed(), tilesets > 0);
        QCOMPARE(dialog.tilesetCount() + dialog.entryCount(), tilesets ? tilesets + 151 : 0);
    }

    void closing_data()
    {
        QTest::addColumn<int>("choice"); // of Select tileset, 100 chosen; New file confirmed
        QTest::newRow("Ok") << 100;
        QTest::newRow("Enter") << 100;
        QTest::newRow("Cancel") << -1;
        QTest::newRow("Escape") << -1;
        QTest::newRow("close box") << -1;
    }
    void closing()
    {
        QFETCH(int, choice);
        NewFileDialog form4;
        form4.show();
        closeAsNamed(form4);
        QCOMPARE(form4.confirmed(), choice > 0);
        TilesetTable tilesets = TestFiles::numberedTable(120, 1);
        tilesets.setTilesetName(1, QByteArray("Grass\0JUNK\x80", 11).leftJustified(33, 'Z'));
        SelectTilesetDialog form5(tilesets);
        QCOMPARE(texts(form5, {u"Command1"_s, u"Command2"_s}),
                 u"Select tileset Command1=Ok Command2=Cancel"_s);
        auto *combo = child<QComboBox>(&form5, u"Combo1"_s);
        QCOMPARE(combo->count(), 120);
        QCOMPARE(combo->currentText() + combo->itemText(1) + combo->itemText(100),
                 u"00. Set 001. Grass100. Set 100"_s);
        combo->setCurrentIndex(100);
        closeAsNamed(form5);
        QVERIFY(!form4.isVisible() && !form5.isVisible());
        QCOMPARE(form5.importChoice(), choice);
    }

    void fileInfoAndProgress()
    {
        Document document;
        document.tilesets = TilesetTable(1, 255);
        document.fileTitle = u"untitled"_s;
        document.fileFolder = u"n/a"_s;
        FileInfoDialog form3(document);
        QCOMPARE(texts(form3, {u"Label1"_s, u"Label5"_s, u"Label2"_s, u"Label6"_s, u"Label3"_s,
                               u"Label7"_s, u"Label4"_s, u"Label8"_s, u"Command1"_s}),
                 u"File info Label1=Filename: Label5=untitled Label2=Path: Label6=n/a "
                 u"Label3=Tilesets: Label7=1 Label4=Entries per tileset: Label8=255 "
                 u"Command1=Ok"_s);
        ProgressWindow form6;
        form6.setLabel(u"Loading file a.dat"_s);
        form6.setBarValue(66.7f);
        QCOMPARE(texts(form6, {u"Label1"_s}), u"HMK Tileset Editor Label1=Loading file a.dat"_s);
        QCOMPARE(child<QProgressBar>(&form6, u"ProgressBar1"_s)->value(), 67);
        NewFileDialog form4;
        for (QDialog *dialog : {static_cast<QDialog *>(&form3), static_cast<QDialog *>(&form4)})
            QVERIFY(child<QPushButton>(dialog, u"Command1"_s)->isDefault()); // Enter means Ok
    }

    void about()
    {
        AboutDialog dialog;
        const QString purpose =
            u"For editing tilesets used by Harrowmark and Harrowmark: Veldrune"_s;
        QCOMPARE(texts(dialog, {u"Label1"_s, u"Label3"_s, u"Label6"_s, u"Command1"_s}),
                 u"About HMK Tileset Editor Label1=Harrowmark Tileset Editor Label3="_s + purpose +
                     u" Label6=1.1 Command1=Ok"_s);
        // Only the hidden spot over the picture shows the warning.
        QTest::mouseDClick(child<QLabel>(&dialog, u"Image1"_s), Qt::LeftButton, {}, {10, 10});
        QCOMPARE(child<QLabel>(&dialog, u"Label3"_s)->text(), purpose);
        QTest::mouseDClick(child<QLabel>(&dialog, u"Label10"_s), Qt::LeftButton);
        QCOMPARE(child<QLabel>(&dialog, u"Label3"_s)->text(), u"WARNING: MAY CONTAIN NUT TRACES"_s);
        // Sized to its content: no more than a margin or two below the button.
        const QRect ok = child<QWidget>(&dialog, u"Command1"_s)->geometry();
        QVERIFY2(dialog.height() - ok.bottom() - 1 <= 16,
                 qPrintable(QString::number(dialog.height())));
    }
};

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"

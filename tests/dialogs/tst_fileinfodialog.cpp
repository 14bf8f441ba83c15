#include "dialogclosing.h"
#include "document.h"
#include "fileinfodialog.h"
#include "widgets.h"

#include <QLabel>
#include <QLayout>

using namespace Qt::StringLiterals;

namespace {

// One tileset of 255 entries: the smallest count and the largest, easy to tell apart.
Document newDocument(const QString &title, const QString &folder)
{
    Document document;
    document.tilesets = TilesetTable(1, 255);
    document.fileTitle = title;
    document.fileFolder = folder;
    return document;
}

const QString LongText = u"/home/user/games/harrowmark/"_s.repeated(11);

} // namespace

class TestForm3 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void showsTheFile_data();
    void showsTheFile();
};

void TestForm3::showsTheFile_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("folder");

    QTest::newRow("short") << u"untitled"_s << u"n/a"_s;
    QTest::newRow("long folder") << u"untitled"_s << LongText;
    QTest::newRow("long file name") << LongText << u"n/a"_s;
}

void TestForm3::showsTheFile()
{
    QFETCH(QString, title);
    QFETCH(QString, folder);

    const Document document = newDocument(title, folder);
    FileInfoDialog dialog(document);
    verifyTexts(dialog, u"Form3"_s, u"File info"_s,
                {u"Label1=Filename:"_s, u"Label5="_s + title, u"Label2=Path:"_s,
                 u"Label6="_s + folder, u"Label3=Tilesets:"_s, u"Label7=1"_s,
                 u"Label4=Entries per tileset:"_s, u"Label8=255"_s, u"Command1=Ok"_s});
    QVERIFY(child<QPushButton>(&dialog, u"Command1"_s)->isDefault());

    // A long name or folder is cut at the dialog's right margin, on one line; the dialog keeps
    // its size.
    QVERIFY(shown(dialog));
    QCOMPARE(dialog.sizeHint(), FileInfoDialog(newDocument(u"untitled"_s, u"n/a"_s)).sizeHint());
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    const int margin = dialog.width() - dialog.layout()->contentsMargins().right();
    for (const QLabel *value :
         {child<QLabel>(&dialog, u"Label5"_s), child<QLabel>(&dialog, u"Label6"_s)}) {
        QVERIFY(!value->wordWrap());
        QVERIFY(value->geometry().right() >= margin - 1 && value->geometry().right() < margin);
    }

    // Bold captions left of their plain values; a rule between the path and the counts.
    for (int n = 1; n <= 4; ++n) {
        const auto *caption = dialog.findChild<QLabel *>(u"Label%1"_s.arg(n));
        const auto *value = dialog.findChild<QLabel *>(u"Label%1"_s.arg(n + 4));
        QVERIFY(caption->font().bold() && !value->font().bold());
        QVERIFY(caption->geometry().right() < value->x());
    }
    QVERIFY(child<QLabel>(&dialog, u"Label2"_s)->y() < child<QFrame>(&dialog, u"Line1"_s)->y() &&
            child<QFrame>(&dialog, u"Line1"_s)->y() < child<QLabel>(&dialog, u"Label3"_s)->y());
    QCOMPARE(child<QFrame>(&dialog, u"Line1"_s)->frameStyle(), int(QFrame::HLine) | QFrame::Sunken);

    // Its only button closes it.
    child<QPushButton>(&dialog, u"Command1"_s)->click();
    QVERIFY(!dialog.isVisible());
}

QTEST_MAIN(TestForm3)
#include "tst_fileinfodialog.moc"

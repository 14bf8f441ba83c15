#include "aboutdialog.h"
#include "dialogclosing.h"
#include "widgets.h"

#include <QImage>
#include <QLabel>
#include <QSignalSpy>

using namespace Qt::StringLiterals;

static const QString Purpose =
    u"For editing tilesets used by Harrowmark and Harrowmark: Veldrune"_s;

class TestForm7 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void looksAsDesigned();
    void doubleClick_data();
    void doubleClick();
    void authorLink();
};

void TestForm7::looksAsDesigned()
{
    AboutDialog dialog;
    QVERIFY(shown(dialog));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    verifyTexts(dialog, u"Form7"_s, u"About HMK Tileset Editor"_s,
                {u"Label1=Harrowmark Tileset Editor"_s, u"Label2=© 2026 "_s, u"Label3="_s + Purpose,
                 u"Label4=Harrowmark and Harrowmark: Veldrune are the property of their makers. "
                 "This editor is an independent tool and is not made, supported or endorsed by "
                 "them."_s,
                 u"Label5=Version"_s, u"Label6=1.1"_s,
                 u"Label7=the HMK Tileset Editor contributors"_s,
                 u"Label9=Thanks to everyone who tested it and sent in tileset notes."_s,
                 u"Label10="_s, u"Command1=Ok"_s});
    QVERIFY(child<QLabel>(&dialog, u"Label1"_s)->font().bold());
    QCOMPARE(AboutDialog::siteUrl(), QUrl(u"https://example.org/hmktse"_s));
    QVERIFY(child<QPushButton>(&dialog, u"Command1"_s)->isDefault());

    // Right of the picture, inside the dialog, top to bottom in this order, none overlapping.
    const QList<QWidget *> rows = {
        child<QLabel>(&dialog, u"Label1"_s), child<QLabel>(&dialog, u"Label3"_s),
        child<QLabel>(&dialog, u"Label2"_s), child<QLabel>(&dialog, u"Label9"_s),
        child<QFrame>(&dialog, u"Line1"_s),  child<QLabel>(&dialog, u"Label4"_s),
        child<QFrame>(&dialog, u"Line2"_s),  child<QPushButton>(&dialog, u"Command1"_s)};
    for (int i = 0; i < rows.size(); ++i) {
        const QRect row = rows[i]->geometry();
        QVERIFY2(dialog.rect().contains(row) &&
                     row.left() > child<QFrame>(&dialog, u"Picture1"_s)->geometry().right() &&
                     (i == 0 || rows[i - 1]->geometry().bottom() < row.top()),
                 qPrintable(rows[i]->objectName()));
    }
    for (const QFrame *rule :
         {child<QFrame>(&dialog, u"Line1"_s), child<QFrame>(&dialog, u"Line2"_s)})
        QCOMPARE(rule->frameStyle(), int(QFrame::HLine) | QFrame::Sunken);
    // Wrapped texts fit their labels.
    for (QLabel *text : {child<QLabel>(&dialog, u"Label3"_s), child<QLabel>(&dialog, u"Label9"_s),
                         child<QLabel>(&dialog, u"Label4"_s)})
        QVERIFY(text->wordWrap() && text->heightForWidth(text->width()) <= text->height());

    // The picture fills the panel inside its border of 2, and is not blank.
    QCOMPARE(child<QFrame>(&dialog, u"Picture1"_s)->geometry(), QRect(8, 8, 57, 145));
    QCOMPARE(child<QFrame>(&dialog, u"Picture1"_s)->frameStyle(),
             int(QFrame::WinPanel) | QFrame::Sunken);
    QCOMPARE(child<QLabel>(&dialog, u"Image1"_s)->geometry(), QRect(2, 2, 53, 141));
    const QImage picture = child<QLabel>(&dialog, u"Image1"_s)->pixmap().toImage();
    QVERIFY(picture.pixelColor(5, 5).alpha() > 0 &&
            picture.pixelColor(5, 5) != picture.pixelColor(5, 135));

    // The version in white, centred over the picture, which shows around it.
    for (const auto &[text, top] : {std::pair{child<QLabel>(&dialog, u"Label5"_s), 24},
                                    std::pair{child<QLabel>(&dialog, u"Label6"_s), 36}}) {
        QCOMPARE(text->geometry().top(), top);
        QVERIFY(text->alignment() & Qt::AlignHCenter);
        QCOMPARE(text->palette().color(text->foregroundRole()), QColor(Qt::white));
        QVERIFY(!text->autoFillBackground());
    }

    // The hidden spot is on top of the picture, so that it gets the clicks, yet draws nothing.
    const QRect spot = child<QLabel>(&dialog, u"Label10"_s)->geometry();
    QCOMPARE(spot, QRect(32, 120, 9, 9));
    QCOMPARE(child<QFrame>(&dialog, u"Picture1"_s)->childAt(spot.center()),
             child<QLabel>(&dialog, u"Label10"_s));
    const QImage alone = child<QLabel>(&dialog, u"Image1"_s)
                             ->grab(spot.translated(-child<QLabel>(&dialog, u"Image1"_s)->pos()))
                             .toImage();
    QCOMPARE(child<QFrame>(&dialog, u"Picture1"_s)
                 ->grab(spot)
                 .toImage()
                 .convertToFormat(QImage::Format_RGB32),
             alone.convertToFormat(QImage::Format_RGB32));
}

void TestForm7::doubleClick_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QPoint>("where"); // none: the middle
    QTest::addColumn<bool>("warns");

    QTest::newRow("hidden spot") << u"Label10"_s << QPoint() << true;
    QTest::newRow("next to the spot") << u"Image1"_s << QPoint(42, 122) << false;
    QTest::newRow("picture") << u"Image1"_s << QPoint(10, 10) << false;
    QTest::newRow("author link") << u"Label7"_s << QPoint() << false;
}

void TestForm7::doubleClick()
{
    QFETCH(QString, target);
    QFETCH(QPoint, where);
    QFETCH(bool, warns);

    AboutDialog dialog;
    QVERIFY(shown(dialog));
    // Twice, so that a warning that toggles would be caught.
    for (int i = 0; i < 2; ++i)
        QTest::mouseDClick(dialog.findChild<QWidget *>(target), Qt::LeftButton, {}, where);
    QCOMPARE(child<QLabel>(&dialog, u"Label3"_s)->text(),
             warns ? u"WARNING: MAY CONTAIN NUT TRACES"_s : Purpose);
    QCOMPARE(AboutDialog().findChild<QLabel *>(u"Label3"_s)->text(), Purpose);
}

void TestForm7::authorLink()
{
    AboutDialog dialog;
    QVERIFY(shown(dialog));
    QLabel *link = child<QLabel>(&dialog, u"Label7"_s);
    QCOMPARE(link->palette().color(link->foregroundRole()), QColor(Qt::blue));
    QVERIFY(link->font().underline() && !child<QLabel>(&dialog, u"Label2"_s)->font().underline());
    QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(link->toolTip(), u"hmktse@example.org"_s);

    // Only a left click on the link asks for mail, and the dialog stays open.
    QSignalSpy spy(&dialog, &AboutDialog::openRequested);
    QTest::mouseClick(child<QLabel>(&dialog, u"Label2"_s), Qt::LeftButton);
    QTest::mouseClick(link, Qt::RightButton);
    QTest::mouseClick(link, Qt::LeftButton);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toUrl(), QUrl(u"mailto:hmktse@example.org"_s));
    QVERIFY(dialog.isVisible());

    // It starts exactly where the year ends, whatever the font.
    QVERIFY(link->width() >= link->sizeHint().width());
    QCOMPARE(link->pos(),
             child<QLabel>(&dialog, u"Label2"_s)->geometry().topRight() + QPoint(1, 0));
    const int before = child<QLabel>(&dialog, u"Label2"_s)->width();
    QFont large = child<QLabel>(&dialog, u"Label2"_s)->font();
    large.setPixelSize(3 * QFontInfo(large).pixelSize());
    child<QLabel>(&dialog, u"Label2"_s)->setFont(large);
    dialog.placeAuthorLink();
    QVERIFY(child<QLabel>(&dialog, u"Label2"_s)->width() > before);
    QCOMPARE(link->pos(),
             child<QLabel>(&dialog, u"Label2"_s)->geometry().topRight() + QPoint(1, 0));

    // Its only button closes it.
    child<QPushButton>(&dialog, u"Command1"_s)->click();
    QVERIFY(!dialog.isVisible());
}

QTEST_MAIN(TestForm7)
#include "tst_aboutdialog.moc"

#include "dialogclosing.h"
#include "form7.h"

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
    Form7 dialog;
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
    QVERIFY(dialog.Label1->font().bold());
    QCOMPARE(Form7::siteUrl(), QUrl(u"https://example.org/hmktse"_s));
    QVERIFY(dialog.Command1->isDefault());

    // Right of the picture, inside the dialog, top to bottom in this order, none overlapping.
    const QList<QWidget *> rows = {dialog.Label1, dialog.Label3, dialog.Label2, dialog.Label9,
                                   dialog.Line1,  dialog.Label4, dialog.Line2,  dialog.Command1};
    for (int i = 0; i < rows.size(); ++i) {
        const QRect row = rows[i]->geometry();
        QVERIFY2(dialog.rect().contains(row) && row.left() > dialog.Picture1->geometry().right() &&
                     (i == 0 || rows[i - 1]->geometry().bottom() < row.top()),
                 qPrintable(rows[i]->objectName()));
    }
    for (const QFrame *rule : {dialog.Line1, dialog.Line2})
        QCOMPARE(rule->frameStyle(), int(QFrame::HLine) | QFrame::Sunken);
    // Wrapped texts fit their labels.
    for (QLabel *text : {dialog.Label3, dialog.Label9, dialog.Label4})
        QVERIFY(text->wordWrap() && text->heightForWidth(text->width()) <= text->height());

    // The picture fills the panel inside its border of 2, and is not blank.
    QCOMPARE(dialog.Picture1->geometry(), QRect(8, 8, 57, 145));
    QCOMPARE(dialog.Picture1->frameStyle(), int(QFrame::WinPanel) | QFrame::Sunken);
    QCOMPARE(dialog.Image1->geometry(), QRect(2, 2, 53, 141));
    const QImage picture = dialog.Image1->pixmap().toImage();
    QVERIFY(picture.pixelColor(5, 5).alpha() > 0 &&
            picture.pixelColor(5, 5) != picture.pixelColor(5, 135));

    // The version in white, centred over the picture, which shows around it.
    for (const auto &[text, top] : {std::pair{dialog.Label5, 24}, std::pair{dialog.Label6, 36}}) {
        QCOMPARE(text->geometry().top(), top);
        QVERIFY(text->alignment() & Qt::AlignHCenter);
        QCOMPARE(text->palette().color(text->foregroundRole()), QColor(Qt::white));
        QVERIFY(!text->autoFillBackground());
    }

    // The hidden spot is on top of the picture, so that it gets the clicks, yet draws nothing.
    const QRect spot = dialog.Label10->geometry();
    QCOMPARE(spot, QRect(32, 120, 9, 9));
    QCOMPARE(dialog.Picture1->childAt(spot.center()), dialog.Label10);
    const QImage alone = dialog.Image1->grab(spot.translated(-dialog.Image1->pos())).toImage();
    QCOMPARE(dialog.Picture1->grab(spot).toImage().convertToFormat(QImage::Format_RGB32),
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

    Form7 dialog;
    QVERIFY(shown(dialog));
    // Twice, so that a warning that toggles would be caught.
    for (int i = 0; i < 2; ++i)
        QTest::mouseDClick(dialog.findChild<QWidget *>(target), Qt::LeftButton, {}, where);
    QCOMPARE(dialog.Label3->text(), warns ? u"WARNING: MAY CONTAIN NUT TRACES"_s : Purpose);
    QCOMPARE(Form7().Label3->text(), Purpose);
}

void TestForm7::authorLink()
{
    Form7 dialog;
    QVERIFY(shown(dialog));
    QLabel *link = dialog.Label7;
    QCOMPARE(link->palette().color(link->foregroundRole()), QColor(Qt::blue));
    QVERIFY(link->font().underline() && !dialog.Label2->font().underline());
    QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(link->toolTip(), u"hmktse@example.org"_s);

    // Only a left click on the link asks for mail, and the dialog stays open.
    QSignalSpy spy(&dialog, &Form7::openRequested);
    QTest::mouseClick(dialog.Label2, Qt::LeftButton);
    QTest::mouseClick(link, Qt::RightButton);
    QTest::mouseClick(link, Qt::LeftButton);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toUrl(), QUrl(u"mailto:hmktse@example.org"_s));
    QVERIFY(dialog.isVisible());

    // It starts exactly where the year ends, whatever the font.
    QVERIFY(link->width() >= link->sizeHint().width());
    QCOMPARE(link->pos(), dialog.Label2->geometry().topRight() + QPoint(1, 0));
    const int before = dialog.Label2->width();
    QFont large = dialog.Label2->font();
    large.setPixelSize(3 * QFontInfo(large).pixelSize());
    dialog.Label2->setFont(large);
    dialog.placeAuthorLink();
    QVERIFY(dialog.Label2->width() > before);
    QCOMPARE(link->pos(), dialog.Label2->geometry().topRight() + QPoint(1, 0));

    // Its only button closes it.
    dialog.Command1->click();
    QVERIFY(!dialog.isVisible());
}

QTEST_MAIN(TestForm7)
#include "tst_form7.moc"

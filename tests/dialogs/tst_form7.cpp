#include "dialogclosing.h"
#include "form7.h"

#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString Purpose = u"For editing tilesets used by Harrowmark and Harrowmark: Veldrune"_s;
const QString NutWarning = u"WARNING: MAY CONTAIN NUT TRACES"_s;

QLabel *label(Form7 &dialog, int number)
{
    return dialog.findChild<QLabel *>(u"Label%1"_s.arg(number));
}

// Where a widget of the picture panel sits, measured from the panel's outer corner.
QRect inPanel(Form7 &dialog, QWidget *widget)
{
    return QRect(widget->mapTo(dialog.Picture1, QPoint()), widget->size());
}

} // namespace

class TestForm7 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void titleAndTexts();
    void windowIsAFixedDialog();
    void everythingFitsInTheDialog();
    void pictureFillsThePanel();
    void versionIsWhiteOverThePicture();
    void hiddenSpotShowsNothing();

    void doubleClickOnTheSpotShowsTheWarning();
    void doubleClickElsewhereChangesNothing_data();
    void doubleClickElsewhereChangesNothing();
    void newDialogShowsThePurposeAgain();

    void authorLinkStartsWhereTheYearEnds();
    void authorLinkLooksLikeALink();
    void clickingTheAuthorsAsksForMail();
    void addresses();

    void closing_data();
    void closing();
};

void TestForm7::titleAndTexts()
{
    Form7 dialog;
    QCOMPARE(dialog.objectName(), u"Form7"_s);
    QCOMPARE(dialog.windowTitle(), u"About HMK Tileset Editor"_s);
    QCOMPARE(label(dialog, 1)->text(), u"Harrowmark Tileset Editor"_s);
    QVERIFY(label(dialog, 1)->font().bold());
    QCOMPARE(label(dialog, 2)->text(), u"© 2026 "_s);
    QCOMPARE(label(dialog, 3)->text(), Purpose);
    QCOMPARE(label(dialog, 4)->text(),
             u"Harrowmark and Harrowmark: Veldrune are the property of their makers. This "
             "editor is an independent tool and is not made, supported or endorsed by them."_s);
    QCOMPARE(label(dialog, 5)->text(), u"Version"_s);
    QCOMPARE(label(dialog, 6)->text(), u"1.1"_s);
    QCOMPARE(label(dialog, 7)->text(), u"the HMK Tileset Editor contributors"_s);
    QCOMPARE(label(dialog, 9)->text(),
             u"Thanks to everyone who tested it and sent in tileset notes."_s);
    QVERIFY(label(dialog, 10)->text().isEmpty());
    QVERIFY(label(dialog, 10)->pixmap().isNull());
    QCOMPARE(dialog.findChild<QPushButton *>(u"Command1"_s)->text(), u"Ok"_s);
    QVERIFY(dialog.Command1->isDefault());
    for (const QString &name : {u"Line1"_s, u"Line2"_s}) {
        auto *rule = dialog.findChild<QFrame *>(name);
        QVERIFY2(rule, qPrintable(name));
        QCOMPARE(rule->frameShape(), QFrame::HLine);
    }
}

void TestForm7::windowIsAFixedDialog()
{
    Form7 dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    QVERIFY(!(dialog.windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(dialog.windowFlags() & Qt::WindowMaximizeButtonHint));
}

void TestForm7::everythingFitsInTheDialog()
{
    Form7 dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    const QRect inside = dialog.rect();
    const QList<QWidget *> column = {dialog.Label1, dialog.Label3, dialog.Label2,
                                     dialog.Label7, dialog.Label9, dialog.Line1,
                                     dialog.Label4, dialog.Line2,  dialog.Command1};
    for (QWidget *w : column) {
        QVERIFY2(inside.contains(w->geometry()), qPrintable(w->objectName()));
        QVERIFY2(w->x() >= dialog.Picture1->geometry().right(), qPrintable(w->objectName()));
    }
    // Top to bottom in this order, none overlapping the next.
    const QList<QWidget *> rows = {dialog.Label1, dialog.Label3, dialog.Label2, dialog.Label9,
                                   dialog.Line1,  dialog.Label4, dialog.Line2,  dialog.Command1};
    for (int i = 1; i < rows.size(); ++i)
        QVERIFY2(rows[i - 1]->geometry().bottom() < rows[i]->y(),
                 qPrintable(rows[i]->objectName()));

    // Wrapped texts fit their labels: the purpose on two lines, the notice on three.
    const int line = dialog.Label3->fontMetrics().height();
    QVERIFY(dialog.Label3->wordWrap());
    QCOMPARE(dialog.Label3->height(), 2 * line);
    QVERIFY(dialog.Label3->heightForWidth(dialog.Label3->width()) <= dialog.Label3->height());
    QVERIFY(dialog.Label3->heightForWidth(dialog.Label3->width()) > line);
    QVERIFY(dialog.Label4->wordWrap());
    QCOMPARE(dialog.Label4->height(), 3 * line);
    QVERIFY(dialog.Label4->heightForWidth(dialog.Label4->width()) <= dialog.Label4->height());
    QVERIFY(dialog.Label9->heightForWidth(dialog.Label9->width()) <= dialog.Label9->height());
    QVERIFY(dialog.Label1->sizeHint().width() <= dialog.Label1->width());
}

void TestForm7::pictureFillsThePanel()
{
    Form7 dialog;
    QCOMPARE(dialog.Picture1->geometry(), QRect(8, 8, 57, 145));
    QCOMPARE(dialog.Picture1->frameWidth(), 2);
    QCOMPARE(dialog.Picture1->frameShadow(), QFrame::Sunken);
    QCOMPARE(dialog.Picture1->contentsRect(), QRect(2, 2, 53, 141));

    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(inPanel(dialog, dialog.Image1), dialog.Picture1->contentsRect());
    QVERIFY(dialog.Image1->hasScaledContents());
    const QPixmap picture = dialog.Image1->pixmap();
    QVERIFY(!picture.isNull());
    QCOMPARE(picture.deviceIndependentSize().toSize(), QSize(53, 141));
    // A picture actually drawn, not a blank one.
    const QImage image = picture.toImage();
    QVERIFY(image.pixelColor(5, 5).alpha() > 0);
    QVERIFY(image.pixelColor(5, 5) != image.pixelColor(5, 135));
}

void TestForm7::versionIsWhiteOverThePicture()
{
    Form7 dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const int panelCentre = dialog.Picture1->width() / 2;
    const QList<std::pair<QLabel *, int>> texts = {{dialog.Label5, 24}, {dialog.Label6, 36}};
    for (const auto &[text, top] : texts) {
        const QRect where = inPanel(dialog, text);
        QCOMPARE(where.top(), top);
        QVERIFY(qAbs(where.center().x() - panelCentre) <= 1);
        QVERIFY(text->alignment() & Qt::AlignHCenter);
        QCOMPARE(text->palette().color(text->foregroundRole()), QColor(Qt::white));
        QVERIFY(!text->autoFillBackground());
        QVERIFY(text->fontMetrics().horizontalAdvance(text->text()) <= text->width());
    }
}

void TestForm7::hiddenSpotShowsNothing()
{
    Form7 dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QRect spot = inPanel(dialog, dialog.Label10);
    QCOMPARE(spot, QRect(32, 120, 9, 9));
    // On top of the picture, so that it gets the clicks there.
    QCOMPARE(dialog.Picture1->childAt(spot.center()), dialog.Label10);

    // The panel looks the same there as the picture alone does.
    const QImage panel = dialog.Picture1->grab(spot).toImage();
    const QImage picture = dialog.Image1->grab(spot.translated(-dialog.Image1->pos())).toImage();
    QCOMPARE(panel.convertToFormat(QImage::Format_RGB32),
             picture.convertToFormat(QImage::Format_RGB32));
}

void TestForm7::doubleClickOnTheSpotShowsTheWarning()
{
    Form7 dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::mouseDClick(dialog.Label10, Qt::LeftButton);
    QCOMPARE(dialog.Label3->text(), NutWarning);
    QTest::mouseDClick(dialog.Label10, Qt::LeftButton);
    QCOMPARE(dialog.Label3->text(), NutWarning);
    // Other clicks leave it showing.
    QTest::mouseClick(dialog.Label10, Qt::LeftButton);
    QTest::mouseDClick(dialog.Label1, Qt::LeftButton);
    QCOMPARE(dialog.Label3->text(), NutWarning);
}

void TestForm7::doubleClickElsewhereChangesNothing_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QPoint>("where");

    QTest::newRow("title") << u"Label1"_s << QPoint(5, 5);
    QTest::newRow("purpose") << u"Label3"_s << QPoint(5, 5);
    QTest::newRow("picture") << u"Image1"_s << QPoint(10, 10);
    QTest::newRow("next to the spot") << u"Image1"_s << QPoint(30 + 12, 118 + 4);
    QTest::newRow("version") << u"Label5"_s << QPoint(20, 2);
    QTest::newRow("notice") << u"Label4"_s << QPoint(5, 5);
}

void TestForm7::doubleClickElsewhereChangesNothing()
{
    QFETCH(QString, target);
    QFETCH(QPoint, where);

    Form7 dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto *widget = dialog.findChild<QWidget *>(target);
    QVERIFY(widget);
    QTest::mouseDClick(widget, Qt::LeftButton, {}, where);
    QCOMPARE(dialog.Label3->text(), Purpose);
}

void TestForm7::newDialogShowsThePurposeAgain()
{
    {
        Form7 first;
        QTest::mouseDClick(first.Label10, Qt::LeftButton);
        QCOMPARE(first.Label3->text(), NutWarning);
        first.Command1->click();
    }
    Form7 second;
    QCOMPARE(second.Label3->text(), Purpose);
}

void TestForm7::authorLinkStartsWhereTheYearEnds()
{
    Form7 dialog;
    QCOMPARE(dialog.Label7->x(), dialog.Label2->x() + dialog.Label2->width());
    QCOMPARE(dialog.Label7->y(), dialog.Label2->y());
    // The year label takes the width of its text, trailing space included.
    QVERIFY(dialog.Label2->width() >= dialog.Label2->fontMetrics().horizontalAdvance(u"© 2026"_s));
    QVERIFY(dialog.Label7->width() >= dialog.Label7->sizeHint().width());

    const int before = dialog.Label2->width();
    QFont large = dialog.Label2->font();
    large.setPixelSize(3 * QFontInfo(large).pixelSize());
    dialog.Label2->setFont(large);
    dialog.placeAuthorLink();
    QVERIFY(dialog.Label2->width() > before);
    QCOMPARE(dialog.Label7->x(), dialog.Label2->x() + dialog.Label2->width());
    QCOMPARE(dialog.Label7->y(), dialog.Label2->y());
}

void TestForm7::authorLinkLooksLikeALink()
{
    Form7 dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QLabel *link = dialog.Label7;
    QCOMPARE(link->palette().color(link->foregroundRole()), QColor(Qt::blue));
    QVERIFY(link->font().underline());
    QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(link->toolTip(), u"hmktse@example.org"_s);
    QVERIFY(!dialog.Label2->font().underline());
}

void TestForm7::clickingTheAuthorsAsksForMail()
{
    Form7 dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QSignalSpy spy(&dialog, &Form7::openRequested);

    QTest::mouseClick(dialog.Label2, Qt::LeftButton);
    QTest::mouseClick(dialog.Label1, Qt::LeftButton);
    QCOMPARE(spy.count(), 0);

    QTest::mouseClick(dialog.Label7, Qt::LeftButton);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toUrl(), QUrl(u"mailto:hmktse@example.org"_s));
    QVERIFY(dialog.isVisible());
}

void TestForm7::addresses()
{
    QCOMPARE(Form7::mailUrl(), QUrl(u"mailto:hmktse@example.org"_s));
    QCOMPARE(Form7::siteUrl(), QUrl(u"https://example.org/hmktse"_s));
    QVERIFY(Form7::mailUrl().isValid());
    QVERIFY(Form7::siteUrl().isValid());
}

void TestForm7::closing_data()
{
    QTest::addColumn<Close>("how");

    QTest::newRow("Ok") << Close::OkButton;
    QTest::newRow("Enter") << Close::EnterKey;
    QTest::newRow("Escape") << Close::EscapeKey;
    QTest::newRow("close box") << Close::CloseBox;
}

void TestForm7::closing()
{
    QFETCH(Close, how);

    Form7 dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    closeDialog(dialog, how, dialog.Command1);
    QVERIFY(!dialog.isVisible());
}

QTEST_MAIN(TestForm7)
#include "tst_form7.moc"

#include "entrytoolbar.h"
#include "entrytree.h"
#include "filetoolbar.h"
#include "sizer.h"
#include "tilesetfiles.h"
#include "tilesetlist.h"
#include "windowfixture.h"
#include "windowlayout.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace Qt::StringLiterals;

// Beside TwipRect, where QCOMPARE finds them.
static bool operator==(const TwipRect &a, const TwipRect &b)
{
    return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
}

static char *toString(const TwipRect &r)
{
    return QTest::toString(
        u"(%1, %2, %3 x %4)"_s.arg(r.left).arg(r.top).arg(r.width).arg(r.height));
}

namespace {

constexpr int TwipsPerPixel = 15; // at 96 dpi
constexpr int W = 7875;           // the designed client area
constexpr int S = 6135;

QRect pixels(const TwipRect &r)
{
    return {r.left / TwipsPerPixel, r.top / TwipsPerPixel, r.width / TwipsPerPixel,
            r.height / TwipsPerPixel};
}

// A layout in its settled state for the designed client area: the splitter at `left`.
WindowLayout settledAt(int left)
{
    WindowLayout layout;
    layout.NewList1.width = left;
    layout.LayoutWindow(W, S);
    layout.LayoutWindow(W, S);
    return layout;
}

} // namespace

class TestLayout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    // The arithmetic alone
    void secondPassClosesTheGap();
    void smallClientAreaKeepsPlacement_data();
    void smallClientAreaKeepsPlacement();
    void entryTreeNeverBelow720_data();
    void entryTreeNeverBelow720();
    void splitterBounds_data();
    void splitterBounds();
    void dragStartKeptBetweenDrags();

    // Through the window
    void pixelGeometryFollowsTwips();
    void splitterDragByMouse();
    void timerRunsOnePass();
    void minimizedWindowIsLeftAlone();
    void fileToolbarButtons();

private:
    Form1 &startWithSizer(int sizerLeft)
    {
        mFixture->writeFile(u"hmktse.ini"_s, "[HMKTSE-Settings]\r\nSizerLeft= " +
                                                 QByteArray::number(sizerLeft) + "\r\n");
        Form1 &window = mFixture->start();
        window.show();
        return window;
    }
    static void sendMove(QWidget *widget, QPoint pos, Qt::MouseButtons buttons)
    {
        // QTest::mouseMove carries no buttons; a drag needs them.
        QMouseEvent move(QEvent::MouseMove, pos, widget->mapToGlobal(pos), Qt::NoButton, buttons,
                         Qt::NoModifier);
        QApplication::sendEvent(widget, &move);
    }

    std::unique_ptr<WindowFixture> mFixture;
};

void TestLayout::initTestCase()
{
    QWidget probe;
    if (probe.logicalDpiX() != 96 || probe.logicalDpiY() != 96)
        QSKIP("the expected values assume 15 twips a pixel (96 dpi)");
}

void TestLayout::init()
{
    mFixture = std::make_unique<WindowFixture>();
}

void TestLayout::cleanup()
{
    QVERIFY2(mFixture->services.unexpected.isEmpty(),
             qPrintable(mFixture->services.unexpected.join(u"; "_s)));
    QVERIFY(mFixture->services.allAnswersUsed());
    mFixture.reset();
}

void TestLayout::secondPassClosesTheGap()
{
    WindowLayout layout;
    layout.NewList1.width = 2000; // as start-up leaves it; the entry tree still at 3720
    layout.LayoutWindow(W, S);
    QCOMPARE(layout.sizer, (TwipRect{2000, 420, 60, S - 420}));
    QCOMPARE(layout.NewList2.left, 2060);
    QVERIFY(layout.NewList2.left + layout.NewList2.width < W - 330); // short of Toolbar2
    layout.LayoutWindow(W, S);
    QCOMPARE(layout.NewList1, (TwipRect{0, 420, 2000, S - 420}));
    QCOMPARE(layout.NewList2, (TwipRect{2060, 420, 5485, S - 420}));
}

void TestLayout::smallClientAreaKeepsPlacement_data()
{
    QTest::addColumn<int>("w");
    QTest::addColumn<int>("s");
    QTest::addColumn<bool>("horizontal");
    QTest::addColumn<bool>("vertical");
    QTest::newRow("w 1440") << 1440 << S << false << true;
    QTest::newRow("w 1441") << 1441 << S << true << true;
    QTest::newRow("s 780") << W - 600 << 780 << true << false;
    QTest::newRow("s 781") << W - 600 << 781 << true << true;
    QTest::newRow("both small") << 900 << 500 << false << false;
}

void TestLayout::smallClientAreaKeepsPlacement()
{
    QFETCH(int, w);
    QFETCH(int, s);
    QFETCH(bool, horizontal);
    QFETCH(bool, vertical);
    const WindowLayout before = settledAt(3360);
    WindowLayout layout = before;
    layout.LayoutWindow(w, s);
    for (const auto &[after, was] : {std::pair{layout.NewList1, before.NewList1},
                                     {layout.sizer, before.sizer},
                                     {layout.NewList2, before.NewList2}}) {
        QCOMPARE(after.top, vertical ? 420 : was.top);
        QCOMPARE(after.height, vertical ? s - 420 : was.height);
    }
    QCOMPARE(layout.NewList2.width == before.NewList2.width, !horizontal);
    if (horizontal) // the entry tree ends against Toolbar2
        QCOMPARE(layout.NewList2.left + layout.NewList2.width, w - 330);
}

void TestLayout::entryTreeNeverBelow720_data()
{
    QTest::addColumn<int>("start"); // the tileset list's width; 0: settled at 3360
    QTest::addColumn<int>("w");
    QTest::addColumn<int>("tilesetWidth");
    QTest::addColumn<int>("entryWidth");
    // Settled at 3360 the entry tree starts at 3420: room = w - 3420 - 330.
    QTest::newRow("room 721") << 0 << 4471 << 3360 << 721;
    QTest::newRow("room 720") << 0 << 4470 << 3360 << 720;
    QTest::newRow("room 719") << 0 << 4469 << 3359 << 720;
    QTest::newRow("much narrower") << 0 << 3000 << 1890 << 720;
    // As start-up leaves it, the entry tree still at 3720: room = w - 3720 - 330.
    QTest::newRow("room 720 before any pass") << 2000 << 4770 << 3660 << 720;
    QTest::newRow("room 721 before any pass") << 2000 << 4771 << 2000 << 721;
}

void TestLayout::entryTreeNeverBelow720()
{
    QFETCH(int, start);
    QFETCH(int, w);
    WindowLayout layout = settledAt(3360);
    if (start > 0) {
        layout = WindowLayout();
        layout.NewList1.width = start;
    }
    layout.LayoutWindow(w, S);
    QTEST(layout.NewList1.width, "tilesetWidth");
    QTEST(layout.NewList2.width, "entryWidth");
    QCOMPARE(layout.sizer.left, layout.NewList1.width);
    QCOMPARE(layout.NewList2.left, layout.NewList1.width + 60);
    if (start == 0 || layout.NewList2.width == 720) { // against Toolbar2, and it stays there
        QCOMPARE(layout.NewList2.left + layout.NewList2.width, w - 330);
        const WindowLayout once = layout;
        layout.LayoutWindow(w, S);
        QCOMPARE(layout.NewList1, once.NewList1);
        QCOMPARE(layout.NewList2, once.NewList2);
    }
}

void TestLayout::splitterBounds_data()
{
    QTest::addColumn<QList<int>>("targets"); // splitter positions dragged to, in order
    QTest::addColumn<int>("left");
    QTest::newRow("720") << QList<int>{720} << 3360;
    QTest::newRow("721") << QList<int>{721} << 721;
    QTest::newRow("W - 780") << QList<int>{W - 780} << 3360;
    QTest::newRow("W - 781") << QList<int>{W - 781} << W - 781;
    QTest::newRow("on past the left bound") << QList<int>{1000, 721, 700, 500} << 721;
    QTest::newRow("on past the right bound") << QList<int>{5000, 7094, 7200} << 7094;
    QTest::newRow("back inside") << QList<int>{400, 900} << 900;
}

void TestLayout::splitterBounds()
{
    QFETCH(QList<int>, targets);
    WindowLayout layout = settledAt(3360);
    layout.pressSplitter(30);
    for (int target : std::as_const(targets))
        layout.dragSplitter(target - layout.sizer.left + 30, W); // x inside the bar
    QFETCH(int, left);
    QCOMPARE(layout.sizer.left, left);
    QCOMPARE(layout.NewList1.width, left);
    QCOMPARE(layout.NewList2.left, left + 60);
    QCOMPARE(layout.NewList2.width, W - left - 60 - 330);
}

void TestLayout::dragStartKeptBetweenDrags()
{
    WindowLayout layout = settledAt(3360);
    QCOMPARE(layout.DragStartX, 0);
    layout.pressSplitter(45);
    QVERIFY(layout.dragSplitter(145, W));
    QCOMPARE(layout.sizer.left, 3460);
    QVERIFY(layout.dragSplitter(245, W)); // a second drag without a press: still from 45
    QCOMPARE(layout.sizer.left, 3660);
    QCOMPARE(layout.DragStartX, 45);
    layout.LayoutWindow(W, S);
    QCOMPARE(layout.DragStartX, 45);
}

void TestLayout::pixelGeometryFollowsTwips()
{
    Form1 &window = startWithSizer(3000);
    const WindowLayout &layout = window.windowLayout();
    QCOMPARE(window.NewList1->geometry(), pixels(layout.NewList1));
    QCOMPARE(window.sizer->geometry(), pixels(layout.sizer));
    QCOMPARE(window.NewList2->geometry(), pixels(layout.NewList2));
    QCOMPARE(window.NewList1->geometry(), QRect(0, 28, 200, 409 - 28));
    QCOMPARE(window.sizer->width(), 4);
    QCOMPARE(window.Toolbar1->geometry(), QRect(0, 0, W / TwipsPerPixel, 28));
    QCOMPARE(window.Toolbar2->geometry(), QRect(W / TwipsPerPixel - 22, 28, 22, 409 - 28));
}

void TestLayout::splitterDragByMouse()
{
    Form1 &window = startWithSizer(3000);
    window.Timer1->setInterval(0);
    QTRY_VERIFY(!window.Timer1->isActive());
    Sizer *bar = window.sizer;
    const TwipRect before = window.windowLayout().sizer;

    QTest::mousePress(bar, Qt::RightButton, {}, QPoint(2, 100));
    sendMove(bar, QPoint(22, 100), Qt::RightButton);
    QTest::mouseRelease(bar, Qt::RightButton, {}, QPoint(22, 100));
    QCOMPARE(window.windowLayout().sizer, before);
    QCOMPARE(window.windowLayout().DragStartX, 30); // a press of any button is remembered

    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(1, 100));
    sendMove(bar, QPoint(21, 100), Qt::LeftButton | Qt::RightButton); // not the left alone
    QCOMPARE(window.windowLayout().sizer, before);
    sendMove(bar, QPoint(21, 100), Qt::LeftButton);
    QCOMPARE(window.windowLayout().sizer.left, 3000 + 20 * TwipsPerPixel);
    QCOMPARE(bar->x(), 200 + 20);
    QCOMPARE(window.NewList1->width(), 220);
    QCOMPARE(window.NewList2->x(), 224);
    QCOMPARE(window.NewList2->geometry().right() + 1, window.Toolbar2->x());
    // The bar has moved under the pointer: the next position is inside the moved bar.
    sendMove(bar, QPoint(-9, 100), Qt::LeftButton);
    QCOMPARE(window.windowLayout().sizer.left, 3300 - 10 * TwipsPerPixel);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(-9, 100));
    sendMove(bar, QPoint(30, 100), Qt::NoButton); // released: no drag
    QCOMPARE(window.windowLayout().sizer.left, 3150);
}

void TestLayout::timerRunsOnePass()
{
    Form1 &window = startWithSizer(2000);
    QVERIFY(window.Timer1->isActive());
    QCOMPARE(window.Timer1->interval(), 1500);
    window.Timer1->setInterval(0);
    QTRY_VERIFY(!window.Timer1->isActive());
    QCOMPARE(window.windowLayout().NewList2.left, 2060);
    QCOMPARE(window.windowLayout().NewList2.width, 5485);
    QCOMPARE(window.NewList2->geometry().right() + 1, window.Toolbar2->x());
    QCoreApplication::processEvents();
    QVERIFY(!window.Timer1->isActive()); // never again
}

void TestLayout::minimizedWindowIsLeftAlone()
{
    Form1 &window = startWithSizer(2000);
    window.Timer1->stop();
    const WindowLayout unsettled = window.windowLayout();
    if (unsettled.NewList2.width == 5485)
        QSKIP("the platform already ran a second pass while showing the window");
    window.setWindowState(Qt::WindowMinimized);
    if (!window.isMinimized())
        QSKIP("the platform cannot minimize");
    window.LayoutWindow();
    QCOMPARE(window.windowLayout().NewList2, unsettled.NewList2);
    QCOMPARE(window.windowLayout().sizer, unsettled.sizer);
    window.setWindowState(Qt::WindowNoState); // restoring runs a full pass
    QCOMPARE(window.windowLayout().NewList2.width, 5485);
}

void TestLayout::fileToolbarButtons()
{
    Form1 &window = mFixture->start();
    window.show();
    const auto click = [&window](int index) {
        QTest::mouseClick(window.Toolbar1->widgetForAction(window.Toolbar1->button(index)),
                          Qt::LeftButton);
    };
    QString dialogTitle;
    mFixture->services.onDialog([&dialogTitle](QDialog &dialog) {
        dialogTitle = dialog.windowTitle();
        dialog.reject();
    });
    click(1);
    QCOMPARE(dialogTitle, u"New file"_s);

    const QString path = mFixture->writeNumberedFile(u"t.dat"_s, 2, 151);
    mFixture->services.chooseFile(path);
    click(2);
    QCOMPARE(mFixture->services.fileRequests.size(), 1);
    QCOMPARE(mFixture->services.fileRequests.first().title, u"Open hmkset.dat"_s);
    QCOMPARE(mFixture->document().FilePath, path);

    mFixture->document().Tilesets.setEntry(0, 0, QByteArray(32, 'Z'));
    mFixture->document().ChangesMade = true;
    click(3);
    QVERIFY(!mFixture->document().ChangesMade);
    QFile saved(path);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll().mid(5 + 33, 32), QByteArray(32, 'Z'));
}

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"

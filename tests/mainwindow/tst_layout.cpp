#include "entrytoolbar.h"
#include "entrytree.h"
#include "filetoolbar.h"
#include "splitterbar.h"
#include "tilesetlist.h"
#include "windowlayout.h"
#include "windowtest.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>

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

// A layout in its settled state for the designed client area: the splitter at `left`.
WindowLayout settledAt(int left)
{
    WindowLayout layout;
    layout.tilesetList.width = left;
    layout.layOut(W, S);
    layout.layOut(W, S);
    return layout;
}

} // namespace

class TestLayout : public WindowTest
{
    Q_OBJECT

    MainWindow &startWithSizer(int sizerLeft)
    {
        mFixture->writeFile(u"hmktse.ini"_s, "[HMKTSE-Settings]\r\nSizerLeft= " +
                                                 QByteArray::number(sizerLeft) + "\r\n");
        MainWindow &window = mFixture->start();
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

private Q_SLOTS:

    void layoutPass_data()
    {
        // 0: settled at 3360; n: the tileset list n wide as start-up leaves it, the entry
        // tree still at 3720; -n: that after one pass.
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("w");
        QTest::addColumn<int>("s");
        QTest::addColumn<int>("tilesetWidth");
        QTest::addColumn<int>("entryWidth");
        QTest::addColumn<int>("height"); // of both trees and the splitter
        const int settledEntryWidth = W - 3420 - 330;
        // Too small a client area leaves that direction alone.
        QTest::newRow("w 1440") << 0 << 1440 << S << 3360 << settledEntryWidth << S - 420;
        QTest::newRow("w 1441") << 0 << 1441 << S << 331 << 720 << S - 420;
        QTest::newRow("s 780") << 0 << W << 780 << 3360 << settledEntryWidth << S - 420;
        QTest::newRow("s 781") << 0 << W << 781 << 3360 << settledEntryWidth << 361;
        // Settled at 3360 the entry tree starts at 3420: room = w - 3420 - 330.
        QTest::newRow("room 721") << 0 << 4471 << S << 3360 << 721 << S - 420;
        QTest::newRow("room 720") << 0 << 4470 << S << 3360 << 720 << S - 420;
        QTest::newRow("room 719") << 0 << 4469 << S << 3359 << 720 << S - 420;
        QTest::newRow("much narrower") << 0 << 3000 << S << 1890 << 720 << S - 420;
        // Before any pass: room = w - 3720 - 330.
        QTest::newRow("room 720 before any pass") << 2000 << 4770 << S << 3660 << 720 << S - 420;
        QTest::newRow("room 721 before any pass") << 2000 << 4771 << S << 2000 << 721 << S - 420;
        // The designed size: the first pass leaves a gap before Toolbar2, the second closes it.
        QTest::newRow("SizerLeft 2000, first pass") << 2000 << W << S << 2000 << 3825 << S - 420;
        QTest::newRow("SizerLeft 2000, second pass") << -2000 << W << S << 2000 << 5485 << S - 420;
    }

    void layoutPass()
    {
        QFETCH(int, start);
        QFETCH(int, w);
        QFETCH(int, s);
        WindowLayout layout = settledAt(3360);
        if (start != 0) {
            layout = WindowLayout();
            layout.tilesetList.width = qAbs(start);
            if (start < 0)
                layout.layOut(w, s);
        }
        layout.layOut(w, s);
        QTEST(layout.tilesetList.width, "tilesetWidth");
        QTEST(layout.entryTree.width, "entryWidth");
        QCOMPARE(layout.splitter.left, layout.tilesetList.width);
        QCOMPARE(layout.entryTree.left, layout.tilesetList.width + 60);
        for (const TwipRect &rect : {layout.tilesetList, layout.splitter, layout.entryTree}) {
            QCOMPARE(rect.top, 420);
            QTEST(rect.height, "height");
        }
    }

    void splitterBounds_data()
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

    void splitterBounds()
    {
        QFETCH(QList<int>, targets);
        QFETCH(int, left);
        WindowLayout layout = settledAt(3360);
        layout.pressSplitter(30); // one press; every move is measured from it
        for (int target : std::as_const(targets))
            layout.dragSplitter(target - layout.splitter.left + 30, W); // x inside the bar
        QCOMPARE(layout.splitter.left, left);
        QCOMPARE(layout.tilesetList.width, left);
        QCOMPARE(layout.entryTree.left, left + 60);
        QCOMPARE(layout.entryTree.width, W - left - 60 - 330);
    }

    void splitterDragByMouse()
    {
        MainWindow &window = startWithSizer(3000);
        window.layoutTimer()->setInterval(0);
        QTRY_VERIFY(!window.layoutTimer()->isActive());
        // Twips to pixels: 15 a pixel; the toolbars along the top and down the right.
        QCOMPARE(window.tilesetList()->geometry(), QRect(0, 28, 200, 409 - 28));
        QCOMPARE(window.splitter()->geometry(), QRect(200, 28, 4, 409 - 28));
        QCOMPARE(window.fileToolbar()->geometry(), QRect(0, 0, W / TwipsPerPixel, 28));
        QCOMPARE(window.entryToolbar()->geometry(),
                 QRect(W / TwipsPerPixel - 22, 28, 22, 409 - 28));
        SplitterBar *bar = window.splitter();
        const TwipRect before = window.windowLayout().splitter;

        QTest::mousePress(bar, Qt::RightButton, {}, QPoint(2, 100));
        sendMove(bar, QPoint(22, 100), Qt::RightButton);
        QTest::mouseRelease(bar, Qt::RightButton, {}, QPoint(22, 100));
        QCOMPARE(window.windowLayout().splitter, before);
        QCOMPARE(window.windowLayout().dragStartX, 30); // a press of any button is remembered

        QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(1, 100));
        sendMove(bar, QPoint(21, 100), Qt::LeftButton | Qt::RightButton); // not the left alone
        QCOMPARE(window.windowLayout().splitter, before);
        sendMove(bar, QPoint(21, 100), Qt::LeftButton);
        QCOMPARE(window.windowLayout().splitter.left, 3000 + 20 * TwipsPerPixel);
        QCOMPARE(bar->x(), 200 + 20);
        QCOMPARE(window.tilesetList()->width(), 220);
        QCOMPARE(window.entryTree()->x(), 224);
        QCOMPARE(window.entryTree()->geometry().right() + 1, window.entryToolbar()->x());
        // The bar has moved under the pointer: the next position is inside the moved bar.
        sendMove(bar, QPoint(-9, 100), Qt::LeftButton);
        QCOMPARE(window.windowLayout().splitter.left, 3300 - 10 * TwipsPerPixel);
        QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(-9, 100));
        sendMove(bar, QPoint(30, 100), Qt::NoButton); // released: no drag
        QCOMPARE(window.windowLayout().splitter.left, 3150);
    }

    void timerRunsOnePass()
    {
        MainWindow &window = startWithSizer(2000);
        QVERIFY(window.layoutTimer()->isActive());
        QCOMPARE(window.layoutTimer()->interval(), 1500);
        window.layoutTimer()->setInterval(0);
        QTRY_VERIFY(!window.layoutTimer()->isActive());
        QCOMPARE(window.windowLayout().entryTree.left, 2060);
        QCOMPARE(window.windowLayout().entryTree.width, 5485);
        QCOMPARE(window.entryTree()->geometry().right() + 1, window.entryToolbar()->x());
        QCoreApplication::processEvents();
        QVERIFY(!window.layoutTimer()->isActive()); // never again
    }

    void minimizedWindowIsLeftAlone()
    {
        MainWindow &window = startWithSizer(2000);
        window.layoutTimer()->stop();
        const WindowLayout unsettled = window.windowLayout();
        if (unsettled.entryTree.width == 5485)
            QSKIP("the platform already ran a second pass while showing the window");
        window.setWindowState(Qt::WindowMinimized);
        if (!window.isMinimized())
            QSKIP("the platform cannot minimize");
        window.layoutWindow();
        QCOMPARE(window.windowLayout().entryTree, unsettled.entryTree);
        window.setWindowState(Qt::WindowNoState); // restoring runs a full pass
        QCOMPARE(window.windowLayout().entryTree.width, 5485);
    }
};

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"

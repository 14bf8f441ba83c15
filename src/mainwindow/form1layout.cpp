#include "form1.h"

#include "entrytoolbar.h"
#include "entrytree.h"
#include "filetoolbar.h"
#include "sizer.h"
#include "tilesetlist.h"
#include "twips.h"

#include <QEvent>
#include <QTimer>

namespace {

QRect toPixels(const Twips &twips, const TwipRect &rect)
{
    return {twips.toPixelsX(rect.left), twips.toPixelsY(rect.top), twips.toPixelsX(rect.width),
            twips.toPixelsY(rect.height)};
}

} // namespace

int Form1::clientWidthTwips() const
{
    return Twips(this).fromPixelsX(mClientArea->width());
}

int Form1::clientHeightTwips() const
{
    return Twips(this).fromPixelsY(mClientArea->height());
}

void Form1::LayoutWindow()
{
    if (isMinimized())
        return;
    mLayout.LayoutWindow(clientWidthTwips(), clientHeightTwips());
    applyLayout();
}

void Form1::applyLayout()
{
    const Twips twips(this);
    const int w = clientWidthTwips();
    const int s = clientHeightTwips();
    // The toolbars are docked: the file toolbar across the top, the entry-tree toolbar
    // down the right edge below it.
    Toolbar1->setGeometry(toPixels(twips, {0, 0, w, WindowLayout::Toolbar1Height}));
    Toolbar2->setGeometry(
        toPixels(twips, {w - WindowLayout::Toolbar2Width, WindowLayout::Toolbar1Height,
                         WindowLayout::Toolbar2Width, s - WindowLayout::Toolbar1Height}));
    NewList1->setGeometry(toPixels(twips, mLayout.NewList1));
    sizer->setGeometry(toPixels(twips, mLayout.sizer));
    NewList2->setGeometry(toPixels(twips, mLayout.NewList2));
}

void Form1::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    LayoutWindow();
}

void Form1::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // Restoring a minimized window runs a full pass.
    if (event->type() == QEvent::WindowStateChange && !isMinimized())
        LayoutWindow();
}

void Form1::timerTick()
{
    LayoutWindow();
    Timer1->stop();
}

void Form1::splitterPressed(int x)
{
    mLayout.pressSplitter(Twips(this).fromPixelsX(x));
}

void Form1::splitterMoved(Qt::MouseButtons buttons, int x)
{
    if (buttons != Qt::LeftButton)
        return;
    if (mLayout.dragSplitter(Twips(this).fromPixelsX(x), clientWidthTwips()))
        applyLayout();
}

void Form1::fileToolbarClicked(int index)
{
    switch (index) {
    case 1:
        fileNew();
        break;
    case 2:
        fileOpen();
        break;
    case 3:
        fileSave();
        break;
    default:
        break;
    }
}

#include "mainwindow.h"

#include "entrytoolbar.h"
#include "entrytree.h"
#include "filetoolbar.h"
#include "splitterbar.h"
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

int MainWindow::clientWidthTwips() const
{
    return Twips(this).fromPixelsX(mClientArea->width());
}

int MainWindow::clientHeightTwips() const
{
    return Twips(this).fromPixelsY(mClientArea->height());
}

void MainWindow::layoutWindow()
{
    if (isMinimized())
        return;
    mLayout.layOut(clientWidthTwips(), clientHeightTwips());
    applyLayout();
}

void MainWindow::applyLayout()
{
    const Twips twips(this);
    const int w = clientWidthTwips();
    const int s = clientHeightTwips();
    // The toolbars are docked: the file toolbar across the top, the entry-tree toolbar
    // down the right edge below it.
    mFileToolbar->setGeometry(toPixels(twips, {0, 0, w, WindowLayout::Toolbar1Height}));
    mEntryToolbar->setGeometry(
        toPixels(twips, {w - WindowLayout::Toolbar2Width, WindowLayout::Toolbar1Height,
                         WindowLayout::Toolbar2Width, s - WindowLayout::Toolbar1Height}));
    mTilesetList->setGeometry(toPixels(twips, mLayout.tilesetList));
    mSplitter->setGeometry(toPixels(twips, mLayout.splitter));
    mEntryTree->setGeometry(toPixels(twips, mLayout.entryTree));
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    layoutWindow();
}

void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // Restoring a minimized window runs a full pass.
    if (event->type() == QEvent::WindowStateChange && !isMinimized())
        layoutWindow();
}

void MainWindow::timerTick()
{
    layoutWindow();
    mLayoutTimer->stop();
    if (isVisible())
        mPendingOuterSize.reset(); // a window without a frame by now keeps its size
}

void MainWindow::splitterPressed(int x)
{
    mLayout.pressSplitter(Twips(this).fromPixelsX(x));
}

void MainWindow::splitterMoved(Qt::MouseButtons buttons, int x)
{
    if (buttons != Qt::LeftButton)
        return;
    if (mLayout.dragSplitter(Twips(this).fromPixelsX(x), clientWidthTwips()))
        applyLayout();
}

void MainWindow::fileToolbarClicked(int index)
{
    finishLabelEdits();
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

#include "clientarea.h"

#include "entrytoolbar.h"
#include "entrytree.h"
#include "filetoolbar.h"
#include "splitterbar.h"
#include "tilesetlist.h"
#include "twips.h"

#include <QFontDatabase>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

QRect toPixels(const Twips &twips, const TwipRect &rect)
{
    return {twips.toPixelsX(rect.left), twips.toPixelsY(rect.top), twips.toPixelsX(rect.width),
            twips.toPixelsY(rect.height)};
}

} // namespace

ClientArea::ClientArea(QWidget *parent)
    : QWidget(parent)
    , mFileToolbar(new FileToolbar(this))
    , mEntryToolbar(new EntryToolbar(this))
    , mTilesetList(new TilesetList(this))
    , mSplitter(new SplitterBar(this))
    , mEntryTree(new EntryTree(this))
    , mLayoutTimer(new QTimer(this))
{
    setObjectName(u"clientArea"_s);
    // Tab goes from left to right: the toolbars' buttons take no focus, their commands have keys.
    setTabOrder(mTilesetList, mEntryTree);
    // Tahoma where the system has it, else the desktop's own face, at the designed size.
    QFont treeFont = QFontDatabase::hasFamily(u"Tahoma"_s) ? QFont(u"Tahoma"_s) : font();
    treeFont.setPointSizeF(8.25);
    mTilesetList->setFont(treeFont);
    mEntryTree->setFont(treeFont);

    // One more pass once the window has settled.
    mLayoutTimer->setObjectName(u"Timer1"_s);
    mLayoutTimer->setInterval(1500);
    mLayoutTimer->setSingleShot(true);
    // Its pass needs the window's real size: while a start-up question keeps the window
    // hidden, the timer waits again.
    connect(mLayoutTimer, &QTimer::timeout, this,
            [this] { window()->isHidden() ? mLayoutTimer->start() : layOut(); });
    mLayoutTimer->start();

    connect(mEntryToolbar, &EntryToolbar::expandOrCollapseAllClicked, mEntryTree,
            &EntryTree::expandOrCollapseAll);
    connect(mEntryToolbar, &EntryToolbar::categoryClicked, mEntryTree, &EntryTree::openCategory);
    connect(mSplitter, &SplitterBar::pressed, this,
            [this](int x) { mLayout.pressSplitter(Twips(this).fromPixelsX(x)); });
    connect(mSplitter, &SplitterBar::moved, this, [this](Qt::MouseButtons buttons, int x) {
        if (buttons == Qt::LeftButton &&
            mLayout.dragSplitter(Twips(this).fromPixelsX(x), widthTwips()))
            placeWidgets();
    });
}

void ClientArea::setTilesetListWidth(int twips)
{
    mLayout.tilesetList.width = twips;
    placeWidgets();
}

int ClientArea::widthTwips() const
{
    return Twips(this).fromPixelsX(width());
}

int ClientArea::heightTwips() const
{
    return Twips(this).fromPixelsY(height());
}

void ClientArea::layOut()
{
    // A window never shown has no size of its own yet (a start-up question can keep it
    // hidden past the timer): its first show lays it out.
    if (window()->isHidden() || window()->isMinimized())
        return;
    mLayout.layOut(widthTwips(), heightTwips());
    placeWidgets();
}

void ClientArea::placeWidgets()
{
    const Twips twips(this);
    const int w = widthTwips();
    const int s = heightTwips();
    mFileToolbar->setGeometry(toPixels(twips, {0, 0, w, WindowLayout::FileToolbarHeight}));
    mEntryToolbar->setGeometry(
        toPixels(twips, {w - WindowLayout::EntryToolbarWidth, WindowLayout::FileToolbarHeight,
                         WindowLayout::EntryToolbarWidth, s - WindowLayout::FileToolbarHeight}));
    mTilesetList->setGeometry(toPixels(twips, mLayout.tilesetList));
    mSplitter->setGeometry(toPixels(twips, mLayout.splitter));
    mEntryTree->setGeometry(toPixels(twips, mLayout.entryTree));
}

void ClientArea::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layOut();
}

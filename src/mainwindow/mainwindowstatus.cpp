#include "mainwindow.h"

#include "entrytree.h"
#include "fieldinfo.h"
#include "fixedfield.h"
#include "textutils.h"
#include "tilesetlist.h"

#include <QLabel>
#include <QStatusBar>

using namespace Qt::StringLiterals;

void MainWindow::createStatusBar()
{
    statusBar()->setObjectName(u"statusBar"_s);
    statusBar()->setSizeGripEnabled(false);
    mFieldStatus = new QLabel(statusBar());
    mFieldStatus->setObjectName(u"fieldStatus"_s);
    statusBar()->addWidget(mFieldStatus, 1);

    // The tree the user moves or clicks in decides which field the bar shows.
    const auto showName = [this](bool name) {
        return [this, name] {
            mStatusOnName = name;
            updateFieldStatus();
        };
    };
    connect(mTilesetList, &QTreeWidget::currentItemChanged, this, showName(true));
    connect(mTilesetList, &QTreeWidget::itemPressed, this, showName(true));
    connect(mEntryTree, &QTreeWidget::currentItemChanged, this, showName(false));
    connect(mEntryTree, &QTreeWidget::itemPressed, this, showName(false));
    connect(mTilesetList, &LabelTree::labelTextChanged, this,
            [this](const QString &text) { showTypedCount(true, text); });
    connect(mEntryTree, &LabelTree::labelTextChanged, this,
            [this](const QString &text) { showTypedCount(false, text); });
    connect(mTilesetList, &LabelTree::labelEditClosed, this, &MainWindow::updateFieldStatus);
    connect(mEntryTree, &LabelTree::labelEditClosed, this, &MainWindow::updateFieldStatus);
}

QString MainWindow::fieldPlace(int tileset, int entry) const
{
    return u"Tileset "_s + TilesetList::tilesetNumber(tileset) + u" \u00b7 "_s +
           (entry < 0 ? u"Name"_s : u"Entry "_s + zeroPad(entry, 3)) + u" \u00b7 "_s;
}

void MainWindow::updateFieldStatus()
{
    const int t = mTilesetList->selectedTileset();
    if (!mDocument.hasTilesets() || t < 0 || t >= mDocument.tilesetCount()) {
        mFieldStatus->clear();
        statusBar()->setToolTip({});
        return;
    }
    int entry = mEntryTree->nodeEntry(mEntryTree->selectedNodeIndex());
    if (mStatusOnName || entry >= mDocument.entryCount())
        entry = -1; // a category node has no field of its own: the name stands for it
    const QByteArrayView field = entry < 0 ? mDocument.tilesetName(t) : mDocument.entry(entry, t);
    mFieldStatus->setText(fieldPlace(t, entry) + describeField(field));
    statusBar()->setToolTip(hexBytes(field));
}

void MainWindow::showTypedCount(bool name, const QString &text)
{
    const int t = mTilesetList->selectedTileset();
    const int entry = name ? -1 : mEntryTree->nodeEntry(mEntryTree->selectedNodeIndex());
    if (t < 0 || (!name && entry < 0))
        return;
    mFieldStatus->setText(fieldPlace(t, entry) +
                          characterCount(text.size(), name ? NameWidth : EntryWidth) +
                          u" \u00b7 editing"_s);
}

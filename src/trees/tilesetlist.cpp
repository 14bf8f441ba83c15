#include "tilesetlist.h"

#include "document.h"
#include "textutils.h"
#include "windows1252.h"

#include <QKeyEvent>

using namespace Qt::StringLiterals;

namespace {

constexpr int SecondGroup = 50; // tileset 50 heads the second group

QString trimmedName(const Document &document, int tileset)
{
    return fromWindows1252(trimBlanks(document.tilesetName(tileset)));
}

} // namespace

TilesetList::TilesetList(QWidget *parent)
    : LabelTree(u"NewList1"_s, NameWidth, parent)
{
    connect(this, &LabelTree::itemLabelEdited, this,
            [this](QTreeWidgetItem *item, const QString &text) {
                Q_EMIT labelEdited(nodeIndex(item) - 1, text);
            });
}

QString TilesetList::tilesetNumber(int tileset)
{
    return zeroPad(tileset, tileset >= 100 ? 3 : 2);
}

QString TilesetList::numberedLabel(int tileset, const QString &text)
{
    return tilesetNumber(tileset) + u". "_s + text;
}

QString TilesetList::shownName(const Document &document, int tileset)
{
    return trimmedName(document, tileset);
}

void TilesetList::relabel(const Document &document)
{
    for (int t = 0; t < std::min(nodeCount(), document.tilesetCount()); ++t)
        setTilesetLabel(t, trimmedName(document, t));
}

void TilesetList::build(const Document &document)
{
    const int count = document.tilesetCount();
    mNodes.reserve(count);
    QTreeWidgetItem *group = nullptr;
    for (int t = 0; t < count; ++t) {
        const QStringList label{numberedLabel(t, trimmedName(document, t))};
        QTreeWidgetItem *item = nullptr;
        if (t == 0 || t == SecondGroup) {
            item = new QTreeWidgetItem(this, label);
            item->setData(0, Qt::UserRole, t == 0 ? u"root1"_s : u"root2"_s);
            group = item;
        } else {
            item = new QTreeWidgetItem(group, label);
        }
        item->setFlags(item->flags() | Qt::ItemIsEditable);
        mNodes.append(item);
    }
    if (count > SecondGroup)
        mNodes[SecondGroup]->setExpanded(true);
    if (count > 0)
        mNodes[0]->setExpanded(true);
}

void TilesetList::removeAllNodes()
{
    mNodes.clear();
    clear();
}

QTreeWidgetItem *TilesetList::node(int index) const
{
    return index >= 1 && index <= mNodes.size() ? mNodes[index - 1] : nullptr;
}

int TilesetList::nodeIndex(const QTreeWidgetItem *item) const
{
    return int(mNodes.indexOf(item)) + 1;
}

int TilesetList::selectedTileset() const
{
    const QList<QTreeWidgetItem *> selected = selectedItems();
    return selected.isEmpty() ? -1 : nodeIndex(selected.first()) - 1;
}

void TilesetList::selectNode(int index)
{
    if (QTreeWidgetItem *item = node(index)) {
        setCurrentItem(item);
        scrollToItem(item);
    }
}

void TilesetList::setTilesetLabel(int tileset, const QString &text)
{
    if (QTreeWidgetItem *item = node(tileset + 1))
        item->setText(0, numberedLabel(tileset, text));
}

QItemSelectionModel::SelectionFlags TilesetList::selectionCommand(const QModelIndex &index,
                                                                  const QEvent *) const
{
    // While a document is open a tileset is always selected: clicks and keys can move the
    // selection but never clear it (Ctrl+click would, in Qt's single selection).
    return index.isValid() ? QItemSelectionModel::ClearAndSelect : QItemSelectionModel::NoUpdate;
}

void TilesetList::mousePressEvent(QMouseEvent *event)
{
    QTreeWidget::mousePressEvent(event);
    Q_EMIT clicked();
}

void TilesetList::keyPressEvent(QKeyEvent *event)
{
    // Once before the selection moves, and once more on release after it has moved.
    Q_EMIT keyPressed();
    QTreeWidget::keyPressEvent(event);
}

void TilesetList::keyReleaseEvent(QKeyEvent *event)
{
    QTreeWidget::keyReleaseEvent(event);
    Q_EMIT keyReleased();
}

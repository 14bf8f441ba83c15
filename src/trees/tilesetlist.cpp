#include "tilesetlist.h"

#include "fieldformat.h"
#include "tilesettable.h"

#include <QKeyEvent>

using namespace Qt::StringLiterals;

namespace {

constexpr int SecondGroup = 50; // tileset 50 heads the second group

} // namespace

TilesetList::TilesetList(QWidget *parent)
    : LabelTree(u"NewList1"_s, NameWidth, parent)
{
    connect(this, &LabelTree::itemLabelEdited, this,
            [this](QTreeWidgetItem *item, const QString &text) {
                Q_EMIT labelEdited(tilesetOf(item), text);
            });
}

void TilesetList::relabel(const TilesetTable &tilesets)
{
    for (int t = 0; t < std::min(int(mNodes.size()), tilesets.tilesetCount()); ++t)
        setTilesetLabel(t, trimmedFieldText(tilesets.tilesetName(t)));
}

void TilesetList::build(const TilesetTable &tilesets)
{
    removeAllNodes();
    const int count = tilesets.tilesetCount();
    mNodes.reserve(count);
    QTreeWidgetItem *group = nullptr;
    for (int t = 0; t < count; ++t) {
        const QStringList label{numberedTilesetText(t, trimmedFieldText(tilesets.tilesetName(t)))};
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

int TilesetList::currentTileset() const
{
    const QList<QTreeWidgetItem *> selected = selectedItems();
    return selected.isEmpty() ? -1 : tilesetOf(selected.first());
}

void TilesetList::selectTileset(int tileset)
{
    if (QTreeWidgetItem *item = node(tileset + 1)) {
        setCurrentItem(item);
        scrollToItem(item);
    }
}

void TilesetList::setTilesetLabel(int tileset, const QString &text)
{
    if (QTreeWidgetItem *item = node(tileset + 1))
        item->setText(0, numberedTilesetText(tileset, text));
}

QString TilesetList::editedLabel(const QTreeWidgetItem *item, const QString &text) const
{
    return numberedTilesetText(tilesetOf(item), text);
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

#include "entrytree.h"

#include "entrycategories.h"
#include "fieldcursor.h"
#include "fieldformat.h"
#include "imagelist.h"
#include "textutils.h"
#include "tilesettable.h"

#include <QScopedValueRollback>

using namespace Qt::StringLiterals;

namespace {

constexpr int NodeIndexRole = Qt::UserRole + 1;
constexpr int NoteRole = Qt::UserRole + 2; // what the node's picture means, as its tool tip

QString numberedEntry(int entry)
{
    return entryNumber(entry) + u". "_s;
}

} // namespace

EntryTree::EntryTree(QWidget *parent)
    : LabelTree(u"NewList2"_s, EntryWidth, parent)
{
    setAccessibleName(u"Entries"_s);
    setAccessibleDescription(u"F2 edits the entry; Enter or a double-click too"_s);
    connect(this, &LabelTree::itemLabelEdited, this,
            [this](QTreeWidgetItem *item, const QString &text) {
                Q_EMIT labelEdited(entryOfNode(nodeIndex(item)), text);
            });
}

void EntryTree::follow(FieldCursor *cursor)
{
    const auto moved = [this, cursor](QTreeWidgetItem *item) {
        if (item && !mFollowing)
            cursor->moveToEntry(entryOfNode(nodeIndex(item)));
    };
    connect(this, &QTreeWidget::currentItemChanged, cursor, moved);
    connect(this, &QTreeWidget::itemPressed, cursor, moved);
    // On the name the entry chosen stays, and so does a category.
    connect(cursor, &FieldCursor::placeChanged, this, [this, cursor] {
        const FieldPlace place = cursor->place();
        // A screen reader names the tree by whose entries it shows.
        if (place.tileset >= 0)
            setAccessibleName(u"Entries of tileset "_s + tilesetNumber(place.tileset));
        else if (place.placeholder >= 0)
            setAccessibleName(
                u"Entries of tileset %1 of the other file"_s.arg(tilesetNumber(place.placeholder)));
        else
            setAccessibleName(u"Entries"_s);
        const int entry = place.entry;
        if (entry >= 0 && entry != currentEntry()) {
            const QScopedValueRollback following(mFollowing, true);
            selectEntry(entry);
        }
    });
}

QTreeWidgetItem *EntryTree::addNode(QTreeWidgetItem *parent, const QString &text, int icon,
                                    int entry)
{
    auto *item = parent ? new QTreeWidgetItem(parent, {text}) : new QTreeWidgetItem(this, {text});
    item->setIcon(0, ImageList::icon(icon));
    item->setData(0, NodeIndexRole, int(mNodes.size()) + 1);
    if (entry >= 0)
        item->setFlags(item->flags() | Qt::ItemIsEditable);
    mNodes.append(item);
    mNodeEntry.append(qint16(entry));
    return item;
}

void EntryTree::buildCategorised()
{
    for (int c = 0; c < int(EntryCategories.size()); ++c) {
        QTreeWidgetItem *category =
            addNode(nullptr, EntryCategories[c].name.toString(), ImageList::FirstCategory + c, -1);
        mCategoryNodes.append(category);
        QTreeWidgetItem *previous = nullptr;
        int previousEntry = -1;
        for (const CategoryEntry &e : EntryCategories[c].entries) {
            QTreeWidgetItem *parent = e.subEntry ? previous : category;
            const int icon = e.subEntry ? ImageList::SubEntry : ImageList::Entry;
            QTreeWidgetItem *item = addNode(parent, numberedEntry(e.entry), icon, e.entry);
            if (e.subEntry)
                item->setData(
                    0, NoteRole,
                    u"S: a sub-entry, a part of entry %1"_s.arg(zeroPad(previousEntry, 3)));
            item->setToolTip(0, item->data(0, NoteRole).toString());
            item->setExpanded(true);
            previous = item;
            previousEntry = e.entry;
        }
    }
}

void EntryTree::buildFlat(int entryCount)
{
    for (int entry = 0; entry < entryCount; ++entry)
        addNode(nullptr, numberedEntry(entry), ImageList::FlatEntry, entry);
}

void EntryTree::build(int entryCount)
{
    removeAllNodes();
    // Items are added to the model only when complete, so the view is not redrawn per node.
    setUpdatesEnabled(false);
    if (entryCount == CategorisedEntryCount)
        buildCategorised();
    else
        buildFlat(entryCount);
    mEntryNode.fill(0, entryCount);
    for (int n = 1; n <= nodeCount(); ++n) {
        const qint16 entry = mNodeEntry[n - 1];
        if (entry >= 0 && entry < entryCount)
            mEntryNode[entry] = qint16(n);
    }
    setUpdatesEnabled(true);
    if (QTreeWidgetItem *first = node(1))
        setCurrentItem(first);
}

void EntryTree::removeAllNodes()
{
    mNodes.clear();
    mCategoryNodes.clear();
    mNodeEntry.clear();
    mEntryNode.clear();
    mMarked = false;
    clear();
}

QString EntryTree::entryLabel(int entry, const QString &text) const
{
    QString label = numberedEntry(entry);
    if (mDescriptionsOn && entry < mDescriptions.size() && !mDescriptions[entry].isEmpty())
        label += mDescriptions[entry] + u": "_s;
    return label + text;
}

void EntryTree::showTileset(const TilesetTable &tilesets, int tileset)
{
    if (tileset < 0 || tileset >= tilesets.tilesetCount())
        return;
    for (int entry = 0; entry < mEntryNode.size(); ++entry) {
        QTreeWidgetItem *item = node(mEntryNode[entry]);
        if (!item)
            continue;
        const QByteArrayView field =
            entry < tilesets.entryCount() ? tilesets.entry(entry, tileset) : QByteArrayView();
        const QString label = entryLabel(entry, fieldText(field));
        // Unchanged labels are skipped: most entries agree between tilesets.
        if (item->text(0) != label)
            item->setText(0, label);
        QString spoken = spokenEntry(tileset, entry);
        if (mDescriptionsOn && entry < mDescriptions.size() && !mDescriptions[entry].isEmpty())
            spoken += u", "_s + mDescriptions[entry];
        setSpokenText(item, spoken + u": "_s + (field.isEmpty() ? u"empty"_s : spokenField(field)));
    }
}

void EntryTree::setMarks(const QList<NodeMark> &marks)
{
    // Without a comparison every change would otherwise unmark every node again.
    if (marks.isEmpty() && !mMarked)
        return;
    mMarked = !marks.isEmpty();
    QList<const QTreeWidgetItem *> holding;
    for (int entry = 0; entry < mEntryNode.size(); ++entry) {
        QTreeWidgetItem *item = node(mEntryNode[entry]);
        if (!item)
            continue;
        NodeMark mark = entry < marks.size() ? marks[entry] : NodeMark();
        const QString note = item->data(0, NoteRole).toString();
        if (!note.isEmpty())
            mark.toolTip = mark.toolTip.isEmpty() ? note : mark.toolTip + u'\n' + note;
        showNodeMark(item, mark);
        if (mark.kind == NodeMark::None)
            continue;
        const QTreeWidgetItem *top = item;
        while (top->parent())
            top = top->parent();
        holding.append(top);
    }
    for (QTreeWidgetItem *category : std::as_const(mCategoryNodes))
        showNodeMark(category,
                     holding.contains(category) ? NodeMark{NodeMark::Holds, {}} : NodeMark());
}

QTreeWidgetItem *EntryTree::node(int index) const
{
    return index >= 1 && index <= mNodes.size() ? mNodes[index - 1] : nullptr;
}

int EntryTree::nodeIndex(const QTreeWidgetItem *item) const
{
    return item ? item->data(0, NodeIndexRole).toInt() : 0;
}

int EntryTree::selectedNodeIndex() const
{
    const QList<QTreeWidgetItem *> selected = selectedItems();
    return selected.isEmpty() ? 0 : nodeIndex(selected.first());
}

qint16 EntryTree::entryOfNode(int nodeIndex) const
{
    return nodeIndex >= 1 && nodeIndex <= mNodeEntry.size() ? mNodeEntry[nodeIndex - 1] : -1;
}

qint16 EntryTree::nodeOfEntry(int entry) const
{
    return entry >= 0 && entry < mEntryNode.size() ? mEntryNode[entry] : 0;
}

QTreeWidgetItem *EntryTree::categoryNode(int category) const
{
    return category >= 0 && category < mCategoryNodes.size() ? mCategoryNodes[category] : nullptr;
}

int EntryTree::currentEntry() const
{
    return entryOfNode(selectedNodeIndex());
}

void EntryTree::selectEntry(int entry)
{
    selectNode(nodeOfEntry(entry));
}

QString EntryTree::editedLabel(const QTreeWidgetItem *item, const QString &text) const
{
    return entryLabel(entryOfNode(nodeIndex(item)), text);
}

void EntryTree::selectNode(int index)
{
    QTreeWidgetItem *item = node(index);
    if (!item)
        return;
    for (QTreeWidgetItem *parent = item->parent(); parent; parent = parent->parent())
        parent->setExpanded(true);
    setCurrentItem(item);
    scrollToItem(item);
}

void EntryTree::expandOrCollapseAll()
{
    const bool allExpanded = std::all_of(mCategoryNodes.cbegin(), mCategoryNodes.cend(),
                                         [](const QTreeWidgetItem *c) { return c->isExpanded(); });
    if (allExpanded) {
        // A node inside a category that closes hands the selection to its category, or
        // bringing it into view would open that category again.
        QTreeWidgetItem *top = currentItem();
        while (top && top->parent())
            top = top->parent();
        if (top && top != currentItem())
            setCurrentItem(top);
    }
    for (QTreeWidgetItem *category : std::as_const(mCategoryNodes))
        category->setExpanded(!allExpanded);
    if (QTreeWidgetItem *current = currentItem())
        scrollToItem(current);
}

void EntryTree::openCategory(int category)
{
    if (QTreeWidgetItem *item = categoryNode(category)) {
        item->setExpanded(true);
        setCurrentItem(item);
        scrollToItem(item);
    }
}

void EntryTree::mousePressEvent(QMouseEvent *event)
{
    QTreeWidget::mousePressEvent(event);
    if (const int index = selectedNodeIndex())
        mSelectedEntryNode = qint16(index);
}

#include "tilesetlist.h"

#include "comparisonstate.h"
#include "fieldformat.h"
#include "fixedfield.h"
#include "textutils.h"
#include "tilesetdocument.h"
#include "tilesettable.h"

#include <QKeyEvent>
#include <QScopedValueRollback>

using namespace Qt::StringLiterals;

namespace {

constexpr int SecondGroup = 50; // tileset 50 heads the second group
// A placeholder's tileset of the other file, and the tileset here it goes before.
constexpr int PlaceholderRole = Qt::UserRole + 1;
constexpr int PlaceRole = Qt::UserRole + 2;

QString spokenName(const TilesetTable &tilesets, int tileset)
{
    return spokenTileset(tileset) + u": "_s + spokenField(tilesets.tilesetName(tileset));
}

// Insert and Delete alone, the keys that insert and delete tilesets while the list has the focus.
bool isTilesetKey(const QKeyEvent *event)
{
    return (event->key() == Qt::Key_Insert || event->key() == Qt::Key_Delete) &&
           (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

} // namespace

TilesetList::TilesetList(QWidget *parent)
    : LabelTree(u"NewList1"_s, NameWidth, parent)
{
    setAccessibleName(u"Tilesets"_s);
    setAccessibleDescription(
        u"Shift+F2 renames the tileset; Insert and Delete insert and delete tilesets"_s);
    connect(this, &LabelTree::itemLabelEdited, this,
            [this](QTreeWidgetItem *item, const QString &text) {
                Q_EMIT labelEdited(tilesetOf(item), text);
            });
}

void TilesetList::follow(const TilesetDocument *document, FieldCursor *cursor,
                         const ComparisonState *comparison)
{
    mCursor = cursor;
    mComparison = comparison;
    const auto moved = [this](QTreeWidgetItem *item) {
        if (!item || mFollowing)
            return;
        if (mPlaceholders.contains(item))
            mCursor->moveToPlaceholder(item->data(0, PlaceholderRole).toInt());
        else
            mCursor->moveToTileset(tilesetOf(item));
    };
    connect(this, &QTreeWidget::currentItemChanged, cursor, moved);
    connect(this, &QTreeWidget::itemPressed, cursor, moved);
    connect(cursor, &FieldCursor::placeChanged, this, &TilesetList::showPlace);
    const auto rebuild = [this, document](bool rebuilt) {
        {
            const QScopedValueRollback following(mFollowing, true);
            if (!document->isOpen())
                removeAllNodes();
            else if (rebuilt)
                build(document->table());
            else
                relabel(document->table());
        }
        showComparison();
        showPlace();
    };
    connect(document, &TilesetDocument::tableReplaced, this, [rebuild] { rebuild(true); });
    connect(document, &TilesetDocument::fieldsChanged, this,
            [rebuild](int, int, bool tilesetCountChanged) { rebuild(tilesetCountChanged); });
    connect(comparison, &ComparisonState::marksChanged, this, [this] {
        showComparison();
        showPlace();
    });
}

void TilesetList::showPlace()
{
    const QScopedValueRollback following(mFollowing, true);
    if (mCursor->place().placeholder >= 0)
        selectPlaceholder(mCursor->place().placeholder);
    else
        selectTileset(mCursor->place().tileset);
}

void TilesetList::showComparison()
{
    // Without a comparison every change would otherwise unmark every node again.
    const QList<NodeMark> marks = mComparison->tilesetMarks();
    if (marks.isEmpty() && !mMarked)
        return;
    mMarked = !marks.isEmpty();
    const QScopedValueRollback following(mFollowing, true);
    removePlaceholders();
    for (const ComparisonPlaceholder &placeholder : mComparison->placeholders()) {
        addPlaceholder(placeholder.before, placeholder.otherTileset, placeholder.label,
                       placeholder.mark);
        const int there = placeholder.otherTileset;
        const TilesetTable &other = *mComparison->tilesetAt({.placeholder = there}, {}).first;
        setSpokenText(mPlaceholders.last(), spokenTileset(there) + u" of the other file: "_s +
                                                spokenField(other.tilesetName(there)));
    }
    setMarks(marks);
}

void TilesetList::relabel(const TilesetTable &tilesets)
{
    // A label keeps what was typed, blanks and all, for as long as the stored name is what
    // that typing stored: the text cut to the field.
    for (int t = 0; t < std::min(int(mNodes.size()), tilesets.tilesetCount()); ++t) {
        const QString name = trimmedFieldText(tilesets.tilesetName(t));
        const QString shown = mNodes[t]->text(0).mid(numberedTilesetText(t, {}).size());
        if (trimBlanks(QStringView(shown).left(NameWidth)) != name)
            setTilesetLabel(t, name);
        setSpokenText(mNodes[t], spokenName(tilesets, t));
    }
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
            group = item;
        } else {
            item = new QTreeWidgetItem(group, label);
        }
        item->setFlags(item->flags() | Qt::ItemIsEditable);
        setSpokenText(item, spokenName(tilesets, t));
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
    mPlaceholders.clear();
    mMarked = false;
    clear();
}

void TilesetList::setMarks(const QList<NodeMark> &marks)
{
    for (int t = 0; t < mNodes.size(); ++t)
        showNodeMark(mNodes[t], t < marks.size() ? marks[t] : NodeMark());
}

void TilesetList::addPlaceholder(int before, int otherTileset, const QString &label,
                                 const NodeMark &mark)
{
    auto *item = new QTreeWidgetItem(QStringList{label});
    item->setData(0, PlaceholderRole, otherTileset);
    QFont font = item->font(0);
    font.setItalic(true);
    item->setFont(0, font);
    showNodeMark(item, mark);
    // Right after what shows before it: the placeholders already there for the same place,
    // or the tileset before; under a group's head, as its first child.
    QTreeWidgetItem *after = before > 0 ? node(before) : nullptr;
    for (QTreeWidgetItem *placeholder : std::as_const(mPlaceholders)) {
        if (placeholder->data(0, PlaceRole).toInt() == before)
            after = placeholder;
    }
    item->setData(0, PlaceRole, before);
    if (!after)
        insertTopLevelItem(0, item);
    else if (!after->parent() && tilesetOf(after) >= 0) // a group's head
        after->insertChild(0, item);
    else if (QTreeWidgetItem *parent = after->parent())
        parent->insertChild(parent->indexOfChild(after) + 1, item);
    else
        insertTopLevelItem(indexOfTopLevelItem(after) + 1, item);
    mPlaceholders.append(item);
}

void TilesetList::removePlaceholders()
{
    qDeleteAll(mPlaceholders);
    mPlaceholders.clear();
}

int TilesetList::currentPlaceholder() const
{
    const QList<QTreeWidgetItem *> selected = selectedItems();
    return selected.isEmpty() || !mPlaceholders.contains(selected.first())
               ? -1
               : selected.first()->data(0, PlaceholderRole).toInt();
}

void TilesetList::selectPlaceholder(int otherTileset)
{
    for (QTreeWidgetItem *placeholder : std::as_const(mPlaceholders)) {
        if (placeholder->data(0, PlaceholderRole).toInt() == otherTileset) {
            setCurrentItem(placeholder);
            scrollToItem(placeholder);
        }
    }
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

bool TilesetList::event(QEvent *event)
{
    // Taken before the window's shortcuts, where Delete clears the field.
    if (event->type() == QEvent::ShortcutOverride &&
        isTilesetKey(static_cast<QKeyEvent *>(event))) {
        event->accept();
        return true;
    }
    return LabelTree::event(event);
}

void TilesetList::keyPressEvent(QKeyEvent *event)
{
    if (isTilesetKey(event)) {
        Q_EMIT event->key() == Qt::Key_Insert ? insertPressed() : deletePressed();
        return;
    }
    // Once before the selection moves, and once more on release after it has moved.
    Q_EMIT keyPressed();
    LabelTree::keyPressEvent(event);
}

void TilesetList::keyReleaseEvent(QKeyEvent *event)
{
    QTreeWidget::keyReleaseEvent(event);
    Q_EMIT keyReleased();
}

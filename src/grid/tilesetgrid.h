#pragma once

#include "fieldblock.h"

#include <QPersistentModelIndex>
#include <QTableView>

class FieldCursor;
class FrozenColumn;
class GridDelegate;
class TilesetGridModel;

// The grid of every tileset's fields, edited as a spreadsheet is: typing replaces the
// text, F2 edits it in place, Enter keeps it and moves down, Tab keeps it and moves right,
// Escape drops it. One rectangle of cells, rows or columns is selected at a time, as the
// commands that copy and paste act on one. The name column stays in view while the entries scroll.
// Its current cell is the cursor's field.
class TilesetGrid : public QTableView
{
    Q_OBJECT

public:
    explicit TilesetGrid(TilesetGridModel *model, QWidget *parent = nullptr);

    // Tells the cursor where the user moves, and follows it.
    void follow(FieldCursor *cursor);
    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;
    // The selected fields: the rectangle around the selection, else the current cell.
    FieldRect selectedFields() const;
    void selectFields(const FieldRect &fields);
    // Stores what a cell's editor holds and closes it, as a command does before it acts.
    void finishEdit();

Q_SIGNALS:
    void inputRefused(const QString &reason);

protected:
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    friend class FrozenColumn;
    void showPlace();
    void setUpColumns();
    void placeFrozenColumn();
    // Both views' edits: where the editor was, and where Enter or Tab moves from it.
    void editStarted(const QModelIndex &index, EditTrigger trigger, QAbstractItemView *view);
    void editClosed(QAbstractItemDelegate::EndEditHint hint);

    TilesetGridModel *mModel;
    FrozenColumn *mFrozen;
    GridDelegate *mDelegate;
    FieldCursor *mCursor = nullptr;
    QPersistentModelIndex mEdited;
    bool mFollowing = false; // the current cell moves with the cursor, not the user
};

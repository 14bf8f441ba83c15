#include "tilesetgrid.h"

#include "fieldcursor.h"
#include "griddelegate.h"
#include "tilesetgridmodel.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QScrollBar>

// The name column drawn over the grid's own, as Qt's frozen column example does: a second
// view of the same model and selection, showing column 0 only. Its edits come back to the
// grid, which decides where Enter and Tab go.
class FrozenColumn : public QTableView
{
public:
    explicit FrozenColumn(TilesetGrid *grid)
        : QTableView(grid)
        , mGrid(grid)
    {}
    bool openEditor(const QModelIndex &index, EditTrigger trigger, QEvent *event)
    {
        return edit(index, trigger, event);
    }

protected:
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override
    {
        const bool opened = QTableView::edit(index, trigger, event);
        if (opened)
            mGrid->editStarted(index, trigger, this);
        return opened;
    }
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override
    {
        if (!viewport()->isAncestorOf(editor))
            return; // the delegate is shared: its editors close in both views
        QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
        mGrid->editClosed(hint);
    }
    void mousePressEvent(QMouseEvent *event) override
    {
        mGrid->setFocus(Qt::MouseFocusReason); // keys go to the grid, which scrolls both
        QTableView::mousePressEvent(event);
    }

private:
    TilesetGrid *mGrid;
};

TilesetGrid::TilesetGrid(TilesetGridModel *model, QWidget *parent)
    : QTableView(parent)
    , mModel(model)
    , mFrozen(new FrozenColumn(this))
    , mDelegate(new GridDelegate(this))
{
    setObjectName(QStringLiteral("TilesetGrid"));
    setAccessibleName(QStringLiteral("All tilesets"));
    setItemDelegate(mDelegate);
    setSelectionMode(ContiguousSelection);
    setEditTriggers(DoubleClicked | EditKeyPressed | AnyKeyPressed);
    setWordWrap(false);
    // Widths from the font, once: measuring 65,280 cells would cost more than it shows.
    // An entry such as "swam_ground000.bmp" fits; longer ones show with an ellipsis.
    horizontalHeader()->setDefaultSectionSize(fontMetrics().horizontalAdvance(QString(20, u'n')));
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setDefaultAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setHorizontalScrollMode(ScrollPerPixel);
    // The model last: every header setting before it would measure the headers again.
    setModel(model);
    connect(mDelegate, &GridDelegate::inputRefused, this, &TilesetGrid::inputRefused);

    mFrozen->setObjectName(QStringLiteral("frozenNames"));
    mFrozen->setAccessibleName(
        QStringLiteral("Tileset names")); // the grid's first column, kept in view
    mFrozen->setItemDelegate(mDelegate);
    mFrozen->setEditTriggers(editTriggers());
    mFrozen->setWordWrap(false);
    mFrozen->setFocusPolicy(Qt::NoFocus);
    mFrozen->verticalHeader()->hide();
    mFrozen->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    mFrozen->verticalHeader()->setDefaultSectionSize(verticalHeader()->defaultSectionSize());
    mFrozen->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    mFrozen->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    mFrozen->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    mFrozen->setVerticalScrollMode(verticalScrollMode());
    mFrozen->setModel(model);
    mFrozen->setSelectionModel(selectionModel());
    // It shows column 0 only by being as wide as it: the entries beyond its edge are never
    // painted, and it never scrolls sideways to them (hiding 256 columns costs more).
    mFrozen->setAutoScroll(false);
    connect(mFrozen->horizontalScrollBar(), &QScrollBar::valueChanged, mFrozen,
            [this] { mFrozen->horizontalScrollBar()->setValue(0); });
    viewport()->stackUnder(mFrozen);
    connect(mFrozen->verticalScrollBar(), &QScrollBar::valueChanged, verticalScrollBar(),
            &QScrollBar::setValue);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, mFrozen->verticalScrollBar(),
            &QScrollBar::setValue);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int section) {
        if (section == 0) {
            mFrozen->setColumnWidth(0, columnWidth(0));
            placeFrozenColumn();
        }
    });
    connect(model, &QAbstractItemModel::modelReset, this, &TilesetGrid::setUpColumns);
    setUpColumns();
}

void TilesetGrid::setUpColumns()
{
    setColumnWidth(0, fontMetrics().averageCharWidth() * 24);
    mFrozen->setColumnWidth(0, columnWidth(0));
    placeFrozenColumn();
}

void TilesetGrid::placeFrozenColumn()
{
    mFrozen->setGeometry(verticalHeader()->width() + frameWidth(), frameWidth(), columnWidth(0),
                         viewport()->height() + horizontalHeader()->height());
}

void TilesetGrid::resizeEvent(QResizeEvent *event)
{
    QTableView::resizeEvent(event);
    placeFrozenColumn();
}

void TilesetGrid::follow(FieldCursor *cursor)
{
    mCursor = cursor;
    connect(cursor, &FieldCursor::placeChanged, this, &TilesetGrid::showPlace);
    // A reset or a row inserted or deleted loses the current cell: the cursor's comes back.
    connect(mModel, &QAbstractItemModel::modelReset, this, &TilesetGrid::showPlace);
    connect(mModel, &QAbstractItemModel::rowsInserted, this, &TilesetGrid::showPlace);
    connect(mModel, &QAbstractItemModel::rowsRemoved, this, &TilesetGrid::showPlace);
    showPlace();
}

void TilesetGrid::showPlace()
{
    const FieldPlace &place = mCursor->place();
    // A placeholder's tileset has no row here; the current cell stays where it was.
    if (place.tileset < 0)
        return;
    const QModelIndex cell = mModel->fieldIndex(place.tileset, place.onName ? -1 : place.entry);
    if (!cell.isValid() || cell == currentIndex())
        return;
    const QScopedValueRollback following(mFollowing, true);
    selectionModel()->setCurrentIndex(cell, QItemSelectionModel::ClearAndSelect);
    scrollTo(cell);
}

void TilesetGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    if (mCursor && !mFollowing && current.isValid())
        mCursor->showField(current.row(), TilesetGridModel::entryOf(current));
}

bool TilesetGrid::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
{
    // The name column's own cells lie under the frozen one: its editor opens there.
    if (index.column() == 0 && trigger != NoEditTriggers && trigger != CurrentChanged)
        return mFrozen->openEditor(index, trigger, event);
    const bool opened = QTableView::edit(index, trigger, event);
    if (opened)
        editStarted(index, trigger, this);
    return opened;
}

void TilesetGrid::editStarted(const QModelIndex &index, EditTrigger trigger,
                              QAbstractItemView *view)
{
    mEdited = index;
    // Typing replaces what the cell held; F2 and a double-click go on after its text.
    if (trigger == AnyKeyPressed)
        return;
    for (QLineEdit *line : view->viewport()->findChildren<QLineEdit *>())
        if (line->isVisible())
            line->end(false);
}

void TilesetGrid::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    if (!viewport()->isAncestorOf(editor))
        return;
    // Qt would open the next cell's editor on Tab; a spreadsheet only moves there.
    QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
    editClosed(hint);
}

void TilesetGrid::editClosed(QAbstractItemDelegate::EndEditHint hint)
{
    const QModelIndex edited = mEdited;
    mEdited = QPersistentModelIndex();
    // A click elsewhere also closes with a submit: only from the edited cell does it move.
    if (!edited.isValid() || currentIndex() != edited)
        return;
    int row = edited.row();
    int column = edited.column();
    if (hint == QAbstractItemDelegate::SubmitModelCache)
        ++row;
    else if (hint == QAbstractItemDelegate::EditNextItem)
        ++column;
    else if (hint == QAbstractItemDelegate::EditPreviousItem)
        --column;
    const QModelIndex next = mModel->index(row, column);
    if (next.isValid())
        setCurrentIndex(next);
    setFocus();
}

void TilesetGrid::scrollTo(const QModelIndex &index, ScrollHint hint)
{
    // The name column is always in view: scrolling to a name moves only up or down.
    if (index.column() > 0) {
        QTableView::scrollTo(index, hint);
        // A cell scrolled to the left edge would lie under the name column: out from under it.
        if (const int hidden = columnWidth(0) - visualRect(index).left(); hidden > 0)
            horizontalScrollBar()->setValue(horizontalScrollBar()->value() - hidden);
    } else if (index.isValid()) {
        // The entry beside the names, kept out from under them as any other.
        scrollTo(mModel->index(index.row(), std::max(columnAt(columnWidth(0) + 1), 1)), hint);
    }
}

FieldRect TilesetGrid::selectedFields() const
{
    const QItemSelection selection = selectionModel()->selection();
    if (selection.isEmpty())
        return {currentIndex().row(), currentIndex().column(), 1, 1};
    int top = mModel->rowCount();
    int left = mModel->columnCount();
    int bottom = 0;
    int right = 0;
    for (const QItemSelectionRange &range : selection) {
        top = std::min(top, range.top());
        left = std::min(left, range.left());
        bottom = std::max(bottom, range.bottom());
        right = std::max(right, range.right());
    }
    return {top, left, bottom - top + 1, right - left + 1};
}

void TilesetGrid::selectFields(const FieldRect &fields)
{
    const QModelIndex first = mModel->index(fields.tileset, fields.column);
    selectionModel()->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
    selectionModel()->select(
        QItemSelection(first, mModel->index(fields.lastTileset(), fields.lastColumn())),
        QItemSelectionModel::ClearAndSelect);
}

void TilesetGrid::finishEdit()
{
    // Either view may hold the editor: the names are edited in the frozen one.
    for (const QWidget *cells : {viewport(), mFrozen->viewport()}) {
        for (QLineEdit *editor : cells->findChildren<QLineEdit *>()) {
            if (editor->isVisible()) {
                Q_EMIT itemDelegate()->commitData(editor);
                Q_EMIT itemDelegate()->closeEditor(editor, QAbstractItemDelegate::NoHint);
            }
        }
    }
}

void TilesetGrid::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        state() != EditingState) {
        const QModelIndex below = mModel->index(currentIndex().row() + 1, currentIndex().column());
        if (below.isValid())
            setCurrentIndex(below);
        return;
    }
    QTableView::keyPressEvent(event);
}

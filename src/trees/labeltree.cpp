#include "labeltree.h"

#include "labeleditdelegate.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStyle>
#include <QTreeWidgetItemIterator>

LabelTree::LabelTree(const QString &name, int fieldWidth, QWidget *parent)
    : QTreeWidget(parent)
{
    setObjectName(name);
    setHeaderHidden(true);
    setColumnCount(1);
    setUniformRowHeights(true);
    // Whole labels, never cut with "...": a tree wider than its pane scrolls sideways.
    // The column is fitted to its labels once after each burst of changes; Qt's own
    // resize-to-contents would measure every label again at every label set.
    setTextElideMode(Qt::ElideNone);
    header()->setStretchLastSection(false);
    mFitTimer.setSingleShot(true);
    mFitTimer.setInterval(0);
    connect(&mFitTimer, &QTimer::timeout, this, &LabelTree::fitColumn);
    connect(model(), &QAbstractItemModel::dataChanged, &mFitTimer, qOverload<>(&QTimer::start));
    connect(model(), &QAbstractItemModel::rowsInserted, &mFitTimer, qOverload<>(&QTimer::start));
    connect(this, &QTreeView::expanded, &mFitTimer, qOverload<>(&QTimer::start));
    setEditTriggers(NoEditTriggers);
    setExpandsOnDoubleClick(false); // mouseDoubleClickEvent folds only what it does not edit
    auto *delegate = new LabelEditDelegate(fieldWidth, this);
    setItemDelegate(delegate);
    connect(delegate, &LabelEditDelegate::labelEdited, this,
            [this](const QModelIndex &index, const QString &text) {
                QTreeWidgetItem *item = itemFromIndex(index);
                Q_EMIT itemLabelEdited(item, text);
                item->setText(0, editedLabel(item, text));
            });
    connect(delegate, &LabelEditDelegate::editorTextChanged, this, &LabelTree::labelTextChanged);
    connect(delegate, &LabelEditDelegate::inputRefused, this, &LabelTree::labelInputRefused);
}

void LabelTree::finishEdit()
{
    if (state() != EditingState)
        return;
    for (auto *editor : viewport()->findChildren<QLineEdit *>()) {
        if (editor->isVisible()) {
            commitData(editor);
            closeEditor(editor, QAbstractItemDelegate::NoHint);
        }
    }
}

void LabelTree::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    QTreeWidget::closeEditor(editor, hint);
    Q_EMIT labelEditClosed();
}

void LabelTree::resizeEvent(QResizeEvent *event)
{
    QTreeWidget::resizeEvent(event);
    fitColumn();
}

void LabelTree::fitColumn()
{
    // Measured here rather than by the delegate: a few hundred labels in well under a
    // millisecond. Nodes below closed ones count too, so opening one never widens the tree.
    const QFontMetrics metrics(font());
    const int iconWidth = iconSize().isValid() ? iconSize().width() : 16;
    const int padding = 2 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 8;
    int widest = 0;
    for (QTreeWidgetItemIterator it(this); *it; ++it) {
        const QTreeWidgetItem *item = *it;
        int depth = rootIsDecorated() ? 1 : 0;
        for (const QTreeWidgetItem *parent = item->parent(); parent; parent = parent->parent())
            ++depth;
        const int icon = item->icon(0).isNull() ? 0 : iconWidth + 4;
        widest = std::max(widest, depth * indentation() + icon +
                                      metrics.horizontalAdvance(item->text(0)) + padding);
    }
    // At least as wide as the pane, so a selected node is highlighted across it.
    setColumnWidth(0, std::max(widest, viewport()->width()));
}

void LabelTree::editSelectedLabel(const QString &bareText)
{
    const QList<QTreeWidgetItem *> selected = selectedItems();
    if (selected.isEmpty())
        return;
    selected.first()->setData(0, LabelEditDelegate::BareTextRole, bareText);
    editItem(selected.first());
}

void LabelTree::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTreeWidget::mouseDoubleClickEvent(event);
    Q_EMIT treeDoubleClicked();
    // A double-click that starts an edit does not also open or close the node's children.
    QTreeWidgetItem *item = itemAt(event->position().toPoint());
    if (item && item->childCount() > 0 && state() != EditingState)
        item->setExpanded(!item->isExpanded());
}

#include "labeltree.h"

#include "labeleditdelegate.h"

#include <QHeaderView>

LabelTree::LabelTree(const QString &name, int fieldWidth, QWidget *parent)
    : QTreeWidget(parent)
{
    setObjectName(name);
    setHeaderHidden(true);
    setColumnCount(1);
    setUniformRowHeights(true);
    // Whole labels, never cut with "...": a tree wider than its pane scrolls sideways.
    setTextElideMode(Qt::ElideNone);
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    header()->setStretchLastSection(false);
    setEditTriggers(NoEditTriggers);
    auto *delegate = new LabelEditDelegate(fieldWidth, this);
    setItemDelegate(delegate);
    connect(delegate, &LabelEditDelegate::labelEdited, this,
            [this](const QModelIndex &index, const QString &text) {
                Q_EMIT itemLabelEdited(itemFromIndex(index), text);
            });
    connect(delegate, &LabelEditDelegate::editorTextChanged, this, &LabelTree::labelTextChanged);
}

void LabelTree::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    QTreeWidget::closeEditor(editor, hint);
    Q_EMIT labelEditClosed();
}

void LabelTree::resizeEvent(QResizeEvent *event)
{
    QTreeWidget::resizeEvent(event);
    // At least as wide as the pane, so a selected node is highlighted across it.
    header()->setMinimumSectionSize(viewport()->width());
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
}

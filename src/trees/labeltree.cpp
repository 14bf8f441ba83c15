#include "labeltree.h"

#include "labeleditdelegate.h"

LabelTree::LabelTree(const QString &name, QWidget *parent)
    : QTreeWidget(parent)
{
    setObjectName(name);
    setHeaderHidden(true);
    setColumnCount(1);
    setUniformRowHeights(true);
    setEditTriggers(NoEditTriggers);
    auto *delegate = new LabelEditDelegate(this);
    setItemDelegate(delegate);
    connect(delegate, &LabelEditDelegate::labelEdited, this,
            [this](const QModelIndex &index, const QString &text) {
                Q_EMIT itemLabelEdited(itemFromIndex(index), text);
            });
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

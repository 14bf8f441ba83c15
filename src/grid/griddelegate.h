#pragma once

#include <QStyledItemDelegate>

// Paints a field never written as a dimmed "never written" and a marked cell as the trees
// paint a marked node, and edits a cell as the trees' label editors do: at most the field's
// width, only what the file can hold, and a refusal that says why.
class GridDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;

Q_SIGNALS:
    void inputRefused(const QString &reason) const;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;
};

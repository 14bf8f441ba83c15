#pragma once

#include <QStyledItemDelegate>

class QTreeWidgetItem;

// In-place editing of a tree label: the editor opens on the bare name or entry text
// (BareTextRole) while the node keeps its numbered label, and a confirmed edit is handed
// to labelEdited() instead of being written into the label, so the owner stores the text
// and relabels the node. Escape closes the editor without a signal. A marked node is painted
// with its mark's sign and colours.
class LabelEditDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    static constexpr int BareTextRole = Qt::UserRole + 10;

    // What is typed is what the field gets: the editor takes at most maxLength characters.
    LabelEditDelegate(int maxLength, QObject *parent)
        : QStyledItemDelegate(parent)
        , mMaxLength(maxLength)
    {}

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

Q_SIGNALS:
    void labelEdited(const QModelIndex &index, const QString &text) const;
    void editorTextChanged(const QString &text) const; // as the user types
    void inputRefused(const QString &reason) const;    // typed or pasted, and why

private:
    int mMaxLength;
};

#include "labeleditdelegate.h"

#include "comparemark.h"
#include "fieldtextvalidator.h"

#include <QLineEdit>

QWidget *LabelEditDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                         const QModelIndex &index) const
{
    auto *editor =
        qobject_cast<QLineEdit *>(QStyledItemDelegate::createEditor(parent, option, index));
    if (!editor)
        editor = new QLineEdit(parent);
    editor->setFrame(false);
    editor->setMaxLength(mMaxLength);
    auto *validator = new FieldTextValidator(FieldTextValidator::Windows1252Only, editor);
    connect(validator, &FieldTextValidator::refused, this, &LabelEditDelegate::inputRefused);
    editor->setValidator(validator);
    connect(editor, &QLineEdit::textChanged, this, &LabelEditDelegate::editorTextChanged);
    return editor;
}

void LabelEditDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    if (auto *line = qobject_cast<QLineEdit *>(editor)) {
        const QString offered = index.data(BareTextRole).toString();
        if (auto *validator = line->findChild<FieldTextValidator *>())
            validator->allowControlsOf(offered);
        line->setText(offered);
    }
}

void LabelEditDelegate::setModelData(QWidget *editor, QAbstractItemModel *,
                                     const QModelIndex &index) const
{
    if (auto *line = qobject_cast<QLineEdit *>(editor))
        Q_EMIT labelEdited(index, line->text());
}

void LabelEditDelegate::initStyleOption(QStyleOptionViewItem *option,
                                        const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    styleMarkedItem(option, index);
}

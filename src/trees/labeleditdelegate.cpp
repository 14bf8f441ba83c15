#include "labeleditdelegate.h"

#include "windows1252.h"

#include <QLineEdit>
#include <QValidator>

namespace {

// Fields hold Windows-1252 bytes: characters without a byte there cannot be typed, so what
// the tree shows after an edit is what the file will hold.
class Windows1252Validator : public QValidator
{
public:
    using QValidator::QValidator;

    State validate(QString &input, int &) const override
    {
        for (QChar c : std::as_const(input)) {
            if (!isWindows1252(c))
                return Invalid;
        }
        return Acceptable;
    }
};

} // namespace

QWidget *LabelEditDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                         const QModelIndex &index) const
{
    auto *editor =
        qobject_cast<QLineEdit *>(QStyledItemDelegate::createEditor(parent, option, index));
    if (!editor)
        editor = new QLineEdit(parent);
    editor->setFrame(false);
    editor->setMaxLength(mMaxLength);
    editor->setValidator(new Windows1252Validator(editor));
    connect(editor, &QLineEdit::textChanged, this, &LabelEditDelegate::editorTextChanged);
    return editor;
}

void LabelEditDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    if (auto *line = qobject_cast<QLineEdit *>(editor))
        line->setText(index.data(BareTextRole).toString());
}

void LabelEditDelegate::setModelData(QWidget *editor, QAbstractItemModel *,
                                     const QModelIndex &index) const
{
    if (auto *line = qobject_cast<QLineEdit *>(editor))
        Q_EMIT labelEdited(index, line->text());
}

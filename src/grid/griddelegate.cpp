#include "griddelegate.h"

#include "comparemark.h"
#include "fieldtextvalidator.h"
#include "fixedfield.h"
#include "tilesetgridmodel.h"

#include <QLineEdit>

using namespace Qt::StringLiterals;

QWidget *GridDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &,
                                    const QModelIndex &index) const
{
    auto *editor = new QLineEdit(parent);
    editor->setFrame(false);
    editor->setMaxLength(TilesetGridModel::entryOf(index) < 0 ? NameWidth : EntryWidth);
    auto *validator = new FieldTextValidator(FieldTextValidator::Windows1252Only, editor);
    connect(validator, &FieldTextValidator::refused, this, &GridDelegate::inputRefused);
    editor->setValidator(validator);
    return editor;
}

void GridDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    auto *line = static_cast<QLineEdit *>(editor);
    const QString offered = index.data(Qt::EditRole).toString();
    line->findChild<FieldTextValidator *>()->allowControlsOf(offered);
    line->setText(offered);
}

void GridDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    const bool neverWritten = index.data(TilesetGridModel::NeverWrittenRole).toBool();
    if (neverWritten) {
        option->text = u"never written"_s;
        option->font.setItalic(true);
    }
    styleMarkedItem(option, index, neverWritten);
}

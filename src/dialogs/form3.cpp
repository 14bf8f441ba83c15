#include "form3.h"

#include "dialogflags.h"
#include "document.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

constexpr int DialogWidth = 360;
constexpr int CountWidth = 60;

QLabel *caption(const QString &text, const QString &name, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

QLabel *value(const QString &text, const QString &name, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

Form3::Form3(const Document &document, QWidget *parent)
    : QDialog(parent, FixedDialogFlags)
    , Label1(caption(u"Filename:"_s, u"Label1"_s, this))
    , Label5(value(document.FileTitle, u"Label5"_s, this))
    , Label2(caption(u"Path:"_s, u"Label2"_s, this))
    , Label6(value(document.FileFolder, u"Label6"_s, this))
    , Line1(new QFrame(this))
    , Label3(caption(u"Tilesets:"_s, u"Label3"_s, this))
    , Label7(value(QString::number(document.tilesetCount()), u"Label7"_s, this))
    , Label4(caption(u"Entries per tileset:"_s, u"Label4"_s, this))
    , Label8(value(QString::number(document.entryCount()), u"Label8"_s, this))
    , Command1(new QPushButton(u"Ok"_s, this))
{
    setObjectName(u"Form3"_s);
    setWindowTitle(u"File info"_s);
    Line1->setObjectName(u"Line1"_s);
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Sunken);
    Command1->setObjectName(u"Command1"_s);

    // A long name or folder is cut at the dialog's edge rather than widening it.
    for (QLabel *label : {Label5, Label6})
        label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    for (QLabel *label : {Label7, Label8})
        label->setFixedWidth(CountWidth);

    // The only button: Enter and Escape both just close.
    Command1->setDefault(true);
    connect(Command1, &QPushButton::clicked, this, &QDialog::accept);

    auto *rows = new QGridLayout;
    rows->addWidget(Label1, 0, 0);
    rows->addWidget(Label5, 0, 1);
    rows->addWidget(Label2, 1, 0);
    rows->addWidget(Label6, 1, 1);
    rows->addWidget(Line1, 2, 0, 1, 2);
    rows->addWidget(Label3, 3, 0);
    // Aligned, so that their fixed width does not cap the column the long texts share.
    rows->addWidget(Label7, 3, 1, Qt::AlignLeft);
    rows->addWidget(Label4, 4, 0);
    rows->addWidget(Label8, 4, 1, Qt::AlignLeft);
    rows->setColumnStretch(1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(rows);
    layout->addLayout(buttons);

    setFixedSize(DialogWidth, sizeHint().height());
}

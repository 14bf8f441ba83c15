#include "fileinfodialog.h"

#include "dialogflags.h"

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

FileInfoDialog::FileInfoDialog(const QString &fileTitle, const QString &fileFolder,
                               int tilesetCount, int entryCount, QWidget *parent)
    : QDialog(parent, FixedDialogFlags)
{
    setObjectName(u"Form3"_s);
    setWindowTitle(u"File info"_s);
    QLabel *fileName = value(fileTitle, u"Label5"_s, this);
    QLabel *folder = value(fileFolder, u"Label6"_s, this);
    QLabel *tilesets = value(QString::number(tilesetCount), u"Label7"_s, this);
    QLabel *entries = value(QString::number(entryCount), u"Label8"_s, this);
    auto *rule = new QFrame(this);
    rule->setObjectName(u"Line1"_s);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    auto *ok = new QPushButton(u"Ok"_s, this);
    ok->setObjectName(u"Command1"_s);

    // A long name or folder is cut at the dialog's edge rather than widening it.
    for (QLabel *label : {fileName, folder})
        label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    for (QLabel *label : {tilesets, entries})
        label->setFixedWidth(CountWidth);

    // The only button: Enter and Escape both just close.
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto *rows = new QGridLayout;
    rows->addWidget(caption(u"Filename:"_s, u"Label1"_s, this), 0, 0);
    rows->addWidget(fileName, 0, 1);
    rows->addWidget(caption(u"Path:"_s, u"Label2"_s, this), 1, 0);
    rows->addWidget(folder, 1, 1);
    rows->addWidget(rule, 2, 0, 1, 2);
    rows->addWidget(caption(u"Tilesets:"_s, u"Label3"_s, this), 3, 0);
    // Aligned, so that their fixed width does not cap the column the long texts share.
    rows->addWidget(tilesets, 3, 1, Qt::AlignLeft);
    rows->addWidget(caption(u"Entries per tileset:"_s, u"Label4"_s, this), 4, 0);
    rows->addWidget(entries, 4, 1, Qt::AlignLeft);
    rows->setColumnStretch(1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(rows);
    layout->addLayout(buttons);

    setFixedSize(DialogWidth, sizeHint().height());
}

#include "form5.h"

#include "dialogflags.h"
#include "textutils.h"
#include "tilesettable.h"
#include "windows1252.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

Form5::Form5(const TilesetTable &tilesets, QWidget *parent)
    : QDialog(parent, FixedDialogFlags)
    , Combo1(new QComboBox(this))
    , Command1(new QPushButton(u"Ok"_s, this))
    , Command2(new QPushButton(u"Cancel"_s, this))
{
    setObjectName(u"Form5"_s);
    setWindowTitle(u"Select tileset"_s);
    Combo1->setObjectName(u"Combo1"_s);
    Command1->setObjectName(u"Command1"_s);
    Command2->setObjectName(u"Command2"_s);

    for (int t = 0; t < tilesets.tilesetCount(); ++t)
        Combo1->addItem(itemText(t, tilesets.TilesetNames(t)));
    Combo1->setCurrentIndex(0);

    Command1->setDefault(true);
    connect(Command1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Command2, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Combo1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    Combo1->setMinimumWidth(260);
}

QString Form5::itemText(int index, QByteArrayView name)
{
    return ZeroPad(index, index >= 100 ? 3 : 2) + u". "_s + FromWindows1252(CutAtNul(name));
}

void Form5::done(int result)
{
    // Escape and the close box end here as a rejection: both count as Cancel.
    mImportChoice = result == Accepted ? Combo1->currentIndex() : -1;
    QDialog::done(result);
}

#include "selecttilesetdialog.h"

#include "dialogflags.h"
#include "fieldformat.h"
#include "tilesettable.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

SelectTilesetDialog::SelectTilesetDialog(const TilesetTable &tilesets, QWidget *parent)
    : QDialog(parent, FixedDialogFlags)
    , mTilesets(new QComboBox(this))
    , mOkButton(new QPushButton(u"Ok"_s, this))
    , mCancelButton(new QPushButton(u"Cancel"_s, this))
{
    setObjectName(u"Form5"_s);
    setWindowTitle(u"Select tileset"_s);
    mTilesets->setObjectName(u"Combo1"_s);
    mOkButton->setObjectName(u"Command1"_s);
    mCancelButton->setObjectName(u"Command2"_s);

    for (int t = 0; t < tilesets.tilesetCount(); ++t)
        mTilesets->addItem(numberedTilesetText(t, fieldText(tilesets.tilesetName(t))));
    mTilesets->setCurrentIndex(0);

    mOkButton->setDefault(true);
    connect(mOkButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(mCancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(mOkButton);
    buttons->addWidget(mCancelButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(mTilesets);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    mTilesets->setMinimumWidth(260);
}

void SelectTilesetDialog::done(int result)
{
    // Escape and the close box end here as a rejection: both count as Cancel.
    mImportChoice = result == Accepted ? mTilesets->currentIndex() : -1;
    QDialog::done(result);
}

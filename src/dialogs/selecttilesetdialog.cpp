#include "selecttilesetdialog.h"

#include "dialogbuttons.h"
#include "dialogflags.h"
#include "fieldformat.h"
#include "tilesettable.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

SelectTilesetDialog::SelectTilesetDialog(const TilesetTable &tilesets, QWidget *parent)
    : QDialog(parent, FixedDialogFlags)
    , mTilesets(new QComboBox(this))
{
    setObjectName(u"Form5"_s);
    setWindowTitle(u"Select tileset"_s);
    mTilesets->setObjectName(u"Combo1"_s);
    mTilesets->setAccessibleName(u"Tileset"_s); // the dialog's title is its only caption

    for (int t = 0; t < tilesets.tilesetCount(); ++t)
        mTilesets->addItem(numberedTilesetText(t, fieldText(tilesets.tilesetName(t))));
    mTilesets->setCurrentIndex(0);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(mTilesets);
    layout->addWidget(okCancelButtons(this));
    layout->setSizeConstraint(QLayout::SetFixedSize);
    mTilesets->setMinimumWidth(260);
}

void SelectTilesetDialog::done(int result)
{
    // Escape and the close box end here as a rejection: both count as Cancel.
    mChosenTileset = result == Accepted ? mTilesets->currentIndex() : -1;
    QDialog::done(result);
}

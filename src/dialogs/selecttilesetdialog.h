#pragma once

#include <QDialog>

class QComboBox;
class TilesetTable;

// "Select tileset": lists the tilesets of a table (the document's for a copy, the other
// file's for an import); chosenTileset() is the chosen index, -1 when cancelled.
class SelectTilesetDialog : public QDialog
{
    Q_OBJECT

public:
    explicit SelectTilesetDialog(const TilesetTable &tilesets, QWidget *parent = nullptr);

    int chosenTileset() const { return mChosenTileset; }

    void done(int result) override;

private:
    QComboBox *mTilesets;
    int mChosenTileset = -1;
};

#pragma once

#include "fieldsearch.h"

#include <QLabel>

class EntryTree;
class TilesetDocument;
class TilesetList;

// The status bar's account of the field in view: where it is and how it is stored, its
// bytes in the tool tip, or the characters typed while its label is edited. The tree the
// user last moved or clicked in decides whether that is the tileset's name or its entry.
class FieldStatus : public QLabel
{
    Q_OBJECT

public:
    FieldStatus(const TilesetDocument *document, TilesetList *tilesets, EntryTree *entries,
                QWidget *parent = nullptr);

    // The field shown: the selected tileset, and its entry or -1 for its name.
    FieldMatch currentField() const;
    void showField(bool name);
    void refresh();

private:
    void showTypedCount(bool name, const QString &text);
    QString place(int tileset, int entry) const;

    const TilesetDocument *mDocument;
    TilesetList *mTilesets;
    EntryTree *mEntries;
    bool mOnName = false;
};

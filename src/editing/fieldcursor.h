#pragma once

#include "fieldsearch.h"

#include <QObject>

class TilesetDocument;

// Where the user is: a tileset, or a placeholder for a tileset only the other file of a
// comparison has; the entry chosen among the entries; and whether the field is the name
// or that entry.
struct FieldPlace
{
    int tileset = -1;     // -1: none, or a placeholder
    int entry = -1;       // the entry chosen; -1: a category, or none
    bool onName = true;   // the name is the field, though an entry stays chosen
    int placeholder = -1; // the other file's tileset the placeholder stands for

    // The field: the tileset's name (entry -1) or its chosen entry.
    FieldAddress field() const { return {tileset, onName ? -1 : entry}; }
    friend bool operator==(const FieldPlace &, const FieldPlace &) = default;
};

// The one current field of the open document. Views set it as the user moves and follow it
// when it changes; the tree last moved in decides whether the field is the name or the
// entry, and a category stands for the name. It stays within the document as it changes.
class FieldCursor : public QObject
{
    Q_OBJECT

public:
    explicit FieldCursor(const TilesetDocument *document, QObject *parent = nullptr);

    const FieldPlace &place() const { return mPlace; }
    FieldAddress field() const { return mPlace.field(); }

    // The user moved to a tileset's name, to a placeholder, or to an entry (-1: a category).
    void moveToTileset(int tileset);
    void moveToPlaceholder(int otherTileset);
    void moveToEntry(int entry);
    // As a click on the tileset and Go to entry would: for the name, the entry chosen stays.
    void showField(int tileset, int entry);

Q_SIGNALS:
    void placeChanged();

private:
    void setPlace(const FieldPlace &place);

    const TilesetDocument *mDocument;
    FieldPlace mPlace;
};

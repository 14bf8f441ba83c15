#include "fieldcursor.h"

#include "tilesetdocument.h"

FieldCursor::FieldCursor(const TilesetDocument *document, QObject *parent)
    : QObject(parent)
    , mDocument(document)
{
    // Another document opens on its first tileset's name, with the entry kept where it has one.
    connect(document, &TilesetDocument::tableReplaced, this, [this] {
        if (!mDocument->isOpen())
            return setPlace({});
        setPlace({0, mPlace.entry < mDocument->entryCount() ? mPlace.entry : -1, true, -1});
    });
    // A change shows its own field; the document keeps that within its tilesets.
    connect(document, &TilesetDocument::fieldsChanged, this,
            [this](int tileset, int entry) { showField(tileset, entry); });
}

void FieldCursor::moveToTileset(int tileset)
{
    setPlace({tileset, mPlace.entry, true, -1});
}

void FieldCursor::moveToPlaceholder(int otherTileset)
{
    setPlace({-1, mPlace.entry, true, otherTileset});
}

void FieldCursor::moveToEntry(int entry)
{
    setPlace({mPlace.tileset, entry, false, mPlace.placeholder});
}

void FieldCursor::showField(int tileset, int entry)
{
    if (entry < 0)
        moveToTileset(tileset);
    else
        setPlace({tileset, entry, false, -1});
}

void FieldCursor::setPlace(const FieldPlace &place)
{
    if (place == mPlace)
        return;
    mPlace = place;
    Q_EMIT placeChanged();
}

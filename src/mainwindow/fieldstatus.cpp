#include "fieldstatus.h"

#include "fieldcursor.h"
#include "fieldformat.h"
#include "fieldinfo.h"
#include "fixedfield.h"
#include "labeltree.h"
#include "tilesetdocument.h"

using namespace Qt::StringLiterals;

FieldStatus::FieldStatus(const TilesetDocument *document, const FieldCursor *cursor,
                         LabelTree *names, LabelTree *entries, QWidget *parent)
    : QLabel(parent)
    , mDocument(document)
    , mCursor(cursor)
{
    setObjectName(u"fieldStatus"_s);
    setAccessibleDescription(u"The selected field: where it is and how it is stored"_s);
    connect(cursor, &FieldCursor::placeChanged, this, &FieldStatus::refresh);
    connect(document, &TilesetDocument::tableReplaced, this, &FieldStatus::refresh);
    connect(document, &TilesetDocument::fieldsChanged, this, &FieldStatus::refresh);
    connect(names, &LabelTree::labelTextChanged, this,
            [this](const QString &text) { showTypedCount(true, text); });
    connect(entries, &LabelTree::labelTextChanged, this,
            [this](const QString &text) { showTypedCount(false, text); });
    connect(names, &LabelTree::labelEditClosed, this, &FieldStatus::refresh);
    connect(entries, &LabelTree::labelEditClosed, this, &FieldStatus::refresh);
}

QString FieldStatus::place(int tileset, int entry) const
{
    return u"Tileset "_s + tilesetNumber(tileset) + u" \u00b7 "_s +
           (entry < 0 ? u"Name"_s : u"Entry "_s + entryNumber(entry)) + u" \u00b7 "_s;
}

void FieldStatus::refresh()
{
    const FieldAddress field = mCursor->field();
    if (!mDocument->isOpen() || field.tileset < 0 || field.tileset >= mDocument->tilesetCount() ||
        field.entry >= mDocument->entryCount()) {
        clear();
        setToolTip({});
        return;
    }
    const TilesetTable &table = mDocument->table();
    const QByteArrayView bytes = field.entry < 0 ? table.tilesetName(field.tileset)
                                                 : table.entry(field.entry, field.tileset);
    setText(place(field.tileset, field.entry) + describeField(bytes));
    setToolTip(hexBytes(bytes));
}

void FieldStatus::showTypedCount(bool name, const QString &text)
{
    // The entry edited is the one chosen, even while the name is the field.
    const int tileset = mCursor->place().tileset;
    const int entry = name ? -1 : mCursor->place().entry;
    if (tileset < 0 || (!name && entry < 0))
        return;
    setText(place(tileset, entry) + characterCount(text.size(), name ? NameWidth : EntryWidth) +
            u" \u00b7 editing"_s);
}

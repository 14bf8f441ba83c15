#include "fieldstatus.h"

#include "entrytree.h"
#include "fieldformat.h"
#include "fieldinfo.h"
#include "fixedfield.h"
#include "tilesetdocument.h"
#include "tilesetlist.h"

using namespace Qt::StringLiterals;

FieldStatus::FieldStatus(const TilesetDocument *document, TilesetList *tilesets, EntryTree *entries,
                         QWidget *parent)
    : QLabel(parent)
    , mDocument(document)
    , mTilesets(tilesets)
    , mEntries(entries)
{
    setObjectName(u"fieldStatus"_s);
    const auto showName = [this](bool name) { return [this, name] { showField(name); }; };
    connect(tilesets, &QTreeWidget::currentItemChanged, this, showName(true));
    connect(tilesets, &QTreeWidget::itemPressed, this, showName(true));
    connect(entries, &QTreeWidget::currentItemChanged, this, showName(false));
    connect(entries, &QTreeWidget::itemPressed, this, showName(false));
    connect(tilesets, &LabelTree::labelTextChanged, this,
            [this](const QString &text) { showTypedCount(true, text); });
    connect(entries, &LabelTree::labelTextChanged, this,
            [this](const QString &text) { showTypedCount(false, text); });
    connect(tilesets, &LabelTree::labelEditClosed, this, &FieldStatus::refresh);
    connect(entries, &LabelTree::labelEditClosed, this, &FieldStatus::refresh);
}

FieldMatch FieldStatus::currentField() const
{
    const int entry = mEntries->currentEntry();
    return {mTilesets->currentTileset(), mOnName || entry >= mDocument->entryCount() ? -1 : entry};
}

void FieldStatus::showField(bool name)
{
    mOnName = name;
    refresh();
}

QString FieldStatus::place(int tileset, int entry) const
{
    return u"Tileset "_s + tilesetNumber(tileset) + u" \u00b7 "_s +
           (entry < 0 ? u"Name"_s : u"Entry "_s + entryNumber(entry)) + u" \u00b7 "_s;
}

void FieldStatus::refresh()
{
    // A category node has no field of its own: the name stands for it.
    const FieldMatch field = currentField();
    if (!mDocument->isOpen() || field.tileset < 0 || field.tileset >= mDocument->tilesetCount()) {
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
    const int tileset = mTilesets->currentTileset();
    const int entry = name ? -1 : mEntries->currentEntry();
    if (tileset < 0 || (!name && entry < 0))
        return;
    setText(place(tileset, entry) + characterCount(text.size(), name ? NameWidth : EntryWidth) +
            u" \u00b7 editing"_s);
}

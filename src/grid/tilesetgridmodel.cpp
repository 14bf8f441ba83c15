#include "tilesetgridmodel.h"

#include "comparemark.h"
#include "comparisonstate.h"
#include "entrycategories.h"
#include "fieldformat.h"
#include "fixedfield.h"
#include "tilesetdocument.h"

#include <cstring>

using namespace Qt::StringLiterals;

namespace {

qint64 cellKey(int tileset, int column)
{
    return qint64(tileset) << 16 | column;
}

int columnAt(qsizetype offset)
{
    return offset < NameWidth ? 0 : 1 + int((offset - NameWidth) / EntryWidth);
}

} // namespace

TilesetGridModel::TilesetGridModel(const TilesetDocument *document,
                                   const ComparisonState *comparison, QObject *parent)
    : QAbstractTableModel(parent)
    , mDocument(document)
    , mComparison(comparison)
{
    connect(document, &TilesetDocument::tableReplaced, this, &TilesetGridModel::replaceTable);
    connect(document, &TilesetDocument::fieldsChanged, this, &TilesetGridModel::followChange);
    connect(comparison, &ComparisonState::marksChanged, this, &TilesetGridModel::showMarks);
    replaceTable();
}

int TilesetGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : mRows;
}

int TilesetGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : mColumns;
}

QVariant TilesetGridModel::data(const QModelIndex &index, int role) const
{
    const int t = index.row();
    const int entry = entryOf(index);
    if (!index.isValid() || t >= mDocument->tilesetCount() || entry >= mDocument->entryCount())
        return {};
    const TilesetTable &table = mDocument->table();
    const QByteArrayView field = entry < 0 ? table.tilesetName(t) : table.entry(entry, t);
    switch (role) {
    case Qt::DisplayRole:
        return fieldText(field);
    case Qt::EditRole:
        // What the trees' editors offer: a name whole up to its NUL, an entry trimmed.
        return entry < 0 ? fieldText(field) : trimmedFieldText(field);
    case NeverWrittenRole:
        return isNeverWritten(field);
    case MarkRole:
    case Qt::ToolTipRole:
    case Qt::AccessibleTextRole: {
        const NodeMark mark = mMarks.value(cellKey(t, index.column()));
        if (role == Qt::AccessibleTextRole)
            return withMarkWords(
                (entry < 0 ? spokenTileset(t) + u", name: "_s : spokenEntry(t, entry) + u": "_s) +
                    spokenField(field),
                mark.kind);
        if (mark.kind == NodeMark::None)
            return {};
        return role == MarkRole ? QVariant(int(mark.kind)) : QVariant(markToolTip(mark));
    }
    default:
        return {};
    }
}

QVariant TilesetGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical)
        return role == Qt::DisplayRole ? QVariant(tilesetNumber(section)) : QVariant();
    if (role == Qt::DisplayRole)
        return section == 0 ? u"Name"_s : entryNumber(section - 1);
    if (role == Qt::ToolTipRole && section > 0)
        return entryToolTip(section - 1);
    return {};
}

QString TilesetGridModel::entryToolTip(int entry) const
{
    QStringList parts;
    // The categories mean something only for the game's 151 entries.
    if (mDocument->entryCount() == CategorisedEntryCount)
        for (const EntryCategory &category : EntryCategories)
            for (const CategoryEntry &listed : category.entries)
                if (listed.entry == entry)
                    parts.append(category.name.toString());
    if (entry < mDescriptions.size() && !mDescriptions[entry].isEmpty())
        parts.append(mDescriptions[entry]);
    return parts.join(u": "_s);
}

Qt::ItemFlags TilesetGridModel::flags(const QModelIndex &index) const
{
    return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
}

bool TilesetGridModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    Q_EMIT textEdited(index.row(), entryOf(index), value.toString());
    return true;
}

void TilesetGridModel::replaceTable()
{
    beginResetModel();
    mRows = mDocument->tilesetCount();
    mColumns = mDocument->isOpen() ? 1 + mDocument->entryCount() : 0;
    mShown = mDocument->table().bytes();
    endResetModel();
    showMarks();
}

void TilesetGridModel::followChange()
{
    const TilesetTable &table = mDocument->table();
    const qsizetype record = table.recordSize();
    // A tileset inserted or deleted moves every row below it: the rows from it on are news.
    int first = mRows;
    if (table.tilesetCount() > mRows) {
        first = std::min(mRows, table.tilesetCount() - 1);
        for (int t = 0; t < mRows; ++t)
            if (std::memcmp(mShown.constData() + t * record, table.record(t).data(), record)) {
                first = t;
                break;
            }
        beginInsertRows({}, first, first + table.tilesetCount() - mRows - 1);
        mRows = table.tilesetCount();
        endInsertRows();
    } else if (table.tilesetCount() < mRows) {
        first = table.tilesetCount();
        for (int t = 0; t < table.tilesetCount(); ++t)
            if (std::memcmp(mShown.constData() + t * record, table.record(t).data(), record)) {
                first = t;
                break;
            }
        beginRemoveRows({}, first, first + mRows - table.tilesetCount() - 1);
        mRows = table.tilesetCount();
        endRemoveRows();
    }
    if (first < mRows)
        Q_EMIT dataChanged(index(first, 0), index(mRows - 1, mColumns - 1));
    // Otherwise only the cells whose bytes changed.
    for (int t = 0; t < std::min(first, mRows); ++t) {
        const char *was = mShown.constData() + t * record;
        const char *now = table.record(t).data();
        if (!std::memcmp(was, now, record))
            continue;
        qsizetype from = 0;
        while (was[from] == now[from])
            ++from;
        qsizetype to = record - 1;
        while (was[to] == now[to])
            --to;
        Q_EMIT dataChanged(index(t, columnAt(from)), index(t, columnAt(to)));
    }
    mShown = table.bytes();
}

void TilesetGridModel::showMarks()
{
    const bool wasMarked = !mMarks.isEmpty();
    mMarks.clear();
    const QList<NodeMark> tilesets = mComparison->tilesetMarks();
    QList<bool> entriesDiffer(tilesets.size());
    for (const ShownDifference &shown : mComparison->shown()) {
        const TilesetDifference &difference = shown.difference;
        if (difference.here < 0 || difference.here >= tilesets.size())
            continue; // a placeholder has no row
        if (difference.isWholeTileset())
            for (int column = 0; column < mColumns; ++column)
                mMarks.insert(cellKey(difference.here, column), tilesets[difference.here]);
        else if (difference.entry < 0)
            mMarks.insert(cellKey(difference.here, 0), tilesets[difference.here]);
        else
            entriesDiffer[difference.here] = true;
    }
    for (int t = 0; t < entriesDiffer.size(); ++t) {
        if (!entriesDiffer[t])
            continue;
        const QList<NodeMark> entries = mComparison->entryMarks({t, -1, true, -1});
        for (int entry = 0; entry < entries.size(); ++entry)
            if (entries[entry].kind != NodeMark::None)
                mMarks.insert(cellKey(t, entry + 1), entries[entry]);
    }
    if ((wasMarked || !mMarks.isEmpty()) && mRows > 0)
        Q_EMIT dataChanged(index(0, 0), index(mRows - 1, mColumns - 1),
                           {MarkRole, Qt::ToolTipRole, Qt::AccessibleTextRole});
}

#include "tilesetcomparison.h"

#include "tilesetalignment.h"

QList<TilesetDifference> compareTilesets(const TilesetTable &here, const TilesetTable &there)
{
    const QList<AlignedTilesets> aligned = alignTilesets(here, there);
    const int entries = std::min(here.entryCount(), there.entryCount());
    const qsizetype common = recordLength(entries);
    QList<TilesetDifference> differences;
    // A tileset only the second table has goes before the next one the first table has.
    int next = here.tilesetCount();
    QList<int> places(aligned.size());
    for (qsizetype k = aligned.size() - 1; k >= 0; --k) {
        if (aligned[k].here >= 0)
            next = aligned[k].here;
        places[k] = next;
    }
    for (qsizetype k = 0; k < aligned.size(); ++k) {
        const auto [h, t] = aligned[k];
        if (h < 0 || t < 0) {
            differences.append({h, t, -1, places[k]});
            continue;
        }
        if (here.record(h).first(common) == there.record(t).first(common))
            continue;
        if (here.tilesetName(h) != there.tilesetName(t))
            differences.append({h, t, -1, h});
        for (int e = 0; e < entries; ++e) {
            if (here.entry(e, h) != there.entry(e, t))
                differences.append({h, t, e, h});
        }
    }
    return differences;
}

TableEdit takeDifferencesEdit(const TilesetTable &table, const TilesetTable &other,
                              const QList<TilesetDifference> &differences)
{
    const int entries = std::min(table.entryCount(), other.entryCount());
    TableEdit edit;
    // Each patch applies to the table as the patches before it left it: tilesets inserted
    // and deleted so far move the places after them.
    int moved = 0;
    for (const TilesetDifference &difference : differences) {
        const qsizetype start = table.nameOffset(difference.place + moved);
        if (difference.there < 0) {
            edit.add(start, table.record(difference.here), {});
            --moved;
        } else if (difference.here < 0) {
            QByteArray record(table.recordSize(), '\0');
            const QByteArrayView taken =
                other.record(difference.there).first(recordLength(entries));
            std::copy(taken.cbegin(), taken.cend(), record.begin());
            edit.add(start, {}, record);
            ++moved;
        } else if (difference.entry < 0) {
            edit.add(start, table.tilesetName(difference.here),
                     other.tilesetName(difference.there));
        } else {
            edit.add(start + NameWidth + qsizetype(EntryWidth) * difference.entry,
                     table.entry(difference.entry, difference.here),
                     other.entry(difference.entry, difference.there));
        }
    }
    return edit;
}

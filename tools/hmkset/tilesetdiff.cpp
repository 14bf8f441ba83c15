#include "tilesetdiff.h"

#include "fieldformat.h"
#include "jsonstring.h"
#include "tilesettable.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

QString shown(QByteArrayView field)
{
    return quotedJson(fieldText(field));
}

void compareCount(QStringList &lines, const QString &what, int before, int after)
{
    if (before != after)
        lines.append(u"%1: %2 -> %3"_s.arg(what, QString::number(before), QString::number(after)));
}

// Entry -1 is the tileset's name. After the loader's tidying, fields that differ also
// show differently, so no line has the same text on both sides.
void compareField(QStringList &lines, int tileset, int entry, QByteArrayView before,
                  QByteArrayView after)
{
    if (before == after)
        return;
    const QString field = entry < 0 ? u"name"_s : u"entry "_s + QString::number(entry);
    // One arg() call: a % in the texts is never taken for a placeholder.
    lines.append(u"tileset %1 %2: %3 -> %4"_s.arg(QString::number(tileset), field, shown(before),
                                                  shown(after)));
}

void listTileset(QStringList &lines, int tileset, const QString &change, QByteArrayView name)
{
    lines.append(u"tileset %1 %2: %3"_s.arg(QString::number(tileset), change, shown(name)));
}

} // namespace

QStringList tilesetDifferences(const TilesetTable &before, const TilesetTable &after)
{
    QStringList lines;
    compareCount(lines, u"tilesets"_s, before.tilesetCount(), after.tilesetCount());
    compareCount(lines, u"entries per tileset"_s, before.entryCount(), after.entryCount());

    const int tilesets = std::min(before.tilesetCount(), after.tilesetCount());
    const int entries = std::min(before.entryCount(), after.entryCount());
    for (int t = 0; t < tilesets; ++t) {
        compareField(lines, t, -1, before.tilesetName(t), after.tilesetName(t));
        for (int e = 0; e < entries; ++e)
            compareField(lines, t, e, before.entry(e, t), after.entry(e, t));
    }
    for (int t = tilesets; t < before.tilesetCount(); ++t)
        listTileset(lines, t, u"removed"_s, before.tilesetName(t));
    for (int t = tilesets; t < after.tilesetCount(); ++t)
        listTileset(lines, t, u"added"_s, after.tilesetName(t));
    return lines;
}

#include "tilesetdiff.h"

#include "fieldformat.h"
#include "fixedfield.h"
#include "jsonstring.h"
#include "tilesetcomparison.h"

using namespace Qt::StringLiterals;

namespace {

// A field never written holds only NULs; unquoted, it is told apart from an empty text.
QString shown(QByteArrayView field)
{
    if (isNeverWritten(field))
        return u"(never written)"_s;
    return quotedJson(fieldText(field));
}

QString fieldName(int entry)
{
    return entry < 0 ? u"name"_s : u"entry "_s + QString::number(entry);
}

void compareCount(QStringList &lines, const QString &what, int before, int after)
{
    if (before != after)
        lines.append(u"%1: %2 -> %3"_s.arg(what, QString::number(before), QString::number(after)));
}

// After the loader's tidying, fields that differ also show differently, so no line has
// the same text on both sides.
QString fieldLine(const TilesetTable &before, const TilesetTable &after,
                  const TilesetDifference &difference)
{
    const auto field = [&difference](const TilesetTable &table, int tileset) {
        return difference.entry < 0 ? table.tilesetName(tileset)
                                    : table.entry(difference.entry, tileset);
    };
    QString tileset = QString::number(difference.there);
    if (difference.here != difference.there)
        tileset += u" (was %1)"_s.arg(difference.here);
    // One arg() call: a % in the texts is never taken for a placeholder.
    return u"tileset %1 %2: %3 -> %4"_s.arg(tileset, fieldName(difference.entry),
                                            shown(field(before, difference.here)),
                                            shown(field(after, difference.there)));
}

QString tilesetLine(int tileset, const QString &change, QByteArrayView name)
{
    return u"tileset %1 %2: %3"_s.arg(QString::number(tileset), change, shown(name));
}

QString conflictLine(const MergeConflict &conflict)
{
    const QString tileset = u"tileset "_s + QString::number(conflict.tileset);
    const QByteArrayView base =
        QByteArrayView(conflict.base)
            .first(conflict.kind == MergeConflict::Field ? conflict.base.size() : NameWidth);
    switch (conflict.kind) {
    case MergeConflict::Field:
        return u"%1 %2: base %3, ours %4, theirs %5"_s.arg(tileset, fieldName(conflict.entry),
                                                           shown(base), shown(conflict.ours),
                                                           shown(conflict.theirs));
    case MergeConflict::RemovedInOurs:
        return u"%1: base %2, ours removed, theirs changed %3"_s.arg(
            tileset, shown(base), shown(QByteArrayView(conflict.theirs).first(NameWidth)));
    case MergeConflict::RemovedInTheirs:
        break;
    }
    return u"%1: base %2, ours changed %3, theirs removed"_s.arg(
        tileset, shown(base), shown(QByteArrayView(conflict.ours).first(NameWidth)));
}

} // namespace

QStringList tilesetDifferences(const TilesetTable &before, const TilesetTable &after)
{
    QStringList lines;
    compareCount(lines, u"tilesets"_s, before.tilesetCount(), after.tilesetCount());
    compareCount(lines, u"entries per tileset"_s, before.entryCount(), after.entryCount());
    for (const TilesetDifference &difference : compareTilesets(before, after)) {
        if (difference.there < 0)
            lines.append(
                tilesetLine(difference.here, u"removed"_s, before.tilesetName(difference.here)));
        else if (difference.here < 0)
            lines.append(
                tilesetLine(difference.there, u"added"_s, after.tilesetName(difference.there)));
        else
            lines.append(fieldLine(before, after, difference));
    }
    // Last, where they stand in the file; their bytes mean nothing to the editor.
    const QByteArray &was = before.trailingBytes(), &is = after.trailingBytes();
    if (was.size() != is.size())
        compareCount(lines, u"trailing bytes"_s, int(was.size()), int(is.size()));
    else if (was != is)
        lines.append(u"trailing bytes: %1, changed"_s.arg(was.size()));
    return lines;
}

QStringList conflictLines(const QList<MergeConflict> &conflicts)
{
    QStringList lines;
    lines.reserve(conflicts.size());
    for (const MergeConflict &conflict : conflicts)
        lines.append(conflictLine(conflict));
    return lines;
}

#pragma once

#include "tilesetcomparison.h"

#include <QByteArray>
#include <QList>

// A place where ours and theirs changed the same thing differently; the merge holds ours.
struct MergeConflict
{
    enum Kind
    {
        Field,           // a name or an entry changed to different bytes
        RemovedInOurs,   // ours deleted a tileset theirs changed: the merge leaves it out
        RemovedInTheirs, // theirs deleted a tileset ours changed: the merge keeps it
    };
    Kind kind = Field;
    int tileset = 0; // in the merge; where theirs' would go when ours deleted it
    int entry = -1;  // of a field; -1 the name
    int theirsTileset = -1;
    // The field's bytes on each side; for a deleted tileset the records, empty where deleted.
    QByteArray base;
    QByteArray ours;
    QByteArray theirs;
};

struct TilesetMerge
{
    TilesetTable merged;
    QList<MergeConflict> conflicts;
};

// The three-way merge of two descendants of base, field by field. A field changed on one
// side only takes that change, changed alike on both sides that one; changed differently
// it keeps ours and is a conflict. Tilesets inserted or deleted on one side are inserted or
// deleted; inserted on both sides at the same place, ours come first, then theirs, but a
// record both inserted there is taken once. A tileset deleted on one side and changed on
// the other is a conflict that keeps ours. The bytes after the last record are ours. All
// three tables must have the same entry count. The merge may hold no tileset or more than
// 255; the caller refuses those.
TilesetMerge mergeTilesets(const TilesetTable &base, const TilesetTable &ours,
                           const TilesetTable &theirs);

// A difference of the document from theirs that is one of the merge's conflicts still
// undecided: the document's field still holds what the merge took from ours (or still
// lacks, or still has, the tileset). Taking theirs, editing the field or deleting the
// tileset decides it; undoing that makes it undecided again.
struct OpenConflict
{
    TilesetDifference difference;
    qsizetype conflict; // in the list of conflicts
};
QList<OpenConflict> openConflicts(const TilesetTable &document,
                                  const QList<TilesetDifference> &fromTheirs,
                                  const QList<MergeConflict> &conflicts);

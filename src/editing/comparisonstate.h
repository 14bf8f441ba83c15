#pragma once

#include "fieldcursor.h"
#include "nodemark.h"
#include "tilesetmerge.h"

#include <QObject>
#include <QSet>

#include <utility>

class TilesetDocument;

// A difference marked, and in a merge the conflict it is.
struct ShownDifference
{
    TilesetDifference difference;
    qsizetype conflict = -1; // in the merge's conflicts; -1 in a comparison
};

// A node for a tileset only the other file has, placed where it would go.
struct ComparisonPlaceholder
{
    int before = 0; // the tileset of the document it goes before (the count: at the end)
    int otherTileset = -1;
    QString label;
    NodeMark mark;
};

// What Take from other file takes at a place, or Keep this file's text keeps as it is.
struct ComparisonTake
{
    QList<TilesetDifference> differences;
    QList<qsizetype> conflicts; // of a merge, one a difference
    QString caption;            // of the take's undo step
    QString keepCaption;        // of the keep's
    int tileset = -1;           // the field shown after it
    int entry = -1;
    int placeholder = -1; // the placeholder taken, or -1
    int run = 0;          // the comparison or merge it belongs to
};

// The open document beside another tileset file: what is compared or merged, the
// differences (in a merge, the conflicts still open) as marks, the placeholders of tilesets
// only the other file has, and the places Next / Previous difference and Take act on. It
// follows the document as it changes; a new document ends it.
class ComparisonState : public QObject
{
    Q_OBJECT

public:
    enum Mode
    {
        Off,
        Comparing,
        Merging,
    };

    // cursor: moved by step() and keep(), and off a placeholder that goes.
    ComparisonState(const TilesetDocument *document, FieldCursor *cursor,
                    QObject *parent = nullptr);

    Mode mode() const { return mMode; }
    const TilesetTable &other() const { return mOther; }
    // Each starts anew, ending what ran before.
    void compare(TilesetTable other);
    void merge(TilesetTable theirs, QList<MergeConflict> conflicts);
    void end();

    const QList<ShownDifference> &shown() const { return mShown; }
    // As the status bar shows it: "3 differences", "No conflicts left".
    QString countText() const;
    // One mark a tileset of the document; none while Off.
    QList<NodeMark> tilesetMarks() const;
    QList<ComparisonPlaceholder> placeholders() const;
    // One mark an entry of the tileset (or placeholder) at place; none while Off.
    QList<NodeMark> entryMarks(const FieldPlace &place) const;
    // The table and tileset whose entries place shows: the other file's for a placeholder.
    std::pair<const TilesetTable *, int> tilesetAt(const FieldPlace &place,
                                                   const TilesetTable &document) const;

    // The cursor to the next (1) or previous (-1) difference in list order, wrapping round.
    void step(int direction);
    // A placeholder: its tileset. An entry: that entry. A name or a category: the whole
    // tileset. Nothing to take leaves the differences empty.
    ComparisonTake takeAt(const FieldPlace &place) const;
    ComparisonTake takeAll() const;
    // The conflicts of take decided as the document has them, or open again, and the
    // cursor on them; a take of an earlier run decides nothing.
    void keep(const ComparisonTake &take, bool kept);

Q_SIGNALS:
    void marksChanged();

private:
    void start(Mode mode, TilesetTable other, QList<MergeConflict> conflicts);
    void update();
    NodeMark entryMark(const ShownDifference &shown) const;

    const TilesetDocument *mDocument;
    FieldCursor *mCursor;
    Mode mMode = Off;
    TilesetTable mOther;
    QList<MergeConflict> mConflicts; // of the merge
    QSet<qsizetype> mKept;           // conflicts decided as the document has them
    int mRun = 0;
    QList<ShownDifference> mShown;
};

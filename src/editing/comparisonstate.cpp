#include "comparisonstate.h"

#include "fieldformat.h"
#include "textutils.h"
#include "tilesetdocument.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

QString quoted(QByteArrayView field)
{
    return u'"' + fieldText(field) + u'"';
}

// Ordered as the list shows them: a placeholder before the tileset it goes before, a
// tileset's name before its entries.
std::pair<int, int> placeOf(const TilesetDifference &difference)
{
    return {difference.place * 2 + (difference.here < 0 ? 0 : 1), difference.entry};
}

bool standsFor(const TilesetDifference &difference, int placeholder)
{
    return difference.here < 0 && difference.there == placeholder;
}

} // namespace

ComparisonState::ComparisonState(const TilesetDocument *document, FieldCursor *cursor,
                                 QObject *parent)
    : QObject(parent)
    , mDocument(document)
    , mCursor(cursor)
{
    // Another document is another comparison: the old one ends with it.
    connect(document, &TilesetDocument::tableReplaced, this, &ComparisonState::end);
    connect(document, &TilesetDocument::fieldsChanged, this, [this] {
        if (mMode != Off)
            update();
    });
}

void ComparisonState::compare(TilesetTable other)
{
    start(Comparing, std::move(other), {});
}

void ComparisonState::merge(TilesetTable theirs, QList<MergeConflict> conflicts)
{
    start(Merging, std::move(theirs), std::move(conflicts));
}

void ComparisonState::start(Mode mode, TilesetTable other, QList<MergeConflict> conflicts)
{
    mMode = mode;
    mOther = std::move(other);
    mConflicts = std::move(conflicts);
    mKept.clear();
    ++mRun;
    update();
}

void ComparisonState::end()
{
    if (mMode == Off)
        return;
    mMode = Off;
    mOther = {};
    mConflicts.clear();
    mKept.clear();
    ++mRun;
    update();
}

void ComparisonState::update()
{
    // A placeholder the cursor is on stays so while it is there; gone, its place is shown.
    const int placeholder = mCursor->place().placeholder;
    int placeholderPlace = 0;
    for (const ShownDifference &shown : std::as_const(mShown)) {
        if (standsFor(shown.difference, placeholder))
            placeholderPlace = shown.difference.place;
    }
    mShown.clear();
    if (mMode != Off && mDocument->isOpen()) {
        const QList<TilesetDifference> differences = compareTilesets(mDocument->table(), mOther);
        if (mMode == Merging) {
            for (const OpenConflict &open :
                 openConflicts(mDocument->table(), differences, mConflicts)) {
                if (!mKept.contains(open.conflict))
                    mShown.append({open.difference, open.conflict});
            }
        } else {
            for (const TilesetDifference &difference : differences)
                mShown.append({difference, -1});
        }
    }
    const bool kept = std::any_of(mShown.cbegin(), mShown.cend(), [placeholder](const auto &s) {
        return standsFor(s.difference, placeholder);
    });
    if (placeholder >= 0 && !kept && mDocument->isOpen())
        mCursor->showField(std::min(placeholderPlace, mDocument->tilesetCount() - 1), -1);
    Q_EMIT marksChanged();
}

QString ComparisonState::countText() const
{
    if (mMode == Merging)
        return mShown.isEmpty() ? u"No conflicts left"_s
                                : counted(mShown.size(), u"conflict"_s, u"conflicts"_s);
    return mShown.isEmpty() ? u"No differences"_s
                            : counted(mShown.size(), u"difference"_s, u"differences"_s);
}

QList<NodeMark> ComparisonState::tilesetMarks() const
{
    const bool merging = mMode == Merging;
    QList<NodeMark> marks(mMode == Off ? 0 : mDocument->tilesetCount());
    QList<int> fields(marks.size());
    for (const ShownDifference &shown : mShown) {
        const TilesetDifference &difference = shown.difference;
        if (difference.here < 0 || difference.here >= marks.size())
            continue; // a placeholder, or read while the document changes
        // In a merge every mark is a conflict.
        if (difference.there < 0) {
            // A conflict's words do not say that the tileset is only here.
            marks[difference.here] = {merging ? NodeMark::Conflict : NodeMark::OnlyHere,
                                      (merging ? u"Only in this file: "_s : QString()) +
                                          u"Take from other file deletes it"_s};
            continue;
        }
        const int count = ++fields[difference.here];
        const QString tip =
            merging ? counted(count, u"conflict"_s, u"conflicts"_s) + u" from the other file's"_s
                    : counted(count, u"field differs"_s, u"fields differ"_s) + u" from its"_s;
        marks[difference.here] = {merging ? NodeMark::Conflict : NodeMark::Differs,
                                  tip + u" tileset "_s + tilesetNumber(difference.there)};
    }
    return marks;
}

QList<ComparisonPlaceholder> ComparisonState::placeholders() const
{
    QList<ComparisonPlaceholder> placeholders;
    for (const ShownDifference &shown : mShown) {
        const TilesetDifference &difference = shown.difference;
        if (difference.here >= 0)
            continue;
        const QString name = trimmedFieldText(mOther.tilesetName(difference.there));
        const bool merging = mMode == Merging;
        placeholders.append({difference.place,
                             difference.there,
                             u"+ "_s + name + u" (other file)"_s,
                             {merging ? NodeMark::Conflict : NodeMark::OnlyThere,
                              (merging ? u"Only in the other file, its"_s : u"Its"_s) +
                                  u" tileset %1: Take from other file inserts it here"_s.arg(
                                      tilesetNumber(difference.there))}});
    }
    return placeholders;
}

NodeMark ComparisonState::entryMark(const ShownDifference &shown) const
{
    const TilesetDifference &difference = shown.difference;
    const QString theirs = quoted(mOther.entry(difference.entry, difference.there));
    if (shown.conflict < 0)
        return {NodeMark::Differs, u"Other file: "_s + theirs};
    return {NodeMark::Conflict, u"Other file: %1; common ancestor: %2"_s.arg(
                                    theirs, quoted(mConflicts[shown.conflict].base))};
}

QList<NodeMark> ComparisonState::entryMarks(const FieldPlace &place) const
{
    if (mMode == Off)
        return {};
    // The other file's entries, to see what Take would insert.
    if (place.placeholder >= 0)
        return QList<NodeMark>(mOther.entryCount(), {NodeMark::OnlyThere, {}});
    QList<NodeMark> marks(mDocument->entryCount());
    for (const ShownDifference &shown : mShown) {
        const TilesetDifference &difference = shown.difference;
        if (difference.here == place.tileset && !difference.isWholeTileset() &&
            difference.entry >= 0 && difference.entry < marks.size())
            marks[difference.entry] = entryMark(shown);
    }
    return marks;
}

std::pair<const TilesetTable *, int> ComparisonState::tilesetAt(const FieldPlace &place,
                                                                const TilesetTable &document) const
{
    if (mMode != Off && place.placeholder >= 0)
        return {&mOther, place.placeholder};
    return {&document, place.tileset};
}

void ComparisonState::step(int direction)
{
    if (mShown.isEmpty())
        return;
    const FieldPlace &place = mCursor->place();
    std::pair<int, int> here{place.tileset * 2 + 1, place.field().entry};
    for (const ShownDifference &shown : mShown) {
        if (place.placeholder >= 0 && standsFor(shown.difference, place.placeholder))
            here = placeOf(shown.difference);
    }
    const auto after = [here](const ShownDifference &s) { return placeOf(s.difference) > here; };
    const auto before = [here](const ShownDifference &s) { return placeOf(s.difference) < here; };
    const TilesetDifference *chosen = nullptr;
    if (direction > 0) {
        const auto next = std::find_if(mShown.cbegin(), mShown.cend(), after);
        chosen = &(next == mShown.cend() ? mShown.first() : *next).difference;
    } else {
        const auto previous = std::find_if(mShown.crbegin(), mShown.crend(), before);
        chosen = &(previous == mShown.crend() ? mShown.last() : *previous).difference;
    }
    if (chosen->here < 0)
        mCursor->moveToPlaceholder(chosen->there);
    else
        mCursor->showField(chosen->here, chosen->isWholeTileset() ? -1 : chosen->entry);
}

ComparisonTake ComparisonState::takeAt(const FieldPlace &place) const
{
    const FieldAddress field = place.field();
    ComparisonTake take;
    take.run = mRun;
    for (const ShownDifference &shown : mShown) {
        const TilesetDifference &difference = shown.difference;
        if (place.placeholder >= 0 ? standsFor(difference, place.placeholder)
                                   : field.tileset >= 0 && difference.here == field.tileset &&
                                         (field.entry < 0 || difference.entry == field.entry)) {
            take.differences.append(difference);
            take.conflicts.append(shown.conflict);
        }
    }
    if (take.differences.isEmpty())
        return take;
    const QString tileset = tilesetNumber(take.differences.first().place);
    take.tileset = take.differences.first().place;
    if (place.placeholder >= 0) {
        take.placeholder = place.placeholder;
        take.caption = u"insert tileset %1 from other file"_s.arg(tileset);
        take.keepCaption = u"keep this file without tileset %1 of other file"_s.arg(
            tilesetNumber(place.placeholder));
    } else if (field.entry >= 0) {
        take.entry = field.entry;
        const QString entry = entryNumber(field.entry);
        take.caption = u"take entry %1 of tileset %2 from other file"_s.arg(entry, tileset);
        take.keepCaption = u"keep this file's entry %1 of tileset %2"_s.arg(entry, tileset);
    } else {
        take.caption = u"take tileset %1 from other file"_s.arg(tileset);
        take.keepCaption = u"keep this file's tileset %1"_s.arg(tileset);
    }
    return take;
}

ComparisonTake ComparisonState::takeAll() const
{
    ComparisonTake take;
    take.run = mRun;
    for (const ShownDifference &shown : mShown) {
        take.differences.append(shown.difference);
        take.conflicts.append(shown.conflict);
    }
    take.caption = u"take all from other file"_s;
    take.tileset = mShown.isEmpty() ? 0 : mShown.first().difference.place;
    return take;
}

void ComparisonState::keep(const ComparisonTake &take, bool kept)
{
    if (take.run != mRun)
        return;
    for (qsizetype conflict : take.conflicts) {
        if (kept)
            mKept.insert(conflict);
        else
            mKept.remove(conflict);
    }
    update();
    // The placeholder of a tileset kept out is gone; undone, it stands there again.
    if (take.placeholder >= 0 && !kept)
        mCursor->moveToPlaceholder(take.placeholder);
    else
        mCursor->showField(std::min(take.tileset, mDocument->tilesetCount() - 1), take.entry);
}

#include "comparisonstate.h"
#include "datatable.h"
#include "fieldcursor.h"
#include "tilesetdocument.h"
#include "tilesetfiles.h"

#include <QSignalSpy>

using namespace Qt::StringLiterals;
using namespace TestFiles;
using enum NodeMark::Kind;

using Place = std::tuple<int, int, int>; // tileset, the field's entry (-1: name), placeholder
using Change = std::function<void(TilesetDocument &, FieldCursor &)>;
using Kinds = QList<int>;
// The kinds of the tilesets' marks, where placeholders go, and tileset 1's entries' kinds.
using Marks = std::tuple<Kinds, QList<int>, Kinds>;
using D = TilesetDocument;
using C = FieldCursor;

// Where the user is and what a comparison with another file marks, without a window.
class TestEditingState : public QObject
{
    Q_OBJECT

    std::unique_ptr<TilesetDocument> mDocument;
    std::unique_ptr<FieldCursor> mCursor;
    std::unique_ptr<ComparisonState> mComparison;

    Place place() const
    {
        return {mCursor->place().tileset, mCursor->field().entry, mCursor->place().placeholder};
    }
    void moveTo(const Place &place)
    {
        const auto [tileset, entry, index] = place; // index: of a placeholder
        index >= 0 ? mCursor->moveToPlaceholder(index) : mCursor->showField(tileset, entry);
    }
    std::pair<QString, Place> countAndPlace() const { return {mComparison->countText(), place()}; }
    Marks marks() const
    {
        Marks marks;
        for (const NodeMark &mark : mComparison->tilesetMarks())
            std::get<0>(marks).append(mark.kind);
        for (const ComparisonPlaceholder &placeholder : mComparison->placeholders())
            std::get<1>(marks).append(placeholder.before);
        for (const NodeMark &mark : mComparison->entryMarks({1, -1, true, -1}))
            std::get<2>(marks).append(mark.kind);
        return marks;
    }

private Q_SLOTS:
    void init()
    {
        mDocument = std::make_unique<TilesetDocument>();
        mCursor = std::make_unique<FieldCursor>(mDocument.get());
        mComparison = std::make_unique<ComparisonState>(mDocument.get(), mCursor.get());
        mDocument->open(ours, {});
    }

    // From entry 2 of tileset 1: the tree last moved in decides between the name and the
    // entry, which stays chosen on the name; a category stands for the name; a change shows
    // its own field, another document its first tileset's name.
    void cursor_data()
    {
        // after: the place, the entry chosen, the signals
        addColumns<Change, std::tuple<Place, int, int>>("change", "after");
        const auto row = [](const char *tag, Place place, int chosen, int n, Change change) {
            QTest::newRow(tag) << change << std::tuple(place, chosen, n);
        };
        row("a tileset", {2, -1, -1}, 2, 1, [](D &, C &c) { c.moveToTileset(2); });
        row("a category", {1, -1, -1}, -1, 1, [](D &, C &c) { c.moveToEntry(-1); });
        row("the same entry", {1, 2, -1}, 2, 0, [](D &, C &c) { c.moveToEntry(2); });
        row("a placeholder", {-1, -1, 0}, 2, 1, [](D &, C &c) { c.moveToPlaceholder(0); });
        row("as many entries opened", {0, -1, -1}, 2, 1,
            [](D &d, C &) { d.open(numberedTable(2, 4), {}); });
        row("fewer opened", {0, -1, -1}, -1, 1, [](D &d, C &) { d.open(numberedTable(2, 2), {}); });
        row("closed", {-1, -1, -1}, -1, 1, [](D &d, C &) { d.close(); });
    }
    void cursor()
    {
        QFETCH(Change, change);
        mCursor->showField(1, 2);
        QSignalSpy changed(mCursor.get(), &FieldCursor::placeChanged);
        change(*mDocument, *mCursor);
        QTEST(std::tuple(place(), mCursor->place().entry, int(changed.size())), "after");
    }

    // Marks as marks() reads them, and the count; nothing once ended.
    void marksAndCount_data()
    {
        addColumns<TilesetTable, QString, Marks>("other", "count", "marks");
        const Kinds none{None, None, None, None};
        QTest::newRow("the same") << ours << u"No differences"_s << Marks{none.first(3), {}, none};
        QTest::newRow("deleted there")
            << deleted(ours, 1) << u"1 difference"_s << Marks{{None, OnlyHere, None}, {}, none};
        QTest::newRow("first and last entries")
            << with(with(ours, 1, 0, "a"), 1, 3, "b") << u"2 differences"_s
            << Marks{{None, Differs, None}, {}, {Differs, None, None, Differs}};
        QTest::newRow("added at the end")
            << inserted(ours, 3, "End") << u"1 difference"_s << Marks{none.first(3), {3}, none};
    }
    void marksAndCount()
    {
        QFETCH(TilesetTable, other);
        QSignalSpy changed(mComparison.get(), &ComparisonState::marksChanged);
        mComparison->compare(other);
        QTEST(mComparison->countText(), "count");
        QTEST(marks(), "marks");
        mComparison->end();
        QCOMPARE(std::tuple(changed.size(), mComparison->countText(), marks()),
                 std::tuple(2, u"No differences"_s, Marks()));
    }

    // In list order: the placeholder at the top, entry 2 of tileset 1, the name of tileset 2;
    // round from the last to the first and back. Take takes the placeholder's tileset, an
    // entry, or all of a tileset from its name; nothing where the files agree.
    void stepAndTake_data()
    {
        addColumns<Place, Place, Place, QString, TilesetTable>("from", "next", "previous", "take",
                                                               "taken");
        const Place top{-1, -1, 0}, entry{1, 2, -1}, last{2, -1, -1};
        const TilesetTable x = with(ours, 1, 2, "x");
        QTest::newRow("tileset 0") << Place{0, -1, -1} << entry << top << QString() << ours;
        QTest::newRow("the first") << top << entry << last << u"insert tileset 00 from other file"_s
                                   << inserted(ours, 0, "Top");
        QTest::newRow("a name before its entry")
            << Place{1, -1, -1} << entry << top << u"take tileset 01 from other file"_s << x;
        QTest::newRow("a difference")
            << entry << last << top << u"take entry 002 of tileset 01 from other file"_s << x;
        QTest::newRow("an entry after it") << Place{1, 3, -1} << last << entry << QString() << ours;
        QTest::newRow("the last") << last << top << entry << u"take tileset 02 from other file"_s
                                  << with(ours, 2, -1, "Moss");
    }
    void stepAndTake()
    {
        QFETCH(Place, from);
        mComparison->compare(other);
        moveTo(from);
        const ComparisonTake take = mComparison->takeAt(mCursor->place());
        TilesetTable table = ours;
        takeDifferencesEdit(table, other, take.differences).redo(table);
        QTEST(take.caption, "take");
        QTEST(table, "taken");
        for (const int direction : {1, -1}) {
            moveTo(from);
            mComparison->step(direction);
            QTEST(place(), direction > 0 ? "next" : "previous");
        }
    }

    // A conflict kept as this file has it is no longer marked; undone, it is again, with
    // the cursor on it. A keep of an earlier merge decides nothing; a placeholder gone with
    // its merge leaves the cursor on its place.
    void keep_data()
    {
        addColumns<TilesetTable, TilesetTable, Place, Place, Kinds>("mine", "theirs", "conflict",
                                                                    "kept", "tilesets");
        QTest::newRow("deleted here, changed there")
            << deleted(ours, 1) << with(ours, 1, 2, "x") << Place{-1, -1, 1} << Place{1, -1, -1}
            << Kinds{None, None};
        QTest::newRow("deleted there, changed here")
            << with(ours, 1, 2, "x") << deleted(ours, 1) << Place{1, -1, -1} << Place{1, -1, -1}
            << Kinds{None, Conflict, None};
    }
    void keep()
    {
        const auto [mine, theirs, conflict, kept] =
            fetch<TilesetTable, TilesetTable, Place, Place>("mine", "theirs", "conflict", "kept");
        mDocument->open(mine, {});
        const TilesetMerge merge = mergeTilesets(ours, mine, theirs);
        mComparison->merge(theirs, merge.conflicts);
        QTEST(std::get<0>(marks()), "tilesets");
        moveTo(conflict);
        const ComparisonTake take = mComparison->takeAt(mCursor->place());
        mComparison->keep(take, true);
        QCOMPARE(countAndPlace(), std::pair(u"No conflicts left"_s, kept));
        mComparison->keep(take, false);
        QCOMPARE(countAndPlace(), std::pair(u"1 conflict"_s, conflict));
        mComparison->merge(theirs, merge.conflicts);
        mComparison->keep(take, true);
        QCOMPARE(mComparison->countText(), u"1 conflict"_s);
        mComparison->end();
        QCOMPARE(place(), kept);
    }
};

QTEST_GUILESS_MAIN(TestEditingState)
#include "tst_editing_state.moc"

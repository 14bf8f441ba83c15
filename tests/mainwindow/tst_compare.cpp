#include "datatable.h"
#include "griddelegate.h"
#include "labeleditdelegate.h"
#include "tilesetgridmodel.h"
#include "widgets.h"
#include "windowtest.h"

#include <QLabel>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QUndoStack>

using namespace Qt::StringLiterals;
using namespace TestFiles;

// A descendant of ours with two entries changed, to merge with another.
const TilesetTable mine = with(with(ours, 0, 0, "oak"), 2, 1, "ash");

// How a delegate has the style paint an item in a dark palette made by hand, which keeps the
// light one's placeholder colour; and how poorly its text reads then, selected or not.
template<typename Delegate>
struct DarkPainter : Delegate
{
    using Delegate::Delegate;
    QStyleOptionViewItem option(const QModelIndex &index) const
    {
        QStyleOptionViewItem shown;
        for (const auto &[role, colour] : {std::pair(QPalette::Base, QColor(42, 42, 42)),
                                           {QPalette::Text, Qt::white},
                                           {QPalette::Highlight, QColor(42, 130, 218)},
                                           {QPalette::HighlightedText, Qt::black}})
            shown.palette.setColor(role, colour);
        this->initStyleOption(&shown, index);
        return shown;
    }
    double contrast(const QModelIndex &index) const
    {
        const QStyleOptionViewItem shown = option(index);
        const QPalette &is = shown.palette;
        const QBrush &back = shown.backgroundBrush.style() ? shown.backgroundBrush : is.base();
        return std::min(contrastRatio(is.color(QPalette::Text), back.color()),
                        contrastRatio(is.highlightedText().color(), is.highlight().color()));
    }
};

// Comparing with another file and merging from it: marks, taking, undo.
class TestCompare : public WindowTest
{
    Q_OBJECT

    QString count() { return child<QLabel>(&window(), u"compareStatus"_s)->text(); }
    std::pair<int, int> field() { return {list()->currentTileset(), tree()->currentEntry()}; }
    QString undoText() { return document().undoStack()->undoText(); }
    // The count, or the field, after the item has run; nothing when it could not.
    QString countAfter(const QString &item) { return trigger(item) ? count() : QString(); }
    auto fieldAfter(const QString &item) { return trigger(item) ? field() : std::pair(-9, 0); }
    // Opens the file opened (ours unless told) and answers the file dialogs of command with
    // tables.
    void openAndRun(const QString &command, const QList<TilesetTable> &tables,
                    const TilesetTable &opened = ours)
    {
        start().show();
        QVERIFY(open(writeFile(u"ours.dat"_s, fileBytes(opened))));
        for (qsizetype k = 0; k < tables.size(); ++k)
            services().files.append(writeFile(u"%1.dat"_s.arg(k), fileBytes(tables[k])));
        QVERIFY(trigger(command));
    }

private Q_SLOTS:
    // What is clicked is what Take takes, and Take all takes everything, each as one unsaved
    // undo step named for it; undone, the differences are marked again. F8 and Shift+F8 step
    // through them in list order and wrap round; Close ends the comparison; a file compared
    // with itself has none.
    void takeStepAndEnd()
    {
        openAndRun(u"mnucompare"_s, {other, ours});
        QVERIFY(services().messages.isEmpty() && !action(u"mnukeepours"_s)->isEnabled());
        // Tileset 0 agrees.
        QCOMPARE(std::tuple(count(), list()->topLevelItem(0)->text(0), nodeOfEntry(2)->toolTip(0)),
                 std::tuple(u"3 differences"_s, u"+ Top (other file)"_s, QString()));
        QCOMPARE(list()->topLevelItem(0)->data(0, Qt::AccessibleTextRole),
                 u"Tileset 00 of the other file: Top, only in the other file"_s);
        click(list(), list()->node(2));
        QCOMPARE(nodeOfEntry(2)->toolTip(0), u"Differs from the other file. Other file: \"x\""_s);
        click(tree(), nodeOfEntry(2));
        // What each take changes is the comparison's to say; here, that the entry is taken.
        QCOMPARE(countAfter(u"mnutakeother"_s), u"2 differences"_s);
        QCOMPARE(std::pair(undoText(), document().isModified()),
                 std::pair(u"take entry 002 of tileset 01 from other file"_s, true));
        click(list(), list()->topLevelItem(0));
        QCOMPARE(countAfter(u"mnutakeother"_s), u"1 difference"_s);
        // Take all asks first, with the count; Cancel takes nothing.
        services().answers = {PlatformServices::Answer::Cancel, PlatformServices::Answer::Ok};
        QCOMPARE(countAfter(u"mnutakeall"_s), u"1 difference"_s);
        QCOMPARE(std::pair(services().messages.last().text, services().messages.last().icon),
                 std::pair(u"Take the 1 difference from the other file?"_s,
                           PlatformServices::Icon::Question));
        QCOMPARE(countAfter(u"mnutakeall"_s), u"No differences"_s);
        QCOMPARE(std::pair(table(), undoText()), std::pair(other, u"take all from other file"_s));
        QVERIFY(trigger(u"mnuundo"_s) && trigger(u"mnuundo"_s) && trigger(u"mnuundo"_s));
        QCOMPARE(std::tuple(table(), count(), document().isModified()),
                 std::tuple(ours, u"3 differences"_s, false));
        click(list(), list()->node(1));
        QCOMPARE(fieldAfter(u"mnunextdifference"_s), std::pair(1, 2));
        QVERIFY(trigger(u"mnunextdifference"_s) && trigger(u"mnunextdifference"_s));
        QCOMPARE(list()->currentPlaceholder(), 0);
        QCOMPARE(nodeOfEntry(0)->toolTip(0), u"Only in the other file"_s);
        QCOMPARE(fieldAfter(u"mnupreviousdifference"_s), std::pair(2, 2)); // the entry stays
        QCOMPARE(countAfter(u"mnucompare"_s), u"No differences"_s);
        QVERIFY(!action(u"mnunextdifference"_s)->isEnabled());
        QVERIFY(trigger(u"mnuclose"_s) && !action(u"mnuendcompare"_s)->isEnabled() &&
                !child<QLabel>(&window(), u"compareStatus"_s)->isVisible());
    }

    // A file of fewer entries per tileset: the entries both have are compared, and a tileset
    // taken from it gets the rest never assigned. A take on the largest file may keep it so;
    // a change after a tileset deleted lands on its own tileset. Then the places of tilesets
    // only there.
    void fewerEntriesAndPlaces()
    {
        const auto shaped = [](int entries) {
            return with(inserted(deleted(numberedTable(255, entries), 0), 254, "End"), 1, 0, "q");
        };
        openAndRun(u"mnucompare"_s, {shaped(3)}, numberedTable(255, 4));
        QCOMPARE(count(), u"3 differences"_s);
        services().answers = {PlatformServices::Answer::Ok};
        QVERIFY(trigger(u"mnutakeall"_s));
        QCOMPARE(services().messages.last().text, u"Take all 3 differences from the other file?"_s);
        TilesetTable taken = shaped(4);
        taken.setEntry(3, 254, {});
        QCOMPARE(table(), taken);
        // A placeholder stands where its tileset would go; a category holding a difference is
        // marked too.
        const TilesetTable mine = numberedTable(3, 151);
        openAndRun(u"mnucompare"_s,
                   {inserted(inserted(with(mine, 0, 150, "x"), 1, "Mid"), 3, "Late")}, mine);
        // Under tileset 00 as the first of its group, and after tileset 01 within it.
        for (const auto &[name, above] : {std::pair(u"Mid"_s, 1), std::pair(u"Late"_s, 2)}) {
            const QList<QTreeWidgetItem *> placeholder = list()->findItems(
                u"+ %1 (other file)"_s.arg(name), Qt::MatchExactly | Qt::MatchRecursive);
            QCOMPARE(list()->itemAbove(placeholder.value(0)), list()->node(above));
        }
        QCOMPARE(nodeOfEntry(150)->parent()->data(0, MarkRole), int(NodeMark::Holds));
    }

    // Each mark reads without its colour: a sign before the label (a placeholder keeps its
    // own "+"), its words first in the tool tip and last in what a screen reader says. In a
    // dark palette the text reads, on a mark, selected and dimmed as never written.
    void marksReadWithoutColour_data()
    {
        addColumns<NodeMark::Kind, QString, QString>("kind", "sign", "words");
        QTest::newRow("differs") << NodeMark::Differs << u"\u2260"_s
                                 << u"differs from the other file"_s;
        QTest::newRow("only here") << NodeMark::OnlyHere << u"\u2212"_s << u"only in this file"_s;
        QTest::newRow("only there") << NodeMark::OnlyThere << u"+"_s << u"only in the other file"_s;
        QTest::newRow("conflict") << NodeMark::Conflict << u"!"_s << u"conflict"_s;
        QTest::newRow("holds") << NodeMark::Holds << u"\u2022"_s << u"holds differences"_s;
    }
    void marksReadWithoutColour()
    {
        auto [kind, sign, words] = fetch<NodeMark::Kind, QString, QString>("kind", "sign", "words");
        // The colour still tells each kind apart at a glance.
        QVERIFY(kind == NodeMark::Differs ||
                markColours(kind, {}) != markColours(NodeMark::Differs, {}));
        TilesetList tree;
        tree.build(numberedTable(1, 1));
        tree.addPlaceholder(0, 0, u"+ Top"_s, {kind, {}});
        showNodeMark(tree.node(1), {kind, u"tip"_s});
        QCOMPARE(std::pair(tree.node(1)->toolTip(0).toLower(),
                           tree.node(1)->data(0, Qt::AccessibleTextRole).toString()),
                 std::pair(words + u". tip"_s, u"Tileset 00: Set 0, "_s + words));
        const DarkPainter<LabelEditDelegate> painter(NameWidth, nullptr);
        const QModelIndex node = tree.model()->index(1, 0), placeholder = tree.model()->index(0, 0);
        QCOMPARE(
            std::pair(painter.option(node).text, painter.option(placeholder).text),
            std::pair(sign + u" 00. Set 0"_s, (sign == u"+"_s ? u""_s : sign + u' ') + u"+ Top"_s));
        QStandardItemModel cells(1, 2); // never written, marked in column 1
        cells.setItemData(cells.index(0, 0), {{TilesetGridModel::NeverWrittenRole, true}});
        cells.setItemData(cells.index(0, 1),
                          {{TilesetGridModel::NeverWrittenRole, true}, {MarkRole, int(kind)}});
        const DarkPainter<GridDelegate> grid;
        QCOMPARE_GE(std::min({painter.contrast(node), grid.contrast(cells.index(0, 0)),
                              grid.contrast(cells.index(0, 1))}),
                    4.5);
    }

    // A merge takes the clean changes in one step and leaves the conflicts marked until each
    // is taken, edited or kept as this file has it; undoing that marks it again. Keeping
    // changes no byte: only the merge's own step makes the document unsaved.
    void merge_data()
    {
        addColumns<TilesetTable, TilesetTable, QString>("theirs", "merged", "message");
        // Ours is the common ancestor of theirs and mine, whose changes conflict.
        const TilesetTable theirs = with(with(ours, 0, 0, "pine"), 2, 1, "fir");
        QTest::newRow("a clean change") << with(theirs, 1, -1, "Moss") << with(mine, 1, -1, "Moss")
                                        << u"Merged 1 change; 2 conflicts left"_s;
        QTest::newRow("nothing else") << theirs << mine << u"Merged 0 changes; 2 conflicts left"_s;
    }
    void merge()
    {
        auto [merged, theirs] = fetch<TilesetTable, TilesetTable>("merged", "theirs");
        openAndRun(u"mnumerge"_s, {theirs, ours}, mine);
        QTEST(window().statusBar()->currentMessage(), "message");
        const bool modified = merged != mine;
        QCOMPARE(std::tuple(table(), count(), document().isModified(), undoText()),
                 std::tuple(merged, u"2 conflicts"_s, modified,
                            modified ? u"merge from other file"_s : QString()));
        click(list(), list()->node(1));
        QCOMPARE(nodeOfEntry(0)->toolTip(0),
                 u"Conflict. Other file: \"pine\"; common ancestor: \"0:0\""_s);
        QCOMPARE(nodeOfEntry(0)->data(0, MarkRole), int(NodeMark::Conflict));
        click(tree(), nodeOfEntry(0));
        QCOMPARE(countAfter(u"mnutakeother"_s), u"1 conflict"_s);
        QCOMPARE(countAfter(u"mnuundo"_s), u"2 conflicts"_s);
        editEntry(0, 0, u"elm"_s);
        QCOMPARE(count(), u"1 conflict"_s);
        QCOMPARE(countAfter(u"mnuundo"_s), u"2 conflicts"_s);
        QCOMPARE(countAfter(u"mnukeepours"_s), u"1 conflict"_s);
        QCOMPARE(undoText(), u"keep this file's entry 000 of tileset 00"_s);
        // Undone and redone as a step of its own, which leaves the document as saved.
        QVERIFY(trigger(u"mnuundo"_s) && trigger(u"mnuredo"_s));
        QCOMPARE(std::tuple(count(), table(), document().isModified()),
                 std::tuple(u"1 conflict"_s, merged, modified));
        QVERIFY(trigger(u"mnuendcompare"_s) && !action(u"mnukeepours"_s)->isEnabled());
        // Merged again from ours, 1.dat, with other's three changes: no conflict.
        services().files = {writeFile(u"again.dat"_s, fileBytes(other)), folderPath(u"1.dat"_s)};
        QCOMPARE(countAfter(u"mnumerge"_s), u"No conflicts left"_s);
        QCOMPARE(window().statusBar()->currentMessage(), u"Merged 3 changes; no conflicts"_s);
    }

    // A file of another entry count: Compare says which entries it compares; Merge refuses
    // it, the other file (fewer) before asking for more, or the ancestor (more); the document
    // stays as it was.
    void otherEntryCounts_data()
    {
        addColumns<QString, QList<TilesetTable>, QString>("title", "files", "message");
        const auto wide = [](int entries) { return numberedTable(3, entries); };
        const QString notice = u"The other file has %1 entries per tileset; this file has 4. Only "
                               u"the entries both have (000 to %2) are compared and can be taken; "
                               u"this file keeps 4 entries per tileset%3."_s;
        const QString rest = u", and a tileset inserted from the other file has the rest empty"_s;
        QTest::newRow("compare, one fewer")
            << u"Compare with file"_s << QList{wide(3)} << notice.arg(u"3"_s, u"002"_s, rest);
        QTest::newRow("compare, one more")
            << u"Compare with file"_s << QList{wide(5)} << notice.arg(u"5"_s, u"003"_s, QString());
        const QString refused = u"%1 has %2 entries per tileset; this file has 4. Only files with "
                                u"the same number of entries can be merged; nothing was merged."_s;
        QTest::newRow("merge, one fewer")
            << u"Merge from file"_s << QList{wide(3)} << refused.arg(u"The other file"_s, u"3"_s);
        QTest::newRow("merge, the ancestor one more")
            << u"Merge from file"_s << QList{ours, wide(5)}
            << refused.arg(u"The common ancestor"_s, u"5"_s);
    }
    void otherEntryCounts()
    {
        auto [title, files] = fetch<QString, QList<TilesetTable>>("title", "files");
        openAndRun(title == u"Compare with file"_s ? u"mnucompare"_s : u"mnumerge"_s, files);
        const auto [text, caption, buttons, icon, details, answer] = services().messages.value(0);
        QTEST(text, "message");
        using enum PlatformServices::Icon;
        QCOMPARE(std::tuple(caption, icon, buttons, services().messages.size(), table()),
                 std::tuple(title, Exclamation, PlatformServices::Buttons::Ok, 1, ours));
    }
};

QTEST_MAIN(TestCompare)
#include "tst_compare.moc"

#include "datatable.h"
#include "widgets.h"
#include "windowtest.h"

#include <QLabel>
#include <QUndoStack>

using namespace Qt::StringLiterals;
using namespace TestFiles;

const TilesetTable ours = numberedTable(3, 4);
// Tileset "Top" inserted at the top, entry 2 of "Set 1" and the name of "Set 2" changed.
const TilesetTable other = with(with(inserted(ours, 0, "Top"), 2, 2, "x"), 3, -1, "Moss");

// Comparing with another file and merging from it: marks, taking, undo.
class TestCompare : public WindowTest
{
    Q_OBJECT

    QString count() { return child<QLabel>(&window(), u"compareStatus"_s)->text(); }
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
    // Each take is one unsaved undo step, and undoing it marks the difference again.
    void take_data()
    {
        // node: the list's top-level node clicked, or -1
        // tileset: clicked, or -1
        // entry: clicked after it, or -1
        addColumns<int, int, int, QString, TilesetTable, QString>("node", "tileset", "entry",
                                                                  "command", "taken", "step");
        const QString take = u"mnutakeother"_s;
        QTest::newRow("an entry") << -1 << 1 << 2 << take << with(ours, 1, 2, "x")
                                  << u"take entry 002 of tileset 01 from other file"_s;
        QTest::newRow("a tileset, by its name") << -1 << 1 << -1 << take << with(ours, 1, 2, "x")
                                                << u"take tileset 01 from other file"_s;
        QTest::newRow("the last tileset, by its name")
            << -1 << 2 << -1 << take << with(ours, 2, -1, "Moss")
            << u"take tileset 02 from other file"_s;
        QTest::newRow("the placeholder at the top")
            << 0 << -1 << -1 << take << inserted(ours, 0, "Top")
            << u"insert tileset 00 from other file"_s;
        QTest::newRow("all") << -1 << -1 << -1 << u"mnutakeall"_s << other
                             << u"take all from other file"_s;
    }
    void take()
    {
        QFETCH(int, node);
        QFETCH(int, tileset);
        QFETCH(int, entry);
        openAndRun(u"mnucompare"_s, {other});
        QCOMPARE(count(), u"3 differences"_s);
        QCOMPARE(list()->topLevelItem(0)->text(0), u"+ Top (other file)"_s);
        QCOMPARE(entryNode(2)->toolTip(0), QString()); // tileset 0 agrees
        if (node >= 0)
            click(list(), list()->topLevelItem(node));
        if (tileset >= 0)
            click(list(), list()->node(tileset + 1));
        if (entry >= 0) {
            QCOMPARE(entryNode(entry)->toolTip(0), u"Other file: \"x\""_s);
            click(tree(), entryNode(entry));
        }
        QFETCH(QString, command);
        QVERIFY(trigger(command));
        QTEST(table(), "taken");
        QCOMPARE(count(), command == u"mnutakeall"_s ? u"No differences"_s : u"2 differences"_s);
        QTEST(document().undoStack()->undoText(), "step");
        QVERIFY(document().isModified());
        QVERIFY(trigger(u"mnuundo"_s));
        QCOMPARE(table(), ours);
        QCOMPARE(count(), u"3 differences"_s);
        QVERIFY(!document().isModified());
    }

    // F8 and Shift+F8 step through the differences in list order and wrap round; Close ends
    // the comparison; a file compared with itself has none.
    void stepAndEnd()
    {
        openAndRun(u"mnucompare"_s, {other, ours});
        click(list(), list()->node(1));
        QVERIFY(trigger(u"mnunextdifference"_s));
        QCOMPARE(std::pair(list()->currentTileset(), tree()->currentEntry()), std::pair(1, 2));
        QVERIFY(trigger(u"mnunextdifference"_s));
        QCOMPARE(list()->currentTileset(), 2);
        QVERIFY(trigger(u"mnunextdifference"_s));
        QCOMPARE(list()->currentPlaceholder(), 0);
        QCOMPARE(entryNode(0)->toolTip(0), u"Only in the other file"_s);
        QVERIFY(trigger(u"mnupreviousdifference"_s));
        QCOMPARE(list()->currentTileset(), 2);
        QVERIFY(trigger(u"mnucompare"_s));
        QCOMPARE(count(), u"No differences"_s);
        QVERIFY(!action(u"mnunextdifference"_s)->isEnabled());
        QVERIFY(trigger(u"mnuclose"_s));
        QVERIFY(!child<QLabel>(&window(), u"compareStatus"_s)->isVisible());
        QVERIFY(!action(u"mnuendcompare"_s)->isEnabled());
    }

    // A file of fewer entries per tileset: the entries both have are compared, and a tileset
    // taken from it gets the rest never assigned. A take on the largest file may keep it so;
    // a change after a tileset deleted lands on its own tileset.
    void fewerEntries()
    {
        const auto shaped = [](int entries) {
            return with(inserted(deleted(numberedTable(255, entries), 0), 254, "End"), 1, 0, "q");
        };
        openAndRun(u"mnucompare"_s, {shaped(3)}, numberedTable(255, 4));
        QCOMPARE(count(), u"3 differences"_s);
        QVERIFY(trigger(u"mnutakeall"_s));
        TilesetTable taken = shaped(4);
        taken.setEntry(3, 254, {});
        QCOMPARE(table(), taken);
    }

    // A placeholder stands where its tileset would go; a category holding a difference is
    // marked too.
    void placesAndCategories()
    {
        const TilesetTable mine = numberedTable(3, 151);
        openAndRun(u"mnucompare"_s,
                   {inserted(inserted(with(mine, 0, 150, "x"), 1, "Mid"), 3, "Late")}, mine);
        // Under tileset 00 as the first of its group, and after tileset 01 within it.
        for (const auto &[name, above] : {std::pair(u"Mid"_s, 1), std::pair(u"Late"_s, 2)}) {
            const QList<QTreeWidgetItem *> placeholder = list()->findItems(
                u"+ %1 (other file)"_s.arg(name), Qt::MatchExactly | Qt::MatchRecursive);
            QCOMPARE(list()->itemAbove(placeholder.value(0)), list()->node(above));
        }
        QVERIFY(entryNode(150)->parent()->background(0) != QBrush());
    }

    // A merge takes the clean changes in one step and leaves the conflict marked until it is
    // taken or edited; undoing either marks it again.
    void merge()
    {
        // Ours is the common ancestor of theirs and mine.
        const TilesetTable theirs = with(with(ours, 0, 0, "pine"), 2, -1, "Moss");
        const TilesetTable mine = with(ours, 0, 0, "oak");
        openAndRun(u"mnumerge"_s, {theirs, ours}, mine);
        QCOMPARE(table(), with(mine, 2, -1, "Moss"));
        QCOMPARE(count(), u"1 conflict"_s);
        QCOMPARE(document().undoStack()->undoText(), u"merge from other file"_s);
        click(list(), list()->node(1));
        QCOMPARE(entryNode(0)->toolTip(0),
                 u"Conflict. Other file: \"pine\"; common ancestor: \"0:0\""_s);
        QCOMPARE(entryNode(0)->background(0).color(), QColor(255, 190, 190)); // red, not amber
        click(tree(), entryNode(0));
        QVERIFY(trigger(u"mnutakeother"_s));
        QCOMPARE(count(), u"No conflicts left"_s);
        QVERIFY(trigger(u"mnuundo"_s));
        QCOMPARE(count(), u"1 conflict"_s);
        editEntry(0, 0, u"elm"_s);
        QCOMPARE(count(), u"No conflicts left"_s);
        QVERIFY(trigger(u"mnuundo"_s));
        QCOMPARE(count(), u"1 conflict"_s);
        // Files of other entry counts are refused before anything changes.
        services().files = {writeNumberedFile(u"wide.dat"_s, 3, 5),
                            writeFile(u"base.dat"_s, fileBytes(ours))};
        QVERIFY(trigger(u"mnumerge"_s));
        QCOMPARE(services().messages.last().text,
                 u"The files have different numbers of entries per tileset (4 here, 5 in the "
                 u"other file, 4 in the common ancestor); they cannot be merged."_s);
        QCOMPARE(table(), with(mine, 2, -1, "Moss"));
    }
};

QTEST_MAIN(TestCompare)
#include "tst_compare.moc"

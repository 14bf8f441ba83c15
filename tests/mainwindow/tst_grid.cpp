#include "datatable.h"
#include "fieldformat.h"
#include "gridwindow.h"
#include "tilesetgrid.h"
#include "tilesetgridmodel.h"
#include "widgets.h"
#include "windowtest.h"

#include <QSignalSpy>
#include <QStatusBar>

using namespace Qt::StringLiterals;
using namespace TestFiles;

// The grid of all tilesets: what it shows, how it follows the document and the cursor,
// and editing in it as in a spreadsheet.
class TestGrid : public WindowTest
{
    Q_OBJECT

    TilesetGrid *grid() { return child<TilesetGrid>(&window(), u"TilesetGrid"_s); }
    TilesetGridModel *model() { return child<GridWindow>(&window(), u"GridWindow"_s)->model(); }
    QModelIndex cell(int t, int e) { return model()->fieldIndex(t, e); }
    void openGrid(const TilesetTable &table)
    {
        start().show();
        QVERIFY(open(writeFile(u"a.dat"_s, fileBytes(table))) && trigger(u"mnualltilesets"_s));
        QVERIFY(QTest::qWaitForWindowActive(grid()->window()));
    }
    QLineEdit *editor() // the cell editor open in either view
    {
        for (QLineEdit *line : grid()->findChildren<QLineEdit *>())
            if (line->isVisible())
                return line;
        return nullptr;
    }
    void clickCell(int t, int e) // the name column is clicked where it shows: the frozen view
    {
        QAbstractItemView *in = e < 0 ? child<QTableView>(grid(), u"frozenNames"_s) : grid();
        grid()->scrollTo(cell(t, e));
        QTest::mouseClick(in->viewport(), Qt::LeftButton, {}, in->visualRect(cell(t, e)).center());
    }

private Q_SLOTS:
    void headers_data()
    {
        addColumns<Qt::Orientation, int, QString>("orientation", "section", "shown");
        QTest::newRow("first tileset") << Qt::Vertical << 0 << u"00"_s;
        QTest::newRow("tileset 99") << Qt::Vertical << 99 << u"99"_s;
        QTest::newRow("tileset 100") << Qt::Vertical << 100 << u"100"_s;
        QTest::newRow("last tileset") << Qt::Vertical << 254 << u"254"_s;
        QTest::newRow("name") << Qt::Horizontal << 0 << u"Name"_s;
        QTest::newRow("first entry") << Qt::Horizontal << 1 << u"000"_s;
        QTest::newRow("last entry") << Qt::Horizontal << 151 << u"150"_s;
    }
    void headers()
    {
        QFETCH(Qt::Orientation, orientation);
        QFETCH(int, section);
        QFETCH(QString, shown);
        openGrid(numberedTable(255, 151));
        QCOMPARE(std::pair(model()->rowCount(), model()->columnCount()), std::pair(255, 152));
        QCOMPARE(model()->headerData(section, orientation, Qt::DisplayRole).toString(), shown);
        QCOMPARE(model()->headerData(1, Qt::Horizontal, Qt::ToolTipRole), u"Ground textures"_s);
    }

    // Both show nothing, but only the entry never written says so; emptied, one is not.
    void neverWrittenAndEmpty()
    {
        TilesetTable table = numberedTable(2, 3);
        table.setEntry(2, 0, {});
        openGrid(table);
        editEntry(1, 2, QString());
        for (auto [t, neverWritten] : {std::pair(0, true), std::pair(1, false)}) {
            QCOMPARE(cell(t, 2).data().toString(), QString());
            QCOMPARE(cell(t, 2).data(TilesetGridModel::NeverWrittenRole).toBool(), neverWritten);
        }
    }

    // A step's news reach the grid as the cells it changed (columns x, rows y), never as
    // a new model; only another table is one.
    void followsTheDocument_data()
    {
        addColumns<QString, int, QRect>("step", "rows", "changed");
        QTest::newRow("entry") << u"entry"_s << 4 << QRect(13, 2, 1, 1);
        QTest::newRow("name") << u"name"_s << 4 << QRect(0, 3, 1, 1);
        QTest::newRow("undone") << u"mnuundo"_s << 4 << QRect(0, 3, 1, 1);
        QTest::newRow("insert") << u"mnuinsert"_s << 5 << QRect(0, 1, 21, 4);
        QTest::newRow("delete") << u"mnudelete"_s << 3 << QRect(0, 1, 21, 2);
        QTest::newRow("close") << u"mnuclose"_s << 0 << QRect();
    }
    void followsTheDocument()
    {
        QFETCH(QString, step);
        QFETCH(int, rows);
        QFETCH(QRect, changed);
        openGrid(numberedTable(4, 20));
        rename(3, u"Moss"_s);
        click(list(), list()->node(2));
        QSignalSpy changes(model(), &QAbstractItemModel::dataChanged);
        QSignalSpy resets(model(), &QAbstractItemModel::modelReset);
        if (step == u"entry"_s)
            editEntry(2, 12, u"fern"_s);
        else if (step == u"name"_s)
            rename(3, u"Rock"_s);
        else if (step == u"mnuclose"_s)
            services().answers.append(PlatformServices::Answer::No); // nor saved
        if (step.startsWith(u"mnu"_s))
            QVERIFY(trigger(step));
        QCOMPARE(std::pair(model()->rowCount(), int(resets.size())), std::pair(rows, rows ? 0 : 1));
        QCOMPARE(changes.size(), rows ? 1 : 0);
        if (rows) {
            const QModelIndex from = changes[0][0].toModelIndex(),
                              to = changes[0][1].toModelIndex();
            QCOMPARE(QRect(QPoint(from.column(), from.row()), QPoint(to.column(), to.row())),
                     changed);
        }
    }

    // The grid's current cell is the trees' selection, moved by mouse or keys on either side.
    void cursorBothWays_data()
    {
        addColumns<QString, int, int>("move", "tileset", "entry");
        QTest::newRow("click an entry") << u"click"_s << 2 << 12;
        QTest::newRow("click a name") << u"click"_s << 3 << -1;
        QTest::newRow("key right from a name") << u"right"_s << 3 << 0;
        QTest::newRow("key down to the last tileset") << u"down"_s << 4 << 12;
        QTest::newRow("tree") << u"tree"_s << 1 << 7;
    }
    void cursorBothWays()
    {
        QFETCH(QString, move);
        QFETCH(int, tileset);
        QFETCH(int, entry);
        openGrid(numberedTable(5, 20));
        if (move == u"click"_s)
            clickCell(tileset, entry);
        if (move == u"right"_s || move == u"down"_s)
            clickCell(move == u"right"_s ? 3 : 3, move == u"right"_s ? -1 : 12);
        if (move == u"right"_s || move == u"down"_s)
            QTest::keyClick(grid(), move == u"right"_s ? Qt::Key_Right : Qt::Key_Down);
        if (move == u"tree"_s) {
            click(list(), list()->node(tileset + 1));
            click(tree(), nodeOfEntry(entry));
        }
        QCOMPARE(grid()->currentIndex(), cell(tileset, entry));
        QCOMPARE(list()->currentTileset(), tileset);
        if (entry >= 0)
            QCOMPARE(tree()->currentEntry(), entry);
    }

    // Typing replaces, F2 goes on after the text; Enter keeps and moves down, Tab right,
    // Escape keeps nothing. Each edit is the trees' undo step.
    void editing_data()
    {
        addColumns<int, Qt::Key, QString, Qt::Key, QString, int, int>(
            "entry", "start", "typed", "end", "stored", "row", "column");
        QTest::newRow("type, Enter")
            << 12 << Qt::Key_F << u"ern"_s << Qt::Key_Return << u"fern"_s << 3 << 13;
        QTest::newRow("F2, Tab") << 12 << Qt::Key_F2 << u"x"_s << Qt::Key_Tab << u"2:12x"_s << 2
                                 << 14;
        QTest::newRow("name, F2, Enter")
            << -1 << Qt::Key_F2 << u"y"_s << Qt::Key_Enter << u"Set 2y"_s << 3 << 0;
        QTest::newRow("name, type, Tab")
            << -1 << Qt::Key_M << u"oss"_s << Qt::Key_Tab << u"moss"_s << 2 << 1;
        QTest::newRow("Escape") << 12 << Qt::Key_F << u"ern"_s << Qt::Key_Escape << u"2:12"_s << 2
                                << 13;
    }
    void editing()
    {
        QFETCH(int, entry);
        QFETCH(Qt::Key, start);
        QFETCH(QString, typed);
        QFETCH(Qt::Key, end);
        QFETCH(QString, stored);
        openGrid(numberedTable(4, 20));
        clickCell(2, entry);
        QTest::keyClick(grid(), start, {}); // a letter key types its lower case
        QVERIFY(editor());
        QTest::keyClicks(editor(), typed);
        QTest::keyClick(editor(), end);
        QTRY_VERIFY(!editor());
        QCOMPARE(cell(2, entry).data().toString(), stored);
        QTEST(grid()->currentIndex().row(), "row");
        QTEST(grid()->currentIndex().column(), "column");
        QCOMPARE(action(u"mnuundo"_s)->text(), end == Qt::Key_Escape ? u"Undo"_s
                                               : entry < 0
                                                   ? u"Undo rename tileset 02"_s
                                                   : u"Undo edit entry 012 of tileset 02"_s);
    }
};

QTEST_MAIN(TestGrid)
#include "tst_grid.moc"

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
            editEntry(2, 12, u"Fern"_s);
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
};

QTEST_MAIN(TestGrid)
#include "tst_grid.moc"

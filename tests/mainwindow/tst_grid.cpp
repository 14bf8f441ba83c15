#include "datatable.h"
#include "griddelegate.h"
#include "textutils.h"
#include "tilesetgrid.h"
#include "tilesetgridmodel.h"
#include "widgets.h"
#include "windowtest.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QScreen>
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
    TilesetGridModel *model() { return static_cast<TilesetGridModel *>(grid()->model()); }
    QModelIndex cell(int t, int e) { return model()->fieldIndex(t, e); }
    QString spoken(int t, int e) // as a screen reader has it
    {
        QAccessibleInterface *view = QAccessible::queryAccessibleInterface(grid());
        return view->tableInterface()->cellAt(t, e + 1)->text(QAccessible::Name);
    }
    void openGrid(const TilesetTable &table)
    {
        start().show();
        QVERIFY(open(writeFile(u"a.dat"_s, fileBytes(table))) && trigger(u"mnualltilesets"_s));
        QVERIFY(QTest::qWaitForWindowActive(grid()->window()));
    }
    // The cell editor open in either view; a closed one is gone once events have run.
    QLineEdit *editor() { return grid()->findChild<QLineEdit *>(); }
    void clickCell(int t, int e) // the name column is clicked where it shows: the frozen view
    {
        QAbstractItemView *in = e < 0 ? child<QTableView>(grid(), u"frozenNames"_s) : grid();
        grid()->scrollTo(cell(t, e));
        QTest::mouseClick(in->viewport(), Qt::LeftButton, {}, in->visualRect(cell(t, e)).center());
    }

    void selectCells(const QRect &cells) // by a click and a shift-click: column x, tileset y
    {
        clickCell(cells.y(), cells.x() - 1);
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                          grid()->visualRect(cell(cells.bottom(), cells.right() - 1)).center());
    }

private Q_SLOTS:
    void headers_data()
    {
        addColumns<Qt::Orientation, int, QString>("orientation", "section", "shown");
        QTest::newRow("first tileset, two digits") << Qt::Vertical << 0 << u"00"_s;
        QTest::newRow("tileset 100") << Qt::Vertical << 100 << u"100"_s;
        QTest::newRow("last tileset") << Qt::Vertical << 254 << u"254"_s;
        QTest::newRow("name") << Qt::Horizontal << 0 << u"Name"_s;
        QTest::newRow("first entry") << Qt::Horizontal << 1 << u"000"_s;
        QTest::newRow("last entry") << Qt::Horizontal << 151 << u"150"_s;
    }
    void headers()
    {
        auto [orientation, section] = fetch<Qt::Orientation, int>("orientation", "section");
        openGrid(numberedTable(255, 151));
        QCOMPARE(std::tuple(model()->rowCount(), model()->columnCount(),
                            child(grid(), u"frozenNames"_s)->accessibleName()),
                 std::tuple(255, 152, u"Tileset names"_s));
        QTEST(model()->headerData(section, orientation, Qt::DisplayRole).toString(), "shown");
        QCOMPARE(model()->headerData(1, Qt::Horizontal, Qt::ToolTipRole), u"Ground textures"_s);
        grid()->scrollTo(cell(section % 100, 150)); // back left: clear of the names' column
        grid()->scrollTo(cell(section % 100, 100));
        QVERIFY(grid()->visualRect(cell(section % 100, 100)).left() >= grid()->columnWidth(0));
    }

    // Both show nothing, but only the entry never written says so; emptied, one is not. Marks
    // of a comparison mark the cells as they do the trees' nodes.
    void neverWrittenEmptyAndMarked()
    {
        TilesetTable table = with(numberedTable(2, 3), 0, -1, "  ab");
        table.setEntry(2, 0, {});
        openGrid(table);
        editEntry(1, 2, QString());
        const int role = TilesetGridModel::NeverWrittenRole;
        QCOMPARE(cell(0, 2).data().toString() + cell(1, 2).data().toString(), QString());
        QCOMPARE(cell(0, -1).data(Qt::EditRole), u"  ab"_s); // a name is offered with its blanks
        QCOMPARE(std::pair(cell(0, 2).data(role), cell(1, 2).data(role)),
                 std::pair(QVariant(true), QVariant(false)));
        struct Painter : GridDelegate
        {
            using GridDelegate::initStyleOption;
        } painter;
        QStyleOptionViewItem never, emptied;
        painter.initStyleOption(&never, cell(0, 2));
        painter.initStyleOption(&emptied, cell(1, 2));
        QCOMPARE(std::pair(never.text, emptied.text), std::pair(u"never written"_s, QString()));
        QCOMPARE(QStringList({spoken(0, 2), spoken(1, 2), spoken(0, -1)}),
                 QStringList({u"Tileset 00, entry 002: never written"_s,
                              u"Tileset 01, entry 002: empty"_s, u"Tileset 00, name: ab"_s}));
        services().files.append(
            writeFile(u"b.dat"_s, fileBytes(with(with(table, 1, 1, "x"), 0, -1, "y"))));
        QVERIFY(trigger(u"mnucompare"_s));
        QCOMPARE(cell(1, 1).data(MarkRole), nodeOfEntry(1)->data(0, MarkRole));
        QCOMPARE(cell(1, 1).data(Qt::ToolTipRole), nodeOfEntry(1)->toolTip(0));
        QCOMPARE(cell(0, -1).data(MarkRole), list()->node(1)->data(0, MarkRole));
        QCOMPARE(spoken(1, 1), u"Tileset 01, entry 001: 1:1, differs from the other file"_s);
        QVERIFY(trigger(u"mnuendcompare"_s));
        QCOMPARE(std::pair(cell(1, 1).data(MarkRole), spoken(1, 1)),
                 std::pair(QVariant(), u"Tileset 01, entry 001: 1:1"_s));
    }

    // A step's news reach the grid as the cells it changed (columns x, rows y), never as
    // a new model; only another table is one.
    void followsTheDocument_data()
    {
        addColumns<QString, int, QRect>("step", "rows", "changed");
        QTest::newRow("entry") << u"entry"_s << 4 << QRect(13, 2, 1, 1);
        QTest::newRow("undone") << u"mnuundo"_s << 4 << QRect(0, 3, 1, 1);
        QTest::newRow("insert") << u"mnuinsert"_s << 5 << QRect(0, 1, 21, 4);
        QTest::newRow("delete") << u"mnudelete"_s << 3 << QRect(0, 1, 21, 2);
        QTest::newRow("copy: the row's cells") << u"mnucopy"_s << 4 << QRect(1, 1, 20, 1);
        QTest::newRow("close") << u"mnuclose"_s << 0 << QRect();
    }
    void followsTheDocument()
    {
        auto [step, rows] = fetch<QString, int>("step", "rows");
        openGrid(numberedTable(4, 20));
        rename(3, u"Moss"_s);
        click(list(), list()->node(2));
        QSignalSpy changes(model(), &QAbstractItemModel::dataChanged);
        QSignalSpy resets(model(), &QAbstractItemModel::modelReset);
        if (step == u"mnuclose"_s)
            services().answers.append(PlatformServices::Answer::No); // nor saved
        if (step == u"mnucopy"_s)                                    // tileset 00's entries
            services().dialogs << [](QDialog &dialog) { dialog.accept(); };
        if (step == u"entry"_s)
            editEntry(2, 12, u"fern"_s);
        else
            QVERIFY(trigger(step));
        QCOMPARE(std::pair(model()->rowCount(), int(resets.size())), std::pair(rows, rows ? 0 : 1));
        const auto corner = [&](int k) {
            const QModelIndex at = changes.value(0).value(k).toModelIndex();
            return QPoint(at.column(), at.row());
        };
        QTEST(changes.size() == 1 ? QRect(corner(0), corner(1)) : QRect(), "changed");
    }

    // The grid's current cell is the trees' selection, moved by mouse or keys on either side.
    void cursorBothWays_data()
    {
        addColumns<bool, int, int, int, int, int>("inTrees", "tileset", "entry", "key", "toTileset",
                                                  "toEntry");
        QTest::newRow("click an entry") << false << 2 << 12 << 0 << 2 << 12;
        QTest::newRow("right from a name") << false << 3 << -1 << int(Qt::Key_Right) << 3 << 0;
        QTest::newRow("down, the last tileset") << false << 3 << 12 << int(Qt::Key_Down) << 4 << 12;
        QTest::newRow("in the trees") << true << 1 << 7 << 0 << 1 << 7;
    }
    void cursorBothWays()
    {
        auto [tileset, entry, key, toEntry] =
            fetch<int, int, int, int>("tileset", "entry", "key", "toEntry");
        openGrid(numberedTable(5, 20));
        QFETCH(bool, inTrees);
        if (inTrees)
            click(list(), list()->node(tileset + 1));
        inTrees ? click(tree(), nodeOfEntry(entry)) : clickCell(tileset, entry);
        if (key)
            QTest::keyClick(grid(), Qt::Key(key));
        QTEST(list()->currentTileset(), "toTileset");
        QCOMPARE(grid()->currentIndex(), cell(list()->currentTileset(), toEntry));
        QCOMPARE(tree()->currentEntry(), toEntry < 0 ? tree()->currentEntry() : toEntry);
    }

    // Typing replaces, F2 goes on after the text; Enter keeps and moves down, Tab right,
    // Escape keeps nothing. Each edit is the trees' undo step.
    void editing_data()
    {
        addColumns<int, Qt::Key, QString, Qt::Key, QString, int, int>(
            "entry", "start", "typed", "end", "stored", "row", "column");
        QTest::newRow("type") << 12 << Qt::Key_F << u"e"_s << Qt::Key_Return << u"fe"_s << 3 << 13;
        QTest::newRow("F2") << 12 << Qt::Key_F2 << u"x"_s << Qt::Key_Tab << u"2:12x"_s << 2 << 14;
        QTest::newRow("name") << -1 << Qt::Key_F2 << u"y"_s << Qt::Key_Enter << u"Set 2y"_s << 3
                              << 0;
        QTest::newRow("name, typed")
            << -1 << Qt::Key_M << u"o"_s << Qt::Key_Tab << u"mo"_s << 2 << 1;
        QTest::newRow("Esc") << 12 << Qt::Key_F << u"e"_s << Qt::Key_Escape << u"2:12"_s << 2 << 13;
    }
    void editing()
    {
        auto [entry, start, typed, end] =
            fetch<int, Qt::Key, QString, Qt::Key>("entry", "start", "typed", "end");
        openGrid(numberedTable(4, 20));
        clickCell(2, entry);
        QTest::keyClick(grid(), start, {}); // a letter key types its lower case
        QVERIFY(editor());
        QTest::keyClicks(editor(), typed);
        QTest::keyClick(editor(), end);
        QTRY_VERIFY(!editor());
        QTEST(cell(2, entry).data().toString(), "stored");
        QTEST(grid()->currentIndex().row(), "row");
        QTEST(grid()->currentIndex().column(), "column");
        const QString step =
            entry < 0 ? u" rename tileset 02"_s : u" edit entry 012 of tileset 02"_s;
        QCOMPARE(caption(u"mnuundo"_s), end == Qt::Key_Escape ? u"Undo"_s : u"Undo"_s + step);
    }

    // A cell takes what the trees' editors take, with their messages.
    void refusals_data()
    {
        addColumns<int, QString, QString, QString>("entry", "typed", "shown", "message");
        const QString charset = u"Not taken: a tileset file stores Windows-1252 characters only, "
                                u"and \u201c\u03a9\u201d is not one of them."_s;
        QTest::newRow("not in the code page") << 3 << u"\u03a9"_s << u"2:3"_s << charset;
        QTest::newRow("entry too long") << 3 << QString(40, u'e') << QString(32, u'e') << QString();
        QTest::newRow("name too long") << -1 << QString(40, u'n') << QString(33, u'n') << QString();
    }
    void refusals()
    {
        auto [entry, typed] = fetch<int, QString>("entry", "typed");
        openGrid(numberedTable(3, 5));
        clickCell(2, entry);
        QTest::keyClick(grid(), Qt::Key_F2);
        editor()->selectAll();
        editor()->insert(typed); // as typed: the key tester knows only ASCII
        QTEST(editor()->text(), "shown");
        QTEST(window().statusBar()->currentMessage(), "message");
    }

    // Copy writes the selected range, in the trees the field's text; a paste at one cell
    // fills from there, as one step undone byte for byte. A paste that cuts asks first; one
    // the file cannot hold is refused with a message. A command stores the cell being typed
    // first, as it does the trees' labels.
    void clipboardAndCommands()
    {
        openGrid(numberedTable(4, 20));
        const QByteArray before = table().bytes();
        click(list(), list()->node(2));
        click(tree(), nodeOfEntry(5));
        QTest::keyClick(tree(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), u"1:5\r\n"_s);
        grid()->window()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(grid()->window()));
        selectCells({4, 2, 2, 2});
        QTest::keyClick(grid(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), u"2:3\t2:4\r\n3:3\t3:4\r\n"_s);
        clickCell(0, -1);
        QTest::keyClick(grid(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(caption(u"mnuundo"_s), u"Undo paste 4 fields"_s);
        QCOMPARE(cell(1, 0).data().toString(), u"3:4"_s);
        QCOMPARE(grid()->selectedFields(), (FieldRect{0, 0, 2, 2}));
        QVERIFY(trigger(u"mnuundo"_s));
        QCOMPARE(table().bytes(), before);
        clickCell(1, 2);
        QGuiApplication::clipboard()->setText(QString(40, u'x'));
        services().answers.append(PlatformServices::Answer::Cancel);
        QTest::keyClick(grid(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(services().messages.last().text,
                 u"1 field would be cut to fit. Paste the same?"_s);
        QGuiApplication::clipboard()->setText(QString());
        QTest::keyClick(grid(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(window().statusBar()->currentMessage(),
                 u"The clipboard holds no text to paste."_s);
        QGuiApplication::clipboard()->setText(u"\u03a9"_s);
        QTest::keyClick(grid(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(services().messages.last().icon, PlatformServices::Icon::Exclamation);
        QCOMPARE(caption(u"mnuundo"_s), u"Undo"_s);
        QTest::keyClick(grid(), Qt::Key_O);
        QTest::keyClicks(editor(), u"ak"_s);
        QVERIFY(trigger(u"mnuinsert"_s)); // before tileset 01, which moves down with the edit
        QCOMPARE(cutAtNul(table().entry(2, 2)), "oak");
    }

    // The same commands act on the grid's selection (column x, tileset y), and once the user
    // goes to the trees, on their field only, the selection's last; field: that one's text
    // afterwards.
    void fieldCommands_data()
    {
        addColumns<bool, QRect, QString, QString, QString>("inGrid", "selection", "keys", "undo",
                                                           "field");
        QTest::newRow("trees: paste")
            << false << QRect(5, 1, 2, 2) << u"Ctrl+V"_s << u"Undo paste 1 field"_s << u"pasted"_s;
        QTest::newRow("trees: Delete clears")
            << false << QRect(5, 1, 2, 2) << u"Del"_s << u"Undo clear 1 field"_s << QString();
        QTest::newRow("Delete clears a range")
            << true << QRect(0, 0, 3, 2) << u"Del"_s << u"Undo clear 6 fields"_s << QString();
        QTest::newRow("Delete clears names")
            << true << QRect(0, 1, 1, 2) << u"Del"_s << u"Undo clear 2 fields"_s << QString();
        QTest::newRow("fill down")
            << true << QRect(2, 1, 2, 3) << u"Ctrl+D"_s << u"Undo fill down 4 fields"_s << u"1:2"_s;
        QTest::newRow("fill right") << true << QRect(1, 2, 3, 1) << u"Ctrl+R"_s
                                    << u"Undo fill right 2 fields"_s << u"2:0"_s;
        QTest::newRow("Ctrl+A, all pasted") << true << QRect(1, 1, 1, 1) << u"Ctrl+A, Ctrl+V"_s
                                            << u"Undo paste 105 fields"_s << u"pasted"_s;
    }
    void fieldCommands()
    {
        auto [selection, inGrid, keys] = fetch<QRect, bool, QString>("selection", "inGrid", "keys");
        openGrid(numberedTable(5, 20));
        QGuiApplication::clipboard()->setText(u"pasted"_s);
        selectCells(selection);
        if (!inGrid)
            QApplication::setActiveWindow(&window());
        QTest::keySequence(inGrid ? grid() : static_cast<QWidget *>(tree()), QKeySequence(keys));
        QTEST(caption(u"mnuundo"_s), "undo");
        QTEST(model()->index(selection.bottom(), selection.right()).data().toString(), "field");
    }

    // First beside the main window; with no room to its right, below it. Then it opens where
    // it was last closed, at the size it had.
    void placedAndRemembered()
    {
        start().show();
        window().move(window().screen()->availableGeometry().right() - window().width() - 100, 0);
        QVERIFY(open(writeNumberedFile(u"a.dat"_s, 2, 2)) && trigger(u"mnualltilesets"_s));
        QVERIFY(grid()->window()->y() > window().y());
        QVERIFY(QTest::qWaitForWindowActive(grid()->window()));
        grid()->window()->setGeometry(40, 50, 610, 420);
        grid()->window()->close();
        start().show();
        QVERIFY(trigger(u"mnualltilesets"_s));
        QCOMPARE(grid()->window()->geometry(), QRect(40, 50, 610, 420));
    }
};

QTEST_MAIN(TestGrid)
#include "tst_grid.moc"

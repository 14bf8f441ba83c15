#include "entrytoolbar.h"
#include "entrytree.h"
#include "fixedfield.h"
#include "splitterbar.h"
#include "tilesetfiles.h"
#include "tilesetlist.h"
#include "widgets.h"
#include "windowtest.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMouseEvent>
#include <QTimer>

using namespace Qt::StringLiterals;
using Answer = PlatformServices::Answer;

namespace {

// A text shorter than its field, as it is stored: one NUL, then spaces.
QByteArray field(const QByteArray &text, int width)
{
    return (text + '\0').leftJustified(width, ' ');
}

void click(QTreeWidget *tree, QTreeWidgetItem *item, bool twice = false)
{
    tree->scrollToItem(item);
    const QPoint centre = tree->visualItemRect(item).center();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, centre);
    if (twice)
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, centre);
}

// The label editor open in the tree; a closed one is hidden at once and deleted later.
QLineEdit *editor(QTreeWidget *tree)
{
    for (QLineEdit *line : tree->viewport()->findChildren<QLineEdit *>())
        if (line->isVisible())
            return line;
    return nullptr;
}

// A mouse move with buttons held, which QTest::mouseMove cannot send.
void drag(QWidget *widget, int x, Qt::MouseButtons buttons)
{
    QMouseEvent move(QEvent::MouseMove, QPoint(x, 100), widget->mapToGlobal(QPoint(x, 100)),
                     Qt::NoButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

} // namespace

// Tileset commands, editing in the trees, navigation and the layout.
class TestEditing : public WindowTest
{
    Q_OBJECT

    TilesetList *list() { return mFixture->window().tilesetList(); }
    EntryTree *tree() { return mFixture->window().entryTree(); }
    QTreeWidgetItem *entryNode(int entry) { return tree()->node(tree()->entryNode(entry)); }
    void open(const TilesetTable &table)
    {
        MainWindow &window = mFixture->start();
        window.show();
        window.activateWindow(); // F2 needs an active window
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QVERIFY(mFixture->open(mFixture->writeFile(u"a.dat"_s, TestFiles::fileBytes(table))));
    }
    // Answers the next Select tileset dialog with index and returns the items it offered.
    void chooseTileset(int index, QStringList *offered)
    {
        services().onDialog([index, offered](QDialog &dialog) {
            auto *combo = child<QComboBox>(&dialog, u"Combo1"_s);
            for (int i = 0; i < combo->count(); ++i)
                offered->append(combo->itemText(i));
            combo->setCurrentIndex(index);
            dialog.accept();
        });
    }
    QLineEdit *startEdit(int tileset, const QString &how)
    {
        if (how == u"rename"_s) {
            click(list(), list()->node(tileset + 1), true);
            return editor(list());
        }
        click(list(), list()->node(tileset + 1));
        click(tree(), how == u"category"_s ? tree()->categoryNode(2) : entryNode(12),
              how == u"double-click"_s);
        if (how == u"menu"_s)
            mFixture->trigger(u"mnueditentry"_s);
        else if (how != u"double-click"_s)
            QTest::keyClick(tree(), Qt::Key_F2);
        return editor(tree());
    }

private Q_SLOTS:
    void copyOrImport_data()
    {
        QTest::addColumn<int>("otherTilesets"); // 0: copy from the document itself
        QTest::addColumn<int>("chosen");
        QTest::newRow("copy") << 0 << 5;
        QTest::newRow("import, fewer tilesets") << 3 << 2;
        QTest::newRow("import, more tilesets") << 120 << 101;
    }
    void copyOrImport()
    {
        QFETCH(int, otherTilesets);
        QFETCH(int, chosen);
        open(TestFiles::numberedTable(60, 151));
        const bool import = otherTilesets > 0;
        const TilesetTable source =
            import ? TestFiles::numberedTable(otherTilesets, 151) : document().tilesets;
        TilesetTable expected = document().tilesets;
        list()->selectNode(8);
        if (import) {
            services().answer(Answer::Ok);
            services().chooseFile(mFixture->writeFile(u"b.dat"_s, TestFiles::fileBytes(source)));
        }
        QStringList offered;
        chooseTileset(chosen, &offered);
        QVERIFY(mFixture->trigger(import ? u"mnuimport"_s : u"mnucopy"_s));
        QCOMPARE(services().messages.size(), import ? 1 : 0);
        QCOMPARE(offered.size(), source.tilesetCount());
        // A copy takes the entries only; an import the name too.
        expected.copyTileset(source, chosen, 7);
        if (!import)
            expected.setTilesetName(7, source.tilesetName(7));
        QVERIFY(document().tilesets == expected && document().changesMade);
        QCOMPARE(list()->node(8)->text(0), u"07. Set %1"_s.arg(import ? chosen : 7));
    }

    void refusals_data()
    {
        QTest::addColumn<int>("tilesets");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("message");
        QTest::newRow("delete the only tileset")
            << 1 << u"mnudelete"_s
            << u"There must be at least one tileset left! | Error while deleting tileset"_s;
        QTest::newRow("insert a 256th") << 255 << u"mnuinsert"_s
                                        << u"A tileset file holds at most 255 tilesets; delete "
                                           u"one before inserting another. | Error while "
                                           u"inserting tileset"_s;
        QTest::newRow("import, other entry count")
            << 6 << u"mnuimport"_s
            << u"Incompatible amount of entries. | Error importing tileset"_s;
    }
    void refusals()
    {
        QFETCH(int, tilesets);
        QFETCH(QString, command);
        open(TestFiles::numberedTable(tilesets, 151));
        const TilesetTable before = document().tilesets;
        list()->selectNode(tilesets);
        if (command == u"mnuimport"_s) {
            services().answer(Answer::Ok);
            services().chooseFile(mFixture->writeNumberedFile(u"b.dat"_s, 6, 100));
        }
        QVERIFY(mFixture->trigger(command));
        const ScriptedServices::Message &shown = services().messages.last();
        QTEST(shown.text + u" | "_s + shown.title, "message");
        QCOMPARE(shown.buttons, PlatformServices::Buttons::Ok);
        QVERIFY(document().tilesets == before && !document().changesMade);
    }

    void edit_data()
    {
        QTest::addColumn<QString>("how"); // "rename" tileset 3, or how entry 12 is edited
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<bool>("changed");
        const QString text33 = u"Abcdefghijklmnopqrstuvwxyz0123456"_s;
        QTest::newRow("name, 33 characters, no NUL")
            << u"rename"_s << text33 << text33.toLatin1() << true;
        QTest::newRow("name, 40 characters, 33 kept")
            << u"rename"_s << text33 + u"789ABCD"_s << text33.toLatin1() << true;
        QTest::newRow("name, blanks as typed")
            << u"rename"_s << u" Moss "_s << field(" Moss ", NameWidth) << true;
        QTest::newRow("name unchanged")
            << u"rename"_s << u"Set 3"_s << field("Set 3", NameWidth) << false;
        QTest::newRow("entry by double-click, 32 characters")
            << u"double-click"_s << text33.left(32) << text33.left(32).toLatin1() << true;
        QTest::newRow("entry by menu, 40 characters, 32 kept")
            << u"menu"_s << text33 + u"789ABCD"_s << text33.left(32).toLatin1() << true;
        QTest::newRow("entry by F2, unchanged")
            << u"F2"_s << u"3:12"_s << field("3:12", EntryWidth) << false;
        QTest::newRow("code page letter")
            << u"F2"_s << u"Caf\u00e9"_s << field("Caf\xe9", EntryWidth) << true;
        QTest::newRow("letter outside the code page not taken")
            << u"F2"_s << u"A\u4e2dB"_s << field("AB", EntryWidth) << true;
    }
    void edit()
    {
        QFETCH(QString, how);
        QFETCH(QString, typed);
        QFETCH(QByteArray, stored);
        // Descriptions on, so that the label keeps its number and description around the text.
        mFixture->writeFile(u"desc.txt"_s, QByteArray("\r\n").repeated(12) + "Cobbles");
        open(TestFiles::numberedTable(5, 151));
        QVERIFY(mFixture->trigger(u"mnudisplaynames"_s));
        TilesetTable expected = document().tilesets;
        const bool rename = how == u"rename"_s;
        QLineEdit *line = startEdit(3, how);
        QVERIFY(line);
        QCOMPARE(line->text(), rename ? u"Set 3"_s : u"3:12"_s); // the bare text
        line->clear();
        if (typed.size() > 10)
            line->setText(typed);
        else // key by key, so that the editor's own checks apply
            for (QChar c : typed)
                QTest::sendKeyEvent(QTest::Click, line, Qt::Key_unknown, QString(c), {});
        const QString label = (rename ? u"03. "_s : u"012. Cobbles: "_s) + line->text();
        QTest::keyClick(line, Qt::Key_Return);
        QTRY_VERIFY(!editor(rename ? static_cast<QTreeWidget *>(list()) : tree()));
        if (rename)
            expected.setTilesetName(3, stored);
        else
            expected.setEntry(12, 3, stored);
        QVERIFY(document().tilesets == expected); // that field and nothing else
        QCOMPARE((rename ? list()->node(4) : entryNode(12))->text(0), label);
        QTEST(document().changesMade, "changed");
    }

    void escapeKeepsTheOfferedText_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QByteArray>("field"); // name 3 or entry 12 of tileset 3
        QTest::addColumn<QString>("offered");  // null: no editor opens
        QTest::newRow("name, blanks typed before the NUL")
            << u"rename"_s << field("Moss  ", NameWidth) << u"Moss  "_s;
        QTest::newRow("name without NUL")
            << u"rename"_s << padFixedText("Generic", NameWidth) << u"Generic"_s.leftJustified(33);
        QTest::newRow("entry, blanks around")
            << u"F2"_s << field("   Lead ", EntryWidth) << u"Lead"_s;
        QTest::newRow("category") << u"category"_s << field("3:12", EntryWidth) << QString();
    }
    void escapeKeepsTheOfferedText()
    {
        QFETCH(QString, how);
        QFETCH(QByteArray, field);
        QFETCH(QString, offered);
        TilesetTable table = TestFiles::numberedTable(5, 151);
        if (how == u"rename"_s)
            table.setTilesetName(3, field);
        else
            table.setEntry(12, 3, field);
        open(table);
        QLineEdit *line = startEdit(3, how);
        QCOMPARE(line ? line->text() : QString(), offered);
        if (line) {
            QTest::keyClicks(line, u"Lava"_s);
            QTest::keyClick(line, Qt::Key_Escape);
        }
        QVERIFY(document().tilesets == table && !document().changesMade);
    }

    void clickOnAnotherTilesetEndsTheEdit()
    {
        open(TestFiles::numberedTable(5, 151));
        QLineEdit *line = startEdit(3, u"F2"_s);
        QVERIFY(line);
        line->setText(u"Rubble"_s);
        click(list(), list()->node(2)); // the edit belongs to tileset 3 all the same
        QTRY_VERIFY(!editor(tree()));
        QCOMPARE(document().entry(12, 3), field("Rubble", EntryWidth));
        QCOMPARE(list()->selectedTileset(), 1);
        QCOMPARE(entryNode(12)->text(0), u"012. 1:12"_s);
    }

    void goToEntry_data()
    {
        QTest::addColumn<int>("entries");
        QTest::addColumn<QString>("answer"); // null: Cancel
        QTest::addColumn<int>("entry");      // -1: the selection stays on node 1
        QTest::newRow("57") << 151 << u"57"_s << 57;
        QTest::newRow("150") << 151 << u"150"_s << 150;
        QTest::newRow("2.5 goes to 2") << 151 << u"2.5"_s << 2;
        QTest::newRow("3.5 goes to 4") << 151 << u"3.5"_s << 4;
        QTest::newRow("blanks around") << 151 << u" 7 "_s << 7;
        QTest::newRow("151") << 151 << u"151"_s << -1;
        QTest::newRow("-1") << 151 << u"-1"_s << -1;
        QTest::newRow("not a number") << 151 << u"rocks"_s << -1;
        QTest::newRow("Cancel") << 151 << QString() << -1;
        QTest::newRow("99 of 100") << 100 << u"99"_s << 99;
        QTest::newRow("100 of 100") << 100 << u"100"_s << -1;
    }
    void goToEntry()
    {
        QFETCH(int, entries);
        QFETCH(QString, answer);
        QFETCH(int, entry);
        open(TestFiles::numberedTable(2, entries));
        tree()->selectNode(1);
        services().type(answer.isNull() ? std::nullopt : std::optional(answer));
        QVERIFY(mFixture->trigger(u"mnugoto"_s));
        QCOMPARE(tree()->selectedNodeIndex(), entry < 0 ? 1 : int(tree()->entryNode(entry)));
        QVERIFY(!tree()->currentItem()->parent() || tree()->currentItem()->parent()->isExpanded());
    }

    // Widths in twips of one layout pass for a client area w x s; start is the tileset list's
    // width before it: negative for a layout already settled at 3360.
    void layoutPass_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("w");
        QTest::addColumn<int>("s");
        QTest::addColumn<QList<int>>("expected"); // tileset list, entry tree, tree height
        QTest::newRow("w 1440") << -1 << 1440 << 6135 << QList<int>{3360, 4125, 5715};
        QTest::newRow("w 1441") << -1 << 1441 << 6135 << QList<int>{331, 720, 5715};
        QTest::newRow("s 780") << -1 << 7875 << 780 << QList<int>{3360, 4125, 5715};
        QTest::newRow("s 781") << -1 << 7875 << 781 << QList<int>{3360, 4125, 361};
        QTest::newRow("room 720") << -1 << 4470 << 6135 << QList<int>{3360, 720, 5715};
        QTest::newRow("room 719") << -1 << 4469 << 6135 << QList<int>{3359, 720, 5715};
        // Room is measured from where the entry tree stood before the pass.
        QTest::newRow("2000, first pass") << 2000 << 7875 << 6135 << QList<int>{2000, 3825, 5715};
        QTest::newRow("room 720 before any pass")
            << 2000 << 4770 << 6135 << QList<int>{3660, 720, 5715};
    }
    void layoutPass()
    {
        QFETCH(int, start);
        QFETCH(int, w);
        QFETCH(int, s);
        WindowLayout layout;
        layout.tilesetList.width = qAbs(start);
        if (start < 0) {
            layout.tilesetList.width = 3360;
            layout.layOut(7875, 6135);
            layout.layOut(7875, 6135);
        }
        layout.layOut(w, s);
        QTEST(
            (QList<int>{layout.tilesetList.width, layout.entryTree.width, layout.entryTree.height}),
            "expected");
        QCOMPARE(layout.splitter.left, layout.tilesetList.width);
        QCOMPARE(layout.entryTree.left, layout.tilesetList.width + 60);
    }

    void splitter_data()
    {
        QTest::addColumn<QList<int>>("targets"); // where the bar is dragged to, in turn
        QTest::addColumn<int>("left");
        QTest::newRow("720") << QList<int>{720} << 3000;
        QTest::newRow("721") << QList<int>{721} << 721;
        QTest::newRow("7095") << QList<int>{7095} << 3000;
        QTest::newRow("7094") << QList<int>{7094} << 7094;
        QTest::newRow("on past the bound") << QList<int>{1000, 721, 700, 500} << 721;
        QTest::newRow("back inside") << QList<int>{400, 900} << 900;
    }
    void splitter()
    {
        QFETCH(QList<int>, targets);
        WindowLayout layout;
        layout.tilesetList.width = 3000;
        layout.layOut(7875, 6135);
        layout.layOut(7875, 6135); // settled
        layout.pressSplitter(30);  // one press; every move is measured from it
        for (int target : std::as_const(targets))
            layout.dragSplitter(target - layout.splitter.left + 30, 7875);
        QTEST(layout.splitter.left, "left");
        QCOMPARE(layout.entryTree.left + layout.entryTree.width, 7875 - 330);
    }

    void splitterByMouse()
    {
        mFixture->writeFile(u"hmktse.ini"_s, "SizerLeft= 3000");
        MainWindow &window = mFixture->start();
        window.show();
        window.layoutTimer()->setInterval(0); // the delayed pass now rather than in 1.5 s
        QTRY_VERIFY(!window.layoutTimer()->isActive());
        SplitterBar *bar = window.splitter();
        QCOMPARE(bar->geometry(), QRect(200, 28, 4, 381)); // 15 twips a pixel
        // Only the left button alone drags; the press is remembered whatever the button.
        QTest::mousePress(bar, Qt::RightButton, {}, QPoint(2, 100));
        drag(bar, 22, Qt::RightButton);
        drag(bar, 22, Qt::LeftButton | Qt::RightButton);
        QCOMPARE(bar->x(), 200);
        drag(bar, 22, Qt::LeftButton);
        QCOMPARE(window.windowLayout().splitter.left, 3300);
        QCOMPARE(bar->x(), 220);
        QCOMPARE(window.tilesetList()->width(), 220);
        QCOMPARE(window.entryTree()->geometry().right() + 1, window.entryToolbar()->x());
    }
};

QTEST_MAIN(TestEditing)
#include "tst_editing.moc"

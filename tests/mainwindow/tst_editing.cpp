#include "entrytree.h"
#include "fixedfield.h"
#include "tilesetfiles.h"
#include "tilesetlist.h"
#include "windowtest.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A text shorter than its field, as it is stored: one NUL, then spaces.
QByteArray field(const QByteArray &text, int width)
{
    return text + '\0' + QByteArray(width - text.size() - 1, ' ');
}

// Types character by character as a keyboard would, so the editor's own checks apply.
void type(QWidget *editor, const QString &text)
{
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, editor, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

void click(QTreeWidget *tree, QTreeWidgetItem *item, bool twice = false)
{
    tree->scrollToItem(item);
    const QPoint centre = tree->visualItemRect(item).center();
    if (twice)
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, centre);
    else
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, centre);
}

// The label editor open in the tree, or nullptr. A closed editor is hidden at once and
// deleted later.
QLineEdit *editor(QTreeWidget *tree)
{
    for (QLineEdit *e : tree->viewport()->findChildren<QLineEdit *>()) {
        if (e->isVisible())
            return e;
    }
    return nullptr;
}

// Return in the editor; true once the delegate has committed and closed it.
bool confirm(QTreeWidget *tree, QLineEdit *line)
{
    QTest::keyClick(line, Qt::Key_Return);
    return QTest::qWaitFor([&] { return !editor(tree); });
}

} // namespace

class TestEditing : public WindowTest
{
    Q_OBJECT

    Document &document() { return mFixture->document(); }
    TilesetList *list() { return mFixture->window().tilesetList(); }
    EntryTree *tree() { return mFixture->window().entryTree(); }
    QTreeWidgetItem *entryNode(int entry) { return tree()->node(tree()->entryNode(entry)); }

    void openFile(const TilesetTable &table)
    {
        MainWindow &window = mFixture->start();
        window.show();
        window.activateWindow(); // F2 and focus changes need an active window
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QVERIFY(mFixture->open(mFixture->writeFile(u"edit.dat"_s, TestFiles::fileBytes(table))));
    }
    QLineEdit *startRename(int tileset)
    {
        click(list(), list()->node(tileset + 1), true);
        return editor(list());
    }
    // Selects the tileset and the node, then starts the edit: "double-click", "menu" or "F2".
    QLineEdit *startEntryEdit(int tileset, QTreeWidgetItem *item,
                              const QString &start = u"double-click"_s)
    {
        click(list(), list()->node(tileset + 1));
        click(tree(), item, start == u"double-click"_s);
        if (start == u"menu"_s)
            mFixture->trigger(u"mnueditentry"_s);
        else if (start == u"F2"_s)
            QTest::keyClick(tree(), Qt::Key_F2);
        return editor(tree());
    }

private Q_SLOTS:

    void confirmedEditIsStored_data()
    {
        QTest::addColumn<QString>("start"); // "rename" tileset 3, or how entry 12 is edited
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("shown"); // in the label, after number and description
        QTest::addColumn<bool>("changed");
        const QString text33 = u"Abcdefghijklmnopqrstuvwxyz0123456"_s;
        const QString text40 = text33 + u"789ABCD"_s;
        const QString text32 = text33.left(32);
        const QString rename = u"rename"_s;
        QTest::newRow("name, 33 characters, no NUL")
            << rename << text33 << text33.toLatin1() << text33 << true;
        QTest::newRow("name, 40 characters, first 33 kept")
            << rename << text40 << text33.toLatin1() << text40 << true;
        QTest::newRow("name, blanks kept as typed")
            << rename << u" Moss "_s << field(" Moss ", NameWidth) << u" Moss "_s << true;
        QTest::newRow("name unchanged")
            << rename << u"Set 3"_s << field("Set 3", NameWidth) << u"Set 3"_s << false;
        QTest::newRow("entry, 32 characters, no NUL")
            << u"double-click"_s << text32 << text32.toLatin1() << text32 << true;
        QTest::newRow("entry by menu, 40 characters, first 32 kept")
            << u"menu"_s << text40 << text32.toLatin1() << text40 << true;
        QTest::newRow("entry by F2, unchanged")
            << u"F2"_s << u"3:12"_s << field("3:12", EntryWidth) << u"3:12"_s << false;
        QTest::newRow("Windows-1252 letter is one byte")
            << u"double-click"_s << u"Caf\u00e9"_s << field("Caf\xe9", EntryWidth) << u"Caf\u00e9"_s
            << true;
        // What the editor shows is what the field can hold.
        QTest::newRow("character outside Windows-1252 is not taken")
            << u"double-click"_s << u"A\u4e2dB"_s << field("AB", EntryWidth) << u"AB"_s << true;
    }

    void confirmedEditIsStored()
    {
        QFETCH(QString, start);
        QFETCH(QString, typed);
        QFETCH(QByteArray, stored);
        QFETCH(QString, shown);
        const bool rename = start == u"rename"_s;
        // Descriptions on; 151 entries, so that after opening category node 1 is selected,
        // which a rename ignores.
        mFixture->writeFile(u"desc.txt"_s, QByteArray("\r\n").repeated(12) + "Cobbles\r\n");
        openFile(TestFiles::numberedTable(5, 151));
        QVERIFY(mFixture->trigger(u"mnudisplaynames"_s));
        TilesetTable expected = document().tilesets;
        QTreeWidget *edited = rename ? static_cast<QTreeWidget *>(list()) : tree();
        QTreeWidgetItem *node = rename ? list()->node(4) : entryNode(12);
        QLineEdit *line = rename ? startRename(3) : startEntryEdit(3, node, start);
        QVERIFY(line);
        // The bare text in the editor; the numbered label stays while it is open.
        const QString prefix = rename ? u"03. "_s : u"012. Cobbles: "_s;
        QCOMPARE(line->text(), rename ? u"Set 3"_s : u"3:12"_s);
        QCOMPARE(node->text(0), prefix + line->text());
        line->clear();
        type(line, typed);
        QVERIFY(confirm(edited, line));
        if (rename)
            expected.setTilesetName(3, stored);
        else
            expected.setEntry(12, 3, stored);
        QCOMPARE(rename ? document().tilesetName(3).toByteArray()
                        : document().entry(12, 3).toByteArray(),
                 stored);
        QVERIFY(document().tilesets == expected); // nothing else
        QCOMPARE(node->text(0), prefix + shown);
        QTEST(document().changesMade, "changed");
    }

    void escapeKeepsTheOfferedText()
    {
        TilesetTable table = TestFiles::numberedTable(5, 151);
        table.setTilesetName(3, field("Moss  ", NameWidth)); // blanks typed before the NUL
        table.setEntry(12, 3, field("   Lead", EntryWidth));
        openFile(table);
        QLineEdit *line = startRename(3);
        QVERIFY(line);
        QCOMPARE(line->text(), u"Moss  "_s);
        type(line, u"Lava"_s);
        QTest::keyClick(line, Qt::Key_Escape);
        line = startEntryEdit(3, entryNode(12));
        QVERIFY(line);
        QCOMPARE(line->text(), u"Lead"_s); // leading blanks are not offered
        type(line, u"Lava"_s);
        QTest::keyClick(line, Qt::Key_Escape);
        QVERIFY(!editor(list()) && !editor(tree()));
        QVERIFY(document().tilesets == table);
        QCOMPARE(list()->node(4)->text(0), u"03. Moss"_s);
        QCOMPARE(entryNode(12)->text(0), u"012.    Lead"_s);
        QVERIFY(!document().changesMade);
    }

    void secondClickNeverEdits()
    {
        openFile(TestFiles::numberedTable(12, 151));
        const int wait = QApplication::doubleClickInterval() + 100;
        const std::pair<QTreeWidget *, QTreeWidgetItem *> targets[] = {{list(), list()->node(5)},
                                                                       {tree(), entryNode(20)}};
        for (const auto &[view, item] : targets) {
            click(view, item);
            QTest::qWait(wait);
            click(view, item);
            QTest::qWait(wait);
            QCOMPARE(view->currentItem(), item);
            QVERIFY(!editor(view));
        }
        QVERIFY(!document().changesMade);
    }

    void categoryNodeIsNotEdited()
    {
        openFile(TestFiles::numberedTable(5, 151));
        const TilesetTable before = document().tilesets;
        QTreeWidgetItem *category = tree()->categoryNode(2);
        const QString label = category->text(0);
        QVERIFY(!startEntryEdit(3, category, u"F2"_s));
        QCOMPARE(category->text(0), label);
        QVERIFY(document().tilesets == before);
        QVERIFY(!document().changesMade);
    }

    void clickOnAnotherTilesetEndsTheEdit()
    {
        openFile(TestFiles::numberedTable(5, 151));
        QLineEdit *line = startEntryEdit(3, entryNode(12));
        QVERIFY(line);
        line->clear();
        type(line, u"Rubble"_s);
        // The edit ends before the click moves the selection: it belongs to tileset 3.
        click(list(), list()->node(2));
        QVERIFY(QTest::qWaitFor([&] { return !editor(tree()); }));
        QCOMPARE(document().entry(12, 3).toByteArray(), field("Rubble", EntryWidth));
        QCOMPARE(document().entry(12, 1).toByteArray(), field("1:12", EntryWidth));
        QCOMPARE(list()->selectedTileset(), 1);
        QCOMPARE(entryNode(12)->text(0), u"012. 1:12"_s);
    }
};

QTEST_MAIN(TestEditing)
#include "tst_editing.moc"

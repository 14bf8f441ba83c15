#include "entrytree.h"
#include "fixedfield.h"
#include "tilesetfiles.h"
#include "tilesetlist.h"
#include "windowfixture.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// How an entry edit is started.
enum class Start
{
    DoubleClick,
    Menu,
    F2Key
};

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

} // namespace

class TestEditing : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void renameStoresTheName_data();
    void renameStoresTheName();
    void renameOffersBlanksBeforeTheTerminator();
    void renameEscapeChangesNothing();
    void renameWithCategoryNodeSelected();
    void secondClickNeverEdits();
    void editEntryStoresTheText_data();
    void editEntryStoresTheText();
    void editEntryStartedByMenuOrKey_data();
    void editEntryStartedByMenuOrKey();
    void editEntryEscapeChangesNothing();
    void clickOnAnotherTilesetEndsTheEdit();
    void categoryNodeIsNotEdited_data();
    void categoryNodeIsNotEdited();
    void editedNodeShowsItsDescription();
    void leadingBlanksAreNotOffered();

private:
    Form1 &openFile(const TilesetTable &table);
    Form1 &openNumbered(int tilesets, int entries)
    {
        return openFile(TestFiles::numberedTable(tilesets, entries));
    }
    void click(QTreeWidget *tree, QTreeWidgetItem *item);
    void doubleClick(QTreeWidget *tree, QTreeWidgetItem *item);
    // The label editor open in the tree, or nullptr.
    QLineEdit *editor(QTreeWidget *tree) const;
    QLineEdit *startRename(int tileset);
    QLineEdit *startEntryEdit(int tileset, int entry, Start start = Start::DoubleClick);
    // Return in the editor; true once the editor has closed.
    bool confirm(QTreeWidget *tree, QLineEdit *line);

    std::unique_ptr<WindowFixture> mFixture;
};

void TestEditing::init()
{
    mFixture = std::make_unique<WindowFixture>();
}

void TestEditing::cleanup()
{
    QVERIFY2(mFixture->services.unexpected.isEmpty(),
             qPrintable(mFixture->services.unexpected.join(u"; "_s)));
    QVERIFY(mFixture->services.allAnswersUsed());
    mFixture.reset();
}

Form1 &TestEditing::openFile(const TilesetTable &table)
{
    Form1 &window = mFixture->start();
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        qFatal("window not shown");
    const QString path = mFixture->writeFile(u"edit.dat"_s, TestFiles::fileBytes(table));
    if (!mFixture->open(path))
        qFatal("open failed");
    return window;
}

void TestEditing::click(QTreeWidget *tree, QTreeWidgetItem *item)
{
    tree->scrollToItem(item);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
}

void TestEditing::doubleClick(QTreeWidget *tree, QTreeWidgetItem *item)
{
    tree->scrollToItem(item);
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
}

QLineEdit *TestEditing::editor(QTreeWidget *tree) const
{
    // A closed editor is hidden at once and deleted later.
    const QList<QLineEdit *> editors = tree->viewport()->findChildren<QLineEdit *>();
    for (QLineEdit *e : editors) {
        if (e->isVisible())
            return e;
    }
    return nullptr;
}

QLineEdit *TestEditing::startRename(int tileset)
{
    TilesetList *list = mFixture->window().NewList1;
    doubleClick(list, list->node(tileset + 1));
    return editor(list);
}

QLineEdit *TestEditing::startEntryEdit(int tileset, int entry, Start start)
{
    Form1 &window = mFixture->window();
    click(window.NewList1, window.NewList1->node(tileset + 1));
    EntryTree *tree = window.NewList2;
    QTreeWidgetItem *item = tree->node(tree->EntryNode(entry));
    click(tree, item);
    switch (start) {
    case Start::DoubleClick:
        doubleClick(tree, item);
        break;
    case Start::Menu:
        mFixture->trigger(u"mnueditentry"_s);
        break;
    case Start::F2Key:
        QTest::keyClick(tree, Qt::Key_F2);
        break;
    }
    return editor(tree);
}

bool TestEditing::confirm(QTreeWidget *tree, QLineEdit *line)
{
    QTest::keyClick(line, Qt::Key_Return);
    // The delegate commits and closes from the event loop.
    return QTest::qWaitFor([&] { return !editor(tree); });
}

void TestEditing::renameStoresTheName_data()
{
    QTest::addColumn<int>("tileset");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("label");
    QTest::addColumn<bool>("changed");
    const QString name33 = u"Abcdefghijklmnopqrstuvwxyz0123456"_s;
    const QString name40 = name33 + u"789ABCD"_s;
    QTest::newRow("5 characters") << 7 << u"Grass"_s << field("Grass", NameWidth) << u"07. Grass"_s
                                  << true;
    QTest::newRow("33 characters, no NUL")
        << 7 << name33 << name33.toLatin1() << u"07. "_s + name33 << true;
    QTest::newRow("40 characters, first 33 kept")
        << 7 << name40 << name33.toLatin1() << u"07. "_s + name40 << true;
    QTest::newRow("blanks kept as typed")
        << 7 << u" Moss "_s << field(" Moss ", NameWidth) << u"07.  Moss "_s << true;
    QTest::newRow("unchanged") << 7 << u"Set 7"_s << field("Set 7", NameWidth) << u"07. Set 7"_s
                               << false;
    QTest::newRow("head of the first group")
        << 0 << u"Grass"_s << field("Grass", NameWidth) << u"00. Grass"_s << true;
    QTest::newRow("head of the second group")
        << 50 << u"Grass"_s << field("Grass", NameWidth) << u"50. Grass"_s << true;
}

void TestEditing::renameStoresTheName()
{
    QFETCH(int, tileset);
    QFETCH(QString, typed);
    QFETCH(QByteArray, stored);
    Form1 &window = openNumbered(60, 3);
    const TilesetTable before = mFixture->document().Tilesets;
    QTreeWidgetItem *node = window.NewList1->node(tileset + 1);
    const QString numbered = node->text(0);
    QLineEdit *line = startRename(tileset);
    QVERIFY(line);
    QCOMPARE(line->text(), u"Set %1"_s.arg(tileset)); // the bare name, no number
    QCOMPARE(node->text(0), numbered);                // while the editor is open

    line->clear();
    type(line, typed);
    QVERIFY(confirm(window.NewList1, line));
    QCOMPARE(mFixture->document().TilesetNames(tileset).toByteArray(), stored);
    QTEST(node->text(0), "label");
    QTEST(mFixture->document().ChangesMade, "changed");
    // Nothing but the one name changed.
    TilesetTable expected = before;
    expected.setTilesetName(tileset, stored);
    QVERIFY(mFixture->document().Tilesets == expected);
    QCOMPARE(window.NewList1->node(tileset + 2)->text(0),
             u"%1. Set %2"_s.arg(tileset + 1, 2, 10, QChar(u'0')).arg(tileset + 1));
}

void TestEditing::renameOffersBlanksBeforeTheTerminator()
{
    TilesetTable table = TestFiles::numberedTable(9, 3);
    table.setTilesetName(7, field("Moss  ", NameWidth));
    openFile(table);
    QLineEdit *line = startRename(7);
    QVERIFY(line);
    QCOMPARE(line->text(), u"Moss  "_s); // typed blanks are part of the name
    QVERIFY(confirm(mFixture->window().NewList1, line));
    QCOMPARE(mFixture->document().TilesetNames(7).toByteArray(), field("Moss  ", NameWidth));
}

void TestEditing::renameEscapeChangesNothing()
{
    Form1 &window = openNumbered(12, 3);
    const TilesetTable before = mFixture->document().Tilesets;
    QLineEdit *line = startRename(7);
    QVERIFY(line);
    line->clear();
    type(line, u"Lava"_s);
    QTest::keyClick(line, Qt::Key_Escape);
    QVERIFY(!editor(window.NewList1));
    QVERIFY(mFixture->document().Tilesets == before);
    QCOMPARE(window.NewList1->node(8)->text(0), u"07. Set 7"_s);
    QVERIFY(!mFixture->document().ChangesMade);
}

void TestEditing::renameWithCategoryNodeSelected()
{
    Form1 &window = openNumbered(12, 151);
    window.NewList2->selectNode(1); // category "Ground textures"
    QCOMPARE(window.NewList2->NodeEntry(1), -1);
    QLineEdit *line = startRename(3);
    QVERIFY(line);
    line->clear();
    type(line, u"Swamp"_s);
    QVERIFY(confirm(window.NewList1, line));
    QCOMPARE(mFixture->document().TilesetNames(3).toByteArray(), field("Swamp", NameWidth));
    QCOMPARE(window.NewList1->node(4)->text(0), u"03. Swamp"_s);
    QVERIFY(mFixture->document().ChangesMade);
}

void TestEditing::secondClickNeverEdits()
{
    Form1 &window = openNumbered(12, 151);
    const int wait = QApplication::doubleClickInterval() + 100;
    QTreeWidget *trees[] = {window.NewList1, window.NewList2};
    QTreeWidgetItem *items[] = {window.NewList1->node(5),
                                window.NewList2->node(window.NewList2->EntryNode(20))};
    for (int i = 0; i < 2; ++i) {
        click(trees[i], items[i]);
        QTest::qWait(wait);
        click(trees[i], items[i]);
        QTest::qWait(wait);
        QCOMPARE(trees[i]->currentItem(), items[i]);
        QVERIFY(!editor(trees[i]));
    }
    QVERIFY(!mFixture->document().ChangesMade);
}

void TestEditing::editEntryStoresTheText_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("label");
    QTest::addColumn<bool>("changed");
    const QString text32 = u"Abcdefghijklmnopqrstuvwxyz012345"_s;
    const QString text40 = text32 + u"6789ABCD"_s;
    QTest::newRow("32 characters, no NUL")
        << text32 << text32.toLatin1() << u"012. "_s + text32 << true;
    QTest::newRow("5 characters") << u"Stone"_s << field("Stone", EntryWidth) << u"012. Stone"_s
                                  << true;
    QTest::newRow("40 characters, first 32 kept")
        << text40 << text32.toLatin1() << u"012. "_s + text40 << true;
    QTest::newRow("unchanged") << u"3:12"_s << field("3:12", EntryWidth) << u"012. 3:12"_s << false;
    QTest::newRow("Windows-1252 letter is one byte")
        << u"Caf\u00e9"_s << field("Caf\xe9", EntryWidth) << u"012. Caf\u00e9"_s << true;
    // What the editor shows is what the field can hold.
    QTest::newRow("character outside Windows-1252 is not taken")
        << u"A\u4e2dB"_s << field("AB", EntryWidth) << u"012. AB"_s << true;
}

void TestEditing::editEntryStoresTheText()
{
    QFETCH(QString, typed);
    QFETCH(QByteArray, stored);
    QFETCH(QString, label);
    Form1 &window = openNumbered(5, 151);
    const TilesetTable before = mFixture->document().Tilesets;
    QLineEdit *line = startEntryEdit(3, 12);
    QVERIFY(line);
    QCOMPARE(line->text(), u"3:12"_s);
    line->clear();
    type(line, typed);
    QCOMPARE(line->text(), label.mid(5));
    QVERIFY(confirm(window.NewList2, line));
    EntryTree *tree = window.NewList2;
    QCOMPARE(mFixture->document().Entries(12, 3).toByteArray(), stored);
    QCOMPARE(tree->node(tree->EntryNode(12))->text(0), label);
    QTEST(mFixture->document().ChangesMade, "changed");
    TilesetTable expected = before;
    expected.setEntry(12, 3, stored);
    QVERIFY(mFixture->document().Tilesets == expected);
    QCOMPARE(tree->node(tree->EntryNode(13))->text(0), u"013. 3:13"_s);
}

void TestEditing::editEntryStartedByMenuOrKey_data()
{
    QTest::addColumn<int>("start");
    QTest::newRow("Edit entry menu item") << int(Start::Menu);
    QTest::newRow("F2") << int(Start::F2Key);
}

void TestEditing::editEntryStartedByMenuOrKey()
{
    QFETCH(int, start);
    Form1 &window = openNumbered(5, 151);
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QLineEdit *line = startEntryEdit(3, 12, Start(start));
    QVERIFY(line);
    QCOMPARE(line->text(), u"3:12"_s);
    line->clear();
    type(line, u"Rubble"_s);
    QVERIFY(confirm(window.NewList2, line));
    QCOMPARE(mFixture->document().Entries(12, 3).toByteArray(), field("Rubble", EntryWidth));
    QCOMPARE(window.NewList2->currentItem()->text(0), u"012. Rubble"_s);
    QVERIFY(mFixture->document().ChangesMade);
}

void TestEditing::editEntryEscapeChangesNothing()
{
    Form1 &window = openNumbered(5, 151);
    const TilesetTable before = mFixture->document().Tilesets;
    QLineEdit *line = startEntryEdit(3, 12);
    QVERIFY(line);
    line->clear();
    type(line, u"Rubble"_s);
    QTest::keyClick(line, Qt::Key_Escape);
    QVERIFY(!editor(window.NewList2));
    QVERIFY(mFixture->document().Tilesets == before);
    QCOMPARE(window.NewList2->currentItem()->text(0), u"012. 3:12"_s);
    QVERIFY(!mFixture->document().ChangesMade);
}

void TestEditing::clickOnAnotherTilesetEndsTheEdit()
{
    Form1 &window = openNumbered(5, 151);
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QLineEdit *line = startEntryEdit(3, 12);
    QVERIFY(line);
    line->clear();
    type(line, u"Rubble"_s);
    // The edit ends before the click moves the selection: it belongs to tileset 3.
    click(window.NewList1, window.NewList1->node(2));
    QVERIFY(QTest::qWaitFor([&] { return !editor(window.NewList2); }));
    QCOMPARE(mFixture->document().Entries(12, 3).toByteArray(), field("Rubble", EntryWidth));
    QCOMPARE(mFixture->document().Entries(12, 1).toByteArray(), field("1:12", EntryWidth));
    QCOMPARE(window.NewList1->selectedTileset(), 1);
    QCOMPARE(window.NewList2->node(window.NewList2->EntryNode(12))->text(0), u"012. 1:12"_s);
}

void TestEditing::categoryNodeIsNotEdited_data()
{
    editEntryStartedByMenuOrKey_data();
    QTest::newRow("double-click") << int(Start::DoubleClick);
}

void TestEditing::categoryNodeIsNotEdited()
{
    QFETCH(int, start);
    Form1 &window = openNumbered(5, 151);
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    const TilesetTable before = mFixture->document().Tilesets;
    EntryTree *tree = window.NewList2;
    QTreeWidgetItem *category = tree->categoryNode(2);
    const QString label = category->text(0);
    click(tree, category);
    if (Start(start) == Start::DoubleClick)
        doubleClick(tree, category);
    else if (Start(start) == Start::Menu)
        QVERIFY(mFixture->trigger(u"mnueditentry"_s));
    else
        QTest::keyClick(tree, Qt::Key_F2);
    QVERIFY(!editor(tree));
    QCOMPARE(category->text(0), label);
    QVERIFY(mFixture->document().Tilesets == before);
    QVERIFY(!mFixture->document().ChangesMade);
}

void TestEditing::editedNodeShowsItsDescription()
{
    QByteArray lines;
    for (int k = 0; k < 14; ++k)
        lines += (k == 11 ? "Mud" : k == 12 ? "Cobbles" : "") + QByteArray("\r\n");
    mFixture->writeFile(u"desc.txt"_s, lines);
    Form1 &window = openNumbered(5, 151);
    QAction *show = window.findChild<QAction *>(u"mnudisplaynames"_s);
    if (!show->isChecked())
        QVERIFY(mFixture->trigger(u"mnudisplaynames"_s));
    QVERIFY(show->isChecked());

    QLineEdit *line = startEntryEdit(3, 12);
    QVERIFY(line);
    QCOMPARE(line->text(), u"3:12"_s); // neither number nor description
    QCOMPARE(window.NewList2->currentItem()->text(0), u"012. Cobbles: 3:12"_s);
    line->clear();
    type(line, u"Slate"_s);
    QVERIFY(confirm(window.NewList2, line));
    EntryTree *tree = window.NewList2;
    QCOMPARE(tree->node(tree->EntryNode(12))->text(0), u"012. Cobbles: Slate"_s);
    QCOMPARE(tree->node(tree->EntryNode(11))->text(0), u"011. Mud: 3:11"_s);
    QCOMPARE(tree->node(tree->EntryNode(13))->text(0), u"013. 3:13"_s);
}

void TestEditing::leadingBlanksAreNotOffered()
{
    TilesetTable table = TestFiles::numberedTable(5, 151);
    table.setEntry(12, 3, field("   Lead", EntryWidth));
    Form1 &window = openFile(table);
    QLineEdit *line = startEntryEdit(3, 12);
    QVERIFY(line);
    QCOMPARE(line->text(), u"Lead"_s);
    QTest::keyClick(line, Qt::Key_Escape);
    QVERIFY(!editor(window.NewList2));
    QCOMPARE(mFixture->document().Entries(12, 3).toByteArray(), field("   Lead", EntryWidth));
}

QTEST_MAIN(TestEditing)
#include "tst_editing.moc"

#include "entrytoolbar.h"
#include "entrytree.h"
#include "tilesetlist.h"
#include "windowfixture.h"

#include <QAction>
#include <QTest>

#include <optional>

using namespace Qt::StringLiterals;

class TestNavigation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void goToEntry_data();
    void goToEntry();
    void goToEntryInFlatDocuments_data();
    void goToEntryInFlatDocuments();
    void expandCollapseAllButton();
    void categoryButtonLeavesTheRememberedNode();
    void clickRemembersTheEntryNode();
    void openSelectsTheRememberedNode();
    void clickOnTilesetRelabels();
    void arrowKeyRelabelsByRelease();

private:
    Form1 &openFile(int tilesets, int entries);
    QPoint centreOf(QTreeWidget *tree, QTreeWidgetItem *item) const
    {
        return tree->visualItemRect(item).center();
    }

    std::unique_ptr<WindowFixture> mFixture;
};

void TestNavigation::init()
{
    mFixture = std::make_unique<WindowFixture>();
}

void TestNavigation::cleanup()
{
    QVERIFY2(mFixture->services.unexpected.isEmpty(),
             qPrintable(mFixture->services.unexpected.join(u"; "_s)));
    QVERIFY(mFixture->services.allAnswersUsed());
    mFixture.reset();
}

Form1 &TestNavigation::openFile(int tilesets, int entries)
{
    Form1 &window = mFixture->start();
    window.show();
    if (!mFixture->open(mFixture->writeNumberedFile(u"nav.dat"_s, tilesets, entries)))
        qFatal("open failed");
    return window;
}

void TestNavigation::goToEntry_data()
{
    QTest::addColumn<std::optional<QString>>("answer");
    QTest::addColumn<int>("entry"); // -1: the selection stays on node 1
    QTest::newRow("57") << std::optional(u"57"_s) << 57;
    QTest::newRow("150") << std::optional(u"150"_s) << 150;
    QTest::newRow("0") << std::optional(u"0"_s) << 0;
    QTest::newRow("2.5 goes to 2") << std::optional(u"2.5"_s) << 2;
    QTest::newRow("3.5 goes to 4") << std::optional(u"3.5"_s) << 4;
    QTest::newRow("blanks around") << std::optional(u" 7 "_s) << 7;
    QTest::newRow("151") << std::optional(u"151"_s) << -1;
    QTest::newRow("-1") << std::optional(u"-1"_s) << -1;
    QTest::newRow("not a number") << std::optional(u"rocks"_s) << -1;
    QTest::newRow("empty") << std::optional(QString()) << -1;
    QTest::newRow("Cancel") << std::optional<QString>() << -1;
}

void TestNavigation::goToEntry()
{
    QFETCH(std::optional<QString>, answer);
    QFETCH(int, entry);
    Form1 &window = openFile(2, 151);
    EntryTree *tree = window.NewList2;
    tree->selectNode(1);
    mFixture->services.type(answer);
    QVERIFY(mFixture->trigger(u"mnugoto"_s));
    if (entry < 0) {
        QCOMPARE(tree->selectedNodeIndex(), 1);
    } else {
        QCOMPARE(tree->NodeEntry(tree->selectedNodeIndex()), entry);
        QVERIFY(tree->currentItem()->parent()->isExpanded());
    }
    if (entry == 57)
        QCOMPARE(tree->currentItem()->parent(), tree->categoryNode(12)); // "Wall decals"
    if (entry == 150)
        QCOMPARE(tree->selectedNodeIndex(), 167);
    QVERIFY(mFixture->services.messages.isEmpty());
}

void TestNavigation::goToEntryInFlatDocuments_data()
{
    QTest::addColumn<int>("entries");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("node");
    QTest::newRow("120 of 100 entries") << 100 << u"120"_s << 1;
    QTest::newRow("99 of 100 entries") << 100 << u"99"_s << 100;
    QTest::newRow("above 150 of 200") << 200 << u"170"_s << 1;
}

void TestNavigation::goToEntryInFlatDocuments()
{
    QFETCH(int, entries);
    QFETCH(QString, answer);
    Form1 &window = openFile(2, entries);
    mFixture->services.type(answer);
    QVERIFY(mFixture->trigger(u"mnugoto"_s));
    QTEST(window.NewList2->selectedNodeIndex(), "node");
}

void TestNavigation::expandCollapseAllButton()
{
    Form1 &window = openFile(1, 151);
    EntryTree *tree = window.NewList2;
    for (int c = 0; c < 16; ++c)
        tree->categoryNode(c)->setExpanded(c == 3);
    window.Toolbar2->button(1)->trigger();
    for (int c = 0; c < 16; ++c)
        QVERIFY(tree->categoryNode(c)->isExpanded());
    window.Toolbar2->button(1)->trigger();
    for (int c = 0; c < 16; ++c)
        QVERIFY(!tree->categoryNode(c)->isExpanded());
}

void TestNavigation::categoryButtonLeavesTheRememberedNode()
{
    Form1 &window = openFile(1, 151);
    window.NewList2->SelectedEntryNode = 40;
    window.Toolbar2->button(8)->trigger(); // "Rocks", category 5
    QTreeWidgetItem *rocks = window.NewList2->categoryNode(5);
    QVERIFY(rocks->isExpanded());
    QCOMPARE(window.NewList2->currentItem(), rocks);
    QCOMPARE(window.NewList2->SelectedEntryNode, 40);
}

void TestNavigation::clickRemembersTheEntryNode()
{
    Form1 &window = openFile(1, 151);
    EntryTree *tree = window.NewList2;
    tree->selectNode(14);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, centreOf(tree, tree->node(14)));
    QCOMPARE(tree->SelectedEntryNode, 14);
    // Moving with the keyboard does not count as a click.
    QTest::keyClick(tree, Qt::Key_Down);
    QCOMPARE(tree->SelectedEntryNode, 14);
}

void TestNavigation::openSelectsTheRememberedNode()
{
    Form1 &window = mFixture->start();
    window.show();
    window.NewList2->SelectedEntryNode = 40;
    QVERIFY(mFixture->open(mFixture->writeNumberedFile(u"a.dat"_s, 2, 151)));
    QCOMPARE(window.NewList2->selectedNodeIndex(), 40);
    QVERIFY(window.NewList2->node(40)->parent()->isExpanded());
    QCOMPARE(window.NewList1->selectedTileset(), 0);
}

void TestNavigation::clickOnTilesetRelabels()
{
    Form1 &window = openFile(60, 151);
    TilesetList *list = window.NewList1;
    QTreeWidgetItem *item = list->node(53);
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centreOf(list, item));
    QCOMPARE(list->selectedTileset(), 52);
    QCOMPARE(window.NewList2->node(window.NewList2->EntryNode(57))->text(0), u"057. 52:57"_s);
}

void TestNavigation::arrowKeyRelabelsByRelease()
{
    Form1 &window = openFile(5, 151);
    TilesetList *list = window.NewList1;
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(list->selectedTileset(), 1);
    QCOMPARE(window.NewList2->node(2)->text(0), u"000. 1:0"_s);
}

QTEST_MAIN(TestNavigation)
#include "tst_navigation.moc"

#include "document.h"
#include "entrycategories.h"
#include "entrytree.h"
#include "fixedfield.h"
#include "textutils.h"
#include "tilesetfiles.h"

#include <QTest>

#include <set>

using namespace Qt::StringLiterals;

class TestEntryTree : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();

    void categoryTableHoldsEveryEntryOnce();
    void categorisedNodesAndMaps();
    void categoryNodeIndexes();
    void identifiersAndIcons();
    void subEntriesSitBelowTheirEntry();
    void tableOrderIsNotNumeric();
    void flatLayout_data();
    void flatLayout();
    void entryTexts();
    void descriptionsBetweenNumberAndText();
    void relabelKeepsNumbers();
    void expandOrCollapseAll();
    void openCategorySelectsIt();

private:
    QString text(int node) const { return mTree->node(node)->text(0); }

    std::unique_ptr<EntryTree> mTree;
    Document mDocument;
};

void TestEntryTree::init()
{
    mTree = std::make_unique<EntryTree>();
    mDocument = Document();
}

void TestEntryTree::categoryTableHoldsEveryEntryOnce()
{
    std::multiset<int> seen;
    for (const EntryCategory &category : EntryCategories)
        for (const CategoryEntry &e : category.entries)
            seen.insert(e.entry);
    QCOMPARE(int(seen.size()), CategorisedEntryCount);
    for (int entry = 0; entry < CategorisedEntryCount; ++entry)
        QCOMPARE(int(seen.count(entry)), 1);
}

void TestEntryTree::categorisedNodesAndMaps()
{
    mTree->build(151);
    QCOMPARE(mTree->nodeCount(), 167);
    QCOMPARE(text(1), u"Ground textures"_s);
    QCOMPARE(text(127), u"Rest"_s);
    QCOMPARE(mTree->entryNode(0), 2);
    QCOMPARE(mTree->entryNode(8), 10);
    QCOMPARE(mTree->entryNode(11), 14);
    QCOMPARE(mTree->entryNode(150), 167);
    QCOMPARE(mTree->nodeEntry(11), -1);
    QCOMPARE(mTree->nodeEntry(167), 150);
    QCOMPARE(text(11), u"Banks & cliffs"_s);
    // The maps are each other's inverse for every entry.
    for (int entry = 0; entry < 151; ++entry)
        QCOMPARE(mTree->nodeEntry(mTree->entryNode(entry)), entry);
    QCOMPARE(mTree->selectedNodeIndex(), 1);
}

void TestEntryTree::categoryNodeIndexes()
{
    mTree->build(151);
    const QList<int> expected{1, 11, 19, 21, 30, 41, 48, 73, 78, 87, 96, 101, 107, 117, 122, 127};
    for (int c = 0; c < 16; ++c) {
        QCOMPARE(mTree->nodeIndex(mTree->categoryNode(c)), expected[c]);
        QCOMPARE(mTree->categoryNode(c)->text(0), EntryCategories[c].name.toString());
        QVERIFY(!mTree->categoryNode(c)->isExpanded());
    }
}

void TestEntryTree::identifiersAndIcons()
{
    mTree->build(151);
    QCOMPARE(mTree->nodeIdentifier(1), u"key 0"_s);
    QCOMPARE(mTree->nodeIdentifier(127), u"key 15"_s);
    QCOMPARE(mTree->nodeIdentifier(2), u"i 1"_s);
    QCOMPARE(mTree->nodeIdentifier(167), u"i 166"_s);
    QVERIFY(mTree->node(2)->isExpanded());
    QVERIFY(!mTree->node(2)->icon(0).isNull());
}

void TestEntryTree::subEntriesSitBelowTheirEntry()
{
    mTree->build(151);
    auto parentEntry = [&](int entry) {
        return mTree->nodeEntry(mTree->nodeIndex(mTree->node(mTree->entryNode(entry))->parent()));
    };
    QCOMPARE(parentEntry(29), 17);
    QCOMPARE(parentEntry(87), 86);
    QCOMPARE(parentEntry(106), 104);
    QCOMPARE(parentEntry(17), -1); // an entry sits below its category
    QCOMPARE(mTree->node(mTree->entryNode(17))->parent(), mTree->categoryNode(4));
}

void TestEntryTree::tableOrderIsNotNumeric()
{
    mTree->build(151);
    QTreeWidgetItem *banks = mTree->categoryNode(1);
    QCOMPARE(mTree->nodeEntry(mTree->nodeIndex(banks->child(2))),
             50); // after 9 and 10 (11 below 10)
    QCOMPARE(mTree->nodeEntry(mTree->nodeIndex(mTree->categoryNode(3)->child(0))), 49);
    QCOMPARE(mTree->nodeEntry(mTree->nodeIndex(mTree->categoryNode(15)->child(0))), 48);
}

void TestEntryTree::flatLayout_data()
{
    QTest::addColumn<int>("entries");
    QTest::newRow("150") << 150;
    QTest::newRow("152") << 152;
    QTest::newRow("1") << 1;
}

void TestEntryTree::flatLayout()
{
    QFETCH(int, entries);
    mTree->build(entries);
    QCOMPARE(mTree->nodeCount(), entries);
    QCOMPARE(mTree->topLevelItemCount(), entries);
    QVERIFY(!mTree->isCategorised());
    for (int n = 1; n <= entries; ++n)
        QCOMPARE(mTree->nodeEntry(n), n - 1);
    QCOMPARE(text(entries), zeroPad(entries - 1, 3) + u". "_s);
    QVERIFY(mTree->nodeIdentifier(1).isEmpty());
}

void TestEntryTree::entryTexts()
{
    mDocument.tilesets = TilesetTable(2, 151);
    mDocument.tilesets.setEntry(0, 1, storeFixedText("grass", EntryWidth));
    mDocument.tilesets.setEntry(1, 1, QByteArray(32, 'x'));                  // no NUL: all 32 shown
    mDocument.tilesets.setEntry(2, 1, storeFixedText("  lead", EntryWidth)); // blanks kept
    mDocument.tilesets.setEntry(3, 1, storeFixedText("caf\xe9", EntryWidth));
    mTree->build(151);
    mTree->refreshEntryTexts(mDocument, 1);
    QCOMPARE(text(mTree->entryNode(0)), u"000. grass"_s);
    QCOMPARE(text(mTree->entryNode(1)), u"001. "_s + QString(32, u'x'));
    QCOMPARE(text(mTree->entryNode(2)), u"002.   lead"_s);
    QCOMPARE(text(mTree->entryNode(3)), u"003. café"_s);
    QCOMPARE(text(mTree->entryNode(4)), u"004. "_s); // never assigned
    QCOMPARE(text(1), u"Ground textures"_s);
}

void TestEntryTree::descriptionsBetweenNumberAndText()
{
    mDocument.tilesets = TestFiles::numberedTable(1, 151);
    QStringList descriptions(151);
    descriptions[0] = u"A"_s;
    descriptions[2] = u"C"_s;
    mTree->setEntryDescriptions(descriptions);
    mTree->build(151);
    mTree->setDescriptionsOn(true);
    mTree->refreshEntryTexts(mDocument, 0);
    QCOMPARE(text(mTree->entryNode(0)), u"000. A: 0:0"_s);
    QCOMPARE(text(mTree->entryNode(1)), u"001. 0:1"_s);
    QCOMPARE(text(mTree->entryNode(2)), u"002. C: 0:2"_s);
    mTree->setDescriptionsOn(false);
    mTree->refreshEntryTexts(mDocument, 0);
    QCOMPARE(text(mTree->entryNode(0)), u"000. 0:0"_s);
}

void TestEntryTree::relabelKeepsNumbers()
{
    mDocument.tilesets = TestFiles::numberedTable(3, 151);
    mTree->build(151);
    mTree->refreshEntryTexts(mDocument, 0);
    mTree->refreshEntryTexts(mDocument, 2);
    for (int entry = 0; entry < 151; ++entry)
        QCOMPARE(text(mTree->entryNode(entry)),
                 zeroPad(entry, 3) + u". 2:"_s + QString::number(entry));
}

void TestEntryTree::expandOrCollapseAll()
{
    mTree->build(151);
    mTree->categoryNode(5)->setExpanded(true); // one open, the rest closed
    mTree->expandOrCollapseAll();
    for (int c = 0; c < 16; ++c)
        QVERIFY(mTree->categoryNode(c)->isExpanded());
    mTree->selectNode(mTree->entryNode(57)); // a selected entry does not hold its category open
    mTree->expandOrCollapseAll();
    for (int c = 0; c < 16; ++c)
        QVERIFY(!mTree->categoryNode(c)->isExpanded());
    // Entry nodes keep their own state: sub-entries show as soon as the category opens.
    QVERIFY(mTree->node(mTree->entryNode(17))->isExpanded());
}

void TestEntryTree::openCategorySelectsIt()
{
    mTree->build(151);
    mTree->setSelectedEntryNode(40);
    mTree->openCategory(5);
    QVERIFY(mTree->categoryNode(5)->isExpanded());
    QCOMPARE(mTree->selectedNodeIndex(), 41);
    QCOMPARE(mTree->selectedEntryNode(), 40); // chosen for the user, not by a click
}

QTEST_MAIN(TestEntryTree)
#include "tst_entrytree.moc"

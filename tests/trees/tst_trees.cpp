#include "document.h"
#include "entrytree.h"
#include "fixedfield.h"
#include "tilesetfiles.h"
#include "tilesetlist.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestTrees : public QObject
{
    Q_OBJECT

    EntryTree mTree;
    Document mDocument;
    QString label(int entry) const { return mTree.node(mTree.entryNode(entry))->text(0); }

private Q_SLOTS:
    void categorisedEntries()
    {
        mTree.build(151);
        QCOMPARE(mTree.nodeCount(), 167);
        QCOMPARE(mTree.topLevelItemCount(), 16);
        QCOMPARE(mTree.selectedNodeIndex(), 1);
        QList<int> seen(151);
        for (int n = 1; n <= 167; ++n) {
            const int entry = mTree.nodeEntry(n);
            QCOMPARE(mTree.node(n)->parent() == nullptr, entry < 0); // categories at the top
            if (entry >= 0 && ++seen[entry] == 1)
                QCOMPARE(mTree.entryNode(entry), n);
        }
        QCOMPARE(seen, QList<int>(151, 1)); // every entry exactly once
        // A sub-entry sits below the entry listed before it.
        QCOMPARE(mTree.nodeEntry(mTree.nodeIndex(mTree.node(mTree.entryNode(29))->parent())), 17);
    }

    void flatEntries_data()
    {
        QTest::addColumn<int>("entries");
        QTest::newRow("1") << 1;
        QTest::newRow("150") << 150;
        QTest::newRow("152") << 152;
    }
    void flatEntries()
    {
        QFETCH(int, entries);
        mTree.build(entries);
        QCOMPARE(mTree.topLevelItemCount(), entries);
        QVERIFY(!mTree.isCategorised());
        QCOMPARE(mTree.nodeEntry(entries), entries - 1);
        QCOMPARE(mTree.node(entries)->text(0), u"%1. "_s.arg(entries - 1, 3, 10, QChar(u'0')));
    }

    void entryLabels()
    {
        mDocument.tilesets = TestFiles::numberedTable(2, 151);
        mDocument.tilesets.setEntry(1, 1, QByteArray(32, 'x'));                     // all 32 shown
        mDocument.tilesets.setEntry(2, 1, storeFixedText("  caf\xe9", EntryWidth)); // blanks kept
        mDocument.tilesets.setEntry(3, 1, QByteArray(32, '\0')); // never assigned
        QStringList descriptions(151);
        descriptions[0] = u"Grass"_s;
        mTree.setEntryDescriptions(descriptions);
        mTree.build(151);
        mTree.refreshEntryTexts(mDocument, 0);
        mTree.refreshEntryTexts(mDocument, 1);
        const QStringList plain{u"000. 1:0"_s, u"001. "_s + QString(32, u'x'), u"002.   café"_s,
                                u"003. "_s};
        QCOMPARE(QStringList({label(0), label(1), label(2), label(3)}), plain);
        mTree.setDescriptionsOn(true); // only a description that is there shows
        mTree.refreshEntryTexts(mDocument, 1);
        QCOMPARE(QStringList({label(0), label(1)}), QStringList({u"000. Grass: 1:0"_s, plain[1]}));
    }

    void expandCollapseAndOpen()
    {
        mTree.build(151);
        mTree.categoryNode(5)->setExpanded(true);
        mTree.expandOrCollapseAll(); // not all open: all open
        for (int c = 0; c < 16; ++c)
            QVERIFY(mTree.categoryNode(c)->isExpanded());
        mTree.selectNode(mTree.entryNode(57)); // a selected entry does not hold its category open
        mTree.expandOrCollapseAll();
        for (int c = 0; c < 16; ++c)
            QVERIFY(!mTree.categoryNode(c)->isExpanded());
        mTree.setSelectedEntryNode(40);
        mTree.openCategory(5);
        QVERIFY(mTree.categoryNode(5)->isExpanded());
        QCOMPARE(mTree.currentItem(), mTree.categoryNode(5));
        QCOMPARE(mTree.selectedEntryNode(), 40); // chosen for the user, not by a click
    }

    // Tileset 0 heads tilesets 1..49, tileset 50 the ones after it.
    void tilesetGroups_data()
    {
        QTest::addColumn<int>("tilesets");
        QTest::addColumn<QList<int>>("groups"); // the size of each group
        QTest::newRow("1") << 1 << QList<int>{0};
        QTest::newRow("50") << 50 << QList<int>{49};
        QTest::newRow("51") << 51 << QList<int>{49, 0};
        QTest::newRow("120") << 120 << QList<int>{49, 69};
    }
    void tilesetGroups()
    {
        QFETCH(int, tilesets);
        QFETCH(QList<int>, groups);
        mDocument.tilesets = TestFiles::numberedTable(tilesets, 1);
        TilesetList list;
        list.build(mDocument);
        QCOMPARE(list.nodeCount(), tilesets);
        for (int g = 0; g < list.topLevelItemCount(); ++g) {
            QTreeWidgetItem *head = list.topLevelItem(g);
            QCOMPARE(head->childCount(), groups.value(g, -1));
            QCOMPARE(head->text(0), g ? u"50. Set 50"_s : u"00. Set 0"_s);
            QVERIFY(head->isExpanded());
        }
        QCOMPARE(list.topLevelItemCount(), groups.size());
        list.selectNode(tilesets);
        QCOMPARE(list.selectedTileset(), tilesets - 1);
        if (tilesets > 100)
            QCOMPARE(list.node(101)->text(0), u"100. Set 100"_s);
    }

    void tilesetNamesTrimmed()
    {
        mDocument.tilesets = TilesetTable(3, 1); // tileset 2 is all NUL
        mDocument.tilesets.setTilesetName(0, storeFixedText("  Gr\xe9 ", NameWidth));
        mDocument.tilesets.setTilesetName(1, padFixedText("Generic", NameWidth));
        TilesetList list;
        list.build(mDocument);
        QCOMPARE(list.node(1)->text(0), u"00. Gré"_s);
        QCOMPARE(list.node(2)->text(0), u"01. Generic"_s);
        QCOMPARE(list.node(3)->text(0), u"02. "_s);
    }
};

QTEST_MAIN(TestTrees)
#include "tst_trees.moc"

#include "document.h"
#include "entrycategories.h"
#include "entrytoolbar.h"
#include "entrytree.h"
#include "fixedfield.h"
#include "tilesetfiles.h"
#include "tilesetlist.h"

#include <QScrollBar>
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

    void entryLabels()
    {
        mDocument.tilesets = TestFiles::numberedTable(2, 151);
        mDocument.tilesets.setEntry(1, 1, storeFixedText("  caf\xe9", EntryWidth)); // blanks kept
        mDocument.tilesets.setEntry(2, 1, QByteArray(32, '\0')); // never assigned
        QStringList descriptions(151);
        descriptions[0] = u"Grass"_s;
        mTree.setEntryDescriptions(descriptions);
        mTree.build(151);
        mTree.refreshEntryTexts(mDocument, 1);
        const QStringList plain{u"000. 1:0"_s, u"001.   café"_s, u"002. "_s};
        QCOMPARE(QStringList({label(0), label(1), label(2)}), plain);
        mTree.setDescriptionsOn(true); // only a description that is there shows
        mTree.refreshEntryTexts(mDocument, 1);
        QCOMPARE(QStringList({label(0), label(1)}), QStringList({u"000. Grass: 1:0"_s, plain[1]}));
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
        QCOMPARE(list.topLevelItemCount(), groups.size());
        for (int g = 0; g < list.topLevelItemCount(); ++g) {
            QCOMPARE(list.topLevelItem(g)->childCount(), groups[g]);
            QCOMPARE(list.topLevelItem(g)->text(0), g ? u"50. Set 50"_s : u"00. Set 0"_s);
        }
        if (tilesets > 100)
            QCOMPARE(list.node(101)->text(0), u"100. Set 100"_s);
        list.show();
        list.selectNode(tilesets);
        list.scrollToItem(list.node(tilesets)); // Ctrl+click on it keeps it selected
        const QPoint centre = list.visualItemRect(list.node(tilesets)).center();
        QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::ControlModifier, centre);
        QCOMPARE(list.selectedTileset(), tilesets - 1);
    }

    void namesShownWhole()
    {
        mDocument.tilesets = TilesetTable(4, 1); // tileset 2 is all NUL
        mDocument.tilesets.setTilesetName(0, storeFixedText("  Gr\xe9 ", NameWidth));
        mDocument.tilesets.setTilesetName(1, padFixedText("Generic", NameWidth));
        mDocument.tilesets.setTilesetName(3, QByteArray(33, 'W'));
        TilesetList list;
        list.build(mDocument);
        QCOMPARE(list.node(1)->text(0) + list.node(2)->text(0) + list.node(3)->text(0),
                 u"00. Gré01. Generic02. "_s);
        // Never cut with "...": a label wider than the tree scrolls sideways.
        list.resize(100, 200);
        list.show();
        QCoreApplication::processEvents();
        QVERIFY(list.horizontalScrollBar()->maximum() > 0);
        QCOMPARE(list.textElideMode(), Qt::ElideNone);
        QCOMPARE(mTree.textElideMode(), Qt::ElideNone);
    }

    void entryToolbar_data()
    {
        QTest::addColumn<int>("width");
        QTest::newRow("22") << 22;
        QTest::newRow("18") << 18;
        QTest::newRow("30") << 30;
    }
    void entryToolbar()
    {
        QFETCH(int, width);
        EntryToolbar bar;
        bar.show();
        bar.setGeometry(0, 0, width, 400);
        QCoreApplication::processEvents();
        for (int i = 1; i <= EntryToolbar::ButtonCount; ++i) {
            QAction *button = bar.button(i);
            if (i > 2) // the category's name exactly, "&" included
                QCOMPARE(button->toolTip(), EntryCategories[i - 3].name.toString());
            if (!button->isSeparator()) // whole, inside the bar
                QVERIFY(bar.rect().contains(bar.widgetForAction(button)->geometry()));
        }
    }
};

QTEST_MAIN(TestTrees)
#include "tst_trees.moc"

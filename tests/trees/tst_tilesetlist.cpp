#include "document.h"
#include "fixedfield.h"
#include "tilesetfiles.h"
#include "tilesetlist.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestTilesetList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void groups_data();
    void groups();
    void namesAreTrimmed();
    void nodeIndexIsTilesetPlusOne();
};

void TestTilesetList::groups_data()
{
    QTest::addColumn<int>("tilesets");
    QTest::addColumn<int>("topLevel");
    QTest::addColumn<int>("firstChildren");
    QTest::addColumn<int>("secondChildren");
    QTest::newRow("1") << 1 << 1 << 0 << 0;
    QTest::newRow("50") << 50 << 1 << 49 << 0;
    QTest::newRow("51") << 51 << 2 << 49 << 0;
    QTest::newRow("70") << 70 << 2 << 49 << 19;
    QTest::newRow("120") << 120 << 2 << 49 << 69;
}

void TestTilesetList::groups()
{
    QFETCH(int, tilesets);
    Document document;
    document.tilesets = TestFiles::numberedTable(tilesets, 2);
    TilesetList list;
    list.build(document);

    QCOMPARE(list.nodeCount(), tilesets);
    QTEST(list.topLevelItemCount(), "topLevel");
    QTEST(list.topLevelItem(0)->childCount(), "firstChildren");
    QCOMPARE(list.topLevelItem(0)->text(0), u"00. Set 0"_s);
    QCOMPARE(list.topLevelItem(0)->data(0, Qt::UserRole).toString(), u"root1"_s);
    QVERIFY(list.topLevelItem(0)->isExpanded());
    if (tilesets > 50) {
        QTreeWidgetItem *second = list.topLevelItem(1);
        QCOMPARE(second->text(0), u"50. Set 50"_s);
        QCOMPARE(second->data(0, Qt::UserRole).toString(), u"root2"_s);
        QTEST(second->childCount(), "secondChildren");
        QVERIFY(second->isExpanded());
    }
    if (tilesets >= 50)
        QCOMPARE(list.topLevelItem(0)->child(48)->text(0), u"49. Set 49"_s);
    if (tilesets > 100)
        QCOMPARE(list.node(101)->text(0), u"100. Set 100"_s);
}

void TestTilesetList::namesAreTrimmed()
{
    Document document;
    document.tilesets = TilesetTable(3, 1);
    document.tilesets.setTilesetName(0, storeFixedText("  Grass  ", NameWidth));
    document.tilesets.setTilesetName(1, padFixedText("Generic", NameWidth));
    TilesetList list; // tileset 2 is all NUL
    list.build(document);
    QCOMPARE(list.node(1)->text(0), u"00. Grass"_s);
    QCOMPARE(list.node(2)->text(0), u"01. Generic"_s);
    QCOMPARE(list.node(3)->text(0), u"02. "_s);
}

void TestTilesetList::nodeIndexIsTilesetPlusOne()
{
    Document document;
    document.tilesets = TestFiles::numberedTable(70, 1);
    TilesetList list;
    list.build(document);
    for (int k : {1, 2, 50, 51, 52, 70}) {
        list.selectNode(k);
        QCOMPARE(list.selectedTileset(), k - 1);
    }
    QVERIFY(!list.node(71));
}

QTEST_MAIN(TestTilesetList)
#include "tst_tilesetlist.moc"

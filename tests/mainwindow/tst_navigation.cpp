#include "entrytree.h"
#include "windowtest.h"

#include <QAction>
#include <QTest>

#include <optional>

using namespace Qt::StringLiterals;

class TestNavigation : public WindowTest
{
    Q_OBJECT

    MainWindow &openFile(int tilesets, int entries)
    {
        MainWindow &window = mFixture->start();
        window.show();
        if (!mFixture->open(mFixture->writeNumberedFile(u"nav.dat"_s, tilesets, entries)))
            qFatal("open failed");
        return window;
    }
    static void click(QTreeWidget *tree, QTreeWidgetItem *item)
    {
        tree->scrollToItem(item);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                          tree->visualItemRect(item).center());
    }

private Q_SLOTS:

    void goToEntry_data()
    {
        QTest::addColumn<int>("entries");
        QTest::addColumn<std::optional<QString>>("answer");
        QTest::addColumn<int>("entry"); // -1: the selection stays on node 1
        const auto typed = [](const QString &text) { return std::optional(text); };
        QTest::newRow("57") << 151 << typed(u"57"_s) << 57;
        QTest::newRow("150") << 151 << typed(u"150"_s) << 150;
        QTest::newRow("0") << 151 << typed(u"0"_s) << 0;
        QTest::newRow("2.5 goes to 2") << 151 << typed(u"2.5"_s) << 2;
        QTest::newRow("3.5 goes to 4") << 151 << typed(u"3.5"_s) << 4;
        QTest::newRow("blanks around") << 151 << typed(u" 7 "_s) << 7;
        QTest::newRow("151") << 151 << typed(u"151"_s) << -1;
        QTest::newRow("-1") << 151 << typed(u"-1"_s) << -1;
        QTest::newRow("not a number") << 151 << typed(u"rocks"_s) << -1;
        QTest::newRow("empty") << 151 << typed(QString()) << -1;
        QTest::newRow("Cancel") << 151 << std::optional<QString>() << -1;
        QTest::newRow("99 of 100 entries") << 100 << typed(u"99"_s) << 99;
        QTest::newRow("100 of 100 entries") << 100 << typed(u"100"_s) << -1;
        QTest::newRow("above 150 of 200") << 200 << typed(u"170"_s) << -1;
    }

    void goToEntry()
    {
        QFETCH(int, entries);
        QFETCH(std::optional<QString>, answer);
        QFETCH(int, entry);
        EntryTree *tree = openFile(2, entries).entryTree();
        tree->selectNode(1);
        mFixture->services.type(answer);
        QVERIFY(mFixture->trigger(u"mnugoto"_s));
        if (entry < 0) {
            QCOMPARE(tree->selectedNodeIndex(), 1);
            return;
        }
        QCOMPARE(tree->nodeEntry(tree->selectedNodeIndex()), entry);
        if (entry == 57) // below "Wall decals", opened to show it
            QCOMPARE(tree->currentItem()->parent(), tree->categoryNode(12));
        if (entries == 151)
            QVERIFY(tree->currentItem()->parent()->isExpanded());
    }

    void clickRemembersTheEntryNode()
    {
        EntryTree *tree = openFile(1, 151).entryTree();
        click(tree, tree->node(14));
        QCOMPARE(tree->selectedEntryNode(), 14);
        QTest::keyClick(tree, Qt::Key_Down); // moving with the keyboard does not count
        QCOMPARE(tree->selectedEntryNode(), 14);
    }
};

QTEST_MAIN(TestNavigation)
#include "tst_navigation.moc"

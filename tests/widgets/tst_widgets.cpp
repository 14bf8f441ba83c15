#include "aboutdialog.h"
#include "datatable.h"
#include "entrycategories.h"
#include "entrytoolbar.h"
#include "entrytree.h"
#include "fileinfodialog.h"
#include "finddialog.h"
#include "imagelist.h"
#include "newfiledialog.h"
#include "selecttilesetdialog.h"
#include "svgicon.h"
#include "tilesetfiles.h"
#include "tilesetlist.h"
#include "widgets.h"
#include "windowlayout.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>

using namespace Qt::StringLiterals;
using namespace TestFiles;

// The trees, the entry toolbar and the dialogs, each on its own.
class TestWidgets : public QObject
{
    Q_OBJECT

    EntryTree mTree;
    QString label(int entry) const { return mTree.node(mTree.nodeOfEntry(entry))->text(0); }
    static QString spoken(const QTreeWidgetItem *node)
    {
        return node->data(0, Qt::AccessibleTextRole).toString();
    }

private Q_SLOTS:
    // Where an entry sits: its category, the entry it is a sub-entry of (-1: none), and its
    // node's identifier; and every entry exactly once.
    void categorisedEntries_data()
    {
        addColumns<int, int, int, int>("entry", "category", "parentEntry", "node");
        QTest::newRow("first") << 0 << 0 << -1 << 2;
        QTest::newRow("sub-entry of a bank") << 11 << 1 << 10 << 14;
        QTest::newRow("last sub-entry of the banks") << 87 << 1 << 86 << 18;
        QTest::newRow("the only road") << 78 << 2 << -1 << 20;
        QTest::newRow("last sub-entry of a rock") << 27 << 5 << 15 << 47;
        QTest::newRow("sub-entry of a tree") << 29 << 4 << 17 << 32;
        QTest::newRow("last barrel") << 106 << 6 << 104 << 72;
        QTest::newRow("last sub-entry of the doors") << 47 << 8 << 43 << 86;
        QTest::newRow("last but one of the wall decals") << 116 << 12 << -1 << 115;
        QTest::newRow("first of the rest") << 48 << 15 << -1 << 128;
        QTest::newRow("last") << 150 << 15 << -1 << 167;
    }
    void categorisedEntries()
    {
        mTree.build(151);
        QList<int> seen(151);
        for (int n = 1; n <= CategorisedNodeCount; ++n) {
            const int entry = mTree.entryOfNode(n);
            QCOMPARE(mTree.node(n)->parent() == nullptr, entry < 0); // categories at the top
            QVERIFY(entry < 0 || ++seen[entry] > 1 || mTree.nodeOfEntry(entry) == n);
        }
        QCOMPARE(seen, QList<int>(151, 1));
        auto [entry, category, parentEntry] =
            fetch<int, int, int>("entry", "category", "parentEntry");
        QTEST(int(mTree.nodeOfEntry(entry)), "node"); // nodes counted in the order made
        QTreeWidgetItem *node = mTree.node(mTree.nodeOfEntry(entry)), *parent = node->parent();
        QCOMPARE(parent, parentEntry < 0 ? mTree.categoryNode(category)
                                         : mTree.node(mTree.nodeOfEntry(parentEntry)));
        QCOMPARE(parentEntry < 0 ? parent : parent->parent(), mTree.categoryNode(category));
        mTree.setMarks(QList<NodeMark>(151, {NodeMark::Differs, u"x"_s})); // S stays told
        const QString note =
            u"\nS: a sub-entry, a part of entry %1"_s.arg(parentEntry, 3, 10, QChar(u'0'));
        QCOMPARE(node->toolTip(0),
                 u"Differs from the other file. x"_s + (parentEntry < 0 ? QString() : note));
    }

    // Tileset 0 heads tilesets 1..49, tileset 50 the ones after it.
    void tilesetGroups_data()
    {
        // groups: the size of each group
        addColumns<int, QList<int>>("tilesets", "groups");
        QTest::newRow("51") << 51 << QList<int>{49, 0};
        QTest::newRow("120") << 120 << QList<int>{49, 69};
    }
    void tilesetGroups()
    {
        auto [tilesets, groups] = fetch<int, QList<int>>("tilesets", "groups");
        TilesetList list;
        list.build(numberedTable(tilesets, 1));
        QCOMPARE(list.topLevelItemCount(), groups.size());
        for (int g = 0; g < list.topLevelItemCount(); ++g)
            QCOMPARE(std::tuple(list.topLevelItem(g)->childCount(), list.topLevelItem(g)->text(0),
                                list.topLevelItem(g)->isExpanded()),
                     std::tuple(groups[g], g ? u"50. Set 50"_s : u"00. Set 0"_s, true));
        QVERIFY(tilesets <= 100 ||
                list.node(100)->text(0) + list.node(101)->text(0) == u"99. Set 99100. Set 100"_s);
        list.show();
        list.selectTileset(tilesets - 1);
        list.scrollToItem(list.node(tilesets)); // Ctrl+click on it keeps it selected
        const QPoint centre = list.visualItemRect(list.node(tilesets)).center();
        QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::ControlModifier, centre);
        QCOMPARE(list.currentTileset(), tilesets - 1);
    }

    // Names and entries as stored, up to a NUL, blanks kept.
    void labelsShownWhole()
    {
        // Blanks kept in a name and in an entry; entry 2 never assigned.
        auto table = with(with(numberedTable(4, 151), 0, -1, "  Gr\xe9 "), 1, 1, "  caf\xe9");
        table.setTilesetName(1, padFixedText("Generic", NameWidth));
        table.setTilesetName(2, QByteArray(33, '\0'));
        table.setTilesetName(3, QByteArray(33, 'W'));
        table.setEntry(2, 1, QByteArray(32, '\0'));
        TilesetList list;
        list.build(table);
        QCOMPARE(list.node(1)->text(0) + list.node(2)->text(0) + list.node(3)->text(0),
                 u"00. Gré01. Generic02. "_s);
        // A description for entry 0; the other 150 are there, empty.
        mTree.setEntryDescriptions(QStringList{u"Grass"_s} + QStringList(150));
        mTree.build(151);
        mTree.showTileset(table, 1);
        // The last entry too.
        const QStringList plain{u"000. 1:0"_s, u"001.   café"_s, u"002. "_s, u"150. 1:150"_s};
        QCOMPARE(QStringList({label(0), label(1), label(2), label(150)}), plain);
        mTree.setDescriptionsOn(true); // only a description that is there shows
        mTree.showTileset(table, 1);
        QCOMPARE(QStringList({label(0), label(1)}), QStringList({u"000. Grass: 1:0"_s, plain[1]}));
        QCOMPARE(QStringList({spoken(mTree.node(2)), spoken(mTree.node(4)), spoken(list.node(3))}),
                 QStringList({u"Tileset 01, entry 000, Grass: 1:0"_s,
                              u"Tileset 01, entry 002: never written"_s,
                              u"Tileset 02: never written"_s}));
        // Never cut with "...": a label wider than the tree scrolls sideways.
        list.resize(100, 200);
        list.show();
        QCoreApplication::processEvents();
        QCOMPARE_GT(list.horizontalScrollBar()->maximum(), 0);
        QVERIFY(list.textElideMode() == Qt::ElideNone && mTree.textElideMode() == Qt::ElideNone);
    }

    // Widths in twips after a layout settled at 3000 for the designed 7875 x 6135: one more
    // pass for a client area w x s, then the bar dragged to target when there is one.
    void layout_data()
    {
        // target: 0: no drag
        // sizes: the list's width (the splitter stands at its right edge), the tree's width, height
        addColumns<QSize, int, QList<int>>("client", "target", "sizes");
        QTest::newRow("w 1440") << QSize(1440, 6135) << 0 << QList{3000, 4485, 5715};
        QTest::newRow("w 1441") << QSize(1441, 6135) << 0 << QList{331, 720, 5715};
        QTest::newRow("s 780") << QSize(7875, 780) << 0 << QList{3000, 4485, 5715};
        QTest::newRow("s 781") << QSize(7875, 781) << 0 << QList{3000, 4485, 361};
        QTest::newRow("room 720") << QSize(4110, 6135) << 0 << QList{3000, 720, 5715};
        QTest::newRow("room 721") << QSize(4111, 6135) << 0 << QList{3000, 721, 5715};
        QTest::newRow("drag to 720") << QSize(7875, 6135) << 720 << QList{3000, 4485, 5715};
        QTest::newRow("drag to 721") << QSize(7875, 6135) << 721 << QList{721, 6764, 5715};
        QTest::newRow("drag to 7094") << QSize(7875, 6135) << 7094 << QList{7094, 391, 5715};
        QTest::newRow("drag to 7095") << QSize(7875, 6135) << 7095 << QList{3000, 4485, 5715};
    }
    void layout()
    {
        auto [client, target] = fetch<QSize, int>("client", "target");
        WindowLayout layout;
        layout.tilesetList.width = 3000;
        for (const QSize size : {QSize(7875, 6135), QSize(7875, 6135), client})
            layout.layOut(size.width(), size.height());
        if (target > 0) {
            layout.pressSplitter(30); // one press; every move is measured from it
            layout.dragSplitter(target - layout.splitter.left + 30, client.width());
        }
        QCOMPARE(layout.splitter.left, layout.tilesetList.width);
        QTEST(QList({layout.tilesetList.width, layout.entryTree.width, layout.entryTree.height}),
              "sizes");
    }

    void entryToolbar_data()
    {
        QTest::addColumn<int>("width");
        for (const int width : {22, 18, 30})
            QTest::addRow("%d px", width) << width;
    }
    void entryToolbar()
    {
        QFETCH(int, width);
        EntryToolbar bar;
        bar.show();
        bar.setGeometry(0, 0, width, 400);
        QCoreApplication::processEvents();
        QVERIFY(width < 20 || bar.width() == width); // kept down to one button's width
        for (int i = 1; i <= EntryToolbar::ButtonCount; ++i) {
            QAction *button = bar.button(i);
            // The category's name exactly, "&" included.
            QVERIFY(i <= 2 || button->toolTip() == EntryCategories[i - 3].name.toString());
            if (!button->isSeparator()) // whole, inside the width given
                QVERIFY(QRect(0, 0, width, 400).contains(bar.widgetForAction(button)->geometry()));
        }
    }

    // Every picture is drawn, at the size asked for, and greyed when disabled.
    void pictures()
    {
        QList<QIcon> icons{svgIcon(u":/icons/app.svg"_s), svgIcon(u":/icons/new.svg"_s),
                           svgIcon(u":/icons/open.svg"_s), svgIcon(u":/icons/save.svg"_s)};
        for (int i = 1; i <= 20; ++i)
            icons.append(ImageList::icon(i));
        // Drawn: some pixel is not fully transparent.
        QImage transparent(16, 16, QImage::Format_Alpha8);
        transparent.fill(0);
        for (const QIcon &icon : std::as_const(icons)) {
            const QImage shown = icon.pixmap(QSize(16, 16)).toImage();
            QCOMPARE(shown.size(), QSize(16, 16));
            QVERIFY(shown.convertToFormat(QImage::Format_Alpha8) != transparent);
            QVERIFY(icon.pixmap(QSize(16, 16), QIcon::Disabled).toImage() != shown);
        }
    }

    void newFile_data()
    {
        // typed: into the tileset count, after Custom
        // tilesets: 0: refused
        addColumns<QString, int>("typed", "tilesets");
        // Counts are checked after rounding, as they will be used; the box takes three characters.
        const std::pair<const char *, int> rows[] = {
            {"0", 0},   {"0.4", 0},    {".4", 0}, {".49", 0}, {"256", 0}, {"12a", 0}, {"1e1", 0},
            {"inf", 0}, {"2551", 255}, {".5", 1}, {"1.5", 1}, {"2.5", 3}, {" 7 ", 7}};
        for (const auto &[typed, tilesets] : rows)
            QTest::newRow(typed) << QString::fromLatin1(typed) << tilesets;
    }
    void newFile()
    {
        auto [typed, tilesets] = fetch<QString, int>("typed", "tilesets");
        NewFileDialog dialog;
        dialog.show();
        child<QRadioButton>(&dialog, u"Option3"_s)->click();
        textBox(&dialog, 0)->selectAll();
        QTest::keyClicks(textBox(&dialog, 0), typed);
        QCOMPARE(child<QPushButton>(&dialog, u"Command1"_s)->isEnabled(), tilesets > 0);
        QTest::keyClick(&dialog, Qt::Key_Return); // presses Ok, only while it is enabled
        // The counts are 0 unless confirmed.
        QCOMPARE(std::tuple(dialog.confirmed(), dialog.tilesetCount(), dialog.entryCount()),
                 std::tuple(tilesets > 0, tilesets, tilesets > 0 ? 151 : 0));
        child<QRadioButton>(&dialog, u"Option2"_s)->click(); // a preset again: its count, fixed
        QVERIFY(!textBox(&dialog, 0)->isEnabled() && textBox(&dialog, 0)->text() == u"70"_s);
    }

    // New file and Select tileset ended as the row is named; Select tileset has 100 chosen.
    void dialogsEndByEnterEscapeAndCloseBox_data()
    {
        QTest::addColumn<int>("choice");
        QTest::newRow("Enter") << 100;
        QTest::newRow("Escape") << -1;
        QTest::newRow("close box") << -1;
    }
    void dialogsEndByEnterEscapeAndCloseBox()
    {
        QFETCH(int, choice);
        const QString how = QString::fromLatin1(QTest::currentDataTag());
        const auto close = [&how](QDialog &dialog) {
            dialog.show();
            how == u"close box"_s
                ? void(dialog.close())
                : QTest::keyClick(&dialog, how == u"Enter"_s ? Qt::Key_Return : Qt::Key_Escape);
        };
        NewFileDialog form4;
        child<QRadioButton>(&form4, u"Option1"_s)->click(); // Harrowmark
        close(form4);
        // Tileset 100 renamed " Moss", which is shown untrimmed.
        SelectTilesetDialog form5(with(numberedTable(120, 1), 100, -1, " Moss"));
        QCOMPARE(child<QComboBox>(&form5, u"Combo1"_s)->itemText(100), u"100.  Moss"_s);
        child<QComboBox>(&form5, u"Combo1"_s)->setCurrentIndex(100);
        close(form5);
        QCOMPARE(std::tuple(form4.isVisible(), form4.confirmed(), form4.tilesetCount(),
                            form5.isVisible(), form5.chosenTileset()),
                 std::tuple(false, choice > 0, choice > 0 ? 50 : 0, false, choice));
    }

    void fileInfoShowsTheFileAndAboutFitsItsContent()
    {
        FileInfoDialog form3(u"untitled"_s, u"n/a"_s, 1, 255);
        form3.show();
        QStringList values;
        for (const char *name : {"Label5", "Label6", "Label7", "Label8"})
            values.append(child<QLabel>(&form3, QString::fromLatin1(name))->text());
        QCOMPARE(values, QStringList({u"untitled"_s, u"n/a"_s, u"1"_s, u"255"_s}));
        QVERIFY(child<QPushButton>(&form3, u"Command1"_s)->isDefault()); // Enter means Ok
        AboutDialog form7;
        form7.show();
        QCOMPARE(child<QLabel>(&form7, u"Label6"_s)->text(), u"1.1"_s);
        QCOMPARE(child<QLabel>(&form7, u"Label7"_s)->pos(), // the link goes on from the notice
                 child<QLabel>(&form7, u"Label2"_s)->geometry().topRight() + QPoint(1, 0));
        // Sized to its content: no more than a margin or two below the button.
        const QRect ok = child<QPushButton>(&form7, u"Command1"_s)->geometry();
        QCOMPARE_LE(form7.height() - ok.bottom() - 1, 16);
        QSignalSpy opened(&form7, &AboutDialog::openRequested); // the authors' mail link
        QTest::mouseClick(child<QLabel>(&form7, u"Label7"_s), Qt::LeftButton);
        QCOMPARE(opened.value(0).value(0).toUrl(), QUrl(u"mailto:hmktse@example.org"_s));
    }

    // A 480 x 360 Find dialog on a screen below a 30-pixel panel: the main window's frame,
    // its trees 60 pixels below its top, 22 from its right and 20 from its bottom, and where
    // the dialog opens. Right of the window needs the room kept on the screen; a corner
    // covers the trees least where the whole screen is the window.
    void findDialogPlacement_data()
    {
        addColumns<QRect, QPoint>("frame", "position");
        QTest::newRow("right, just") << QRect(200, 700, 600, 300) << QPoint(800, 664);
        QTest::newRow("left only, just") << QRect(480, 100, 700, 300) << QPoint(0, 100);
        QTest::newRow("neither: below the trees") << QRect(479, 100, 322, 500) << QPoint(321, 580);
        QTest::newRow("neither: above the trees") << QRect(100, 500, 1000, 524) << QPoint(620, 200);
        QTest::newRow("neither: a corner") << QRect(0, 30, 1280, 994) << QPoint(800, 30);
    }
    void findDialogPlacement()
    {
        QFETCH(QRect, frame);
        QTEST(findDialogPosition(frame, frame.adjusted(0, 60, -22, -20), {480, 360},
                                 {0, 30, 1280, 994}),
              "position");
    }
};

QTEST_MAIN(TestWidgets)
#include "tst_widgets.moc"

#include "datatable.h"
#include "fieldformat.h"
#include "widgets.h"
#include "windowtest.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QUndoStack>

using namespace Qt::StringLiterals;
using namespace TestFiles;
using Answer = PlatformServices::Answer;

// Tileset commands, editing in the trees, undo and redo, navigation and the layout.
class TestEditing : public WindowTest
{
    Q_OBJECT

    // A text t shorter than its field of width w, as it is stored: one NUL, then spaces.
    static QByteArray field(const QByteArray &t, int w) { return (t + '\0').leftJustified(w, ' '); }
    void openTable(const TilesetTable &table)
    {
        start().show();
        window().activateWindow(); // F2 needs an active window
        QVERIFY(QTest::qWaitForWindowActive(&window()) &&
                open(writeFile(u"a.dat"_s, fileBytes(table))));
    }
    // Starts editing the tileset's name ("rename", "second click on name") or its entry 12;
    // the editor that opens, if one does.
    QLineEdit *startEdit(int tileset, const QString &how)
    {
        const bool name = how.endsWith(u"name"_s);
        QTreeWidget *in = name ? static_cast<QTreeWidget *>(list()) : tree();
        click(list(), list()->node(tileset + 1), how == u"rename"_s);
        QTreeWidgetItem *node = name ? list()->node(tileset + 1) : nodeOfEntry(12);
        if (how == u"category"_s)
            node = tree()->categoryNode(2);
        if (!name)
            click(tree(), node, how == u"double-click"_s);
        if (how.startsWith(u"second click"_s)) { // on a selected node, later than a double-click
            QTest::qWait(QApplication::doubleClickInterval() + 50);
            click(in, node);
            QTest::qWait(QApplication::doubleClickInterval() + 50); // as late as Qt would open one
        }
        if (how == u"menu"_s)
            trigger(u"mnueditentry"_s);
        else if (how == u"F2"_s || how == u"category"_s)
            QTest::keyClick(tree(), Qt::Key_F2);
        return labelEditor(in);
    }

    QWidget *finder() { return child(&window(), u"FindDialog"_s); } // the Find dialog
    // Find all, or Replace all (or the button given) when a replacement is given.
    void search(QString text, QString replacement = {}, QString button = u"replaceAll"_s)
    {
        QVERIFY(trigger(replacement.isNull() ? u"mnufind"_s : u"mnureplace"_s));
        child<QLineEdit>(finder(), u"findText"_s)->setText(text);
        child<QLineEdit>(finder(), u"replaceText"_s)->setText(replacement);
        child<QPushButton>(finder(), replacement.isNull() ? u"findAll"_s : button)->click();
    }
    // One node for each tileset, labelled with its number and name.
    bool listShowsTheTable()
    {
        for (int t = 0; t < table().tilesetCount(); ++t)
            if (!list()->node(t + 1) ||
                list()->node(t + 1)->text(0) !=
                    numberedTilesetText(t, trimmedFieldText(table().tilesetName(t))))
                return false;
        return !list()->node(table().tilesetCount() + 1);
    }
    QLabel *fieldStatus() { return child<QLabel>(&window(), u"fieldStatus"_s); }
    bool onEntry(int entry) { return tree()->currentItem() == nodeOfEntry(entry); }
    QString lastMessage() { return services().messages.last().text; }
    void select(int t, int entry) { list()->selectTileset(t), tree()->selectEntry(entry); }
private Q_SLOTS:
    // Refused with a message, the document as it was.
    void refusals_data()
    {
        // readme: a readme.txt the desktop has no program for
        addColumns<int, QString, bool, PlatformServices::Icon, QString, QString>(
            "tilesets", "command", "readme", "icon", "title", "text");
        using enum PlatformServices::Icon;
        QTest::newRow("delete the only tileset")
            << 1 << u"mnudelete"_s << false << Exclamation << u"Error while deleting tileset"_s
            << u"There must be at least one tileset left!"_s;
        QTest::newRow("insert a 256th")
            << 255 << u"mnuinsert"_s << false << Exclamation << u"Error while inserting tileset"_s
            << u"A tileset file holds at most 255 tilesets; delete one before inserting another."_s;
        QTest::newRow("import of 150 entries into 151")
            << 2 << u"mnuimport"_s << false << Critical << u"Error importing tileset"_s
            << u"Incompatible amount of entries."_s;
        QTest::newRow("no readme") << 1 << u"mnureadme"_s << false << Exclamation << u"Readme.txt"_s
                                   << u"Couldn't find <folder>/readme.txt"_s;
        QTest::newRow("a readme with nothing to open it")
            << 1 << u"mnureadme"_s << true << Exclamation << u"Readme.txt"_s
            << u"The desktop has no program to open <folder>/readme.txt. Open it by hand."_s;
    }
    void refusals()
    {
        auto [tilesets, command] = fetch<int, QString>("tilesets", "command");
        // Blanks around the last name, which the list shows trimmed.
        openTable(with(numberedTable(tilesets, 151), tilesets - 1, -1, " Moss "));
        const TilesetTable before = table();
        list()->selectTileset(tilesets - 1);
        QFETCH(bool, readme);
        if (readme)
            writeFile(u"readme.txt"_s, "Read me");
        services().desktopOpens = !readme;
        if (command == u"mnuimport"_s) {
            services().answers << Answer::Ok;
            services().files << writeNumberedFile(u"other.dat"_s, 2, 150);
        }
        QVERIFY(trigger(command));
        QTEST(lastMessage().replace(folderPath({}), u"<folder>"_s), "text");
        QTEST(services().messages.last().title, "title");
        QTEST(services().messages.last().icon, "icon");
        QVERIFY(table() == before && !document().isModified() &&
                (!readme ||
                 services().opened.value(0) == QUrl::fromLocalFile(folderPath(u"readme.txt"_s))));
        // Import asks first; even refused, the node shows the name as stored.
        if (command == u"mnuimport"_s)
            QVERIFY(services().messages.first().icon == PlatformServices::Icon::Question &&
                    services().messages.first().buttons == PlatformServices::Buttons::OkCancel &&
                    list()->node(tilesets)->text(0) ==
                        numberedTilesetText(tilesets - 1, u" Moss "_s));
    }

    void edit_data()
    {
        // how: "rename" tileset 3, or how entry 12 is edited
        // field: before
        // offered: empty when no editor opens
        // confirmed: Enter, else Escape
        addColumns<QString, QByteArray, QString, QString, bool, QByteArray, bool>(
            "how", "field", "offered", "typed", "confirmed", "stored", "unsaved");
        const auto row = [](const char *name, QString how, QByteArray field, QString offered,
                            QString typed, bool confirmed, QByteArray stored, bool unsaved) {
            QTest::newRow(name) << how << field << offered << typed << confirmed << stored
                                << unsaved;
        };
        const QByteArray set3 = field("Set 3", NameWidth), entry12 = field("3:12", EntryWidth);
        const QByteArray generic = padFixedText("Generic", NameWidth);
        const QString text33 = u"Abcdefghijklmnopqrstuvwxyz0123456"_s, text32 = text33.chopped(1);
        // Tileset 3's name "Set 3" renamed: typed, confirmed, stored, unsaved.
        const auto name = [&](const char *tag, auto... rest) {
            row(tag, u"rename"_s, set3, u"Set 3"_s, rest...);
        };
        name("name, 40 characters, 33 kept", text33 + u"789ABCD"_s, true, text33.toLatin1(), true);
        name("name, 33 characters", text33, true, text33.toLatin1(), true);
        name("name, 32 characters", text32, true, text32.toLatin1() + '\0', true);
        name("name, blanks as typed", u" Moss "_s, true, field(" Moss ", NameWidth), true);
        name("name unchanged", u"Set 3"_s, true, set3, false);
        name("name, Escape", u"Lava"_s, false, set3, false);
        // The name as stored up to its NUL, padding blanks included. Confirmed as offered,
        // it is the same bytes but not the trimmed name: a change all the same.
        row("name, blanks typed before the NUL", u"rename"_s, field("Moss  ", NameWidth),
            u"Moss  "_s, u"Moss  "_s, true, field("Moss  ", NameWidth), true);
        row("name without NUL", u"rename"_s, generic, u"Generic"_s.leftJustified(33),
            u"Generic"_s.leftJustified(33), true, generic, true);
        row("entry by menu, code page letter", u"menu"_s, entry12, u"3:12"_s, u"Caf\u00e9"_s, true,
            field("Caf\xe9", EntryWidth), true);
        row("entry, 32 characters", u"double-click"_s, entry12, u"3:12"_s, text32, true,
            text32.toLatin1(), true);
        row("entry holding a tab", u"F2"_s, field("a\tb", EntryWidth), u"a\tb"_s, u"a\tbc"_s, true,
            field("a\tbc", EntryWidth), true);
        row("entry, blanks around", u"F2"_s, field("   Lead ", EntryWidth), u"Lead"_s, u"Lava"_s,
            false, field("   Lead ", EntryWidth), false);
        for (const QString &how : {u"category"_s, u"second click on an entry"_s})
            row(qPrintable(how), how, entry12, {}, {}, false, entry12, false);
        row("second click on a name", u"second click on name"_s, set3, {}, {}, false, set3, false);
    }
    void edit()
    {
        const auto [how, field, typed, confirmed, stored] =
            fetch<QString, QByteArray, QString, bool, QByteArray>("how", "field", "typed",
                                                                  "confirmed", "stored");
        const bool rename = how.endsWith(u"name"_s); // "rename" too
        TilesetTable table = numberedTable(5, 151);
        rename ? table.setTilesetName(3, field) : table.setEntry(12, 3, field);
        // Descriptions on, so that the label keeps its number and description around the text.
        writeFile(u"desc.txt"_s, QByteArray("\r\n").repeated(12) + "Cobbles");
        openTable(table);
        QVERIFY(trigger(u"mnudisplaynames"_s));
        QLineEdit *line = startEdit(3, how);
        if (how == u"double-click"_s) // remembered between runs: the node last clicked, still open
            QVERIFY(tree()->selectedEntryNode() == tree()->nodeOfEntry(12) &&
                    nodeOfEntry(12)->isExpanded());
        QTEST(line ? line->text() : QString(), "offered"); // every text offered is not empty
        if (!line)
            return;
        QCOMPARE(line->maxLength(), rename ? NameWidth : EntryWidth);
        line->clear();
        if (typed.size() > 10 || typed.contains(u'\t'))
            line->insert(typed); // pasted: a tab cannot be typed
        else                     // key by key, so that the editor's own checks apply
            for (QChar c : typed)
                QTest::sendKeyEvent(QTest::Click, line, Qt::Key_unknown, QString(c), {});
        const QString label = (rename ? u"03. "_s : u"012. Cobbles: "_s) + line->text();
        QTest::keyClick(line, confirmed ? Qt::Key_Return : Qt::Key_Escape);
        QTRY_VERIFY(!labelEditor(rename ? static_cast<QTreeWidget *>(list()) : tree()));
        rename ? table.setTilesetName(3, stored) : table.setEntry(12, 3, stored);
        QVERIFY(this->table() == table); // that field and nothing else
        QTEST(document().isModified(), "unsaved");
        // The label shows what was typed, even beyond the field's width, and keeps it
        // through a change elsewhere.
        if (confirmed)
            QCOMPARE((rename ? list()->node(4) : nodeOfEntry(12))->text(0), label);
        if (confirmed && rename)
            QVERIFY((editEntry(0, 0, u"x"_s), list()->node(4)->text(0) == label));
    }

    // What a document's shape enables, where New names a second group, and where Go to entry
    // leads in it.
    void documentShapes_data()
    {
        // tilesets: 0: a file of 2 tilesets is opened instead
        // goTo: the answer Go to entry is given
        // entry: -1: the selection stays on node 1
        addColumns<int, int, bool, QString, int>("tilesets", "entries", "categorised", "goTo",
                                                 "entry");
        QTest::newRow("New, 50 tilesets; 56.7 goes to 57") << 50 << 151 << true << u"56.7"_s << 57;
        QTest::newRow("New, 51 tilesets: 50 named; 150") << 51 << 151 << true << u"150"_s << 150;
        QTest::newRow("go to 0, the first") << 0 << 151 << true << u"0"_s << 0;
        QTest::newRow("no 151 to go to") << 0 << 151 << true << u"151"_s << -1;
        QTest::newRow("blanks: nothing, unasked") << 0 << 151 << true << u"  "_s << -1;
        QTest::newRow("150 entries, flat: no 150") << 0 << 150 << false << u"150"_s << -1;
        QTest::newRow("152 entries, flat: 2.5 goes to 2") << 0 << 152 << false << u"2.5"_s << 2;
    }
    void documentShapes()
    {
        const auto [tilesets, entries, categorised, goTo, entry] =
            fetch<int, int, bool, QString, int>("tilesets", "entries", "categorised", "goTo",
                                                "entry");
        writeFile(u"desc.txt"_s, "Grass\r\n"); // so that descriptions are offered
        if (tilesets == 0) {
            openTable(numberedTable(2, entries));
        } else {
            start();
            services().dialogs << [tilesets](QDialog &dialog) {
                child<QRadioButton>(&dialog, u"Option3"_s)->click();
                textBox(&dialog, 0)->setText(QString::number(tilesets));
                dialog.accept();
            };
            QVERIFY(trigger(u"mnunew"_s) && document().fileTitle() == u"untitled"_s &&
                    table().tilesetName(0) == padFixedText("Generic", NameWidth));
            QCOMPARE(table().tilesetName(std::min(50, tilesets - 1)),
                     tilesets > 50 ? padFixedText("New generic", NameWidth) : QByteArray(33, 0));
        }
        QCOMPARE(table().entryCount(), entries);
        QCOMPARE(tree()->topLevelItemCount(), categorised ? 16 : entries);
        QCOMPARE(action(u"mnudisplaynames"_s)->isEnabled(), categorised);
        action(u"mnudisplaynames"_s)->setChecked(true); // as the settings can leave it
        click(list(), list()->node(1));
        QCOMPARE(nodeOfEntry(0)->text(0).startsWith(u"000. Grass"_s), categorised);
        QCOMPARE(child<QToolBar>(&window(), u"Toolbar2"_s)->actions().last()->isEnabled(),
                 categorised);
        // A flat list opens on its first entry, the tree on its first category.
        QCOMPARE(tree()->currentEntry(), categorised ? -1 : 0);
        if (categorised) { // the first and last buttons open their own categories
            for (int category : {0, 15})
                QVERIFY(trigger(u"Toolbar2Button%1"_s.arg(category + 3)) &&
                        tree()->currentItem() == tree()->categoryNode(category));
            action(u"Toolbar2Button1"_s)->trigger(); // some are closed: all open
            for (int category = 0; category < 16; ++category)
                QVERIFY(tree()->categoryNode(category)->isExpanded());
        }
        tree()->selectNode(1);
        services().inputs << goTo;
        QVERIFY(trigger(u"mnugoto"_s));
        QCOMPARE(tree()->selectedNodeIndex(), entry < 0 ? 1 : int(tree()->nodeOfEntry(entry)));
        QCOMPARE(services().messages.isEmpty(), entry >= 0 || goTo.trimmed().isEmpty());
        if (!services().messages.isEmpty())
            QCOMPARE(lastMessage(), u"There is no entry %1: enter a number from 0 to %2."_s.arg(
                                        goTo, QString::number(std::min(150, entries - 1))));
        QVERIFY(!tree()->currentItem()->parent() || tree()->currentItem()->parent()->isExpanded());
    }

    // The arrow keys, Home and End move the selection; the other tree and the status bar
    // follow at once, as after a click.
    void keysMoveTheSelection_data()
    {
        // inList: the keys go to the tileset list, else to the entry tree
        // field: the one selected after the keys, as the status bar names it
        addColumns<int, bool, QKeySequence, QString>("entries", "inList", "keys", "field");
        const auto row = [](auto tag, int entries, bool inList, QString keys, QString field) {
            QTest::newRow(tag) << entries << inList << QKeySequence(keys) << field;
        };
        row("Down to the next tileset", 151, true, u"Down"_s, u"Tileset 01 \u00b7 Name"_s);
        row("End, the last tileset", 151, true, u"End"_s, u"Tileset 69 \u00b7 Name"_s);
        row("End, Up, Home", 151, true, u"End, Up, Home"_s, u"Tileset 00 \u00b7 Name"_s);
        row("Down to an entry", 151, false, u"Down"_s, u"Tileset 00 \u00b7 Entry 001"_s);
        row("End, the last entry", 151, false, u"End"_s, u"Tileset 00 \u00b7 Entry 150"_s);
        row("flat: Down, the second entry", 3, false, u"Down"_s, u"Tileset 00 \u00b7 Entry 001"_s);
        row("flat: End, the last entry", 3, false, u"End"_s, u"Tileset 00 \u00b7 Entry 002"_s);
        row("flat, 152: End", 152, false, u"End"_s, u"Tileset 00 \u00b7 Entry 151"_s);
    }
    void keysMoveTheSelection()
    {
        const auto [entries, inList, keys, field] =
            fetch<int, bool, QKeySequence, QString>("entries", "inList", "keys", "field");
        writeFile(u"hmktse.ini"_s, "[HMKTSE-Settings]\r\nSelectedEntry= 150\r\n");
        openTable(numberedTable(70, entries));
        // The remembered node is the categorised tree's; a flat list opens on its first entry.
        QCOMPARE(tree()->selectedNodeIndex(), entries == 151 ? 150 : 1);
        QTreeWidget *keyed = inList ? static_cast<QTreeWidget *>(list()) : tree();
        keyed->setFocus();
        if (!inList)
            tree()->selectNode(tree()->nodeOfEntry(0));
        QTest::keySequence(keyed, keys);
        QCOMPARE(fieldStatus()->text().left(field.size()), field);
        const int t = field.mid(8, 2).toInt();
        QCOMPARE(
            std::pair(list()->currentTileset(), nodeOfEntry(entries - 1)->text(0)),
            std::pair(t, u"%1. %2:%3"_s.arg(entryNumber(entries - 1)).arg(t).arg(entries - 1)));
    }

    void eachCommandIsOneStep_data()
    {
        // tileset: selected, of 6
        // undo: the caption naming the step
        addColumns<QString, int, QString>("command", "tileset", "undo");
        QTest::newRow("rename") << u"rename"_s << 3 << u"Undo rename tileset 03"_s;
        QTest::newRow("rename the last") << u"rename"_s << 5 << u"Undo rename tileset 05"_s;
        QTest::newRow("edit entry") << u"edit"_s << 3 << u"Undo edit entry 012 of tileset 03"_s;
        QTest::newRow("insert") << u"mnuinsert"_s << 3 << u"Undo insert tileset 03"_s;
        QTest::newRow("delete") << u"mnudelete"_s << 3 << u"Undo delete tileset 03"_s;
        QTest::newRow("delete the last") << u"mnudelete"_s << 5 << u"Undo delete tileset 05"_s;
        QTest::newRow("copy") << u"mnucopy"_s << 3 << u"Undo copy tileset 05 to tileset 03"_s;
        QTest::newRow("import") << u"mnuimport"_s << 3 << u"Undo import into tileset 03"_s;
        QTest::newRow("replace all") << u"replace"_s << 3 << u"Undo replace all"_s;
        // Shown on the first tileset changed, here the one selected.
        QTest::newRow("replace everywhere") << u"replace :40"_s << 0 << u"Undo replace all"_s;
    }
    void eachCommandIsOneStep()
    {
        auto [command, tileset, undo] = fetch<QString, int, QString>("command", "tileset", "undo");
        openTable(numberedTable(6, 151));
        select(tileset, 40);
        const QByteArray before = table().bytes();
        // Copy takes tileset 5's entries; import takes tileset 1 of another file, name and all.
        const bool copies = command == u"mnucopy" || command == u"mnuimport";
        const bool edit = command == u"edit";
        const int chosen = command == u"mnucopy" ? 5 : 1, skip = chosen == 5 ? NameWidth : 0;
        const TilesetTable source = chosen == 5 ? table() : numberedTable(2, 151);
        QByteArray expected = before; // the chosen record over tileset 3's; a copy keeps the name
        expected.replace(3 * source.recordSize() + skip, source.recordSize() - skip,
                         source.record(chosen).sliced(skip).toByteArray());
        if (command == u"rename") {
            rename(tileset, u"Moss"_s);
        } else if (edit) {
            editEntry(3, 12, u"rubble.bmp"_s);
        } else if (command.startsWith(u"replace")) {
            search(command == u"replace" ? u"3:"_s : command.sliced(8), u"three:"_s);
        } else if (copies) {
            services().dialogs << [chosen](QDialog &dialog) {
                // The source's tilesets, of which chosen is the last, offered from the first.
                auto *box = child<QComboBox>(&dialog, u"Combo1"_s);
                QCOMPARE(std::pair(box->count(), box->currentIndex()), std::pair(chosen + 1, 0));
                box->setCurrentIndex(chosen);
                dialog.accept();
            };
            if (chosen == 1) {
                services().answers << Answer::Ok;
                services().files << writeNumberedFile(u"other.dat"_s, 2, 151);
            }
        }
        if (command.startsWith(u"mnu"))
            QVERIFY(trigger(command));
        const QByteArray after = table().bytes();
        QVERIFY(copies ? after == expected : after != before);
        if (command == u"mnuinsert"_s)
            QCOMPARE(table().record(tileset).toByteArray(),
                     padFixedText("New Tileset", NameWidth) + QByteArray(151 * EntryWidth, ' '));
        QVERIFY(document().isModified() && listShowsTheTable());
        // The tileset changed stays selected; after the last is deleted, the new last.
        QCOMPARE(list()->currentTileset(), std::min(tileset, table().tilesetCount() - 1));
        QCOMPARE(caption(u"mnuundo"_s), undo);
        select(0, 0);
        QVERIFY(trigger(u"mnuundo"_s) && table().bytes() == before); // byte for byte, padding too
        // The tileset, and the entry edited, selected again.
        QCOMPARE(std::pair(list()->currentTileset(), tree()->currentEntry()),
                 std::pair(tileset, edit ? 12 : 0));
        QVERIFY(fieldStatus()->text().contains(edit ? u" Entry 012 "_s : u" Name "_s));
        // Back where the file was opened, no step to name.
        QVERIFY(listShowsTheTable() && !document().isModified() &&
                !action(u"mnuundo"_s)->isEnabled() && caption(u"mnuundo"_s) == u"Undo"_s);
        QCOMPARE(action(u"mnuredo"_s)->text(), u"&Redo"_s + undo.mid(4)); // its Alt letter too
        select(0, 0);
        QTest::keySequence(&window(), QKeySequence(u"Ctrl+Shift+Z"_s)); // Redo's second shortcut
        QVERIFY(table().bytes() == after && document().isModified());
        // The entry edited selected again on redo too.
        QCOMPARE(tree()->currentEntry(), edit ? 12 : 0);
    }

    // The saved state, Find and Replace with the status bar, and a table out and back, over a
    // session of opened, closed and new documents.
    void unsavedFindReplaceAndTables()
    {
        openTable(numberedTable(6, 151));
        // How many of the document, the status bar and the Save button say it is unsaved.
        const auto told = [this] {
            const QString mark = child<QLabel>(&window(), u"unsavedMark"_s)->text();
            const QString tip = child<QToolButton>(&window(), u"Toolbar1Button3"_s)->toolTip();
            return int(document().isModified()) + !mark.isEmpty() + tip.contains(u"unsaved"_s);
        };
        rename(2, u"Set 2"_s); // the same bytes: no step
        QVERIFY(!document().undoStack()->canUndo() && told() == 0);
        select(0, 0);
        services().dialogs << [](QDialog &dialog) { dialog.accept(); }; // tileset 0 onto itself
        // A change all the same.
        QVERIFY(trigger(u"mnucopy"_s) && !document().undoStack()->canUndo() && told() == 3);
        rename(1, u"A"_s);
        QCOMPARE(told(), 3);
        QVERIFY(trigger(u"mnusave"_s));
        rename(1, u"B"_s);
        // As saved, then before the save.
        QVERIFY(trigger(u"mnuundo"_s) && told() == 0 && trigger(u"mnuundo"_s) && told() == 3);
        QVERIFY(trigger(u"mnuredo"_s) && told() == 0); // as saved again
        // A command stores an open edit first: Close, by its shortcut, has a change to ask about.
        startEdit(3, u"F2"_s)->setText(u"Moss"_s);
        services().answers << Answer::Cancel;
        QVERIFY(trigger(u"mnuclose"_s) && lastMessage() == u"Save changes before closing file?"_s);
        QCOMPARE(table().entry(12, 3), field("Moss", EntryWidth));
        QVERIFY(trigger(u"mnuundo"_s) && trigger(u"mnuclose"_s)); // no question: nothing to save
        QVERIFY(!document().undoStack()->canUndo() && !action(u"mnuundo"_s)->isEnabled());

        QVERIFY(open(folderPath(u"a.dat"_s))); // tileset 1 named "A" now
        const QByteArray before = table().bytes();
        search(u"5:14"_s); // entries 14 and 140..149 of tileset 5
        QVERIFY(!child<QPushButton>(finder(), u"replaceAll"_s)->isVisible()); // Find alone
        auto *results = child<QListWidget>(finder(), u"findResults"_s);
        auto *summary = child<QLabel>(finder(), u"findSummary"_s);
        QCOMPARE(results->item(0)->text(), u"05. Set 5 \u00b7 014. 5:14"_s);
        QCOMPARE(summary->text(), u"11 matches in 1 tileset"_s);
        const int remembered = tree()->selectedEntryNode();
        Q_EMIT results->itemActivated(results->item(1)); // as a click on the tileset would
        QCOMPARE(std::tuple(list()->currentTileset(), onEntry(140),
                            nodeOfEntry(140)->parent()->isExpanded(), nodeOfEntry(140)->text(0),
                            tree()->selectedEntryNode()),
                 std::tuple(5, true, true, u"140. 5:140"_s, remembered));
        QCOMPARE(fieldStatus()->text(),
                 u"Tileset 05 \u00b7 Entry 140 \u00b7 5 / 32 characters \u00b7 ends with NUL"_s);
        QVERIFY(fieldStatus()->toolTip().startsWith(u"35 3A 31 34 30 00 20"_s));
        QTest::keyClick(tree(), Qt::Key_F2);
        labelEditor(tree())->setText(u"abc"_s);
        QVERIFY(fieldStatus()->text().endsWith(u"3 / 32 characters \u00b7 editing"_s));
        // A paste of what no field can hold is refused whole, and the status bar says why.
        auto *bar = child<QStatusBar>(&window(), u"statusBar"_s);
        labelEditor(tree())->insert(u"d\U0001F600"_s);
        QVERIFY(bar->currentMessage().contains(
            u"Windows-1252 characters only, and \u201c\U0001F600\u201d"_s));
        labelEditor(tree())->insert(u"d\te"_s);
        QVERIFY(bar->currentMessage().contains(
            u"Control characters (line ends, tabs, NUL) cannot be part of a field's text."_s));
        QCOMPARE(labelEditor(tree())->text(), u"abc"_s);
        QTest::keyClick(labelEditor(tree()), Qt::Key_Escape);
        QTRY_VERIFY(!fieldStatus()->text().endsWith(u"editing"_s));
        click(list(), list()->node(6));
        QVERIFY(fieldStatus()->text().startsWith(u"Tileset 05 \u00b7 Name \u00b7 "_s));
        click(tree(), nodeOfEntry(140)); // the current entry: its field again
        QVERIFY(fieldStatus()->text().startsWith(u"Tileset 05 \u00b7 Entry 140 \u00b7 "_s));
        select(5, 149);
        // Find next wraps to the first.
        QVERIFY(trigger(u"mnufindnext"_s) && onEntry(14));
        services().answers << Answer::Cancel;
        search(u"0:0"_s, QString(40, u'x'));
        QCOMPARE(lastMessage(), u"1 field would be cut to fit. Replace all the same?"_s);
        search(u"0:0"_s, u"\u4e2d"_s); // not Windows-1252
        QCOMPARE(services().messages.last().title, u"Replace all"_s);
        QVERIFY(table().bytes() == before && !document().undoStack()->canUndo());
        // A summary is never that of another search; a refused Replace all says so.
        QCOMPARE(summary->text(), u"Nothing replaced"_s);
        // Replace changes the match the user is on, one undo step, and shows the next; off a
        // match it only shows the next. Ctrl+F and Ctrl+H in the dialog switch it and back.
        select(5, 13);
        search(u"5:14"_s, u"x"_s, u"replace"_s); // off a match
        QTest::keyClick(child<QLineEdit>(finder(), u"replaceText"_s), Qt::Key_Return); // finds
        QVERIFY(onEntry(14) && table().bytes() == before);
        auto *replace = child<QPushButton>(finder(), u"replace"_s);
        replace->click();
        QCOMPARE(table().entry(14, 5), field("x", EntryWidth));
        QVERIFY(onEntry(140) && caption(u"mnuundo"_s) == u"Undo replace"_s);
        select(5, 149);
        replace->click(); // the last: round to the first match left
        QCOMPARE(tree()->currentItem(), nodeOfEntry(140));
        QVERIFY(trigger(u"mnuundo"_s) && onEntry(149)); // its step
        QVERIFY(trigger(u"mnuundo"_s) && table().bytes() == before);
        QTRY_COMPARE(QApplication::activeWindow(), replace->window()); // keys reach the dialog
        QTest::keyClick(replace->window(), Qt::Key_F, Qt::ControlModifier);
        QVERIFY(!replace->isVisible() && !child(finder(), u"replaceAll"_s)->isVisible());
        QTest::keyClick(replace->window(), Qt::Key_H, Qt::ControlModifier);
        QVERIFY(replace->isVisible());
        child<QCheckBox>(finder(), u"matchCase"_s)->setChecked(true);
        search(u"SET 5"_s);
        QCOMPARE(summary->text(), u"No matches"_s);
        // A changed option ends the summary; the name is still found; Enter finds.
        child<QCheckBox>(finder(), u"searchEntries"_s)->setChecked(false);
        QCOMPARE(summary->text(), QString());
        child<QCheckBox>(finder(), u"matchCase"_s)->setChecked(false);
        QTest::keyClick(child<QLineEdit>(finder(), u"replaceText"_s), Qt::Key_Return);
        QCOMPARE(summary->text(), u"1 match in 1 tileset"_s);
        child<QLineEdit>(finder(), u"findText"_s)->insert(u"\u4e2d"_s); // looked for, never stored
        QVERIFY(child<QLineEdit>(finder(), u"findText"_s)->text().endsWith(u"\u4e2d"_s));
        child<QLineEdit>(finder(), u"findText"_s)->clear();
        QCOMPARE(summary->text(), QString());
        // No results for the new text, unasked.
        QVERIFY(trigger(u"mnuinsert"_s) && trigger(u"mnuundo"_s) && summary->text().isEmpty());
        child<QPushButton>(finder(), u"replaceAll"_s)->click();
        QVERIFY(summary->text().startsWith(u"Nothing replaced"_s));
        finder()->close(); // F3 with nothing to find brings the dialog back
        QVERIFY(trigger(u"mnufindnext"_s) && finder()->isVisible());
        // No document: nothing to find in.
        QVERIFY(trigger(u"mnuclose"_s) && !finder()->isVisible());

        // A table out and back through the File menu: its changes, tilesets added when asked,
        // are one undo step.
        QVERIFY(!trigger(u"mnuimporttable"_s) && !trigger(u"mnuexporttable"_s)); // no document
        QVERIFY(open(writeNumberedFile(u"a.v2.dat"_s, 3, 4)));
        services().files.append(folderPath(u"a.csv"_s));
        QVERIFY(trigger(u"mnuexporttable"_s));
        QCOMPARE(services().fileRequests.last().fileName, u"a.v2.xlsx"_s);
        QVERIFY(QFile(folderPath(u"a.csv"_s)).size() > 100);
        const auto import = [this](const QByteArray &table) {
            services().files.append(writeFile(u"b.csv"_s, table));
            return trigger(u"mnuimporttable"_s);
        };
        services().answers.append(PlatformServices::Answer::Ok);
        QVERIFY(import("Tileset,Name,000\n0,Moss,x\n3,Added,\n4,More,\n"));
        QCOMPARE(services().messages.last().text,
                 u"The table adds 2 tilesets after the last one (03 to 04). Add them?"_s);
        QCOMPARE(bar->currentMessage(), u"Imported the table: 6 fields changed"_s);
        QCOMPARE(document().tilesetCount(), 5);
        QVERIFY(trigger(u"mnuundo"_s) && table() == numberedTable(3, 4));
        QVERIFY(import("Tileset,Name\n0,Moss\n"));
        QCOMPARE(caption(u"mnuundo"_s), u"Undo import table: 1 field"_s);
        QVERIFY(import("Tileset,Name\n0,Moss\n"));
        QCOMPARE(bar->currentMessage(), u"Imported the table: nothing to change"_s);

        // A new document has no file to hold it: every step back still asks.
        services().dialogs << [](QDialog &dialog) { dialog.accept(); };
        QVERIFY(trigger(u"mnuundo"_s) && trigger(u"mnunew"_s)); // the table as opened: unasked
        rename(0, u"Moss"_s);
        QVERIFY(trigger(u"mnuundo"_s));
        services().answers << Answer::Cancel << Answer::Yes;
        QVERIFY(trigger(u"mnuclose"_s) && lastMessage() == u"Save changes before closing file?"_s);
        services().files << QString(); // Yes, then Save as is cancelled: nothing closes
        QVERIFY(trigger(u"mnuclose"_s) && document().isOpen() && document().isModified());
    }
};

QTEST_MAIN(TestEditing)
#include "tst_editing.moc"

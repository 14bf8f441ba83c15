#include "entrytree.h"
#include "tilesetfiles.h"
#include "tilesetlist.h"
#include "windowtest.h"

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QUndoStack>

using namespace Qt::StringLiterals;
using Answer = PlatformServices::Answer;

// Undo and redo, find and replace, and the status bar, through the window as a user has them.
class TestHistory : public WindowTest
{
    Q_OBJECT

    Document &doc() { return mFixture->document(); }
    MainWindow &window() { return mFixture->window(); }
    TilesetList *list() { return window().tilesetList(); }
    EntryTree *tree() { return window().entryTree(); }
    QAction *menuItem(const QString &name) { return window().findChild<QAction *>(name); }
    QString caption(const QString &name) { return menuItem(name)->text(); }
    QString path;

    void openNumbered(int tilesets = 6)
    {
        mFixture->start();
        path = mFixture->writeNumberedFile(u"hmkset.dat"_s, tilesets, 151);
        QVERIFY(mFixture->open(path));
    }
    void select(int tileset, int entry = -1)
    {
        list()->selectNode(tileset + 1);
        if (entry >= 0)
            tree()->selectNode(tree()->entryNode(entry));
    }
    void chooseTileset(int index)
    {
        mFixture->services.onDialog([index](QDialog &dialog) {
            dialog.findChild<QComboBox *>(u"Combo1"_s)->setCurrentIndex(index);
            dialog.accept();
        });
    }
    QWidget *findDialog() { return window().findChild<QWidget *>(u"FindDialog"_s); }
    template<typename T>
    T *inFind(const QString &name)
    {
        return findDialog()->findChild<T *>(name);
    }
    void search(const QString &text, const QString &replacement = {})
    {
        QVERIFY(mFixture->trigger(replacement.isNull() ? u"mnufind"_s : u"mnureplace"_s));
        inFind<QLineEdit>(u"findText"_s)->setText(text);
        if (!replacement.isNull()) {
            inFind<QLineEdit>(u"replaceText"_s)->setText(replacement);
            inFind<QPushButton>(u"replaceAll"_s)->click();
        } else {
            inFind<QPushButton>(u"findAll"_s)->click();
        }
    }
    QStringList results()
    {
        QStringList rows;
        auto *view = inFind<QListWidget>(u"findResults"_s);
        for (int i = 0; i < view->count(); ++i)
            rows.append(view->item(i)->text());
        return rows;
    }

private Q_SLOTS:
    void eachCommandIsOneStep_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("undo"); // the caption naming the step
        QTest::addColumn<int>("entry");    // the entry selected after undoing, -1 for none
        QTest::newRow("rename") << u"rename"_s << u"Undo rename tileset 03"_s << -1;
        QTest::newRow("edit entry") << u"edit"_s << u"Undo edit entry 012 of tileset 03"_s << 12;
        QTest::newRow("insert") << u"mnuinsert"_s << u"Undo insert tileset 03"_s << -1;
        QTest::newRow("delete") << u"mnudelete"_s << u"Undo delete tileset 03"_s << -1;
        QTest::newRow("copy") << u"mnucopy"_s << u"Undo copy tileset 05 to tileset 03"_s << -1;
        QTest::newRow("import") << u"mnuimport"_s << u"Undo import into tileset 03"_s << -1;
        QTest::newRow("replace all") << u"replace"_s << u"Undo replace all"_s << -1;
    }
    void eachCommandIsOneStep()
    {
        QFETCH(QString, command);
        openNumbered();
        select(3, 40);
        const QByteArray before = doc().tilesets.bytes();
        if (command == u"rename") {
            Q_EMIT list()->labelEdited(3, u"Moss"_s);
        } else if (command == u"edit") {
            Q_EMIT tree()->labelEdited(tree()->entryNode(12), u"rubble.bmp"_s);
        } else if (command == u"mnucopy") {
            chooseTileset(5);
        } else if (command == u"mnuimport") {
            mFixture->services.answer(Answer::Ok);
            mFixture->services.chooseFile(
                mFixture->writeFile(u"other.dat"_s, TestFiles::randomFile(2, 151, 7)));
            chooseTileset(1);
        } else if (command == u"replace") {
            search(u"3:"_s, u"three:"_s);
        }
        if (command.startsWith(u"mnu"))
            QVERIFY(mFixture->trigger(command));
        const QByteArray after = doc().tilesets.bytes();
        QVERIFY(after != before);
        QVERIFY(doc().changesMade);
        QTEST(caption(u"mnuundo"_s), "undo");
        select(0, 0);
        QVERIFY(mFixture->trigger(u"mnuundo"_s));
        QCOMPARE(doc().tilesets.bytes(), before); // byte for byte, padding included
        QCOMPARE(list()->selectedTileset(), 3);
        QCOMPARE(list()->node(4)->text(0), u"03. Set 3"_s);
        QFETCH(int, entry);
        if (entry >= 0)
            QCOMPARE(tree()->nodeEntry(tree()->selectedNodeIndex()), entry);
        QVERIFY(!doc().changesMade); // back where the file was opened
        QVERIFY(!menuItem(u"mnuundo"_s)->isEnabled());
        QFETCH(QString, undo);
        QCOMPARE(caption(u"mnuredo"_s), u"Redo"_s + undo.mid(4));
        QVERIFY(mFixture->trigger(u"mnuredo"_s));
        QCOMPARE(doc().tilesets.bytes(), after);
        QVERIFY(doc().changesMade);
    }

    void changesMadeFollowsTheSavedStep()
    {
        openNumbered();
        Q_EMIT list()->labelEdited(1, u"A"_s);
        QVERIFY(mFixture->trigger(u"mnusave"_s));
        Q_EMIT list()->labelEdited(1, u"B"_s);
        QVERIFY(mFixture->trigger(u"mnuundo"_s));
        QVERIFY(!doc().changesMade); // as saved
        QVERIFY(mFixture->trigger(u"mnuundo"_s));
        QVERIFY(doc().changesMade); // before the save
        QVERIFY(mFixture->trigger(u"mnuredo"_s));
        QVERIFY(mFixture->trigger(u"mnuclose"_s)); // no question: nothing to save
        QVERIFY(!window().undoStack()->canUndo() && !menuItem(u"mnuundo"_s)->isEnabled());
    }

    void unchangedBytesMakeNoStep()
    {
        openNumbered();
        Q_EMIT list()->labelEdited(2, u"Set 2"_s);
        QVERIFY(!window().undoStack()->canUndo());
        QCOMPARE(caption(u"mnuundo"_s), u"Undo"_s);
    }

    void findShowsWhatMatched()
    {
        openNumbered();
        search(u"5:14"_s); // entries 14, 140..149 of tileset 5
        QCOMPARE(results().size(), 11);
        QCOMPARE(results().first(), u"05. Set 5 \u00b7 014. 5:14"_s);
        QCOMPARE(inFind<QLabel>(u"findSummary"_s)->text(), u"11 matches in 1 tileset"_s);
        const int remembered = tree()->selectedEntryNode();
        Q_EMIT inFind<QListWidget>(u"findResults"_s)
            ->itemActivated(inFind<QListWidget>(u"findResults"_s)->item(1));
        QCOMPARE(list()->selectedTileset(), 5);
        QTreeWidgetItem *node = tree()->node(tree()->entryNode(140));
        QCOMPARE(tree()->currentItem(), node);
        QVERIFY(node->parent()->isExpanded());
        QCOMPARE(node->text(0), u"140. 5:140"_s); // the tree shows the tileset found
        QCOMPARE(tree()->selectedEntryNode(), remembered);
        select(5, 149);
        QVERIFY(mFixture->trigger(u"mnufindnext"_s)); // wraps to the first
        QCOMPARE(tree()->nodeEntry(tree()->selectedNodeIndex()), 14);
        search(u"nowhere"_s);
        QCOMPARE(inFind<QLabel>(u"findSummary"_s)->text(), u"No matches"_s);
    }

    void replaceAsksBeforeCutting()
    {
        openNumbered();
        const QByteArray before = doc().tilesets.bytes();
        mFixture->services.answer(Answer::Cancel);
        search(u"0:0"_s, QString(40, u'x'));
        QCOMPARE(mFixture->services.messages.last().text,
                 u"1 field would be cut to fit. Replace all the same?"_s);
        QCOMPARE(doc().tilesets.bytes(), before);
        search(u"0:0"_s, u"\u4e2d"_s); // no Windows-1252 character
        QCOMPARE(mFixture->services.messages.last().title, u"Replace all"_s);
        QCOMPARE(doc().tilesets.bytes(), before);
        QVERIFY(!doc().changesMade && !window().undoStack()->canUndo());
    }

    void statusBarShowsTheField()
    {
        openNumbered();
        auto *status = window().findChild<QStatusBar *>(u"statusBar"_s);
        auto *label = status->findChild<QLabel *>();
        select(2, 7);
        QCOMPARE(label->text(),
                 u"Tileset 02 \u00b7 Entry 007 \u00b7 3 / 32 characters \u00b7 ends with NUL"_s);
        QVERIFY(status->toolTip().startsWith(u"32 3A 37 00 20"_s));
        const QRect node = list()->visualItemRect(list()->node(3));
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, node.center());
        QCOMPARE(label->text(),
                 u"Tileset 02 \u00b7 Name \u00b7 5 / 33 characters \u00b7 ends with NUL"_s);
        Q_EMIT list()->labelTextChanged(u"Mossy"_s.repeated(2));
        QCOMPARE(label->text(),
                 u"Tileset 02 \u00b7 Name \u00b7 10 / 33 characters \u00b7 editing"_s);
    }
};

QTEST_MAIN(TestHistory)
#include "tst_history.moc"

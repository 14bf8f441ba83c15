#include "entrytree.h"
#include "filetoolbar.h"
#include "fixedfield.h"
#include "form3.h"
#include "form4.h"
#include "form5.h"
#include "tilesetfiles.h"
#include "tilesetlist.h"
#include "windowfixture.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace Qt::StringLiterals;
using Answer = PlatformServices::Answer;
using Icon = PlatformServices::Icon;
using Buttons = PlatformServices::Buttons;

namespace {

// A name assigned without a terminator, as New and Insert give them.
QByteArray padded(const QByteArray &text, qsizetype width)
{
    return text.leftJustified(width, ' ');
}

// Another file's tilesets, told apart from the numbered ones: "Other k" and "o k:j".
TilesetTable otherTable(int tilesetCount, int entryCount)
{
    TilesetTable table(tilesetCount, entryCount);
    for (int k = 0; k < tilesetCount; ++k) {
        table.setTilesetName(k, StoreFixedText("Other " + QByteArray::number(k), NameWidth));
        for (int j = 0; j < entryCount; ++j) {
            const QByteArray text = "o " + QByteArray::number(k) + ':' + QByteArray::number(j);
            table.setEntry(j, k, StoreFixedText(text, EntryWidth));
        }
    }
    return table;
}

// Where a command is cancelled.
enum Stop
{
    AtDialog, // New file or Select tileset
    AtQuestion,
    AtFileDialog
};

QString twoDigits(int n)
{
    return u"%1"_s.arg(n, 2, 10, QChar(u'0'));
}

} // namespace

class TestTilesetCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { mFixture = std::make_unique<WindowFixture>(); }
    void cleanup();

    void newMakesAnEmptyDocument_data();
    void newMakesAnEmptyDocument();
    void insertThenDeleteRestores_data();
    void insertThenDeleteRestores();
    void deleteSelectsTheFollowingTileset_data();
    void deleteSelectsTheFollowingTileset();
    void copyOrImportOverwritesSelectedTileset_data();
    void copyOrImportOverwritesSelectedTileset();
    void refusedCommandChangesNothing_data();
    void refusedCommandChangesNothing();
    void cancelledCommandChangesNothing_data();
    void cancelledCommandChangesNothing();
    void fileInfoFolderAfterOpenAndSaveAs();

private:
    Form1 &openNumbered(int tilesets, int entries)
    {
        Form1 &window = mFixture->start();
        mPath = mFixture->writeNumberedFile(u"hmkset.dat"_s, tilesets, entries);
        if (!mFixture->open(mPath))
            qFatal("open failed");
        return window;
    }
    Document &document() { return mFixture->document(); }
    // "Harrowmark", "Veldrune" or the custom tileset count.
    void answerNew(const QString &choice)
    {
        mFixture->services.onDialog([choice](QDialog &dialog) {
            auto *form4 = qobject_cast<Form4 *>(&dialog);
            QVERIFY(form4);
            if (choice == u"Harrowmark"_s) {
                form4->Option1->click();
            } else if (choice != u"Veldrune"_s) {
                form4->Option3->click();
                form4->Text1[0]->setText(choice);
            }
            form4->Command1->click();
        });
    }
    // Answers the next Select tileset dialog with index, recording the items offered.
    void chooseTileset(int index)
    {
        mFixture->services.onDialog([this, index](QDialog &dialog) {
            auto *form5 = qobject_cast<Form5 *>(&dialog);
            QVERIFY(form5);
            for (int i = 0; i < form5->Combo1->count(); ++i)
                mOffered.append(form5->Combo1->itemText(i));
            if (form5->Combo1->currentIndex() != 0)
                mOffered.append(u"first item not selected"_s);
            form5->Combo1->setCurrentIndex(index);
            form5->Command1->click();
        });
    }
    void cancelDialog(bool closeBox)
    {
        mFixture->services.onDialog([closeBox](QDialog &dialog) {
            if (closeBox) {
                dialog.show();
                dialog.close();
            } else {
                dialog.findChild<QPushButton *>(u"Command2"_s)->click();
            }
        });
    }
    // Label5 to Label8 of File info.
    QStringList fileInfo()
    {
        QStringList values;
        mFixture->services.onDialog([&values](QDialog &dialog) {
            auto *form3 = qobject_cast<Form3 *>(&dialog);
            QVERIFY(form3);
            for (QLabel *label : {form3->Label5, form3->Label6, form3->Label7, form3->Label8})
                values.append(label->text());
            form3->Command1->click();
        });
        mFixture->trigger(u"mnufileinfo"_s);
        return values;
    }

    std::unique_ptr<WindowFixture> mFixture;
    QString mPath;
    QStringList mOffered;
};

void TestTilesetCommands::cleanup()
{
    QVERIFY2(mFixture->services.unexpected.isEmpty(),
             qPrintable(mFixture->services.unexpected.join(u"; "_s)));
    QVERIFY(mFixture->services.allAnswersUsed());
    mFixture.reset();
    mOffered.clear();
}

void TestTilesetCommands::newMakesAnEmptyDocument_data()
{
    QTest::addColumn<QString>("choice");
    QTest::addColumn<bool>("button");
    QTest::addColumn<int>("tilesets");
    QTest::newRow("Veldrune") << u"Veldrune"_s << false << 70;
    QTest::newRow("Veldrune from the toolbar") << u"Veldrune"_s << true << 70;
    QTest::newRow("Harrowmark") << u"Harrowmark"_s << false << 50;
    QTest::newRow("Custom 1") << u"1"_s << false << 1;
    QTest::newRow("Custom 51") << u"51"_s << false << 51;
    QTest::newRow("Custom 255") << u"255"_s << false << 255;
    QTest::newRow("Custom 2.5") << u"2.5"_s << false << 3;
}

void TestTilesetCommands::newMakesAnEmptyDocument()
{
    QFETCH(QString, choice);
    QFETCH(int, tilesets);
    Form1 &window = openNumbered(3, 151);
    document().ChangesMade = true; // replaced without a question all the same
    answerNew(choice);
    QFETCH(bool, button);
    if (button)
        window.Toolbar1->button(1)->trigger();
    else
        QVERIFY(mFixture->trigger(u"mnunew"_s));

    QVERIFY(mFixture->services.messages.isEmpty());
    TilesetTable expected(tilesets, 151); // every other byte NUL
    expected.setTilesetName(0, padded("Generic", NameWidth));
    if (tilesets >= 51)
        expected.setTilesetName(50, padded("New generic", NameWidth));
    QVERIFY(document().Tilesets == expected);
    QCOMPARE(document().FilePath, u"Untitled"_s);
    QCOMPARE(document().LastOpenedPath, mPath);
    QVERIFY(document().ChangesMade);
    QCOMPARE(window.windowTitle(), u"HMK Tileset Editor - Untitled"_s);
    for (const QString &name :
         {u"mnufileinfo"_s, u"mnuclose"_s, u"mnusave"_s, u"mnusaveas"_s, u"mnuinsert"_s})
        QVERIFY2(window.findChild<QAction *>(name)->isEnabled(), qPrintable(name));
    QVERIFY(window.findChild<QMenu *>(u"mnuedit"_s)->menuAction()->isEnabled());
    QVERIFY(window.Toolbar1->button(3)->isEnabled());
    QCOMPARE(window.NewList1->nodeCount(), tilesets);
    QCOMPARE(window.NewList1->topLevelItemCount(), tilesets >= 51 ? 2 : 1);
    QCOMPARE(window.NewList1->selectedTileset(), 0);
    QCOMPARE(window.NewList1->node(1)->text(0), u"00. Generic"_s);
    if (tilesets >= 51)
        QCOMPARE(window.NewList1->node(51)->text(0), u"50. New generic"_s);
    QCOMPARE(window.NewList2->nodeCount(), 167);
    QCOMPARE(window.NewList2->node(window.NewList2->EntryNode(0))->text(0), u"000. "_s);
    QCOMPARE(fileInfo(),
             QStringList({u"untitled"_s, u"n/a"_s, QString::number(tilesets), u"151"_s}));

    // Save names the file first; cancelling that leaves the document untitled.
    mFixture->services.chooseFile(QString());
    QVERIFY(mFixture->trigger(u"mnusave"_s));
    QCOMPARE(mFixture->services.fileRequests.last().mode, PlatformServices::FileRequest::Save);
    QCOMPARE(mFixture->services.fileRequests.last().title, u"Save hmkset.dat"_s);
    QCOMPARE(document().FilePath, u"Untitled"_s);
    QVERIFY(document().ChangesMade);
}

void TestTilesetCommands::insertThenDeleteRestores_data()
{
    QTest::addColumn<int>("tilesets");
    QTest::addColumn<int>("selected");
    QTest::newRow("first") << 6 << 0;
    QTest::newRow("middle") << 6 << 3;
    QTest::newRow("last") << 6 << 5;
    QTest::newRow("head of the second group") << 60 << 50;
}

void TestTilesetCommands::insertThenDeleteRestores()
{
    QFETCH(int, tilesets);
    QFETCH(int, selected);
    Form1 &window = openNumbered(tilesets, 151);
    const TilesetTable before = document().Tilesets;
    const QString title = window.windowTitle();
    window.NewList1->selectNode(selected + 1);
    QVERIFY(mFixture->trigger(u"mnuinsert"_s));

    const TilesetTable &after = document().Tilesets;
    QCOMPARE(after.tilesetCount(), tilesets + 1);
    for (int i = 0; i < selected; ++i)
        QCOMPARE(after.record(i), before.record(i));
    // The name padded without a NUL, then every entry 32 spaces.
    QCOMPARE(after.record(selected).toByteArray(), padded("New Tileset", after.recordSize()));
    for (int i = selected + 1; i <= tilesets; ++i)
        QCOMPARE(after.record(i), before.record(i - 1)); // the former last stays last
    QCOMPARE(window.NewList1->nodeCount(), tilesets + 1);
    QCOMPARE(window.NewList1->selectedTileset(), selected);
    QCOMPARE(window.NewList1->currentItem()->text(0), twoDigits(selected) + u". New Tileset"_s);
    EntryTree *tree = window.NewList2;
    QCOMPARE(tree->node(tree->EntryNode(0))->text(0), u"000. "_s + QString(EntryWidth, u' '));
    QCOMPARE(tree->node(tree->EntryNode(150))->text(0), u"150. "_s + QString(EntryWidth, u' '));
    QVERIFY(document().ChangesMade);
    QCOMPARE(document().FilePath, mPath);
    QCOMPARE(window.windowTitle(), title);
    QCOMPARE(fileInfo().mid(2), QStringList({QString::number(tilesets + 1), u"151"_s}));

    QVERIFY(mFixture->trigger(u"mnudelete"_s));
    QVERIFY(document().Tilesets == before);
    QCOMPARE(window.NewList1->nodeCount(), tilesets);
    QCOMPARE(window.NewList1->selectedTileset(), selected);
    QCOMPARE(tree->node(tree->EntryNode(0))->text(0), u"000. %1:0"_s.arg(selected));
    QVERIFY(document().ChangesMade);
    QCOMPARE(window.windowTitle(), title);
    QCOMPARE(fileInfo().mid(2), QStringList({QString::number(tilesets), u"151"_s}));
}

void TestTilesetCommands::deleteSelectsTheFollowingTileset_data()
{
    QTest::addColumn<int>("tilesets");
    QTest::addColumn<int>("deleted");
    QTest::addColumn<int>("selected");
    QTest::addColumn<int>("groups");
    QTest::newRow("first") << 6 << 0 << 0 << 1;
    QTest::newRow("middle") << 6 << 2 << 2 << 1;
    QTest::newRow("last") << 6 << 5 << 4 << 1;
    QTest::newRow("51 to 50, first group") << 51 << 10 << 10 << 1;
    QTest::newRow("51 to 50, last") << 51 << 50 << 49 << 1;
    QTest::newRow("52 to 51") << 52 << 3 << 3 << 2;
}

void TestTilesetCommands::deleteSelectsTheFollowingTileset()
{
    QFETCH(int, tilesets);
    QFETCH(int, deleted);
    QFETCH(int, selected);
    Form1 &window = openNumbered(tilesets, 151);
    const QString title = window.windowTitle();
    window.NewList1->selectNode(deleted + 1);
    QVERIFY(mFixture->trigger(u"mnudelete"_s));

    QCOMPARE(document().tilesetCount(), tilesets - 1);
    QCOMPARE(window.NewList1->nodeCount(), tilesets - 1);
    QTEST(int(window.NewList1->topLevelItemCount()), "groups");
    QCOMPARE(window.NewList1->selectedTileset(), selected);
    // The selected node shows the tileset that followed the deleted one (or the new last).
    const int shown = selected < deleted ? selected : selected + 1;
    QCOMPARE(window.NewList1->currentItem()->text(0),
             twoDigits(selected) + u". Set %1"_s.arg(shown));
    QCOMPARE(window.NewList2->node(window.NewList2->EntryNode(7))->text(0),
             u"007. %1:7"_s.arg(shown));
    QVERIFY(document().ChangesMade);
    QCOMPARE(window.windowTitle(), title);
}

void TestTilesetCommands::copyOrImportOverwritesSelectedTileset_data()
{
    QTest::addColumn<int>("otherTilesets"); // 0: copy from the document itself
    QTest::addColumn<int>("chosen");
    QTest::newRow("copy") << 0 << 5;
    QTest::newRow("copy onto itself") << 0 << 7;
    QTest::newRow("import, fewer tilesets") << 3 << 2;
    QTest::newRow("import, more tilesets") << 90 << 88;
    QTest::newRow("import, the only one") << 1 << 0;
}

void TestTilesetCommands::copyOrImportOverwritesSelectedTileset()
{
    QFETCH(int, otherTilesets);
    QFETCH(int, chosen);
    Form1 &window = openNumbered(60, 151);
    const TilesetTable before = document().Tilesets;
    const bool import = otherTilesets > 0;
    const TilesetTable source = import ? otherTable(otherTilesets, 151) : before;
    const QByteArray otherBytes = TestFiles::fileBytes(source);
    const QString otherPath = mFixture->writeFile(u"other.dat"_s, otherBytes);
    const QString title = window.windowTitle();
    window.NewList1->selectNode(8);
    if (import) {
        mFixture->services.answer(Answer::Ok);
        mFixture->services.chooseFile(otherPath);
    }
    chooseTileset(chosen);
    QVERIFY(mFixture->trigger(import ? u"mnuimport"_s : u"mnucopy"_s));

    QCOMPARE(mFixture->services.messages.size(), import ? 1 : 0);
    if (import) {
        const ScriptedServices::Message question = mFixture->services.messages.first();
        QCOMPARE(question.text, u"The currently selected tileset will be overwritten. Continue?"_s);
        QCOMPARE(question.title, u"Changes made"_s);
        QCOMPARE(question.buttons, Buttons::OkCancel);
        QCOMPARE(question.icon, Icon::Question);
        const PlatformServices::FileRequest request = mFixture->services.fileRequests.last();
        QCOMPARE(request.mode, PlatformServices::FileRequest::Open);
        QCOMPARE(request.title, u"Import from other file"_s);
        QCOMPARE(request.fileName, u"hmkset.dat"_s);
    }
    QStringList items; // exactly the source's tilesets, the first selected
    for (int k = 0; k < source.tilesetCount(); ++k)
        items.append(twoDigits(k) + (import ? u". Other %1"_s : u". Set %1"_s).arg(k));
    QCOMPARE(mOffered, items);

    // A copy takes the entries only; an import the name too.
    const TilesetTable &after = document().Tilesets;
    QCOMPARE(after.tilesetCount(), 60);
    for (int i = 0; i < 60; ++i) {
        if (i != 7)
            QCOMPARE(after.record(i), before.record(i));
    }
    QCOMPARE(after.TilesetNames(7), (import ? source : before).TilesetNames(import ? chosen : 7));
    for (int j = 0; j < 151; ++j)
        QCOMPARE(after.Entries(j, 7), source.Entries(j, chosen));
    QVERIFY(document().ChangesMade);
    QCOMPARE(window.NewList1->node(8)->text(0),
             import ? u"07. Other %1"_s.arg(chosen) : u"07. Set 7"_s);
    QCOMPARE(window.NewList1->selectedTileset(), 7);
    QCOMPARE(window.NewList2->node(window.NewList2->EntryNode(9))->text(0),
             (import ? u"009. o %1:9"_s : u"009. %1:9"_s).arg(chosen));

    // The open document stays the one Save writes.
    QCOMPARE(document().FilePath, mPath);
    QCOMPARE(document().FileTitle, u"hmkset.dat"_s);
    QCOMPARE(document().FileFolder, mFixture->folder());
    QCOMPARE(document().LastOpenedPath, mPath);
    QCOMPARE(window.windowTitle(), title);
    QVERIFY(mFixture->trigger(u"mnusave"_s));
    QCOMPARE(TestFiles::read(mPath), TestFiles::fileBytes(after));
    QCOMPARE(TestFiles::read(otherPath), otherBytes);
}

void TestTilesetCommands::refusedCommandChangesNothing_data()
{
    QTest::addColumn<int>("tilesets");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QByteArray>("importing"); // the other file's bytes
    QTest::addColumn<QString>("text");         // empty: the wording is the program's own
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("icon");
    const QString import = u"mnuimport"_s;
    QTest::newRow("delete the only tileset")
        << 1 << u"mnudelete"_s << QByteArray() << u"There must be at least one tileset left!"_s
        << u"Error while deleting tileset"_s << int(Icon::Exclamation);
    QTest::newRow("insert beyond 255") << 255 << u"mnuinsert"_s << QByteArray() << QString()
                                       << QString() << int(Icon::Exclamation);
    QTest::newRow("import, other entry count")
        << 6 << import << TestFiles::fileBytes(otherTable(6, 100))
        << u"Incompatible amount of entries."_s << u"Error importing tileset"_s
        << int(Icon::Critical);
    QTest::newRow("import, shorter than its counts")
        << 6 << import << QByteArray("\x0a\x97\0\0\0", 5) + QByteArray(100, 'x')
        << u"Error: Incorrect filesize"_s << u"Error"_s << int(Icon::Exclamation);
    QTest::newRow("import, no tilesets")
        << 6 << import << QByteArray("\x00\x97\0\0\0", 5) << u"Error while loading!"_s << u"Error"_s
        << int(Icon::Critical);
}

void TestTilesetCommands::refusedCommandChangesNothing()
{
    QFETCH(int, tilesets);
    QFETCH(QString, command);
    QFETCH(QString, text);
    Form1 &window = openNumbered(tilesets, 151);
    const TilesetTable before = document().Tilesets;
    const QString label = window.NewList1->node(tilesets)->text(0);
    window.NewList1->selectNode(tilesets);
    const bool import = command == u"mnuimport"_s;
    if (import) {
        QFETCH(QByteArray, importing);
        mFixture->services.answer(Answer::Ok);
        mFixture->services.chooseFile(mFixture->writeFile(u"other.dat"_s, importing));
    }
    QVERIFY(mFixture->trigger(command));

    QCOMPARE(mFixture->services.messages.size(), import ? 2 : 1);
    const ScriptedServices::Message message = mFixture->services.messages.last();
    QCOMPARE(message.buttons, Buttons::Ok);
    QTEST(int(message.icon), "icon");
    if (!text.isEmpty()) {
        QCOMPARE(message.text, text);
        QTEST(message.title, "title");
    }
    QVERIFY(document().Tilesets == before);
    QVERIFY(!document().ChangesMade);
    QCOMPARE(window.NewList1->nodeCount(), tilesets);
    QCOMPARE(window.NewList1->selectedTileset(), tilesets - 1);
    QCOMPARE(window.NewList1->currentItem()->text(0), label);
}

void TestTilesetCommands::cancelledCommandChangesNothing_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("stop");
    QTest::addColumn<bool>("closeBox");
    QTest::addColumn<bool>("changes");
    const QString copy = u"mnucopy"_s;
    const QString import = u"mnuimport"_s;
    QTest::newRow("New, Cancel, changes before") << u"mnunew"_s << int(AtDialog) << false << true;
    QTest::newRow("New, close box") << u"mnunew"_s << int(AtDialog) << true << false;
    QTest::newRow("copy, Cancel") << copy << int(AtDialog) << false << false;
    QTest::newRow("copy, close box, changes before") << copy << int(AtDialog) << true << true;
    QTest::newRow("import, Cancel at the question") << import << int(AtQuestion) << false << false;
    QTest::newRow("import, file dialog cancelled") << import << int(AtFileDialog) << false << true;
    QTest::newRow("import, Select tileset Cancel") << import << int(AtDialog) << false << false;
    QTest::newRow("import, Select tileset close box, changes before")
        << import << int(AtDialog) << true << true;
}

void TestTilesetCommands::cancelledCommandChangesNothing()
{
    QFETCH(QString, command);
    QFETCH(int, stop);
    QFETCH(bool, changes);
    Form1 &window = openNumbered(8, 151);
    window.NewList1->selectNode(4);
    window.NewList2->selectNode(40);
    document().ChangesMade = changes;
    const TilesetTable before = document().Tilesets;
    const QString title = window.windowTitle();
    mFixture->services.fileRequests.clear();
    const bool import = command == u"mnuimport"_s;
    if (import) {
        mFixture->services.answer(stop == AtQuestion ? Answer::Cancel : Answer::Ok);
        if (stop == AtFileDialog)
            mFixture->services.chooseFile(QString());
        if (stop == AtDialog)
            mFixture->services.chooseFile(
                mFixture->writeFile(u"other.dat"_s, TestFiles::fileBytes(otherTable(4, 151))));
    }
    QFETCH(bool, closeBox);
    if (stop == AtDialog)
        cancelDialog(closeBox);
    QVERIFY(mFixture->trigger(command));

    QCOMPARE(mFixture->services.messages.size(), import ? 1 : 0); // New asks nothing
    QCOMPARE(mFixture->services.fileRequests.size(), import && stop != AtQuestion ? 1 : 0);
    QVERIFY(document().Tilesets == before);
    QCOMPARE(document().ChangesMade, changes);
    QCOMPARE(document().FilePath, mPath);
    QCOMPARE(window.windowTitle(), title);
    QCOMPARE(window.NewList1->selectedTileset(), 3);
    QCOMPARE(window.NewList1->currentItem()->text(0), u"03. Set 3"_s);
    QCOMPARE(window.NewList2->selectedNodeIndex(), 40);
}

void TestTilesetCommands::fileInfoFolderAfterOpenAndSaveAs()
{
    openNumbered(4, 151);
    QCOMPARE(fileInfo(), QStringList({u"hmkset.dat"_s, mFixture->folder(), u"4"_s, u"151"_s}));
    mFixture->services.chooseFile(mFixture->folderPath(u"copy.dat"_s));
    QVERIFY(mFixture->trigger(u"mnusaveas"_s));
    QCOMPARE(fileInfo(), QStringList({u"copy.dat"_s, mFixture->folder() + u'/', u"4"_s, u"151"_s}));
}

QTEST_MAIN(TestTilesetCommands)
#include "tst_tilesetcommands.moc"

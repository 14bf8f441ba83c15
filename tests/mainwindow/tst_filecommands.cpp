#include "entrytoolbar.h"
#include "entrytree.h"
#include "filetoolbar.h"
#include "form6.h"
#include "tilesetfiles.h"
#include "tilesetlist.h"
#include "windowfixture.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QTest>

using namespace Qt::StringLiterals;
using Answer = PlatformServices::Answer;
using Icon = PlatformServices::Icon;
using Buttons = PlatformServices::Buttons;

class TestFileCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void startsWithNoDocument();
    void menuCaptionsAndShortcut();
    void openShowsTheDocument();
    void openDialogSettings();
    void openOtherEntryCountDisablesCategories();
    void failedOpenReportsAndKeepsState_data();
    void failedOpenReportsAndKeepsState();
    void failedOpenAfterAnotherGivesItUp();
    void progressWindowWhileLoading();
    void closeReturnsToNoDocument();
    void saveWritesTheFileAndClearsChanges();
    void saveAsNamesTheNewFile();
    void saveErrorIsReported();
    void promptAnswers_data();
    void promptAnswers();
    void promptYesOnUntitledThenCancelledSaveAs();
    void shutdownPrompt();

private:
    void makeChange() { mFixture->document().ChangesMade = true; }
    bool enabled(const QString &name) const
    {
        return mFixture->window().findChild<QAction *>(name)->isEnabled();
    }

    std::unique_ptr<WindowFixture> mFixture;
};

void TestFileCommands::init()
{
    mFixture = std::make_unique<WindowFixture>();
}

void TestFileCommands::cleanup()
{
    QVERIFY2(mFixture->services.unexpected.isEmpty(),
             qPrintable(mFixture->services.unexpected.join(u"; "_s)));
    QVERIFY(mFixture->services.allAnswersUsed());
    mFixture.reset();
}

void TestFileCommands::startsWithNoDocument()
{
    Form1 &window = mFixture->start();
    QCOMPARE(window.windowTitle(), u"HMK Tileset Editor"_s);
    for (const QString &name : {u"mnufileinfo"_s, u"mnuclose"_s, u"mnusave"_s, u"mnusaveas"_s,
                                u"mnuinsert"_s, u"mnueditentry"_s})
        QVERIFY2(!enabled(name), qPrintable(name));
    for (const QString &name :
         {u"mnunew"_s, u"mnuopen"_s, u"mnuquit"_s, u"mnuopenlast"_s, u"mnureadme"_s, u"mnuabout"_s})
        QVERIFY2(enabled(name), qPrintable(name));
    QVERIFY(!window.findChild<QMenu *>(u"mnuedit"_s)->menuAction()->isEnabled());
    QVERIFY(!window.Toolbar1->button(3)->isEnabled());
    QVERIFY(window.Toolbar1->button(1)->isEnabled());
    for (int i = 1; i <= EntryToolbar::ButtonCount; ++i)
        QVERIFY(!window.Toolbar2->button(i)->isEnabled());
    // Without desc.txt the descriptions command is not offered at all.
    QVERIFY(!window.findChild<QAction *>(u"mnudisplaynames"_s)->isVisible());
    QVERIFY(!window.NewList1->isHidden());
}

void TestFileCommands::menuCaptionsAndShortcut()
{
    Form1 &window = mFixture->start();
    const QList<std::pair<QString, QString>> captions{
        {u"mnunew"_s, u"New"_s},
        {u"mnuopen"_s, u"Open..."_s},
        {u"mnusaveas"_s, u"Save as..."_s},
        {u"mnufileinfo"_s, u"File info..."_s},
        {u"mnucopy"_s, u"Copy from other tileset"_s},
        {u"mnuimport"_s, u"Import tileset from file..."_s},
        {u"mnugoto"_s, u"Go to entry..."_s},
        {u"mnuopenlast"_s, u"Open last file on start up"_s},
        {u"mnuvisitsite"_s, u"Visit my site"_s},
    };
    for (const auto &[name, caption] : captions)
        QCOMPARE(window.findChild<QAction *>(name)->text(), caption);
    QCOMPARE(window.findChild<QAction *>(u"mnueditentry"_s)->shortcut(), QKeySequence(Qt::Key_F2));
    QVERIFY(window.findChild<QAction *>(u"mnus6"_s)->isSeparator());
    QCOMPARE(window.Toolbar1->button(2)->toolTip(), u"Open a tileset"_s);
    QCOMPARE(window.Toolbar2->button(8)->toolTip(), u"Rocks"_s);
    QVERIFY(window.Toolbar2->button(2)->isSeparator());
}

void TestFileCommands::openShowsTheDocument()
{
    Form1 &window = mFixture->start();
    const QString path = mFixture->writeNumberedFile(u"hmkset.dat"_s, 70, 151);
    QVERIFY(mFixture->open(path));

    QCOMPARE(window.windowTitle(), u"HMK Tileset Editor - "_s + path);
    Document &document = mFixture->document();
    QCOMPARE(document.FilePath, path);
    QCOMPARE(document.FileTitle, u"hmkset.dat"_s);
    QCOMPARE(document.FileFolder, mFixture->folder()); // no trailing separator
    QCOMPARE(document.LastOpenedPath, path);
    QVERIFY(!document.ChangesMade);
    QCOMPARE(window.NewList1->nodeCount(), 70);
    QCOMPARE(window.NewList1->selectedTileset(), 0);
    QCOMPARE(window.NewList2->nodeCount(), 167);
    QCOMPARE(window.NewList2->node(2)->text(0), u"000. 0:0"_s);
    for (const QString &name : {u"mnufileinfo"_s, u"mnuclose"_s, u"mnusave"_s, u"mnueditentry"_s})
        QVERIFY2(enabled(name), qPrintable(name));
    QVERIFY(window.Toolbar1->button(3)->isEnabled());
    QVERIFY(window.Toolbar2->button(18)->isEnabled());
}

void TestFileCommands::openDialogSettings()
{
    mFixture->start();
    mFixture->services.chooseFile(QString()); // cancelled
    QVERIFY(mFixture->trigger(u"mnuopen"_s));
    const PlatformServices::FileRequest request = mFixture->services.fileRequests.first();
    QCOMPARE(request.mode, PlatformServices::FileRequest::Open);
    QCOMPARE(request.title, u"Open hmkset.dat"_s);
    QCOMPARE(request.fileName, u"hmkset.dat"_s);
    QCOMPARE(request.filters, QStringList({u"Hmkset.dat (*.dat)"_s, u"All files (*.*)"_s}));
    QCOMPARE(request.defaultSuffix, u"dat"_s);
    QVERIFY(request.folder.isEmpty());
    QCOMPARE(mFixture->window().windowTitle(), u"HMK Tileset Editor"_s);
}

void TestFileCommands::openOtherEntryCountDisablesCategories()
{
    Form1 &window = mFixture->start();
    QVERIFY(mFixture->open(mFixture->writeNumberedFile(u"flat.dat"_s, 3, 100)));
    QCOMPARE(window.NewList2->nodeCount(), 100);
    QCOMPARE(window.NewList2->selectedNodeIndex(), 1);
    for (int i = 1; i <= EntryToolbar::ButtonCount; ++i)
        QVERIFY(!window.Toolbar2->button(i)->isEnabled());
    QVERIFY(!enabled(u"mnudisplaynames"_s));
    QVERIFY(enabled(u"mnuinsert"_s));
}

void TestFileCommands::failedOpenReportsAndKeepsState_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("icon");
    QTest::newRow("too short") << QByteArray("\x0a\x0a\0\0\0", 5) << u"Error: Incorrect filesize"_s
                               << int(Icon::Exclamation);
    QTest::newRow("no tilesets") << QByteArray("\x00\x03\0\0\0", 5) << u"Error while loading!"_s
                                 << int(Icon::Critical);
    QTest::newRow("empty") << QByteArray() << u"Error while loading!"_s << int(Icon::Critical);
}

void TestFileCommands::failedOpenReportsAndKeepsState()
{
    QFETCH(QByteArray, bytes);
    Form1 &window = mFixture->start();
    const QString path = mFixture->writeFile(u"bad.dat"_s, bytes);
    QVERIFY(mFixture->open(path));

    QCOMPARE(mFixture->services.messages.size(), 1);
    const ScriptedServices::Message message = mFixture->services.messages.first();
    QTEST(message.text, "text");
    QCOMPARE(message.title, u"Error"_s);
    QTEST(int(message.icon), "icon");
    QCOMPARE(message.buttons, Buttons::Ok);
    // The title and file values name the file that failed; nothing else changed.
    QCOMPARE(window.windowTitle(), u"HMK Tileset Editor - "_s + path);
    QCOMPARE(mFixture->document().FilePath, path);
    QVERIFY(!enabled(u"mnusave"_s));
    QVERIFY(!mFixture->document().hasTilesets());
    QVERIFY(window.isEnabled());
    for (QWidget *top : QApplication::topLevelWidgets())
        QVERIFY(!qobject_cast<Form6 *>(top)); // the progress window is gone
}

void TestFileCommands::failedOpenAfterAnotherGivesItUp()
{
    Form1 &window = mFixture->start();
    const QString good = mFixture->writeNumberedFile(u"good.dat"_s, 4, 151);
    const QByteArray damaged("\x0a\x0a\0\0\0", 5);
    const QString bad = mFixture->writeFile(u"bad.dat"_s, damaged);
    QVERIFY(mFixture->open(good));
    QVERIFY(mFixture->open(bad));

    // Save cannot write the previous document over the file that failed.
    QVERIFY(!enabled(u"mnusave"_s));
    QVERIFY(!mFixture->document().hasTilesets());
    QVERIFY(window.NewList1->isHidden());
    QCOMPARE(TestFiles::read(bad), damaged);
    QVERIFY(mFixture->open(good)); // and a good file opens again
    QCOMPARE(window.NewList1->nodeCount(), 4);
}

void TestFileCommands::progressWindowWhileLoading()
{
    Form1 &window = mFixture->start();
    const QString path = mFixture->writeNumberedFile(u"progress.dat"_s, 3, 5);
    QStringList labels;
    QList<int> bars;
    bool disabledThroughout = true;
    mFixture->services.duringPump = [&] {
        const QList<QWidget *> tops = QApplication::topLevelWidgets();
        for (QWidget *top : tops) {
            if (auto *form6 = qobject_cast<Form6 *>(top)) {
                labels.append(form6->Label1->text());
                bars.append(form6->ProgressBar1->value());
            }
        }
        disabledThroughout = disabledThroughout && !window.isEnabled();
    };
    QVERIFY(mFixture->open(path));
    QCOMPARE(mFixture->services.pumps, 15); // one per entry record
    QVERIFY(disabledThroughout);
    QCOMPARE(labels.first(), u"Loading file progress.dat"_s);
    QCOMPARE(bars.first(), 50);
    QCOMPARE(bars.last(), 100);
    QVERIFY(window.isEnabled());

    labels.clear();
    mFixture->services.pumps = 0;
    QVERIFY(mFixture->trigger(u"mnusave"_s));
    QCOMPARE(mFixture->services.pumps, 3); // one per tileset
    QCOMPARE(labels.first(), u"Writing file progress.dat"_s);
    QVERIFY(window.isEnabled());
}

void TestFileCommands::closeReturnsToNoDocument()
{
    Form1 &window = mFixture->start();
    QVERIFY(mFixture->open(mFixture->writeNumberedFile(u"a.dat"_s, 2, 151)));
    makeChange();
    mFixture->services.answer(Answer::No);
    QVERIFY(mFixture->trigger(u"mnuclose"_s));

    QCOMPARE(mFixture->services.messages.first().text, u"Save changes before closing file?"_s);
    QCOMPARE(mFixture->services.messages.first().title, u"Changes made"_s);
    QCOMPARE(mFixture->services.messages.first().buttons, Buttons::YesNoCancel);
    QCOMPARE(mFixture->services.messages.first().icon, Icon::Exclamation);
    QCOMPARE(window.windowTitle(), u"HMK Tileset Editor"_s);
    QVERIFY(window.NewList1->isHidden());
    QVERIFY(window.NewList2->isHidden());
    QCOMPARE(window.NewList1->topLevelItemCount(), 0);
    QCOMPARE(window.NewList2->topLevelItemCount(), 0);
    QVERIFY(!mFixture->document().hasTilesets());
    QVERIFY(!mFixture->document().ChangesMade);
    QVERIFY(!enabled(u"mnusave"_s));
    QVERIFY(!window.Toolbar2->button(1)->isEnabled());
    QVERIFY(mFixture->close()); // no prompt left to ask
}

void TestFileCommands::saveWritesTheFileAndClearsChanges()
{
    mFixture->start();
    const QByteArray original = TestFiles::fileBytes(TestFiles::numberedTable(5, 151));
    const QString path = mFixture->writeFile(u"save.dat"_s, original + "tail");
    QVERIFY(mFixture->open(path));
    makeChange();
    QVERIFY(mFixture->window().Toolbar1->button(3)->isEnabled());
    mFixture->window().Toolbar1->button(3)->trigger();
    QVERIFY(!mFixture->document().ChangesMade);
    QCOMPARE(TestFiles::read(path), original);
}

void TestFileCommands::saveAsNamesTheNewFile()
{
    Form1 &window = mFixture->start();
    const QString path = mFixture->writeNumberedFile(u"first.dat"_s, 2, 3);
    QVERIFY(mFixture->open(path));
    const QString target = mFixture->folderPath(u"second.dat"_s);
    mFixture->services.chooseFile(target);
    QVERIFY(mFixture->trigger(u"mnusaveas"_s));

    const PlatformServices::FileRequest request = mFixture->services.fileRequests.last();
    QCOMPARE(request.mode, PlatformServices::FileRequest::Save);
    QCOMPARE(request.title, u"Save hmkset.dat"_s);
    QVERIFY(request.fileName.isEmpty());
    QCOMPARE(request.folder, mFixture->folder()); // the open file's folder
    QCOMPARE(window.windowTitle(), u"HMK Tileset Editor - "_s + target);
    QCOMPARE(mFixture->document().FileTitle, u"second.dat"_s);
    QCOMPARE(mFixture->document().FileFolder, mFixture->folder() + u'/'); // with separator
    QCOMPARE(mFixture->document().LastOpenedPath, target);
    QCOMPARE(TestFiles::read(target), TestFiles::read(path));
}

void TestFileCommands::saveErrorIsReported()
{
    mFixture->start();
    QVERIFY(mFixture->open(mFixture->writeNumberedFile(u"x.dat"_s, 2, 3)));
    makeChange();
    mFixture->services.chooseFile(mFixture->folderPath(u"missing/folder/x.dat"_s));
    QVERIFY(mFixture->trigger(u"mnusaveas"_s));
    QCOMPARE(mFixture->services.messages.size(), 1);
    QCOMPARE(mFixture->services.messages.first().text, u"Error while saving!"_s);
    QCOMPARE(mFixture->services.messages.first().icon, Icon::Critical);
    QVERIFY(!mFixture->document().ChangesMade); // cleared whatever the outcome
    QCOMPARE(mFixture->document().tilesetCount(), 2);
    QVERIFY(mFixture->window().isEnabled());
}

void TestFileCommands::promptAnswers_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<bool>("opened");
    QTest::newRow("Yes saves, then opens") << int(Answer::Yes) << true << true;
    QTest::newRow("No opens without saving") << int(Answer::No) << false << true;
    QTest::newRow("Cancel does nothing") << int(Answer::Cancel) << false << false;
}

void TestFileCommands::promptAnswers()
{
    QFETCH(int, answer);
    mFixture->start();
    const QByteArray original = TestFiles::fileBytes(TestFiles::numberedTable(2, 3));
    const QString first = mFixture->writeFile(u"first.dat"_s, original);
    const QString second = mFixture->writeNumberedFile(u"second.dat"_s, 7, 3);
    QVERIFY(mFixture->open(first));
    mFixture->document().Tilesets.setEntry(0, 0, QByteArray(32, 'Z'));
    makeChange();

    mFixture->services.answer(Answer(answer));
    if (answer != int(Answer::Cancel))
        mFixture->services.chooseFile(second);
    QVERIFY(mFixture->trigger(u"mnuopen"_s));

    QCOMPARE(mFixture->services.messages.first().text,
             u"Save changes before opening another file?"_s);
    QFETCH(bool, saved);
    QCOMPARE(TestFiles::read(first) != original, saved);
    QFETCH(bool, opened);
    QCOMPARE(mFixture->document().tilesetCount(), opened ? 7 : 2);
    QCOMPARE(mFixture->document().ChangesMade, !opened);
}

void TestFileCommands::promptYesOnUntitledThenCancelledSaveAs()
{
    mFixture->start();
    const QString other = mFixture->writeNumberedFile(u"other.dat"_s, 3, 3);
    Document &document = mFixture->document();
    // An untitled document as New leaves it.
    document.Tilesets = TestFiles::numberedTable(2, 3);
    document.FilePath = u"Untitled"_s;
    QVERIFY(mFixture->open(other)); // no prompt: ChangesMade is false so far
    document.FilePath = u"Untitled"_s;
    makeChange();

    mFixture->services.answer(Answer::Yes);
    mFixture->services.chooseFile(QString()); // Save as cancelled
    mFixture->services.chooseFile(other);     // the open goes on
    QVERIFY(mFixture->trigger(u"mnuopen"_s));
    QCOMPARE(mFixture->services.fileRequests.at(1).title, u"Save hmkset.dat"_s);
    QCOMPARE(document.FilePath, other);
    QVERIFY(!document.ChangesMade);
}

void TestFileCommands::shutdownPrompt()
{
    Form1 &window = mFixture->start();
    QVERIFY(mFixture->open(mFixture->writeNumberedFile(u"a.dat"_s, 2, 3)));
    makeChange();
    mFixture->services.answer(Answer::Cancel);
    QVERIFY(!mFixture->close());
    QVERIFY(mFixture->document().ChangesMade);
    QCOMPARE(mFixture->services.messages.last().text, u"Save changes before closing file?"_s);

    mFixture->services.answer(Answer::No);
    QVERIFY(mFixture->trigger(u"mnuquit"_s));
    QVERIFY(!window.isVisible());
    QVERIFY(QFile::exists(mFixture->folderPath(u"hmktse.ini"_s)));
}

QTEST_MAIN(TestFileCommands)
#include "tst_filecommands.moc"

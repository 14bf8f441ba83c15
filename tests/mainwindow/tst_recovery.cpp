#include "datatable.h"
#include "recoverycontroller.h"
#include "recoveryfile.h"
#include "windowtest.h"

#include <QDir>
#include <QLocale>
#include <QProcess>
#include <QStatusBar>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
using namespace TestFiles;
using Answer = PlatformServices::Answer;

// The copy an unsaved document keeps in case the editor stops, and its restoring.
class TestRecovery : public WindowTest
{
    Q_OBJECT

    ProgramFolders folders() { return ProgramFolders::portable(folderPath({})); }
    QStringList copies(const QString &folder = {})
    {
        return QDir(folder.isEmpty() ? folders().recovery : folder).entryList({u"*.copy"_s});
    }
    std::optional<RecoveryCopy> onlyCopy()
    {
        const QStringList found = copies();
        return found.size() == 1 ? RecoveryFile::read(folders().recovery + u'/' + found.first())
                                 : std::nullopt;
    }
    // The copy's delays are counted on the test's clock, which moves only when it passes().
    std::chrono::steady_clock::time_point mNow;
    MainWindow &onTestClock(MainWindow &editor)
    {
        editor.findChild<RecoveryController *>()->setClock([this] { return mNow; });
        return editor;
    }
    // True when the editor wrote its copy as the time passed.
    bool passes(std::chrono::milliseconds time, MainWindow *editor = nullptr)
    {
        mNow += time;
        return (editor ? editor : &window())->findChild<RecoveryController *>()->writeCopyIfDue();
    }

private Q_SLOTS:
    void copyGoes_data()
    {
        // askedToSave: and answered No
        addColumns<QString, bool>("command", "askedToSave");
        QTest::newRow("saved") << u"mnusave"_s << false;
        QTest::newRow("undone to the saved state") << u"mnuundo"_s << false;
        QTest::newRow("closed") << u"mnuclose"_s << true;
        QTest::newRow("replaced by the file as it is on disk") << u"mnurecent1"_s << true;
        QTest::newRow("quit") << u"mnuquit"_s << true;
    }
    void copyGoes()
    {
        auto [command, askedToSave] = fetch<QString, bool>("command", "askedToSave");
        onTestClock(start()).show();
        open(writeNumberedFile(u"set.dat"_s, 3, 151));
        rename(0, u"Moss"_s);
        // Written a second after the last change, well before typing on would force it.
        QVERIFY(!passes(999ms) && passes(1ms));
        QTRY_VERIFY(onlyCopy());
        if (askedToSave)
            services().answers << Answer::No;
        QVERIFY(trigger(command));
        QTRY_VERIFY(copies().isEmpty());
        QVERIFY(!passes(1h)); // and no copy of the old document comes after a pause
    }

    void leftCopyOffered_data()
    {
        // changedSince: the file was written after the copy was made from it
        addColumns<bool, Answer, bool>("untitled", "answer", "changedSince");
        QTest::newRow("Yes") << false << Answer::Yes << false;
        QTest::newRow("Yes, untitled") << true << Answer::Yes << false;
        QTest::newRow("Yes, the file changed since") << false << Answer::Yes << true;
        QTest::newRow("No") << false << Answer::No << false;
    }
    void leftCopyOffered()
    {
        auto [untitled, answer] = fetch<bool, Answer>("untitled", "answer");
        const QString last = writeNumberedFile(u"last.dat"_s, 1, 1);
        writeFile(u"hmktse.ini"_s, "LastOpened=" + last.toUtf8() + "\nOpenLastFileOnStartup=1\n");
        const QString path = untitled ? QString() : writeNumberedFile(u"set.dat"_s, 2, 4);
        const QString shown = untitled ? u"Untitled"_s : path; // the name the editor shows
        const QDateTime changed(QDate(2024, 3, 5), QTime(14, 7), Qt::UTC);
        const QString recovery = folders().recovery, left = recovery + u"/left.copy"_s;
        QDir().mkpath(recovery);
        // A table a load would tidy: bytes after a terminator that are not blanks.
        TilesetTable untidy = numberedTable(2, 4);
        untidy.setEntry(1, 1, QByteArray("ab\0cd\xff", 6));
        untidy.setTrailingBytes("tail"); // kept after the last record
        QVERIFY(RecoveryFile::write(left, {untidy, path, changed, FileStamp::of(path)}));
        QVERIFY(TestFiles::read(left).startsWith(QByteArray("HMKR\0\2", 6))); // format 2
        QFETCH(bool, changedSince);
        if (changedSince)
            writeNumberedFile(u"set.dat"_s, 1, 1);
        services().answers << answer;
        if (answer == Answer::No) { // an older copy is asked about after it
            const QString older = recovery + u"/0older.copy"_s;
            QVERIFY(RecoveryFile::write(older, {untidy, u"o"_s, changed.addDays(-1), {}}));
            // In format 1, without the stamp (a date of 13 bytes and a size of 8) after the date.
            TestFiles::write(older, TestFiles::read(older).replace(5, 1, "\1").remove(25, 21));
            services().answers << Answer::No;
            // Its lock is empty and old, as a power cut just after its editor's start leaves it.
            // These are left where they are, unasked: a copy of another format; damaged, and
            // its lock a link to a FIFO, which would block; larger than any copy can be (its path
            // of 1,100,000 characters is longer than the longest path and the largest tileset
            // file together); links out of the folder, to a FIFO and to a whole copy.
            QByteArray copy = TestFiles::read(left);
            TestFiles::write(recovery + u"/damaged.copy"_s, copy + '\0');
            TestFiles::write(recovery + u"/format3.copy"_s, copy.replace(5, 1, "\3"));
            QVERIFY(RecoveryFile::write(recovery + u"/huge.copy"_s,
                                        {untidy, QString(1100000, u'x'), changed, {}}) &&
                    QProcess::execute(u"touch"_s, {u"-d@9"_s, recovery + u"/0older.lock"_s}) == 0 &&
                    QProcess::execute(u"mkfifo"_s, {folderPath(u"fifo"_s)}) == 0 &&
                    QFile::link(u"../../fifo"_s, recovery + u"/damaged.lock"_s) &&
                    QFile::link(u"../../fifo"_s, recovery + u"/link.copy"_s) &&
                    QFile::copy(left, folderPath(u"whole.copy"_s)) &&
                    QFile::link(u"../../whole.copy"_s, recovery + u"/linked.copy"_s));
        }
        start();

        const ScriptedServices::Message asked = services().messages.value(0);
        const auto when = QLocale::system().toString(changed.toLocalTime(), QLocale::ShortFormat);
        QCOMPARE(asked.title + u": "_s + asked.text,
                 u"Recover unsaved changes: The editor stopped before the changes to %1 were saved "
                 u"(last change %2). Restore them?"_s.arg(shown, when));
        QVERIFY(asked.buttons == PlatformServices::Buttons::YesNo &&
                asked.icon == PlatformServices::Icon::Question && !QFile::exists(left));
        QCOMPARE(asked.details.contains(u"changed or removed since"_s), changedSince);
        // No: nothing said of the unreadable ones; the last file opens after the questions.
        if (answer == Answer::No) {
            const QString unasked = copies().join(u' ').remove(u".copy"_s);
            QCOMPARE(std::tuple(services().messages.size(), unasked, document().filePath()),
                     std::tuple(2, u"damaged format3 huge link linked"_s, last));
            return;
        }
        QCOMPARE(std::tuple(fileBytes(table()), document().isModified(), document().filePath()),
                 std::tuple(fileBytes(untidy), true, path));
        QCOMPARE(window().windowTitle(), u"HMK Tileset Editor - "_s + shown);
        // The file changed since is news as well, once the window is up: No keeps the copy.
        if (changedSince)
            services().answers << Answer::No;
        window().show();
        QTest::qWait(100);
        QCOMPARE(services().messages.value(1).title, changedSince ? u"File changed"_s : QString());
        QVERIFY(onlyCopy() && onlyCopy()->table == untidy); // now this editor's copy
        QVERIFY(untitled || (trigger(u"mnusave"_s) && TestFiles::read(path) == fileBytes(untidy)));
    }

    // The real editor, killed: a file it opened is removed behind its back, so its tilesets
    // exist only in the editor, and its copy, until it is killed. Typing on without a pause of
    // a second: the copy still comes two seconds after the first change. Another editor beside
    // it keeps its own copy. A folder that takes no copy is said once, not at every change it
    // does not keep.
    void eachEditorsCopyKeepsUpAndComesBackAfterAKill()
    {
        // No settings beside the program.
        const QString home = folderPath(u"home"_s), program = folderPath(u"hmktse"_s);
        QVERIFY(QDir().mkpath(home) && QFile::copy(QStringLiteral(HMKTSE), program));
        const QByteArray bytes = fileBytes(numberedTable(2, 4));
        const QString gone = writeFile(u"set.dat"_s, bytes);
        QProcess editor; // the later of two settings of a variable wins
        editor.setEnvironment(QProcess::systemEnvironment()
                              << u"XDG_DATA_HOME="_s + home << u"XDG_CONFIG_HOME="_s + home);
        editor.start(program, {gone});
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(home + u"/HMK Tileset Editor/recent.conf"_s), 10000);
        QTest::qWait(300); // the file is watched now
        QFile::remove(gone);
        // On the real clock: a second after the change the removal makes.
        ProgramFolders killedEditors = folders();
        killedEditors.recovery = home + u"/HMK Tileset Editor/recovery"_s;
        QTRY_COMPARE_WITH_TIMEOUT(copies(killedEditors.recovery).size(), 1, 5000);
        QVERIFY((editor.kill(), editor.waitForFinished()));

        services().answers << Answer::Yes;
        start(killedEditors);
        QCOMPARE(std::tuple(fileBytes(table()), document().isModified(), document().filePath()),
                 std::tuple(bytes, true, gone));

        onTestClock(start()).show();
        const QString path = writeNumberedFile(u"set.dat"_s, 3, 151), folder = folders().recovery;
        open(path);
        for (int i = 0; i <= 6; ++i) // at 0, 0.3, ..., 1.8 seconds
            QVERIFY((editEntry(1, i, u"edit %1"_s.arg(i)), !passes(i < 6 ? 300ms : 199ms)));
        QVERIFY(passes(1ms));
        QTRY_VERIFY(onlyCopy() && onlyCopy()->table == table() && onlyCopy()->filePath == path &&
                    onlyCopy()->fileStamp == FileStamp::of(path));
        const QString other = writeNumberedFile(u"other.dat"_s, 2, 2);
        // The first one's copy is not offered: no question is answered.
        auto second = std::make_unique<MainWindow>(services(), folders());
        onTestClock(*second).openFile(other);
        second->findChild<QAction *>(u"mnuinsert"_s)->trigger(); // a change of its own
        QVERIFY(passes(1s, second.get()));
        second.reset(); // gone without quitting, as in a crash: its copy stays, written to the end
        services().answers << Answer::No;
        MainWindow third(services(), folders());
        QVERIFY(services().messages.last().text.contains(other) && copies().size() == 1);
        QVERIFY(QDir(folder).removeRecursively() && QFile(folder).open(QFile::WriteOnly));
        const QString said = u"Unsaved changes cannot be kept for recovery: %1: %2"_s;
        for (const QString &message : {said.arg(folder, u"not a directory"_s), QString()}) {
            QVERIFY(trigger(u"mnuinsert"_s) && passes(1s));
            QTest::qWait(100); // time for the write to fail
            QTRY_COMPARE(window().statusBar()->currentMessage(), message);
            window().statusBar()->clearMessage();
        }
        start(); // a folder that cannot be made from the start: said at the first change
        QVERIFY(open(other) && trigger(u"mnuinsert"_s));
        QCOMPARE(window().statusBar()->currentMessage(),
                 said.arg(folder, u"the folder cannot be written"_s));
    }
};

QTEST_MAIN(TestRecovery)
#include "tst_recovery.moc"

#include "datatable.h"
#include "recoveryfile.h"
#include "windowtest.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLocale>
#include <QProcess>

using namespace Qt::StringLiterals;
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
        QFETCH(QString, command);
        QFETCH(bool, askedToSave);
        start().show();
        open(writeNumberedFile(u"set.dat"_s, 3, 151));
        rename(0, u"Moss"_s);
        // Written a second after the last change, well before typing on would force it.
        QTRY_VERIFY_WITH_TIMEOUT(onlyCopy(), 1700);
        if (askedToSave)
            services().answers << Answer::No;
        QVERIFY(trigger(command));
        QTRY_VERIFY(copies().isEmpty());
        QTest::qWait(1100); // and no copy of the old document comes after a pause
        QVERIFY(copies().isEmpty());
    }

    void leftCopyOffered_data()
    {
        addColumns<bool, Answer>("untitled", "answer");
        QTest::newRow("Yes") << false << Answer::Yes;
        QTest::newRow("Yes, untitled") << true << Answer::Yes;
        QTest::newRow("No") << false << Answer::No;
    }
    void leftCopyOffered()
    {
        QFETCH(bool, untitled);
        QFETCH(Answer, answer);
        const QString last = writeNumberedFile(u"last.dat"_s, 1, 1);
        writeFile(u"hmktse.ini"_s, "LastOpened=" + last.toUtf8() + "\nOpenLastFileOnStartup=1\n");
        const QString path = untitled ? QString() : folderPath(u"gone.dat"_s);
        const QString shown = untitled ? u"Untitled"_s : path; // the name the editor shows
        const QDateTime changed(QDate(2024, 3, 5), QTime(14, 7), Qt::UTC);
        QDir().mkpath(folders().recovery);
        const QString left = folders().recovery + u"/left.copy"_s;
        // A table a load would tidy: bytes after a terminator that are not blanks.
        TilesetTable untidy = numberedTable(2, 4);
        untidy.setEntry(1, 1, QByteArray("ab\0cd\xff", 6));
        QVERIFY(RecoveryFile::write(left, {untidy, path, changed}));
        QVERIFY(TestFiles::read(left).startsWith(QByteArray("HMKR\0\1", 6))); // format 1
        services().answers << answer;
        if (answer == Answer::No) { // an older copy is asked about after it
            QVERIFY(RecoveryFile::write(folders().recovery + u"/0older.copy"_s,
                                        {untidy, u"older.dat"_s, changed.addDays(-1)}));
            services().answers << Answer::No;
            // A copy of another format, or damaged, is left where it is, unasked.
            QByteArray copy = TestFiles::read(left);
            TestFiles::write(folders().recovery + u"/damaged.copy"_s, copy + '\0');
            TestFiles::write(folders().recovery + u"/format2.copy"_s, copy.replace(5, 1, "\2"));
        }
        start();

        const ScriptedServices::Message asked = services().messages.value(0);
        const QString when =
            QLocale::system().toString(changed.toLocalTime(), QLocale::ShortFormat);
        QCOMPARE(asked.text, u"The editor stopped before the changes to %1 were saved (last change "
                             u"%2). Restore them?"_s.arg(shown, when));
        QCOMPARE(asked.title, u"Recover unsaved changes"_s);
        QVERIFY(asked.buttons == PlatformServices::Buttons::YesNo &&
                asked.icon == PlatformServices::Icon::Question);
        QVERIFY(!QFile::exists(left));
        if (answer == Answer::No) {
            QCOMPARE(services().messages.size(), 2); // nothing said of the unreadable ones
            QCOMPARE(copies(), QStringList({u"damaged.copy"_s, u"format2.copy"_s}));
            QCOMPARE(document().filePath(), last); // the last file opens after the questions
            return;
        }
        QCOMPARE(fileBytes(table()), fileBytes(untidy));
        QVERIFY(document().isModified());
        QCOMPARE(document().filePath(), path);
        QCOMPARE(window().windowTitle(), u"HMK Tileset Editor - "_s + shown);
        QVERIFY(onlyCopy() && onlyCopy()->table == untidy); // now this editor's copy
        if (untitled)
            return;
        QVERIFY(trigger(u"mnusave"_s));
        QCOMPARE(TestFiles::read(path), fileBytes(untidy));
    }

    // Typing on without a pause of a second: the copy still comes within two. Another editor
    // beside it keeps its own copy.
    void copyKeepsUpWithTypingAndEditorsKeepTheirOwn()
    {
        start().show();
        const QString path = writeNumberedFile(u"set.dat"_s, 3, 151);
        open(path);
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < 9 && copies().isEmpty(); ++i) {
            editEntry(1, i, u"edit %1"_s.arg(i));
            QTest::qWait(300);
        }
        QVERIFY2(!copies().isEmpty() && clock.elapsed() < 2800, "the copy came late");
        QTRY_VERIFY(onlyCopy() && onlyCopy()->table == table() && onlyCopy()->filePath == path);
        const QString other = writeNumberedFile(u"other.dat"_s, 2, 2);
        {
            // The first one's copy is not offered: no question is answered.
            MainWindow second(services(), folders());
            second.openFile(other);
            second.findChild<QAction *>(u"mnuinsert"_s)->trigger(); // a change of its own
            QTRY_COMPARE_WITH_TIMEOUT(copies().size(), 2, 3000);
        } // gone without quitting, as in a crash: its copy stays
        services().answers << Answer::No;
        MainWindow third(services(), folders());
        QVERIFY(services().messages.value(0).text.contains(other));
        QCOMPARE(copies().size(), 1);
    }

    // The real editor, killed: a file it opened is removed behind its back, so its tilesets
    // exist only in the editor, and its copy, until it is killed.
    void killedEditorsChangesComeBack()
    {
        const QString home = folderPath(u"home"_s);
        const QString program = folderPath(u"hmktse"_s); // no settings beside it
        QVERIFY(QDir().mkpath(home) && QFile::copy(QStringLiteral(HMKTSE), program));
        const QByteArray bytes = fileBytes(numberedTable(2, 4));
        const QString path = writeFile(u"set.dat"_s, bytes);
        QProcess editor;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME"})
            environment.insert(QString::fromLatin1(name), home);
        editor.setProcessEnvironment(environment);
        editor.start(program, {path});
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(home + u"/HMK Tileset Editor/recent.conf"_s), 10000);
        QTest::qWait(300); // the file is watched now
        QFile::remove(path);
        QTest::qWait(3000);
        const QString recovery = home + u"/HMK Tileset Editor/recovery"_s;
        QCOMPARE(copies(recovery).size(), 1);
        editor.kill();
        QVERIFY(editor.waitForFinished());

        services().answers << Answer::Yes;
        ProgramFolders killedEditors = folders();
        killedEditors.recovery = recovery;
        start(killedEditors);
        QCOMPARE(fileBytes(table()), bytes);
        QVERIFY(document().isModified());
        QCOMPARE(document().filePath(), path);
    }
};

QTEST_MAIN(TestRecovery)
#include "tst_recovery.moc"

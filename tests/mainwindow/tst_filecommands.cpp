#include "datatable.h"
#include "progresswindow.h"
#include "windowtest.h"

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QTimer>

#include <sys/stat.h>

using namespace Qt::StringLiterals;
using namespace TestFiles;
using Answer = PlatformServices::Answer;

// File commands, start-up and shutdown, recent files, and where the settings go.
class TestFileCommands : public WindowTest
{
    Q_OBJECT

    // The message boxes shown, as "text | title | icon".
    QString boxes()
    {
        QStringList shown;
        for (const ScriptedServices::Message &m : std::as_const(services().messages))
            shown.append(u"%1 | %2 | %3"_s.arg(m.text, m.title).arg(int(m.icon)));
        return shown.join(u", "_s);
    }
    // Drops files on the window as a file manager does.
    void drop(const QList<QUrl> &urls)
    {
        QMimeData data;
        data.setUrls(urls);
        QDropEvent event(QPointF(9, 9), Qt::CopyAction, &data, Qt::LeftButton, {});
        QDragEnterEvent enter({9, 9}, Qt::CopyAction, &data, Qt::LeftButton, {});
        if (QCoreApplication::sendEvent(&window(), &enter), enter.isAccepted())
            QCoreApplication::sendEvent(&window(), &event);
        QCoreApplication::processEvents();
    }
    // Starts the window on a file of 2 tilesets, opened by Open or dropped, its first entry
    // changed; the file's path.
    QString openChanged(bool dropped = false)
    {
        const QString path = writeNumberedFile(u"changed.dat"_s, 2, 151);
        start().show();
        dropped ? drop({QUrl::fromLocalFile(path)}) : void(open(path));
        editEntry(0, 0, QString(32, u'Z'));
        return path;
    }

private Q_SLOTS:
    void failedOpen_data()
    {
        // kind: of what stands at the chosen path
        addColumns<QString, QString>("kind", "message");
        const QString failed = u"Error while loading! | Error | 1"_s;
        QTest::newRow("too short")
            << u"\x0a\x0a\0\0\0"_s << u"Error: Incorrect filesize | Error | 0"_s;
        QTest::newRow("a folder") << u"folder"_s << failed;
        QTest::newRow("a FIFO") << u"fifo"_s << failed;
    }
    void failedOpen()
    {
        QFETCH(QString, kind);
        MainWindow &window = start();
        const QString path = folderPath(u"bad.dat"_s);
        if (kind == u"folder"_s)
            QVERIFY(QDir().mkpath(path));
        else if (kind == u"fifo"_s) // a read would block
            QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else
            writeFile(u"bad.dat"_s, kind.toLatin1());
        const QString good = writeNumberedFile(u"good.dat"_s, 4, 151);
        // With no document, and after another: the window is left without one either way,
        // so Save cannot write the previous tilesets over the file that failed. With none
        // before, the empty trees stay and the next start tries the file again.
        for (const bool afterAnother : {false, true}) {
            QVERIFY(!afterAnother || (open(good) && document().isOpen()));
            services().messages.clear();
            QVERIFY(open(path));
            QTEST(boxes(), "message");
            QVERIFY(services().messages.first().details.startsWith(path + u"\n"_s));
            QCOMPARE(window.windowTitle(), u"HMK Tileset Editor - "_s + path);
            QVERIFY(!document().isOpen() && !action(u"mnusave"_s)->isEnabled());
            // The load disabled and enabled the window; the Edit menu stays disabled.
            QVERIFY(!window.findChild<QMenu *>(u"mnuedit"_s)->menuAction()->isEnabled());
            QCOMPARE(list()->isHidden() || tree()->isHidden(), afterAnother);
            QVERIFY(window.close());
            QVERIFY(TestFiles::read(folderPath(u"hmktse.ini"_s))
                        .contains("LastOpened= " + (afterAnother ? "n/a" : path.toUtf8()) + '\r'));
        }
        QCOMPARE(services().fileRequests.first().filters,
                 QStringList({u"Hmkset.dat (*.dat)"_s, u"All files (*.*) (*)"_s}));
    }

    // The import's choice and a load's or a save's failure come while the progress window is
    // up and the window disabled; then the load or save ends.
    void askedWhileTheProgressWindowIsUp_data()
    {
        addColumns<QString>("command");
        QTest::newRow("import's choice") << u"mnuimport"_s;
        QTest::newRow("failed save") << u"mnusave"_s;
        QTest::newRow("failed open") << u"mnuopen"_s;
    }
    void askedWhileTheProgressWindowIsUp()
    {
        QFETCH(QString, command);
        const QString path = openChanged();
        bool lastUp = false;
        const auto look = [&] {
            const QWidgetList tops = QApplication::topLevelWidgets();
            lastUp = !window().isEnabled() && std::any_of(tops.begin(), tops.end(), [](QWidget *w) {
                return qobject_cast<ProgressWindow *>(w) && w->isVisible();
            });
        };
        services().whenAsked = look;
        if (command == u"mnuimport"_s) {
            services().answers << Answer::Ok;
            services().files << path;
            services().dialogs << [&](QDialog &dialog) { look(), dialog.reject(); };
        } else if (command == u"mnusave"_s) {
            QVERIFY(QFile::remove(path) && QDir().mkpath(path));
        } else {
            services().answers << Answer::No;
            services().files << folderPath(u"missing.dat"_s);
        }
        QVERIFY(trigger(command));
        QVERIFY(lastUp);
        QVERIFY(window().isEnabled());
    }

    void saveAs_data()
    {
        // saved: else a folder stands where the file would go
        addColumns<QString, bool>("name", "saved");
        QTest::newRow("out.dat") << u"out.dat"_s << true;
        QTest::newRow("a folder in the way") << u"out.dat"_s << false;
        QTest::newRow("the open file itself") << u"changed.dat"_s << true;
    }
    void saveAs()
    {
        QFETCH(QString, name);
        QFETCH(bool, saved);
        const QString path = openChanged();
        const QString target = folderPath(name);
        QVERIFY(saved || QDir().mkpath(target));
        action(u"Toolbar1Button3"_s)->trigger(); // the toolbar's Save
        const QByteArray bytes = TestFiles::read(path);
        QCOMPARE(bytes, fileBytes(table()));
        services().files << target;
        QVERIFY(trigger(u"mnusaveas"_s));
        QCOMPARE(services().fileRequests.last().folder, QFileInfo(path).path());
        const QString named = saved ? target : path; // a failed save keeps the name it had
        QCOMPARE(window().windowTitle(), u"HMK Tileset Editor - "_s + named);
        QCOMPARE(document().filePath(), named);
        QVERIFY(!saved || document().fileFolder() + document().fileTitle() == target); // separator
        QCOMPARE(document().isModified(), !saved); // a failed save leaves it unsaved
        QCOMPARE(boxes(), saved ? QString() : u"Error while saving! | Error | 1"_s);
        QVERIFY(saved || services().messages.first().details == target + u"\nis a folder"_s);
        QVERIFY(!saved || TestFiles::read(target) == bytes);
        QCOMPARE(action(u"mnurecent1"_s)->text(), u"&1 "_s + named);
        if (!saved)
            services().answers << Answer::No;
        QVERIFY(window().close()); // the next start opens what was saved last
        QVERIFY(
            TestFiles::read(folderPath(u"hmktse.ini"_s)).contains("LastOpened= " + named.toUtf8()));
    }

    // Another file opened, by Open or dropped on the window, over unsaved changes.
    void savePrompt_data()
    {
        // dropped: both files, else Open; a drop of two files is ignored
        // saveFails: a folder has taken the file's place
        addColumns<bool, Answer, bool, bool, bool>("dropped", "answer", "saveFails", "saved",
                                                   "opened");
        QTest::newRow("Yes saves, then opens") << true << Answer::Yes << false << true << true;
        QTest::newRow("Yes, the save fails: nothing opens")
            << false << Answer::Yes << true << false << false;
        QTest::newRow("No opens without saving") << true << Answer::No << false << false << true;
        QTest::newRow("Cancel does nothing") << false << Answer::Cancel << false << false << false;
    }
    void savePrompt()
    {
        QFETCH(bool, dropped);
        QFETCH(bool, saveFails);
        QFETCH(bool, opened);
        const QString first = openChanged(dropped);
        QCOMPARE(document().filePath(), first);
        if (saveFails)
            QVERIFY(QFile::remove(first) && QDir().mkpath(first));
        const QString second = writeNumberedFile(u"second.dat"_s, 7, 3);
        if (dropped) // asks nothing
            drop({QUrl::fromLocalFile(second), QUrl::fromLocalFile(second)});
        QFETCH(Answer, answer);
        services().answers << answer;
        if (dropped) {
            drop({QUrl::fromLocalFile(second)});
        } else {
            if (opened)
                services().files << second;
            QVERIFY(trigger(u"mnuopen"_s));
        }
        const QString asked = u"Save changes before opening another file? | Changes made | 0"_s;
        QCOMPARE(boxes(), saveFails ? asked + u", Error while saving! | Error | 1"_s : asked);
        QCOMPARE(services().messages.first().buttons, PlatformServices::Buttons::YesNoCancel);
        QTEST(TestFiles::read(first).mid(5 + 33, 1) == "Z", "saved");
        QTEST(document().tilesetCount() == 7, "opened");
        QCOMPARE(document().isModified(), document().tilesetCount() == 2);
    }

    // What start-up takes from hmktse.ini, seen in what shutdown writes back.
    void settingsApplied_data()
    {
        // written: W, H: the designed outer size
        // told: the message shown once the window is up
        addColumns<QByteArray, QString, QString>("settings", "written", "told");
        const auto row = [](const char *settings, const char *written, const QString &told = {}) {
            QTest::newRow(settings)
                << QByteArray(settings).replace(' ', '\n') << QString::fromLatin1(written) << told;
        };
        row("", "0 0 W H 3360 0 0 1");
        row("WindowLeft=1500 WindowTop=750 WindowWidth=9000 WindowHeight=7500",
            "1500 750 9000 7500 3360 0 0 1");
        row("WindowWidth=0 WindowHeight=-15 SizerLeft=720", "0 0 W H 3360 0 0 1");
        row("SizerLeft=721", "0 0 W H 721 0 0 1");
        row("WindowWidth=9000 SizerLeft=8220", "0 0 9000 H 8220 0 0 1");
        row("ShowDescriptions=1 SelectedEntry=167", "0 0 W H 3360 1 0 167");
        row("OpenLastFileOnStartup=1", "0 0 W H 3360 0 1 1");
        row("ShowDescriptions=2 OpenLastFileOnStartup=2 SelectedEntry=168", "0 0 W H 3360 0 0 1");
        row("WindowLeft=40000 WindowTop=750", "0 750 W H 3360 0 0 1",
            u"An error occured; some settings may not have loaded correctly. | HMK Tileset "
            u"Editor | 0"_s);
    }
    void settingsApplied()
    {
        QFETCH(QByteArray, settings);
        QFETCH(QString, written);
        const QByteArray last = writeNumberedFile(u"a.dat"_s, 1, 1).toUtf8();
        writeFile(u"hmktse.ini"_s, "[HMKTSE-Settings]\nLastOpened=" + last + '\n' + settings);
        start().show();
        QCoreApplication::processEvents();
        QTEST(boxes(), "told");
        // The last file is opened only when the option is on.
        QCOMPARE(document().isOpen(), written.section(u' ', 6, 6) == u"1"_s);
        const QSize outer = window().frameGeometry().size() * 15;
        written.replace(u'W', QString::number(outer.width()));
        written.replace(u'H', QString::number(outer.height()));
        // A file opened and closed again is no last file to open.
        QVERIFY(open(QString::fromUtf8(last)) && trigger(u"mnuclose"_s));
        trigger(u"mnuquit"_s);
        // The values after "key= ", in file order, from the second setting on.
        const QByteArray ini = TestFiles::read(folderPath(u"hmktse.ini"_s));
        QVERIFY(ini.contains("\r\nLastOpened= n/a\r\n") && ini.endsWith("\r\n"));
        QStringList values;
        for (const QString &line : QString::fromUtf8(ini).split(u"\r\n"_s).mid(2, 8))
            values.append(line.section(u"= "_s, 1, -1));
        QCOMPARE(values.join(u' '), written);
    }

    // A question at start-up (a recovery copy, a slow last file) can keep the window hidden
    // past the layout timer; the tileset list keeps the width the settings give it.
    void layoutWaitsForTheWindowShown()
    {
        writeFile(u"hmktse.ini"_s, "[HMKTSE-Settings]\r\nSizerLeft= 2000\r\n");
        auto *timer = start().findChild<QTimer *>(u"Timer1"_s);
        timer->start(0);
        QTRY_VERIFY(!timer->isActive());
        window().show();
        QTRY_COMPARE(list()->width(), 2000 / 15);
        QVERIFY(window().close());
        QVERIFY(TestFiles::read(folderPath(u"hmktse.ini"_s)).contains("SizerLeft= 2000\r\n"));
    }

    void recentFilesNewestFirst()
    {
        start();
        const auto recent = [this] { // the captions of Recent files
            QStringList captions;
            for (QAction *item : window().findChild<QMenu *>(u"mnurecent"_s)->actions())
                captions.append(item->text());
            return captions;
        };
        QStringList paths;
        for (int i = 0; i < 9; ++i) {
            paths.prepend(writeNumberedFile(u"r&%1.dat"_s.arg(i), 1, 1));
            QVERIFY(open(paths.first()));
        }
        QVERIFY(open(paths[3])); // moves to the top; the ninth is gone
        const auto shown = [&paths](int i) { return QString(paths[i]).replace(u'&', u"&&"_s); };
        QCOMPARE(recent().mid(0, 2), QStringList({u"&1 "_s + shown(3), u"&2 "_s + shown(0)}));
        QCOMPARE(recent().mid(7), QStringList({u"&8 "_s + shown(7), QString(), u"Clear list"_s}));
        QFile::remove(paths[0]);
        QVERIFY(trigger(u"mnurecent2"_s));
        QCOMPARE(boxes(), u"The file %1 no longer exists; it has been removed from the recent "
                          u"files. | Recent files | 0"_s.arg(paths[0]));
        QCOMPARE(recent().size(), 7 + 2);
        QVERIFY(trigger(u"mnurecentclear"_s));
        QCOMPARE(recent(), QStringList({QString(), u"Clear list"_s}));
        QVERIFY(!action(u"mnurecentclear"_s)->isEnabled());
    }

    // Another program removes, changes or damages the open file (3 tilesets), with the
    // answer given to "Reload it?".
    void fileChangedOnDisk_data()
    {
        // written: empty: the file is removed
        // tilesets: in the window afterwards
        // titles: of the messages shown
        // edited: a tileset renamed since the save, so that Enter keeps it (No)
        addColumns<QByteArray, bool, int, bool, QStringList, bool>("written", "reload", "tilesets",
                                                                   "unsaved", "titles", "edited");
        const QByteArray five = fileBytes(numberedTable(5, 4));
        const QString changed = u"File changed"_s;
        QTest::newRow("removed") << QByteArray() << false << 3 << true
                                 << QStringList{u"File removed"_s} << false;
        QTest::newRow("changed, reloaded")
            << five << true << 5 << false << QStringList{changed} << false;
        QTest::newRow("changed, kept")
            << five << false << 3 << true << QStringList{changed} << false;
        QTest::newRow("changed over unsaved changes, kept")
            << five << false << 3 << true << QStringList{changed} << true;
        QTest::newRow("damaged, reload fails")
            << five.chopped(1) << true << 3 << true << QStringList{changed, u"Error"_s} << false;
    }
    void fileChangedOnDisk()
    {
        QFETCH(QByteArray, written);
        QFETCH(bool, reload);
        start().show();
        const QString path = writeNumberedFile(u"watched.dat"_s, 3, 4);
        QVERIFY(open(path));
        QVERIFY(trigger(u"mnusave"_s)); // the editor's own save is no change
        QFETCH(bool, edited);
        if (edited)
            rename(0, u"Mine"_s);
        QTest::qWait(200);
        window().setEnabled(false); // as while a load or a save runs: the news waits for its end
        if (written.isEmpty()) {
            QFile::remove(path);
        } else {
            services().answers << (reload ? Answer::Yes : Answer::No);
            writeFile(u"watched.dat"_s, written);
        }
        QTest::qWait(300);
        QVERIFY(services().messages.isEmpty());
        window().setEnabled(true);
        QFETCH(QStringList, titles);
        QTRY_COMPARE(services().messages.size(), titles.size());
        for (qsizetype i = 0; i < titles.size(); ++i)
            QCOMPARE(services().messages[i].title, titles[i]);
        const ScriptedServices::Message &asked = services().messages.first();
        QCOMPARE(asked.defaultAnswer == Answer::No, edited); // the safe answer
        QVERIFY(written.isEmpty() || asked.icon == (edited ? PlatformServices::Icon::Exclamation
                                                           : PlatformServices::Icon::Question));
        QTEST(document().tilesetCount(), "tilesets");
        QTEST(document().isModified(), "unsaved");
        const bool reloaded = !document().isModified();
        if (reloaded) // a later change is news again
            services().answers << Answer::No;
        writeNumberedFile(u"watched.dat"_s, 2, 4);
        QTest::qWait(200);
        QTRY_COMPARE(services().messages.size(), titles.size() + reloaded); // else told only once
        if (!reloaded) { // unsaved for what the history cannot see, which goes with the document
            services().answers << Answer::No;
            QVERIFY(open(writeNumberedFile(u"other.dat"_s, 1, 1)));
            QVERIFY(!document().isModified());
        }
    }

    // SizerLeft is 1000 in the program's hmktse.ini, where its folder can be written, and 2000
    // in the user's, where there is one.
    void whereSettingsLive_data()
    {
        // writable: the program's folder
        // sizerLeft: as read, and written back
        addColumns<bool, bool, bool, int, bool>("installed", "writable", "userIni", "sizerLeft",
                                                "writtenBesideProgram");
        QTest::newRow("beside the program") << false << true << false << 1000 << true;
        QTest::newRow("read-only folder: the user's") << false << false << false << 3360 << false;
        QTest::newRow("installed: read beside, kept the user's")
            << true << true << false << 1000 << false;
        QTest::newRow("beside the program, the user's unread")
            << false << true << true << 1000 << true;
        QTest::newRow("installed, the user's has the last session")
            << true << true << true << 2000 << false;
    }
    void whereSettingsLive()
    {
        QFETCH(bool, installed);
        QFETCH(bool, writable);
        // A folder below a plain file: nobody, root included, can write there.
        const QString program =
            writable ? folderPath(u"app"_s) : writeFile(u"plain"_s, "x") + u"/bin"_s;
        const QString user = folderPath(u"user"_s);
        const QString share = folderPath(u"share"_s);
        QFETCH(bool, userIni);
        // The user's folder is made by the editor when it first needs it.
        for (const QString &folder : {program, userIni ? user : share, share})
            QDir().mkpath(folder);
        if (writable)
            TestFiles::write(program + u"/hmktse.ini"_s, "[HMKTSE-Settings]\nSizerLeft= 1000");
        if (userIni)
            TestFiles::write(user + u"/hmktse.ini"_s, "[HMKTSE-Settings]\nSizerLeft= 2000");
        TestFiles::write(share + u"/desc.txt"_s, "Cobbles\r\n"); // found among the installed
        if (userIni)                                             // the user's own wins
            TestFiles::write(user + u"/desc.txt"_s, "Grass\r\n");
        const ProgramFolders folders{program, user, installed ? share : QString(), {}, {}};
        QCOMPARE(folders.descriptionFile(), userIni     ? user + u"/desc.txt"_s
                                            : installed ? share + u"/desc.txt"_s
                                                        : QString());
        // A layout pass places the splitter where the settings say.
        start(folders).show();
        QCoreApplication::processEvents();
        QAction *descriptions = action(u"mnudisplaynames"_s); // enabled without a document
        QCOMPARE(descriptions->isVisible() && descriptions->isEnabled(), installed || userIni);
        QVERIFY(window().close());
        QFETCH(bool, writtenBesideProgram);
        const QString written = (writtenBesideProgram ? program : user) + u"/hmktse.ini"_s;
        QFETCH(int, sizerLeft);
        QVERIFY(TestFiles::read(written).contains("SizerLeft= " + QByteArray::number(sizerLeft)));
        QCOMPARE(TestFiles::read(program + u"/hmktse.ini"_s).contains("SizerLeft= 1000"),
                 writable); // never written over from elsewhere
    }
};

QTEST_MAIN(TestFileCommands)
#include "tst_filecommands.moc"

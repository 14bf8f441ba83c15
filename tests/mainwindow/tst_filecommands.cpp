#include "datatable.h"
#include "progresswindow.h"
#include "widgets.h"
#include "windowtest.h"

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <sys/stat.h>

using namespace Qt::StringLiterals;
using namespace TestFiles;
using Answer = PlatformServices::Answer;

// File commands, start-up and shutdown, recent files, and where the settings go.
class TestFileCommands : public WindowTest
{
    Q_OBJECT

    // The message boxes shown, as "text | title | icon", or their titles alone.
    QString boxes(bool titlesAlone = false)
    {
        QStringList shown;
        for (const ScriptedServices::Message &m : std::as_const(services().messages))
            shown.append(titlesAlone ? m.title
                                     : u"%1 | %2 | %3"_s.arg(m.text, m.title).arg(int(m.icon)));
        return shown.join(u", "_s);
    }
    QByteArray iniFile() const { return TestFiles::read(folderPath(u"hmktse.ini"_s)); }
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
        QTest::newRow("too short") << u"\n\n\0\0\0"_s << u"Error: Incorrect filesize | Error | 0"_s;
        QTest::newRow("a folder") << u"folder"_s << u"Error while loading! | Error | 1"_s;
        QTest::newRow("a FIFO") << u"fifo"_s << u"Error while loading! | Error | 1"_s;
    }
    void failedOpen()
    {
        QFETCH(QString, kind);
        MainWindow &window = start();
        const QString path = folderPath(u"bad.dat"_s);
        // A read from a FIFO would block.
        QVERIFY(kind == u"folder" ? QDir().mkpath(path)
                : kind == u"fifo" ? mkfifo(QFile::encodeName(path).constData(), 0600) == 0
                                  : !writeFile(u"bad.dat"_s, kind.toLatin1()).isEmpty());
        const QString good = writeNumberedFile(u"good.dat"_s, 4, 151);
        // With no document, and after another: the window is left without one either way,
        // so Save cannot write the previous tilesets over the file that failed. With none
        // before, the empty trees stay and the next start tries the file again.
        for (const bool afterAnother : {false, true}) {
            QVERIFY(!afterAnother || (open(good) && document().isOpen()));
            services().messages.clear();
            QVERIFY(open(path) && services().messages.first().details.startsWith(path + u"\n"_s));
            QTEST(boxes(), "message");
            QCOMPARE(window.windowTitle(), u"HMK Tileset Editor - "_s + path);
            // The load disabled and enabled the window; the Edit menu stays disabled.
            QVERIFY(!document().isOpen() && !action(u"mnusave"_s)->isEnabled() &&
                    !window.findChild<QMenu *>(u"mnuedit"_s)->menuAction()->isEnabled());
            QCOMPARE(list()->isHidden() || tree()->isHidden(), afterAnother);
            const QByteArray last = afterAnother ? "n/a" : path.toUtf8();
            QVERIFY(window.close() && iniFile().contains("LastOpened= " + last + '\r'));
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
        QVERIFY(command != u"mnusave"_s || (QFile::remove(path) && QDir().mkpath(path)));
        const bool importing = command == u"mnuimport"_s;
        if (importing)
            services().dialogs << [&](QDialog &dialog) { look(), dialog.reject(); };
        if (command != u"mnusave"_s) {
            services().answers << (importing ? Answer::Ok : Answer::No);
            services().files << (importing ? path : folderPath(u"missing.dat"_s));
        }
        QVERIFY(trigger(command) && lastUp && window().isEnabled());
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
        auto [name, saved] = fetch<QString, bool>("name", "saved");
        const QString path = openChanged(), target = folderPath(name);
        QVERIFY(saved || QDir().mkpath(target));
        window().findChild<QToolButton *>(u"Toolbar1Button3"_s)->click(); // the toolbar's Save
        const QByteArray bytes = TestFiles::read(path);
        QCOMPARE(bytes, fileBytes(table()));
        services().files << target;
        QVERIFY(trigger(u"mnusaveas"_s));
        QCOMPARE(services().fileRequests.last().folder, QFileInfo(path).path());
        const QString named = saved ? target : path; // a failed save keeps the name it had
        // A failed save leaves it unsaved.
        QCOMPARE(std::tuple(window().windowTitle(), document().filePath(), document().isModified(),
                            action(u"mnurecent1"_s)->text()),
                 std::tuple(u"HMK Tileset Editor - "_s + named, named, !saved, u"&1 "_s + named));
        QVERIFY(!saved || document().fileFolder() + document().fileTitle() == target); // separator
        QCOMPARE(boxes(), saved ? QString() : u"Error while saving! | Error | 1"_s);
        QVERIFY(saved || services().messages.first().details == target + u"\nis a folder"_s);
        QVERIFY(!saved || TestFiles::read(target) == bytes);
        if (!saved)
            services().answers << Answer::No;
        // The next start opens what was saved last.
        QVERIFY(window().close() && iniFile().contains("LastOpened= " + named.toUtf8()));
    }

    // Another file opened, by Open or dropped on the window, or a new one, over unsaved
    // changes.
    void savePrompt_data()
    {
        // command: Open, a drop of both files (a drop of two files is ignored), or New
        // saveFails: a folder has taken the file's place
        addColumns<QString, Answer, bool>("command", "answer", "saveFails");
        QTest::newRow("Yes saves, then opens") << u"drop"_s << Answer::Yes << false;
        QTest::newRow("Yes, the save fails: nothing opens") << u"mnuopen"_s << Answer::Yes << true;
        QTest::newRow("No opens without saving") << u"drop"_s << Answer::No << false;
        QTest::newRow("Cancel does nothing") << u"mnuopen"_s << Answer::Cancel << false;
        QTest::newRow("New: Yes saves, then asks the size") << u"mnunew"_s << Answer::Yes << false;
        QTest::newRow("New: Yes, the save fails: no new document")
            << u"mnunew"_s << Answer::Yes << true;
        QTest::newRow("New: No replaces without saving") << u"mnunew"_s << Answer::No << false;
        QTest::newRow("New: Cancel does nothing") << u"mnunew"_s << Answer::Cancel << false;
    }
    void savePrompt()
    {
        const auto [command, saveFails, answer] =
            fetch<QString, bool, Answer>("command", "saveFails", "answer");
        // Yes saves when the save can be made; then the file opens, as on No.
        const bool saved = answer == Answer::Yes && !saveFails;
        const bool opened = saved || answer == Answer::No;
        const bool dropped = command == u"drop"_s, created = command == u"mnunew"_s;
        const QString first = openChanged(dropped);
        QCOMPARE(document().filePath(), first);
        QVERIFY(!saveFails || (QFile::remove(first) && QDir().mkpath(first)));
        const QString second = writeNumberedFile(u"second.dat"_s, 7, 3);
        if (dropped) // asks nothing
            drop({QUrl::fromLocalFile(second), QUrl::fromLocalFile(second)});
        services().answers << answer;
        if (opened && !dropped)
            created ? void(services().dialogs << [](QDialog &dialog) { dialog.accept(); })
                    : void(services().files << second);
        QVERIFY(dropped ? (drop({QUrl::fromLocalFile(second)}), true) : trigger(command));
        const QString asked = u"Save changes before %1? | Changes made | 0"_s.arg(
            created ? u"closing file"_s : u"opening another file"_s);
        QCOMPARE(boxes(), saveFails ? asked + u", Error while saving! | Error | 1"_s : asked);
        QCOMPARE(services().messages.first().buttons, PlatformServices::Buttons::YesNoCancel);
        QCOMPARE(TestFiles::read(first).mid(5 + 33, 1) == "Z", saved);
        QCOMPARE(document().tilesetCount() == (created ? 70 : 7), opened);
        QCOMPARE(document().isModified(), document().tilesetCount() == 2 || created);
        QCOMPARE(document().isUntitled(), created && opened);
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
        auto [settings, written] = fetch<QByteArray, QString>("settings", "written");
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
        QVERIFY(open(QString::fromUtf8(last)) && trigger(u"mnuclose"_s) && trigger(u"mnuquit"_s));
        // The values after "key= ", in file order, from the second setting on.
        const QByteArray ini = iniFile();
        QVERIFY(ini.contains("\r\nLastOpened= n/a\r\n") && ini.endsWith("\r\n"));
        QString lines = QString::fromUtf8(ini).split(u"\r\n"_s).mid(2, 8).join(u' ');
        QCOMPARE(lines.remove(QRegularExpression(u"\\w+= "_s)), written);
    }

    // A question at start-up (a recovery copy, a slow last file) can keep the window hidden
    // past the layout timer; the tileset list keeps the width the settings give it.
    void layoutWaitsForTheWindowShown()
    {
        writeFile(u"hmktse.ini"_s, "[HMKTSE-Settings]\r\nSizerLeft= 2000\r\n");
        auto *timer = start().findChild<QTimer *>(u"Timer1"_s);
        QSignalSpy runs(timer, &QTimer::timeout);
        timer->start(0);
        QTRY_VERIFY(runs.size() >= 2); // the window hidden: it waits again
        window().show();
        QTRY_VERIFY(!timer->isActive()); // its pass, at the window's size: no gap left
        QCOMPARE(std::pair(list()->width(), tree()->geometry().right() + 1),
                 std::pair(2000 / 15, child<QToolBar>(&window(), u"Toolbar2"_s)->x()));
        QVERIFY(window().close() && iniFile().contains("SizerLeft= 2000\r\n"));
    }

    void recentFilesNewestFirstAndChangedWhileLoading()
    {
        start().show();
        const auto recent = [this] { // the captions of Recent files
            QStringList captions;
            for (QAction *item : window().findChild<QMenu *>(u"mnurecent"_s)->actions())
                captions.append(item->text());
            return captions;
        };
        QStringList paths;
        for (int i = 0; i < 9; ++i)
            QVERIFY(open(paths.emplaceFront(writeNumberedFile(u"r&%1.dat"_s.arg(i), 1, 1))));
        QVERIFY(open(paths[3])); // moves to the top; the ninth is gone
        const auto shown = [&paths](int i) { return QString(paths[i]).replace(u'&', u"&&"_s); };
        QCOMPARE(recent().mid(0, 2), QStringList({u"&1 "_s + shown(3), u"&2 "_s + shown(0)}));
        QCOMPARE(recent().mid(7), QStringList({u"&8 "_s + shown(7), QString(), u"&Clear list"_s}));
        QVERIFY(QFile::remove(paths[0]) && trigger(u"mnurecent2"_s));
        QCOMPARE(boxes(), u"The file %1 no longer exists; it has been removed from the recent "
                          u"files. | Recent files | 0"_s.arg(paths[0]));
        QCOMPARE(recent().size(), 7 + 2);
        QVERIFY(trigger(u"mnurecentclear"_s) && !action(u"mnurecentclear"_s)->isEnabled());
        QCOMPARE(recent(), QStringList({QString(), u"&Clear list"_s}));

        // A file replaced while it loads is news once the load ends: Save does not overwrite
        // the other program's version unasked.
        const QString path = writeNumberedFile(u"slow.dat"_s, 3, 4);
        services().duringPump = [this, replaced = false]() mutable {
            if (!std::exchange(replaced, true))
                writeNumberedFile(u"slow.dat"_s, 5, 4);
        };
        services().answers << Answer::No;
        QVERIFY(open(path));
        services().duringPump = {};
        QTRY_COMPARE(boxes(true), u"Recent files, File changed"_s);
        QVERIFY(document().isModified() && document().tilesetCount() == 3);
    }

    // Another program removes, changes or damages the open file (3 tilesets), with the
    // answer given to "Reload it?".
    void fileChangedOnDisk_data()
    {
        // written: empty: the file is removed
        // unsaved: afterwards, with the 3 tilesets, else the 5 written are in the window
        // titles: of the messages shown
        // edited: a tileset renamed since the save, so that Enter keeps it (No); typed: the
        // rename still in its editor
        addColumns<QByteArray, bool, bool, QStringList, QString>("written", "reload", "unsaved",
                                                                 "titles", "edited");
        const QByteArray five = fileBytes(numberedTable(5, 4));
        const QStringList changed{u"File changed"_s}, removed{u"File removed"_s};
        QTest::newRow("removed") << QByteArray() << false << true << removed << QString();
        QTest::newRow("changed, reloaded") << five << true << false << changed << QString();
        QTest::newRow("changed, kept") << five << false << true << changed << QString();
        QTest::newRow("changed over unsaved changes, kept")
            << five << false << true << changed << u"edited"_s;
        QTest::newRow("changed over a rename being typed, kept")
            << five << false << true << changed << u"typed"_s;
        QTest::newRow("damaged, reload fails")
            << five.chopped(1) << true << true << changed + QStringList{u"Error"_s} << QString();
    }
    void fileChangedOnDisk()
    {
        auto [written, reload, edited, titles] =
            fetch<QByteArray, bool, QString, QStringList>("written", "reload", "edited", "titles");
        start().show();
        const QString path = writeNumberedFile(u"watched.dat"_s, 3, 4);
        QVERIFY(open(path) && trigger(u"mnusave"_s)); // the editor's own save is no change
        if (edited == u"edited"_s)
            rename(0, u"Mine"_s);
        QTest::qWait(200);
        if (edited == u"typed"_s)
            click(list(), list()->node(1), true), labelEditor(list())->setText(u"Mine"_s);
        // As while a load or a save runs: the news waits for its end. Disabling would end the
        // rename being typed.
        window().setEnabled(edited == u"typed"_s);
        if (!written.isEmpty())
            services().answers << (reload ? Answer::Yes : Answer::No);
        written.isEmpty() ? void(QFile::remove(path)) : void(writeFile(u"watched.dat"_s, written));
        QTest::qWait(300);
        QVERIFY(services().messages.isEmpty() || edited == u"typed"_s);
        window().setEnabled(true);
        QTRY_COMPARE(boxes(true), titles.join(u", "_s));
        const ScriptedServices::Message &asked = services().messages.first();
        QCOMPARE(asked.defaultAnswer == Answer::No, !edited.isEmpty()); // the safe answer
        using enum PlatformServices::Icon;
        QVERIFY(written.isEmpty() || asked.icon == (edited.isEmpty() ? Question : Exclamation));
        QCOMPARE(table().tilesetName(0).startsWith("Mine"), !edited.isEmpty());
        QTEST(document().isModified(), "unsaved");
        QCOMPARE(document().tilesetCount(), document().isModified() ? 3 : 5);
        // A later change is news again after a reload, else told only once; unsaved for what
        // the history cannot see, which goes with the document. No is the answer to either.
        const bool reloaded = !document().isModified();
        services().answers << Answer::No;
        writeNumberedFile(u"watched.dat"_s, 2, 4);
        QTest::qWait(200);
        QTRY_COMPARE(services().messages.size(), titles.size() + reloaded);
        QVERIFY(reloaded ||
                (open(writeNumberedFile(u"other.dat"_s, 1, 1)) && !document().isModified()));
    }

    // SizerLeft is 1000 in the program's hmktse.ini, where its folder can be written, and 2000
    // in the user's, where there is one.
    void whereSettingsLive_data()
    {
        // writable: the program's folder
        // sizerLeft: as read, and written back: beside the program when it is not installed
        // and its folder can be written, else in the user's
        addColumns<bool, bool, bool, int>("installed", "writable", "userIni", "sizerLeft");
        QTest::newRow("beside the program") << false << true << false << 1000;
        QTest::newRow("read-only folder: the user's") << false << false << false << 3360;
        QTest::newRow("installed: read beside, kept the user's") << true << true << false << 1000;
        QTest::newRow("beside the program, the user's unread") << false << true << true << 1000;
        QTest::newRow("installed, the user's has the last session") << true << true << true << 2000;
    }
    void whereSettingsLive()
    {
        auto [installed, writable, userIni, sizerLeft] =
            fetch<bool, bool, bool, int>("installed", "writable", "userIni", "sizerLeft");
        // A folder below a plain file: nobody, root included, can write there.
        const QString program =
            writable ? folderPath(u"app"_s) : writeFile(u"plain"_s, "x") + u"/bin"_s;
        const QString user = folderPath(u"user"_s), share = folderPath(u"share"_s);
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
        const QString installedShare = installed ? share : QString();
        const ProgramFolders folders{program, user, installedShare, installedShare, {}};
        QCOMPARE(folders.descriptionFile(),
                 userIni || installed ? (userIni ? user : share) + u"/desc.txt"_s : QString());
        // No readme.txt anywhere: the message names the one beside the program.
        QCOMPARE(folders.readmeFile(), program + u"/readme.txt"_s);
        // A layout pass places the splitter where the settings say.
        start(folders).show();
        QCoreApplication::processEvents();
        QCOMPARE(trigger(u"mnudisplaynames"_s), installed || userIni); // without a document
        QVERIFY(window().close());
        const QString written = (writable && !installed ? program : user) + u"/hmktse.ini"_s;
        QVERIFY(TestFiles::read(written).contains("SizerLeft= " + QByteArray::number(sizerLeft)));
        QCOMPARE(TestFiles::read(program + u"/hmktse.ini"_s).contains("SizerLeft= 1000"),
                 writable); // never written over from elsewhere
    }
};

QTEST_MAIN(TestFileCommands)
#include "tst_filecommands.moc"

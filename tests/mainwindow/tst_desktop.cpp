#include "tilesetfiles.h"
#include "windowtest.h"

#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QUrl>

using namespace Qt::StringLiterals;
using Answer = PlatformServices::Answer;

// The editor among the user's other programs: files dropped on it, recent files, the open
// file changed by another program, and where its settings go.
class TestDesktop : public WindowTest
{
    Q_OBJECT

    Document &doc() { return mFixture->document(); }
    MainWindow &window() { return mFixture->window(); }
    QString numbered(const QString &name, int tilesets = 3)
    {
        return mFixture->writeNumberedFile(name, tilesets, 4);
    }
    QStringList recentCaptions()
    {
        QStringList captions;
        for (QAction *item : window().findChild<QMenu *>(u"mnurecent"_s)->actions())
            captions.append(item->isSeparator() ? u"-"_s : item->text());
        return captions;
    }
    void drop(const QList<QUrl> &urls)
    {
        QMimeData data;
        data.setUrls(urls);
        QDragEnterEvent enter({10, 10}, Qt::CopyAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(&window(), &enter);
        QDropEvent event(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
        if (enter.isAccepted())
            QCoreApplication::sendEvent(&window(), &event);
        QCoreApplication::processEvents();
    }

private Q_SLOTS:
    void droppedFileOpensAsOpenDoes()
    {
        mFixture->start();
        const QString first = numbered(u"first.dat"_s);
        drop({QUrl::fromLocalFile(first), QUrl::fromLocalFile(first)}); // two: ignored
        QVERIFY(!doc().hasTilesets());
        drop({QUrl::fromLocalFile(first)});
        QCOMPARE(doc().filePath, first);
        doc().changesMade = true;
        mFixture->services.answer(Answer::Cancel);
        drop({QUrl::fromLocalFile(numbered(u"second.dat"_s))});
        QCOMPARE(mFixture->services.messages.last().text,
                 u"Save changes before opening another file?"_s);
        QCOMPARE(doc().filePath, first);
        doc().changesMade = false;
        window().openFile(
            mFixture->writeFile(u"short.dat"_s, "\x05\x05")); // the command line's way
        QCOMPARE(mFixture->services.messages.last().text, u"Error: Incorrect filesize"_s);
    }

    void recentFilesNewestFirst()
    {
        mFixture->start();
        QCOMPARE(recentCaptions(), QStringList({u"-"_s, u"Clear list"_s}));
        QStringList paths;
        for (int i = 0; i < 9; ++i) {
            paths.prepend(numbered(u"r%1.dat"_s.arg(i)));
            QVERIFY(mFixture->open(paths.first()));
        }
        QVERIFY(mFixture->open(paths[3])); // moves to the top
        const QStringList captions = recentCaptions();
        QCOMPARE(captions.size(), 8 + 2);
        QCOMPARE(captions[0], u"&1 "_s + paths[3]);
        QCOMPARE(captions[1], u"&2 "_s + paths[0]);
        QVERIFY(!captions.join(u'\n').contains(paths[8])); // the ninth is gone

        QFile::remove(paths[0]);
        QVERIFY(mFixture->trigger(u"mnurecent2"_s));
        QCOMPARE(mFixture->services.messages.last().text,
                 u"The file %1 no longer exists; it has been removed from the recent files."_s.arg(
                     paths[0]));
        QCOMPARE(recentCaptions().size(), 7 + 2);
        QCOMPARE(doc().filePath, paths[3]);
        QVERIFY(mFixture->trigger(u"mnurecentclear"_s));
        QCOMPARE(recentCaptions(), QStringList({u"-"_s, u"Clear list"_s}));
        QVERIFY(!QFile::exists(mFixture->folderPath(u"hmktse.ini"_s))); // not kept there
    }

    void changeOnDiskIsToldOnce()
    {
        mFixture->start();
        const QString path = numbered(u"watched.dat"_s);
        QVERIFY(mFixture->open(path));
        QVERIFY(mFixture->trigger(u"mnusave"_s)); // the editor's own save is no change
        QTest::qWait(200);
        QVERIFY(mFixture->services.messages.isEmpty());

        mFixture->services.answer(Answer::Yes);
        numbered(u"watched.dat"_s, 5);
        QVERIFY(QTest::qWaitFor([&] { return !mFixture->services.messages.isEmpty(); }));
        QCOMPARE(mFixture->services.messages.first().text,
                 u"The file %1 was changed by another program. Reload it?"_s.arg(path));
        QCOMPARE(doc().tilesetCount(), 5); // reloaded

        doc().changesMade = true;
        mFixture->services.answer(Answer::No);
        numbered(u"watched.dat"_s, 2);
        QVERIFY(QTest::qWaitFor([&] { return mFixture->services.messages.size() == 2; }));
        QVERIFY(mFixture->services.messages.last().text.endsWith(u"will be lost."_s));
        numbered(u"watched.dat"_s, 3);
        QTest::qWait(200);
        QCOMPARE(mFixture->services.messages.size(), 2); // once, until opened or saved again
        QCOMPARE(doc().tilesetCount(), 5);
    }

    void settingsWhereTheyCanBeWritten_data()
    {
        QTest::addColumn<bool>("writable"); // the program's folder
        QTest::newRow("program folder") << true;
        QTest::newRow("read-only program folder: the user's") << false;
    }
    void settingsWhereTheyCanBeWritten()
    {
        QFETCH(bool, writable);
        const QString base = mFixture->folderPath(u"app"_s);
        // A folder below a plain file: nobody, root included, can write there.
        const QString program = writable ? base : mFixture->writeFile(u"plain"_s, "x") + u"/bin"_s;
        QDir().mkpath(base);
        const ProgramFolders folders{program, mFixture->folderPath(u"user"_s), base, {}};
        TestFiles::write(base + u"/desc.txt"_s, "Cobbles\r\n"); // found among the installed
        MainWindow window(mFixture->services, folders);
        QVERIFY(window.findChild<QAction *>(u"mnudisplaynames"_s)->isVisible());
        QVERIFY(window.close());
        QCOMPARE(QFile::exists(base + u"/hmktse.ini"_s), writable);
        QCOMPARE(QFile::exists(folders.user + u"/hmktse.ini"_s), !writable);
    }
};

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"

#pragma once

#include "mainwindow.h"
#include "scriptedservices.h"
#include "tilesetfiles.h"

#include <QAction>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// A main window started in a fresh program folder, with scripted services. Tests drive it
// as a user would: trigger a menu item by name, answer what it asks.
class WindowFixture
{
public:
    ScriptedServices services;
    // Start-up runs now, so files in the program folder must be there first.
    MainWindow &start()
    {
        mWindow = std::make_unique<MainWindow>(services, mFolder.path());
        return *mWindow;
    }
    MainWindow &window() { return *mWindow; }
    Document &document() { return mWindow->document(); }
    QString folderPath(const QString &name) const { return mFolder.filePath(name); }
    QString writeFile(const QString &name, const QByteArray &bytes) const
    {
        return TestFiles::write(folderPath(name), bytes);
    }
    QString writeNumberedFile(const QString &name, int tilesets, int entries) const
    {
        return writeFile(name, TestFiles::fileBytes(TestFiles::numberedTable(tilesets, entries)));
    }
    // Runs the item, found by object name; false when the user could not reach it.
    bool trigger(const QString &actionName)
    {
        QAction *action = mWindow->findChild<QAction *>(actionName);
        if (!action || !action->isEnabled() || !action->isVisible())
            return false;
        action->trigger();
        return true;
    }
    bool open(const QString &path) // "Open...", answering the file dialog with path
    {
        services.files.append(path);
        return trigger(QStringLiteral("mnuopen"));
    }

private:
    QTemporaryDir mFolder;
    std::unique_ptr<MainWindow> mWindow; // torn down without shutdown, as a crash ends it
};

// The frame of every window test: a fresh fixture for each test function, and after each,
// no question the test did not answer and no scripted answer left over.
class WindowTest : public QObject
{
    Q_OBJECT

protected:
    std::unique_ptr<WindowFixture> mFixture;
    ScriptedServices &services() { return mFixture->services; }
    MainWindow &window() { return mFixture->window(); }
    Document &document() { return mFixture->document(); }
    QAction *action(const QString &name) { return window().findChild<QAction *>(name); }

private Q_SLOTS:
    void init() { mFixture = std::make_unique<WindowFixture>(); }
    void cleanup()
    {
        QCOMPARE(mFixture->services.unexpected, QStringList());
        QVERIFY(mFixture->services.allAnswersUsed());
        mFixture.reset();
    }
};

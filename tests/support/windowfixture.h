#pragma once

#include "mainwindow.h"
#include "scriptedservices.h"

#include <QTemporaryDir>

#include <memory>

// A main window started in a fresh program folder, with scripted services. Tests drive it
// as a user would: trigger a menu item by name, answer what it asks.
class WindowFixture
{
public:
    WindowFixture();
    ~WindowFixture();

    // Starts the window (start-up runs now, so files in the folder must be there first).
    MainWindow &start();
    MainWindow &window() { return *mWindow; }
    Document &document() { return mWindow->document(); }
    ScriptedServices services;

    QString folder() const { return mFolder.path(); }
    QString folderPath(const QString &name) const;
    // Writes a tileset file into the scratch folder; returns its path.
    QString writeFile(const QString &name, const QByteArray &bytes) const;
    QString writeNumberedFile(const QString &name, int tilesets, int entries) const;

    // Finds the item by object name, checks that the user could reach it, and runs it.
    bool trigger(const QString &actionName);
    // "Open...", answering the file dialog with path.
    bool open(const QString &path);
    // Shuts the window down through its close control; true when it closed.
    bool close();

private:
    QTemporaryDir mFolder;
    std::unique_ptr<MainWindow> mWindow;
};

#pragma once

// The editor as the window benchmarks drive it: a main window on a file of its own, with
// the real event pump.

#include "entrytree.h"
#include "mainwindow.h"
#include "qtplatformservices.h"
#include "tilesetfiles.h"
#include "tilesetlist.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <malloc.h>

// The real, paced event pump. Questions are answered Ok, the Select tileset dialog with
// its first tileset, and a file dialog with the file to import.
class PumpingServices : public QtPlatformServices
{
public:
    Answer ask(QWidget *, const Message &) override { return Answer::Ok; }
    int execDialog(QWidget *, QDialog &dialog) override
    {
        dialog.accept();
        return QDialog::Accepted;
    }
    QString fileDialog(QWidget *, const FileRequest &) override { return importedFile; }
    QString importedFile;
};

struct Editor
{
    explicit Editor(int tilesets, int entries)
        : Editor(TestFiles::numberedTable(tilesets, entries))
    {}
    // recovery: whether the window keeps a recovery copy of unsaved changes.
    explicit Editor(const TilesetTable &table, bool recovery = true)
        : window(services, folders(recovery))
    {
        const QString path = folder.filePath(QStringLiteral("bench.dat"));
        TestFiles::write(path, TestFiles::fileBytes(table));
        window.show();
        window.openFile(path);
    }
    TilesetList *tilesetList()
    {
        return window.findChild<TilesetList *>(QStringLiteral("NewList1"));
    }
    EntryTree *entryTree() { return window.findChild<EntryTree *>(QStringLiteral("NewList2")); }
    void trigger(const QString &name) { window.findChild<QAction *>(name)->trigger(); }
    template<typename T>
    T *inFindDialog(const QString &name)
    {
        return window.findChild<QWidget *>(QStringLiteral("FindDialog"))->findChild<T *>(name);
    }
    ProgramFolders folders(bool recovery) const
    {
        ProgramFolders folders = ProgramFolders::portable(folder.path());
        if (!recovery)
            folders.recovery.clear();
        return folders;
    }
    QTemporaryDir folder;
    PumpingServices services;
    MainWindow window;
};

// Heap bytes in use, mapped blocks included: unlike the resident size, it does not hide
// what is freed and allocated again.
inline qint64 heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return qint64(info.uordblks + info.hblkhd);
}

// Every benchmark registered, offscreen unless a platform is asked for.
inline int runWindowBenchmarks(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

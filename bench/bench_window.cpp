// The window's figures: relabelling the entry tree, opening a large file through the window
// against a bare loop of as many event pumps as it has entry records, with the longest
// stretch in which no events ran, saving it, and inserting and deleting tilesets; finding,
// replacing and undoing on the largest file, beside a plain scan of the same bytes; editing
// with and without the recovery copy; opening a comparison beside a plain read of the file.
#include "benchwindow.h"
#include "comparedtables.h"
#include "entrytree.h"
#include "mainwindow.h"
#include "qtplatformservices.h"
#include "tilesetdocument.h"
#include "tilesetfiles.h"
#include "tilesetlist.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QUndoStack>

#include <benchmark/benchmark.h>

#include <algorithm>

#include <malloc.h>

using namespace Qt::StringLiterals;

namespace {

void BM_RelabelAfterTilesetClick(benchmark::State &state)
{
    Editor editor(70, 151);
    int node = 1;
    for (auto _ : state) {
        node = node % 70 + 1;
        editor.tilesetList()->selectTileset(node - 1);
        Q_EMIT editor.tilesetList()->clicked();
    }
}

// Notes when pending events run, by a queued call that queues itself again each time it
// runs, and keeps the longest stretch between two runs (or the start or the end).
class EventRuns : public QObject
{
public:
    void start()
    {
        ++mRound;
        mClock.start();
        mLastRun = 0;
        queue(mRound);
    }
    void stop()
    {
        mLongestNs = std::max(mLongestNs, mClock.nsecsElapsed() - mLastRun);
        ++mRound;
    }
    double longestMs() const { return double(mLongestNs) / 1e6; }

private:
    void queue(int round)
    {
        QMetaObject::invokeMethod(
            this,
            [this, round] {
                if (round != mRound)
                    return;
                const qint64 now = mClock.nsecsElapsed();
                mLongestNs = std::max(mLongestNs, now - mLastRun);
                mLastRun = now;
                queue(round);
            },
            Qt::QueuedConnection);
    }

    int mRound = 0;
    QElapsedTimer mClock;
    qint64 mLastRun = 0;
    qint64 mLongestNs = 0;
};

void BM_OpenThroughWindow(benchmark::State &state)
{
    Editor editor(255, 255);
    EventRuns runs;
    for (auto _ : state) {
        runs.start();
        editor.window.openFile(editor.window.document().filePath());
        runs.stop();
    }
    state.counters["longest_stretch_ms"] = runs.longestMs();
}

void BM_SaveThroughWindow(benchmark::State &state)
{
    Editor editor(255, 255);
    for (auto _ : state)
        editor.trigger(u"mnusave"_s);
}

void BM_EventPumpFloor(benchmark::State &state)
{
    Editor editor(1, 1);
    for (auto _ : state) {
        for (int i = 0; i < 255 * 255; ++i)
            QCoreApplication::processEvents();
    }
}

// Times one command on tileset 128 and undoes it untimed with the other, so every
// iteration starts from the same document of `tilesets` tilesets.
void timeCommand(benchmark::State &state, int tilesets, const QString &timed, const QString &undo)
{
    Editor editor(tilesets, 255);
    QAction *command = editor.window.findChild<QAction *>(timed);
    QAction *undoCommand = editor.window.findChild<QAction *>(undo);
    for (auto _ : state) {
        editor.tilesetList()->selectTileset(127);
        command->trigger();
        state.PauseTiming();
        editor.tilesetList()->selectTileset(127);
        undoCommand->trigger();
        state.ResumeTiming();
    }
}

void BM_InsertTileset(benchmark::State &state)
{
    timeCommand(state, 254, u"mnuinsert"_s, u"mnudelete"_s);
}

void BM_DeleteTileset(benchmark::State &state)
{
    timeCommand(state, 255, u"mnudelete"_s, u"mnuinsert"_s);
}

// A rename, an entry edit and a delete on 255 x 255, each with the events it posts, without
// (0) and with (1) the recovery copy. A run lasts long enough for copies to be written: a
// second after a pause, every two seconds while changes go on.
// Runs edit(i) on tileset 127 of 255 x 255 at every iteration, with the events it posts.
template<typename Edit>
void timeEdits(benchmark::State &state, Edit edit)
{
    Editor editor(TestFiles::numberedTable(255, 255), state.range(0) == 1);
    editor.tilesetList()->selectTileset(127);
    int i = 0;
    for (auto _ : state) {
        edit(editor, ++i);
        QCoreApplication::processEvents();
    }
}

void BM_RenameRecovery(benchmark::State &state)
{
    timeEdits(state, [](Editor &editor, int i) {
        Q_EMIT editor.tilesetList()->labelEdited(i % 255, u"Moss %1"_s.arg(i));
    });
}

void BM_EditEntryRecovery(benchmark::State &state)
{
    timeEdits(state, [](Editor &editor, int i) {
        Q_EMIT editor.entryTree()->labelEdited(i % 255, u"rock%1.bmp"_s.arg(i));
    });
}

void BM_DeleteRecovery(benchmark::State &state)
{
    Editor editor(TestFiles::numberedTable(255, 255), state.range(0) == 1);
    for (auto _ : state) {
        editor.tilesetList()->selectTileset(127);
        editor.trigger(u"mnudelete"_s);
        QCoreApplication::processEvents();
        state.PauseTiming();
        editor.tilesetList()->selectTileset(127);
        editor.trigger(u"mnuinsert"_s);
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}

// 255 x 255 with "rock" in one field of a hundred.
TilesetTable searchedTable()
{
    TilesetTable table = TestFiles::numberedTable(255, 255);
    for (int t = 0; t < 255; ++t) {
        for (int e = t % 100; e < 255; e += 100)
            table.setEntry(e, t, storeFixedText("rock" + QByteArray::number(e) + ".bmp", 32));
    }
    return table;
}

void BM_PlainScanFloor(benchmark::State &state)
{
    const QByteArray bytes = searchedTable().bytes();
    for (auto _ : state) {
        qsizetype found = 0;
        for (qsizetype at = bytes.indexOf("rock"); at >= 0; at = bytes.indexOf("rock", at + 1))
            ++found;
        benchmark::DoNotOptimize(found);
    }
}

void BM_FindAllOnePercent(benchmark::State &state)
{
    Editor editor(searchedTable());
    editor.trigger(u"mnufind"_s);
    editor.inFindDialog<QLineEdit>(u"findText"_s)->setText(u"rock"_s);
    for (auto _ : state)
        editor.inFindDialog<QPushButton>(u"findAll"_s)->click(); // results list filled
}

void BM_ReplaceAllEntries(benchmark::State &state)
{
    Editor editor(searchedTable());
    editor.trigger(u"mnureplace"_s);
    editor.inFindDialog<QLineEdit>(u"findText"_s)->setText(u":"_s); // every entry, 65,025 fields
    editor.inFindDialog<QLineEdit>(u"replaceText"_s)->setText(u"-"_s);
    for (auto _ : state) {
        editor.inFindDialog<QPushButton>(u"replaceAll"_s)->click();
        state.PauseTiming();
        editor.window.document().undoStack()->undo();
        state.ResumeTiming();
    }
}

// Times the undo and the redo of one command on tileset 128.
void timeUndo(benchmark::State &state, const QString &command)
{
    Editor editor(searchedTable());
    editor.tilesetList()->selectTileset(128);
    if (command == u"mnuimport"_s)
        editor.services.importedFile = editor.window.document().filePath();
    editor.trigger(command);
    for (auto _ : state) {
        // With the events each posts, the trees' fitting to their labels among them.
        editor.window.document().undoStack()->undo();
        QCoreApplication::processEvents();
        editor.window.document().undoStack()->redo();
        QCoreApplication::processEvents();
    }
}

void BM_UndoRedoDelete(benchmark::State &state)
{
    timeUndo(state, u"mnudelete"_s);
}

void BM_UndoRedoImport(benchmark::State &state)
{
    timeUndo(state, u"mnuimport"_s);
}

// Memory held by the history of 1,000 entry edits and 50 deletes, in MB.
void BM_HistoryMemory(benchmark::State &state)
{
    Editor editor(searchedTable());
    const qint64 opened = heapInUse();
    for (auto _ : state) {
        for (int i = 0; i < 1000; ++i) {
            const int tileset = i % 200;
            editor.tilesetList()->selectTileset(tileset);
            Q_EMIT editor.entryTree()->labelEdited(i % 255, u"edit %1"_s.arg(i));
        }
        for (int i = 0; i < 50; ++i) {
            editor.tilesetList()->selectTileset(1);
            editor.trigger(u"mnudelete"_s);
        }
    }
    state.counters["grown_MB"] = double(heapInUse() - opened) / (1024 * 1024);
}

// The document is ComparedTables' base; the file compared with is ours, read from disk.
void BM_PlainReadComparedFile(benchmark::State &state)
{
    QTemporaryDir folder;
    const QString path = TestFiles::write(folder.filePath(u"ours.dat"_s),
                                          TestFiles::fileBytes(ComparedTables().ours));
    for (auto _ : state) {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        QByteArray bytes = file.readAll();
        benchmark::DoNotOptimize(bytes.data());
    }
}

// Compare with file... until the trees are marked and the events it posted have run.
void BM_OpenComparison(benchmark::State &state)
{
    const ComparedTables tables;
    Editor editor(tables.base);
    editor.services.importedFile =
        TestFiles::write(editor.folder.filePath(u"ours.dat"_s), TestFiles::fileBytes(tables.ours));
    for (auto _ : state) {
        editor.trigger(u"mnucompare"_s);
        QCoreApplication::processEvents();
        state.PauseTiming();
        editor.trigger(u"mnuendcompare"_s);
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(BM_PlainReadComparedFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenComparison)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RelabelAfterTilesetClick)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OpenThroughWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveThroughWindow)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EventPumpFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InsertTileset)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeleteTileset)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainScanFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindAllOnePercent)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplaceAllEntries)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoRedoDelete)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoRedoImport)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenameRecovery)->Arg(0)->Arg(1)->MinTime(3.0)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EditEntryRecovery)->Arg(0)->Arg(1)->MinTime(3.0)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DeleteRecovery)->Arg(0)->Arg(1)->MinTime(3.0)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HistoryMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char **argv)
{
    return runWindowBenchmarks(argc, argv);
}

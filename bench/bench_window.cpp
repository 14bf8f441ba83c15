// The window's figures: relabelling the entry tree, opening a large file through the window
// against a bare loop of as many event pumps as it has entry records, with the longest
// stretch in which no events ran, saving it, and inserting and deleting tilesets.
#include "entrytree.h"
#include "mainwindow.h"
#include "qtplatformservices.h"
#include "tilesetfiles.h"
#include "tilesetlist.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// The real, paced event pump; no dialog is ever asked for.
class PumpingServices : public QtPlatformServices
{
public:
    Answer messageBox(QWidget *, const QString &, const QString &, Buttons, Icon) override
    {
        return Answer::Cancel;
    }
};

struct Editor
{
    explicit Editor(int tilesets, int entries)
    {
        const QString path = folder.filePath(u"bench.dat"_s);
        TestFiles::write(path, TestFiles::fileBytes(TestFiles::numberedTable(tilesets, entries)));
        window.show();
        window.document().filePath = path;
        window.openDocumentFile();
    }
    QTemporaryDir folder;
    PumpingServices services;
    MainWindow window{services, folder.path()};
};

void BM_RelabelAfterTilesetClick(benchmark::State &state)
{
    Editor editor(70, 151);
    int node = 1;
    for (auto _ : state) {
        node = node % 70 + 1;
        editor.window.tilesetList()->selectNode(node);
        editor.window.refreshEntryTexts();
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
        editor.window.openDocumentFile();
        runs.stop();
    }
    state.counters["longest_stretch_ms"] = runs.longestMs();
}

void BM_SaveThroughWindow(benchmark::State &state)
{
    Editor editor(255, 255);
    const QString path = editor.folder.filePath(u"saved.dat"_s);
    for (auto _ : state)
        editor.window.saveFile(path);
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
        editor.window.tilesetList()->selectNode(128);
        command->trigger();
        state.PauseTiming();
        editor.window.tilesetList()->selectNode(128);
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

} // namespace

BENCHMARK(BM_RelabelAfterTilesetClick)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OpenThroughWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveThroughWindow)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EventPumpFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InsertTileset)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeleteTileset)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

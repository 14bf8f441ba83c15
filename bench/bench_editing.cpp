// Finding, replacing and undoing on the largest file, through the window, beside a plain
// scan of the same bytes.
#include "entrytree.h"
#include "mainwindow.h"
#include "qtplatformservices.h"
#include "tilesetfiles.h"
#include "tilesetlist.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QUndoStack>

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

class QuietServices : public QtPlatformServices
{
public:
    Answer messageBox(QWidget *, const QString &, const QString &, Buttons, Icon) override
    {
        return Answer::Ok;
    }
    int execDialog(QWidget *, QDialog &dialog) override
    {
        dialog.accept(); // Select tileset: the first one
        return QDialog::Accepted;
    }
    QString fileDialog(QWidget *, const FileRequest &) override { return chooseFileForImport; }
    QString chooseFileForImport;
};

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

struct Editor
{
    Editor()
    {
        const QString path = folder.filePath(u"bench.dat"_s);
        TestFiles::write(path, TestFiles::fileBytes(searchedTable()));
        window.show();
        window.document().filePath = path;
        window.openDocumentFile();
    }
    void trigger(const QString &name) { window.findChild<QAction *>(name)->trigger(); }
    template<typename T>
    T *find(const QString &name)
    {
        return window.findChild<QWidget *>(u"FindDialog"_s)->findChild<T *>(name);
    }
    QTemporaryDir folder;
    QuietServices services;
    MainWindow window{services, folder.path()};
};

qint64 residentBytes()
{
    QFile statm(u"/proc/self/statm"_s);
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    return statm.readAll().split(' ').value(1).toLongLong() * 4096;
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
    Editor editor;
    editor.trigger(u"mnufind"_s);
    editor.find<QLineEdit>(u"findText"_s)->setText(u"rock"_s);
    for (auto _ : state)
        editor.find<QPushButton>(u"findAll"_s)->click(); // results list filled
}

void BM_ReplaceAllEntries(benchmark::State &state)
{
    Editor editor;
    editor.trigger(u"mnureplace"_s);
    editor.find<QLineEdit>(u"findText"_s)->setText(u":"_s); // every entry, 65,025 fields
    editor.find<QLineEdit>(u"replaceText"_s)->setText(u"-"_s);
    for (auto _ : state) {
        editor.find<QPushButton>(u"replaceAll"_s)->click();
        state.PauseTiming();
        editor.window.undoStack()->undo();
        state.ResumeTiming();
    }
}

// Times the undo and the redo of one command on tileset 128.
void timeUndo(benchmark::State &state, const QString &command)
{
    Editor editor;
    editor.window.tilesetList()->selectNode(129);
    if (command == u"mnuimport"_s)
        editor.services.chooseFileForImport = editor.window.document().filePath;
    editor.trigger(command);
    for (auto _ : state) {
        // With the events each posts, the trees' fitting to their labels among them.
        editor.window.undoStack()->undo();
        QCoreApplication::processEvents();
        editor.window.undoStack()->redo();
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
    Editor editor;
    const qint64 opened = residentBytes();
    for (auto _ : state) {
        for (int i = 0; i < 1000; ++i) {
            const int tileset = i % 200;
            editor.window.tilesetList()->selectNode(tileset + 1);
            Q_EMIT editor.window.entryTree()->labelEdited(
                editor.window.entryTree()->entryNode(i % 255), u"edit %1"_s.arg(i));
        }
        for (int i = 0; i < 50; ++i) {
            editor.window.tilesetList()->selectNode(2);
            editor.trigger(u"mnudelete"_s);
        }
    }
    state.counters["grown_MB"] = double(residentBytes() - opened) / (1024 * 1024);
}

} // namespace

BENCHMARK(BM_PlainScanFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindAllOnePercent)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplaceAllEntries)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoRedoDelete)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoRedoImport)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HistoryMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

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

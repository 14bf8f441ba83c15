// The grid's figures: opening it on the largest file and painting its first screen, and
// scrolling a screen, each beside a bare QTableView over constant strings of the same
// size; copying and pasting every field, undoing the paste, editing one cell, and the
// memory the open grid holds.
#include "benchwindow.h"
#include "comparisonstate.h"
#include "fieldclipboard.h"
#include "fieldcursor.h"
#include "gridwindow.h"
#include "tilesetdocument.h"
#include "tilesetgrid.h"
#include "tilesetgridmodel.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTableView>
#include <QUndoStack>

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

constexpr QSize ScreenSize(900, 500);

// The floor: 255 rows of 256 columns, every cell the same string.
class ConstantModel : public QAbstractTableModel
{
public:
    int rowCount(const QModelIndex & = {}) const override { return 255; }
    int columnCount(const QModelIndex & = {}) const override { return 256; }
    QVariant data(const QModelIndex &, int role) const override
    {
        static const QVariant text(u"rock012.bmp"_s);
        return role == Qt::DisplayRole ? text : QVariant();
    }
};

// The grid alone, over a document of the largest file.
struct GridAlone
{
    GridAlone()
    {
        document.open(TestFiles::numberedTable(255, 255), folder.filePath(u"bench.dat"_s));
    }
    std::unique_ptr<GridWindow> open()
    {
        auto window = std::make_unique<GridWindow>(&document, &comparison, &cursor,
                                                   folder.filePath(u"grid.conf"_s));
        window->resize(ScreenSize);
        return window;
    }
    QTemporaryDir folder;
    TilesetDocument document;
    FieldCursor cursor{&document};
    ComparisonState comparison{&document, &cursor};
};

std::unique_ptr<QTableView> bareTable(QAbstractItemModel *model)
{
    auto view = std::make_unique<QTableView>();
    view->setModel(model);
    view->resize(ScreenSize);
    return view;
}

// Shown, and its first screen painted.
void firstScreen(QWidget &window)
{
    window.show();
    const QPixmap screen = window.grab();
    benchmark::DoNotOptimize(screen.cacheKey());
}

void BM_BareTableFirstScreen(benchmark::State &state)
{
    ConstantModel model;
    for (auto _ : state) {
        std::unique_ptr<QTableView> view = bareTable(&model);
        firstScreen(*view);
        state.PauseTiming();
        view.reset();
        state.ResumeTiming();
    }
}

void BM_GridFirstScreen(benchmark::State &state)
{
    GridAlone grid;
    for (auto _ : state) {
        std::unique_ptr<GridWindow> window = grid.open();
        firstScreen(*window);
        state.PauseTiming();
        window.reset(); // its geometry written to the settings, untimed
        state.ResumeTiming();
    }
}

// One screen down, back to the top after the last, painted at once.
void scrollScreens(benchmark::State &state, QWidget &window, QAbstractScrollArea &view)
{
    window.show();
    QScrollBar *bar = view.verticalScrollBar();
    for (auto _ : state) {
        const int next = bar->value() + bar->pageStep();
        bar->setValue(next > bar->maximum() ? 0 : next);
        const QPixmap screen = window.grab();
        benchmark::DoNotOptimize(screen.cacheKey());
    }
}

void BM_BareTableScroll(benchmark::State &state)
{
    ConstantModel model;
    std::unique_ptr<QTableView> view = bareTable(&model);
    scrollScreens(state, *view, *view);
}

void BM_GridScroll(benchmark::State &state)
{
    GridAlone grid;
    std::unique_ptr<GridWindow> window = grid.open();
    scrollScreens(state, *window, *window->grid());
}

// The editor on the largest file with the grid open and active, every field selected.
struct EditorWithGrid
{
    EditorWithGrid()
    {
        editor.trigger(u"mnualltilesets"_s);
        window = editor.window.findChild<GridWindow *>();
        window->resize(ScreenSize);
        QApplication::setActiveWindow(window);
        // A key in the grid, as the user's: the Edit commands act where the user was last.
        QKeyEvent shift(QEvent::KeyPress, Qt::Key_Shift, Qt::NoModifier);
        QCoreApplication::sendEvent(window->grid(), &shift);
        window->grid()->selectAll();
        QCoreApplication::processEvents();
    }
    bool active() const { return window->isActiveWindow(); }
    TilesetDocument &document() { return editor.window.document(); }
    Editor editor{255, 255};
    GridWindow *window;
};

void BM_CopyAllFields(benchmark::State &state)
{
    EditorWithGrid editor;
    for (auto _ : state)
        editor.editor.trigger(u"mnucopyfields"_s);
    if (QGuiApplication::clipboard()->text().count(u'\t') != 255 * 255)
        state.SkipWithError("not every field was copied");
}

// Every field pasted over texts that differ, alternately: in the editor's own format (0)
// or as a spreadsheet's tab-separated text (1).
void BM_PasteAllFields(benchmark::State &state)
{
    EditorWithGrid editor;
    TilesetTable changed = editor.document().table();
    for (int t = 0; t < 255; ++t) {
        changed.setTilesetName(t, storeFixedText("pasted " + QByteArray::number(t), NameWidth));
        for (int e = 0; e < 255; ++e)
            changed.setEntry(e, t, storeFixedText("p" + QByteArray::number(e), EntryWidth));
    }
    const FieldBlock blocks[] = {copyFields(changed, {0, 0, 255, 256}),
                                 copyFields(editor.document().table(), {0, 0, 255, 256})};
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const FieldBlock &block = blocks[round++ % 2];
        auto data = std::make_unique<QMimeData>();
        if (state.range(0) == 0)
            data = fieldsMimeData(block);
        else
            data->setText(toTabSeparated(block));
        QGuiApplication::clipboard()->setMimeData(data.release());
        const int steps = editor.document().undoStack()->count();
        state.ResumeTiming();
        editor.editor.trigger(u"mnupastefields"_s);
        QCoreApplication::processEvents();
        state.PauseTiming();
        if (editor.document().undoStack()->count() == steps) {
            state.SkipWithError("the paste changed nothing");
            break;
        }
        state.ResumeTiming();
    }
}

// Undo and redo of a paste of every field, events included; the time is for both.
void BM_UndoRedoPasteAll(benchmark::State &state)
{
    EditorWithGrid editor;
    FieldBlock block = copyFields(editor.document().table(), {0, 0, 255, 256});
    for (FieldCell &cell : block.cells)
        cell = {u"pasted"_s, {}};
    QGuiApplication::clipboard()->setMimeData(fieldsMimeData(block).release());
    editor.editor.trigger(u"mnupastefields"_s);
    QUndoStack *history = editor.document().undoStack();
    if (history->count() != 1)
        state.SkipWithError("the paste changed nothing");
    for (auto _ : state) {
        history->undo();
        QCoreApplication::processEvents();
        history->redo();
        QCoreApplication::processEvents();
    }
}

void BM_EditOneCell(benchmark::State &state)
{
    EditorWithGrid editor;
    TilesetGridModel *model = editor.window->model();
    const QModelIndex cell = model->fieldIndex(128, 128);
    int round = 0;
    for (auto _ : state) {
        model->setData(cell, round++ % 2 ? u"fern"_s : u"moss"_s, Qt::EditRole);
        QCoreApplication::processEvents();
    }
}

// The heap the grid holds once open and painted, in MB.
void BM_GridMemory(benchmark::State &state)
{
    Editor editor(255, 255);
    const qint64 before = heapInUse();
    for (auto _ : state) {
        editor.trigger(u"mnualltilesets"_s);
        firstScreen(*editor.window.findChild<GridWindow *>());
        QCoreApplication::processEvents();
    }
    state.counters["grown_MB"] = double(heapInUse() - before) / (1024 * 1024);
}

} // namespace

BENCHMARK(BM_BareTableFirstScreen)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridFirstScreen)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareTableScroll)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridScroll)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyAllFields)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PasteAllFields)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoRedoPasteAll)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditOneCell)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char **argv)
{
    return runWindowBenchmarks(argc, argv);
}

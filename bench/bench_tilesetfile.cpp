// Core load and save against a plain read and write of the same bytes; lining up and
// comparing two files, and merging three, against a plain read of them. The event pump is the
// window's own, paced by the clock, but with no event loop to run: what the reader and writer
// pay for pumping, without the events themselves.
#include "comparedtables.h"
#include "qtplatformservices.h"
#include "tablefile.h"
#include "tilesetcomparison.h"
#include "tilesetmerge.h"
#include "tilesetreader.h"
#include "tilesetwriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

// In the working folder rather than in /tmp, which may be a RAM disk where a flush costs nothing.
const QTemporaryDir &scratch()
{
    static QTemporaryDir dir(QDir::currentPath() + u"/.bench-XXXXXX"_s);
    return dir;
}

QString sampleFile(int tilesets, int entries)
{
    const QString path = scratch().filePath(u"in-%1x%2.dat"_s.arg(tilesets).arg(entries));
    if (!QFile::exists(path))
        TestFiles::write(path, TestFiles::fileBytes(TestFiles::numberedTable(tilesets, entries)));
    return path;
}

FileProgress pacedProgress()
{
    static QtPlatformServices services;
    FileProgress progress;
    progress.setBarValue = [](float) {};
    progress.pacedPumpEvents = [](int pumps) { return services.pumpEvents(pumps, false); };
    return progress;
}

const FileProgress pacedPump = pacedProgress();

void BM_PlainRead(benchmark::State &state)
{
    const QString path = sampleFile(int(state.range(0)), int(state.range(1)));
    for (auto _ : state) {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        QByteArray bytes = file.readAll();
        benchmark::DoNotOptimize(bytes.data());
    }
}

// The table path for range(0): 0 CSV, 1 TSV, 2 XLSX.
QString tablePath(int format)
{
    static const char *const suffixes[] = {"csv", "tsv", "xlsx"};
    return scratch().filePath(u"table."_s + QLatin1StringView(suffixes[format]));
}

// The 255 x 255 file out to a table, written through a new file.
void BM_ExportTable(benchmark::State &state)
{
    TilesetTable table;
    readTilesetFile(sampleFile(255, 255), -1, {}, table);
    QString error;
    for (auto _ : state)
        if (!writeTableFile(table, tablePath(int(state.range(0))), &error))
            state.SkipWithError("the table was not written");
}

// The table read back and matched against the file's every field.
void BM_ImportTable(benchmark::State &state)
{
    TilesetTable table;
    readTilesetFile(sampleFile(255, 255), -1, {}, table);
    QString error;
    writeTableFile(table, tablePath(int(state.range(0))), &error);
    for (auto _ : state) {
        const std::optional<TextRows> rows = readTableFile(tablePath(int(state.range(0))), &error);
        if (!rows || !importTable(table, *rows).refusal.isEmpty()) {
            state.SkipWithError("the table was not read");
            break;
        }
    }
}

void BM_Load(benchmark::State &state)
{
    const QString path = sampleFile(int(state.range(0)), int(state.range(1)));
    TilesetTable table;
    for (auto _ : state) {
        readTilesetFile(path, -1, pacedPump, table);
        benchmark::DoNotOptimize(table.bytes().data());
    }
}

// The loader with nothing to report to: what reading and tidying the fields cost alone.
void BM_LoadWithoutProgress(benchmark::State &state)
{
    const QString path = sampleFile(int(state.range(0)), int(state.range(1)));
    TilesetTable table;
    for (auto _ : state) {
        readTilesetFile(path, -1, {}, table);
        benchmark::DoNotOptimize(table.bytes().data());
    }
}

// The loader's progress reports on their own: the bar before each tileset and a pump per
// entry record.
void BM_PumpCallsOnly(benchmark::State &state)
{
    const int tilesets = int(state.range(0));
    const int entries = int(state.range(1));
    for (auto _ : state) {
        ProgressReporter reporter(pacedPump, tilesets);
        for (int k = 0; k < tilesets; ++k) {
            reporter.beforeTileset();
            for (int j = 0; j < entries; ++j)
                reporter.pump();
        }
        benchmark::ClobberMemory();
    }
}

void BM_PlainWrite(benchmark::State &state)
{
    const QByteArray bytes =
        TestFiles::fileBytes(TestFiles::numberedTable(int(state.range(0)), int(state.range(1))));
    const QString path = scratch().filePath(u"plain-out.dat"_s);
    for (auto _ : state) {
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(bytes);
    }
}

// How the editor saved before: straight over the target, no copy and no flush.
void BM_SaveInPlace(benchmark::State &state)
{
    const TilesetTable tilesets =
        TestFiles::numberedTable(int(state.range(0)), int(state.range(1)));
    const QString path = scratch().filePath(u"in-place-out.dat"_s);
    for (auto _ : state) {
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered);
        writeTilesetDevice(tilesets, file, pacedPump);
    }
}

// The save's new file and rename without its flush to disk: what the flush costs is the
// difference to BM_Save.
void BM_SaveWithoutFlush(benchmark::State &state)
{
    const TilesetTable tilesets =
        TestFiles::numberedTable(int(state.range(0)), int(state.range(1)));
    const QString path = scratch().filePath(u"unflushed-out.dat"_s);
    for (auto _ : state) {
        QFile file(path + u".new"_s);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered);
        writeTilesetDevice(tilesets, file, pacedPump);
        file.close();
        std::rename(QFile::encodeName(file.fileName()).constData(),
                    QFile::encodeName(path).constData());
    }
}

void BM_Save(benchmark::State &state)
{
    const TilesetTable tilesets =
        TestFiles::numberedTable(int(state.range(0)), int(state.range(1)));
    const QString path = scratch().filePath(u"save-out.dat"_s);
    for (auto _ : state)
        writeTilesetFile(tilesets, path, pacedPump);
}

// base.dat, ours.dat and theirs.dat of ComparedTables.
QStringList comparedFiles()
{
    static const QStringList paths = [] {
        const ComparedTables tables;
        QStringList written;
        for (const auto &[name, table] :
             {std::pair(u"base"_s, &tables.base), std::pair(u"ours"_s, &tables.ours),
              std::pair(u"theirs"_s, &tables.theirs)})
            written.append(TestFiles::write(scratch().filePath(name + u".dat"_s),
                                            TestFiles::fileBytes(*table)));
        return written;
    }();
    return paths;
}

// The first files of comparedFiles(), read whole: the floor of comparing and merging them.
void BM_PlainReadCompared(benchmark::State &state)
{
    const QStringList paths = comparedFiles().mid(0, int(state.range(0)));
    for (auto _ : state) {
        for (const QString &path : paths) {
            QFile file(path);
            file.open(QIODevice::ReadOnly);
            QByteArray bytes = file.readAll();
            benchmark::DoNotOptimize(bytes.data());
        }
    }
}

// As hmkset diff: both files loaded, lined up and compared field by field.
void BM_CompareFiles(benchmark::State &state)
{
    const QStringList paths = comparedFiles();
    TilesetTable base;
    TilesetTable ours;
    for (auto _ : state) {
        readTilesetFile(paths[0], -1, {}, base);
        readTilesetFile(paths[1], -1, {}, ours);
        QList<TilesetDifference> differences = compareTilesets(base, ours);
        benchmark::DoNotOptimize(differences.data());
    }
}

// As hmkset merge, without the save: three files loaded and merged.
void BM_MergeFiles(benchmark::State &state)
{
    const QStringList paths = comparedFiles();
    TilesetTable base;
    TilesetTable ours;
    TilesetTable theirs;
    for (auto _ : state) {
        readTilesetFile(paths[0], -1, {}, base);
        readTilesetFile(paths[1], -1, {}, ours);
        readTilesetFile(paths[2], -1, {}, theirs);
        TilesetMerge merge = mergeTilesets(base, ours, theirs);
        benchmark::DoNotOptimize(merge.merged.bytes().data());
    }
}

} // namespace

BENCHMARK(BM_PlainReadCompared)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompareFiles)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MergeFiles)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainRead)->Args({70, 151})->Args({255, 255})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Load)->Args({70, 151})->Args({255, 255})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadWithoutProgress)->Args({70, 151})->Args({255, 255})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PumpCallsOnly)->Args({70, 151})->Args({255, 255})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlainWrite)->Args({70, 151})->Args({255, 255})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SaveInPlace)->Args({255, 255})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SaveWithoutFlush)->Args({255, 255})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Save)->Args({70, 151})->Args({255, 255})->Unit(benchmark::kMicrosecond);

BENCHMARK(BM_ExportTable)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportTable)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();

#include "commands.h"

#include "console.h"
#include "filereason.h"
#include "jsonbuild.h"
#include "jsondump.h"
#include "loadmessage.h"
#include "messages.h"
#include "tablefile.h"
#include "textutils.h"
#include "tilesetdiff.h"
#include "tilesetreader.h"
#include "tilesetwriter.h"

#include <QFile>
#include <QLocale>

using namespace Qt::StringLiterals;

namespace {

// As diff and cmp: 1 says the files differ (or conflict), so trouble has an exit status of
// its own.
constexpr int ExitDifferent = 1;
constexpr int ExitTrouble = 2;

// The editor's message, then which file and why: "hmkset: Error while loading! a.dat: no
// such file".
void printFileError(QStringView message, const QString &path, const QString &reason)
{
    printError(u"hmkset: %1 %2: %3"_s.arg(message, path, reason));
}

// The editor's Open: load mode, no progress to show.
bool openAsEditor(const QString &path, TilesetTable &tilesets)
{
    QString reason;
    const LoadError error = readTilesetFile(path, -1, {}, tilesets, &reason);
    if (error == LoadError::None)
        return true;
    printFileError(loadErrorMessage(error).text, path, reason);
    return false;
}

// The editor's Save.
bool save(const TilesetTable &tilesets, const QString &path)
{
    QString reason;
    if (writeTilesetFile(tilesets, path, {}, &reason))
        return true;
    printFileError(Messages::ErrorSaving, path, reason);
    return false;
}

// How messages name build's input.
QString inputName(const QString &jsonPath)
{
    const QString name = (jsonPath == u"-" ? u"<stdin>"_s : jsonPath);
    return name;
}

// The input whole, read in pieces so that an endless one (/dev/zero, yes) stops at the
// limit; else the exit status, its message shown.
int readInput(const QString &path, QByteArray &bytes)
{
    constexpr qint64 PieceBytes = 64 * 1024;
    QFile file;
    bool opened = false;
    if (path == u"-") {
        opened = file.open(stdin, QIODevice::ReadOnly);
    } else {
        file.setFileName(path);
        opened = file.open(QIODevice::ReadOnly);
    }
    qint64 read = opened ? 1 : -1; // 0 once at the end, -1 on failure
    while (read > 0) {
        const qsizetype at = bytes.size();
        bytes.resize(at + PieceBytes);
        read = file.read(bytes.data() + at, PieceBytes);
        bytes.resize(at + std::max<qint64>(read, 0));
        if (bytes.size() > MaximumJsonBytes) {
            printError(u"hmkset: %1: more than 16 MiB (%2 bytes), more than the JSON of any "
                       u"tileset file; nothing written"_s.arg(
                           inputName(path), QLocale(QLocale::English).toString(MaximumJsonBytes)));
            return ExitUsage;
        }
    }
    if (read == 0)
        return ExitSuccess;
    printError(u"hmkset: cannot read %1: %2"_s.arg(path, file.errorString()));
    return ExitFailure;
}

} // namespace

int runInfo(const QString &path)
{
    // A diagnostic for damaged files: only the two counts have to be there. Regular files
    // only, as in the editor, so a FIFO cannot hang it.
    QFile file(path);
    QString reason;
    char counts[2];
    if (openTilesetFile(file, &reason) && file.read(counts, 2) != 2)
        reason = file.size() < 2 ? shortFileReason(file.size(), 2) : deviceErrorReason(file, false);
    if (!reason.isEmpty()) {
        printFileError(Messages::ErrorLoading, path, reason);
        return ExitFailure;
    }
    const int tilesetCount = uchar(counts[0]);
    const int entryCount = uchar(counts[1]);
    const qint64 length = file.size();
    const qint64 expected = fileLength(tilesetCount, entryCount);
    QString text =
        u"tilesets: %1\nentries per tileset: %2\nfile length: %3\nexpected length: %4\n"_s
            .arg(tilesetCount)
            .arg(entryCount)
            .arg(length)
            .arg(expected);
    text += length >= expected ? u"trailing bytes: %1"_s.arg(length - expected)
                               : u"missing bytes: %1"_s.arg(expected - length);
    return printOut(text) ? ExitSuccess : ExitFailure;
}

int runDump(const QString &path)
{
    TilesetTable tilesets;
    if (!openAsEditor(path, tilesets))
        return ExitFailure;
    if (!writeStandardOutput(dumpJson(tilesets))) {
        printError(u"hmkset: cannot write to standard output"_s);
        return ExitFailure;
    }
    return ExitSuccess;
}

int runBuild(const QString &jsonPath, const QString &outPath)
{
    QByteArray json;
    if (const int status = readInput(jsonPath, json); status != ExitSuccess)
        return status;
    const BuildResult result = buildTilesets(json);
    if (!result.ok()) {
        printError(inputName(jsonPath) + u": "_s + result.error);
        return ExitFailure;
    }
    return save(result.tilesets, outPath) ? ExitSuccess : ExitFailure;
}

int runResave(const QString &inPath, const QString &outPath)
{
    TilesetTable tilesets;
    if (!openAsEditor(inPath, tilesets))
        return ExitFailure;
    return save(tilesets, outPath) ? ExitSuccess : ExitFailure;
}

int runDiff(const QString &beforePath, const QString &afterPath)
{
    TilesetTable before;
    TilesetTable after;
    if (!openAsEditor(beforePath, before) || !openAsEditor(afterPath, after))
        return ExitTrouble;
    const QStringList lines = tilesetDifferences(before, after);
    if (lines.isEmpty())
        return ExitSuccess;
    if (!printOut(lines.join(u'\n'))) {
        printError(u"hmkset: cannot write to standard output"_s);
        return ExitTrouble;
    }
    return ExitDifferent;
}

int runMerge(const QString &basePath, const QString &oursPath, const QString &theirsPath,
             const QString &outPath)
{
    TilesetTable base;
    TilesetTable ours;
    TilesetTable theirs;
    if (!openAsEditor(basePath, base) || !openAsEditor(oursPath, ours) ||
        !openAsEditor(theirsPath, theirs))
        return ExitTrouble;
    if (ours.entryCount() != base.entryCount() || theirs.entryCount() != base.entryCount()) {
        printError(u"hmkset: the files have different numbers of entries per tileset (%1 in %2, "
                   u"%3 in %4, %5 in %6); nothing merged"_s.arg(
                       QString::number(base.entryCount()), basePath,
                       QString::number(ours.entryCount()), oursPath,
                       QString::number(theirs.entryCount()), theirsPath));
        return ExitTrouble;
    }
    const TilesetMerge merge = mergeTilesets(base, ours, theirs);
    const int count = merge.merged.tilesetCount();
    if (count < 1 || count > MaximumCount) {
        printError(u"hmkset: the merge would hold %1 tilesets, and a file holds 1 to %2; "
                   u"nothing written"_s.arg(count)
                       .arg(MaximumCount));
        return ExitTrouble;
    }
    if (!save(merge.merged, outPath))
        return ExitTrouble;
    if (merge.conflicts.isEmpty())
        return ExitSuccess;
    if (!printOut(conflictLines(merge.conflicts).join(u'\n'))) {
        printError(u"hmkset: cannot write to standard output"_s);
        return ExitTrouble;
    }
    return ExitDifferent;
}

int runExport(const QString &path, const QString &tablePath)
{
    TilesetTable tilesets;
    if (!openAsEditor(path, tilesets))
        return ExitTrouble;
    if (QString reason; !writeTableFile(tilesets, tablePath, &reason)) {
        printError(u"hmkset: cannot write the table %1: %2"_s.arg(tablePath, reason));
        return ExitTrouble;
    }
    return ExitSuccess;
}

int runImport(const QString &path, const QString &tablePath, const QString &outPath, bool append)
{
    TilesetTable tilesets;
    if (!openAsEditor(path, tilesets))
        return ExitTrouble;
    QString reason;
    const std::optional<TextRows> rows = readTableFile(tablePath, &reason);
    if (!rows) {
        printError(u"hmkset: cannot import %1: %2; nothing written"_s.arg(tablePath, reason));
        return ExitTrouble;
    }
    const TableImport imported = importTable(tilesets, *rows);
    if (!imported.refusal.isEmpty()) {
        printError(u"hmkset: %1: %2 Nothing written."_s.arg(tablePath, imported.refusal));
        return ExitTrouble;
    }
    if (imported.addedTilesets > 0 && !append) {
        printError(u"hmkset: %1: the table adds %2 after the last; give --append to add "
                   u"them. Nothing written."_s.arg(
                       tablePath, counted(imported.addedTilesets, u"tileset"_s, u"tilesets"_s)));
        return ExitTrouble;
    }
    if (imported.changedFields > 0 || outPath != path) {
        imported.edit.redo(tilesets);
        if (!save(tilesets, outPath))
            return ExitTrouble;
    }
    const QString done =
        imported.changedFields == 0
            ? u"nothing to change"_s
            : counted(imported.changedFields, u"field"_s, u"fields"_s) + u" changed"_s;
    return printOut(done) ? ExitSuccess : ExitTrouble;
}

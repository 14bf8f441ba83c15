#pragma once

#include <QString>

// Each returns the process's exit status and has printed what the user needs to see.
int runInfo(const QString &path);
int runDump(const QString &path);
int runBuild(const QString &jsonPath, const QString &outPath);
int runResave(const QString &inPath, const QString &outPath);
// 0 when the files hold the same tilesets, 1 when they differ, 2 when one cannot be read.
int runDiff(const QString &beforePath, const QString &afterPath);
// The three-way merge written to outPath: 0 when clean, 1 with conflicts (listed, ours kept),
// 2 when nothing was written (a file unreadable, entry counts that differ, a failed save).
int runMerge(const QString &basePath, const QString &oursPath, const QString &theirsPath,
             const QString &outPath);
// The tilesets as a table for spreadsheets; 0 written, 2 not.
int runExport(const QString &path, const QString &tablePath);
// The table's changed texts saved as outPath; 0 done, 2 nothing written.
int runImport(const QString &path, const QString &tablePath, const QString &outPath, bool append);

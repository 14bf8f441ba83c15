#pragma once

#include <QByteArrayView>
#include <QString>

// Exit statuses scripts can tell apart: the command failed, or it was called wrongly.
enum ExitCode : int
{
    ExitSuccess = 0,
    ExitFailure = 1,
    ExitUsage = 2,
};

// Bytes to standard output, flushed; false when they did not all arrive (a full disk
// behind a redirection must not pass for a complete dump).
bool writeStandardOutput(QByteArrayView bytes);

// Text as UTF-8; a newline is added.
bool printOut(const QString &text);
void printError(const QString &text);

#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStringList>

#include <functional>

struct HmksetRun
{
    int exitCode = -1; // -1 when the tool crashed or hung
    QByteArray out;
    QByteArray err;
};

// Runs the built hmkset with arguments, input on its standard input. configure may set
// up the process further before it starts.
HmksetRun runHmkset(const QStringList &arguments, const QByteArray &input = {},
                    const std::function<void(QProcess &)> &configure = {});

// The whole file, or an empty array when it cannot be read.
QByteArray readFileBytes(const QString &path);

#include "hmksetrun.h"

#include <QFile>

using namespace Qt::StringLiterals;

HmksetRun runHmkset(const QStringList &arguments, const QByteArray &input,
                    const std::function<void(QProcess &)> &configure)
{
    QProcess process;
    if (configure)
        configure(process);
    process.start(QStringLiteral(HMKSET_PATH), arguments);
    if (!process.waitForStarted())
        qFatal("cannot start %s", HMKSET_PATH);
    process.write(input);
    process.closeWriteChannel();
    HmksetRun run;
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    if (process.exitStatus() == QProcess::NormalExit)
        run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

QByteArray readFileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

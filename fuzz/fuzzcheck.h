#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// A broken property must end the run as a crash, so libFuzzer saves the input.
#define CHECK(condition)                                                                           \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition);  \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

// Each target checks its properties on one input, given as bytes Qt can hold.
void fuzzOne(const QByteArray &input);

// libFuzzer's entry point, one to a target: every input that does not abort passes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzzOne(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    return 0;
}

// The readers take paths: the input goes to a file in memory when the system has it.
inline QString scratchFile(const QString &name, const QByteArray &bytes)
{
    static QTemporaryDir folder(QFile::exists(QStringLiteral("/dev/shm"))
                                    ? QStringLiteral("/dev/shm/hmkfuzz-XXXXXX")
                                    : QString());
    QFile file(folder.filePath(name));
    CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
          file.write(bytes) == bytes.size() && file.flush());
    return file.fileName();
}

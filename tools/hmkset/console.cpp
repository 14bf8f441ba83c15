#include "console.h"

#include <cstdio>

namespace {

bool writeAll(std::FILE *stream, QByteArrayView bytes)
{
    const size_t size = size_t(bytes.size());
    const bool written = std::fwrite(bytes.data(), 1, size, stream) == size;
    return std::fflush(stream) == 0 && written && !std::ferror(stream);
}

} // namespace

bool writeStandardOutput(QByteArrayView bytes)
{
    return writeAll(stdout, bytes);
}

bool printOut(const QString &text)
{
    return writeAll(stdout, (text + u'\n').toUtf8());
}

void printError(const QString &text)
{
    writeAll(stderr, (text + u'\n').toUtf8());
}

#pragma once

#include <QByteArray>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// A broken property must end the run as a crash, so libFuzzer saves the input.
[[noreturn]] inline void fuzzCheckFailed(const char *condition, const char *file, int line)
{
    std::fprintf(stderr, "%s:%d: property broken: %s\n", file, line, condition);
    std::fflush(stderr);
    std::abort();
}

#define CHECK(condition)                                                                           \
    do {                                                                                           \
        if (!(condition))                                                                          \
            fuzzCheckFailed(#condition, __FILE__, __LINE__);                                       \
    } while (false)

// The input as bytes Qt can hold; libFuzzer keeps it alive for the whole call.
inline QByteArray fuzzInput(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

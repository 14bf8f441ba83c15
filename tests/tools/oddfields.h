#pragma once

#include <QByteArray>

// A tileset file holding every field shape the loader meets: NUL-padded text, entries
// never assigned, full-width fields, a NUL inside a full-looking field, bytes 0x80-0xFF,
// control bytes, a leading blank, and bytes after the last record.
namespace OddFields {

constexpr int Tilesets = 2;
constexpr int Entries = 8;

QByteArray file();

} // namespace OddFields

#include "jsondump.h"

#include "fieldjson.h"

QByteArray dumpJson(const TilesetTable &tilesets)
{
    const int tilesetCount = tilesets.tilesetCount();
    const int entryCount = tilesets.entryCount();
    QByteArray out;
    // About 40 bytes a field; reserving once keeps the largest file to one allocation.
    out.reserve(128 + qsizetype(tilesetCount) * (64 + qsizetype(entryCount) * 48));
    out += "{\n  \"format\": \"hmkset\",\n  \"tilesets\": ";
    out += QByteArray::number(tilesetCount);
    out += ",\n  \"entriesPerTileset\": ";
    out += QByteArray::number(entryCount);
    out += ",\n  \"sets\": [";
    for (int k = 0; k < tilesetCount; ++k) {
        out += k == 0 ? "\n    {\n      \"name\": " : ",\n    {\n      \"name\": ";
        appendFieldJson(out, tilesets.tilesetName(k));
        out += ",\n      \"entries\": [";
        for (int j = 0; j < entryCount; ++j) {
            out += j == 0 ? "\n        " : ",\n        ";
            appendFieldJson(out, tilesets.entry(j, k));
        }
        out += "\n      ]\n    }";
    }
    out += "\n  ]\n}\n";
    return out;
}

#include "savefile.h"

#include "tilesetwriter.h"

#include <QSaveFile>

bool saveTilesetFileReplacing(const TilesetTable &tilesets, const QString &path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (!writeTilesetDevice(tilesets, file, {})) {
        file.cancelWriting();
        return false;
    }
    // commit() flushes, so a disk filling up at the last block still fails here.
    return file.commit();
}

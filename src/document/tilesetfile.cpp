#include "tilesetfile.h"

LoadError loadTilesetFile(Document &document, const QString &path, int target,
                          const LoadHooks &hooks)
{
    document.LoadSucceeded = false;
    const bool importing = target >= 0;
    if (importing && target >= document.tilesetCount())
        return LoadError::LoadFailed;

    TilesetTable pending;
    const int requiredEntryCount = importing ? document.entryCount() : -1;
    const LoadError error = readTilesetFile(path, requiredEntryCount, hooks.progress, pending);
    if (error != LoadError::None)
        return error;

    if (!importing) {
        document.Tilesets = std::move(pending);
    } else {
        const int choice = hooks.chooseTileset ? hooks.chooseTileset(pending) : -1;
        if (choice >= 0 && choice < pending.tilesetCount()) {
            document.ChangesMade = true;
            document.Tilesets.copyTileset(pending, choice, target);
        }
    }
    document.LoadSucceeded = true;
    return LoadError::None;
}

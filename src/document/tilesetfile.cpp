#include "tilesetfile.h"

namespace {

using Reader = std::function<LoadError(int requiredEntryCount, TilesetTable &pending)>;

LoadError load(Document &document, int target, const LoadHooks &hooks, const Reader &read)
{
    document.loadSucceeded = false;
    const bool importing = target >= 0;
    if (importing && target >= document.tilesetCount())
        return LoadError::LoadFailed;

    TilesetTable pending;
    const LoadError error = read(importing ? document.entryCount() : -1, pending);
    if (error != LoadError::None)
        return error;

    if (!importing) {
        document.tilesets = std::move(pending);
    } else {
        const int choice = hooks.chooseTileset ? hooks.chooseTileset(pending) : -1;
        if (choice >= 0 && choice < pending.tilesetCount()) {
            document.changesMade = true;
            document.tilesets.copyTileset(pending, choice, target);
        }
    }
    document.loadSucceeded = true;
    return LoadError::None;
}

} // namespace

LoadError loadTilesetFile(Document &document, const QString &path, int target,
                          const LoadHooks &hooks)
{
    return load(document, target, hooks, [&](int requiredEntryCount, TilesetTable &pending) {
        return readTilesetFile(path, requiredEntryCount, hooks.progress, pending);
    });
}

LoadError loadTilesetDevice(Document &document, QIODevice &device, qint64 size, int target,
                            const LoadHooks &hooks)
{
    return load(document, target, hooks, [&](int requiredEntryCount, TilesetTable &pending) {
        return readTilesetDevice(device, size, requiredEntryCount, hooks.progress, pending);
    });
}

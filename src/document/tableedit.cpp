#include "tableedit.h"

void TableEdit::add(qsizetype offset, QByteArrayView before, QByteArrayView after)
{
    if (before.size() == after.size()) {
        // Same length: keep only the span from the first to the last byte that differs.
        qsizetype first = 0;
        qsizetype end = before.size();
        while (first < end && before[first] == after[first])
            ++first;
        while (end > first && before[end - 1] == after[end - 1])
            --end;
        if (first == end)
            return;
        offset += first;
        before = before.sliced(first, end - first);
        after = after.sliced(first, end - first);
    }
    mPatches.append({offset, mData.size(), before.size(), after.size()});
    mData.append(before);
    mData.append(after);
}

bool TableEdit::changesTilesetCount() const
{
    return std::any_of(mPatches.cbegin(), mPatches.cend(),
                       [](const Patch &patch) { return patch.beforeSize != patch.afterSize; });
}

void TableEdit::redo(TilesetTable &table) const
{
    for (const Patch &patch : mPatches)
        table.replaceBytes(patch.offset, patch.beforeSize, after(patch));
}

void TableEdit::undo(TilesetTable &table) const
{
    for (auto patch = mPatches.crbegin(); patch != mPatches.crend(); ++patch)
        table.replaceBytes(patch->offset, patch->afterSize, before(*patch));
}

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
    mPatches.append({offset, before.toByteArray(), after.toByteArray()});
}

bool TableEdit::changesTilesetCount() const
{
    for (const Patch &patch : mPatches) {
        if (patch.before.size() != patch.after.size())
            return true;
    }
    return false;
}

qsizetype TableEdit::heldBytes() const
{
    qsizetype bytes = 0;
    for (const Patch &patch : mPatches)
        bytes += patch.before.size() + patch.after.size();
    return bytes;
}

void TableEdit::redo(TilesetTable &table) const
{
    for (const Patch &patch : mPatches)
        table.replaceBytes(patch.offset, patch.before.size(), patch.after);
}

void TableEdit::undo(TilesetTable &table) const
{
    for (auto patch = mPatches.crbegin(); patch != mPatches.crend(); ++patch)
        table.replaceBytes(patch->offset, patch->after.size(), patch->before);
}

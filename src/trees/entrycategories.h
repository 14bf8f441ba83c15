#pragma once

#include <QStringView>

#include <array>
#include <span>

// A node of the categorised entry tree: an entry number, placed below its category, or
// (a sub-entry) below the entry listed just before it.
struct CategoryEntry
{
    qint16 entry;
    bool subEntry = false;
};

struct EntryCategory
{
    QStringView name;
    std::span<const CategoryEntry> entries; // in the order the tree shows them
};

// Files with this many entries per tileset are shown under the sixteen categories.
constexpr int CategorisedEntryCount = 151;
constexpr int CategorisedNodeCount = CategorisedEntryCount + 16;

extern const std::array<EntryCategory, 16> EntryCategories;

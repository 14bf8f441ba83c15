#pragma once

#include <QIcon>

// The pictures shared by the entry tree and the entry-tree toolbar, numbered from 1:
// 1 sub-entry, 2 entry, 3..18 the sixteen categories, 19 flat-list entry,
// 20 "Expand / collapse all".
namespace ImageList {

enum : int
{
    SubEntry = 1,
    Entry = 2,
    FirstCategory = 3,
    FlatEntry = 19,
    ExpandCollapse = 20,
};

QIcon icon(int index);

} // namespace ImageList

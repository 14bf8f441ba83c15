#pragma once

#include <QString>

// How a node stands against the other file of a comparison or a merge.
struct NodeMark
{
    enum Kind
    {
        None,
        Differs,   // both files have it, with other bytes
        OnlyHere,  // a tileset only the open file has
        OnlyThere, // a tileset only the other file has, shown by a placeholder
        Conflict,  // a conflict of a merge, still to decide
        Holds,     // a category holding marked entries
    };
    Kind kind = None;
    QString toolTip;

    friend bool operator==(const NodeMark &, const NodeMark &) = default;
};

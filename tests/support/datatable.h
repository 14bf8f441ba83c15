#pragma once

#include <QTest>

// A data table's columns in one statement, their names in the order of the types:
// addColumns<int, QString>("tilesets", "command").
template<typename... Types, typename... Names>
void addColumns(const Names &...names)
{
    static_assert(sizeof...(Types) == sizeof...(Names), "one name for each column");
    (QTest::addColumn<Types>(names), ...);
}

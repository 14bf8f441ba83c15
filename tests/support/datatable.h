#pragma once

#include <QTest>

#include <tuple>

// A data table's columns in one statement, their names in the order of the types:
// addColumns<int, QString>("tilesets", "command").
template<typename... Types, typename... Names>
void addColumns(const Names &...names)
{
    static_assert(sizeof...(Types) == sizeof...(Names), "one name for each column");
    (QTest::addColumn<Types>(names), ...);
}

// The current row's values of the named columns, for one structured binding:
// auto [tilesets, command] = fetch<int, QString>("tilesets", "command").
template<typename... Types, typename... Names>
std::tuple<Types...> fetch(const Names &...names)
{
    static_assert(sizeof...(Types) == sizeof...(Names), "one name for each column");
    return {*static_cast<Types *>(QTest::qData(names, ::qMetaTypeId<Types>()))...};
}

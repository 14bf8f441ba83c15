#include "documentmodel.h"

using namespace Qt::StringLiterals;
using namespace SoakModel;

// The two trees as the user sees them: labels, selection, open and closed nodes.

QString DocumentModel::entryLabel(int entry, const QString &text) const
{
    QString label = digits(entry, 3) + u". "_s;
    if (descriptionsOn() && entry < descriptions.size() && !descriptions[entry].isEmpty())
        label += descriptions[entry] + u": "_s;
    return label + text;
}

QString DocumentModel::tilesetLabel(int tileset, const QString &text) const
{
    return tilesetNumber(tileset) + u". "_s + text;
}

std::vector<int> DocumentModel::visibleTilesets() const
{
    std::vector<int> shown;
    const int count = tilesetCount();
    for (int t = 0; t < count; ++t) {
        const bool inFirst = t >= 1 && t <= 49;
        const bool inSecond = t >= 51;
        if ((inFirst && !firstGroupOpen) || (inSecond && !secondGroupOpen))
            continue;
        shown.push_back(t);
    }
    return shown;
}

int DocumentModel::nodeOfEntry(int entry) const
{
    for (size_t n = 0; n < nodes.size(); ++n) {
        if (nodes[n].entry == entry)
            return int(n) + 1;
    }
    return 0;
}

int DocumentModel::categoryNode(int category) const
{
    int seen = 0;
    for (size_t n = 0; n < nodes.size(); ++n) {
        if (nodes[n].entry < 0 && seen++ == category)
            return int(n) + 1;
    }
    return 0;
}

bool DocumentModel::isEntryNode(int node) const
{
    return node >= 1 && node <= int(nodes.size()) && nodes[node - 1].entry >= 0;
}

void DocumentModel::refresh()
{
    if (!open || selectedTileset < 0)
        return;
    const std::vector<Field> &row = table.entries[selectedTileset];
    for (int e = 0; e < table.entryCount; ++e)
        entryLabels[e] = entryLabel(e, fromCodePage(beforeNul(row[e])));
}

void DocumentModel::selectTileset(int tileset)
{
    // Bringing a node into view opens its group.
    if (tileset >= 1 && tileset <= 49)
        firstGroupOpen = true;
    if (tileset >= 51)
        secondGroupOpen = true;
    selectedTileset = tileset;
}

void DocumentModel::clickTileset(int tileset)
{
    selectTileset(tileset);
    refresh();
}

void DocumentModel::doubleClickTileset(int tileset)
{
    clickTileset(tileset);
    // The tree opens or closes a node with children on a double-click of its own.
    if (tileset == 0 && tilesetCount() >= 2)
        firstGroupOpen = !firstGroupOpen;
    if (tileset == 50 && tilesetCount() >= 52)
        secondGroupOpen = !secondGroupOpen;
}

void DocumentModel::selectNode(int node)
{
    if (node < 1 || node > int(nodes.size()))
        return;
    for (int p = nodes[node - 1].parent; p; p = nodes[p - 1].parent)
        nodes[p - 1].expanded = true;
    selectedNode = node;
}

void DocumentModel::clickNode(int node)
{
    selectNode(node);
    rememberedNode = node;
}

void DocumentModel::doubleClickNode(int node)
{
    clickNode(node);
    if (nodes[node - 1].hasChildren)
        nodes[node - 1].expanded = !nodes[node - 1].expanded;
}

void DocumentModel::expandOrCollapseAll()
{
    bool allOpen = true;
    for (const Node &n : nodes) {
        if (n.entry < 0 && !n.expanded)
            allOpen = false;
    }
    if (allOpen) {
        // A selected node inside a closing category hands the selection to the category.
        while (selectedNode && nodes[selectedNode - 1].parent)
            selectedNode = nodes[selectedNode - 1].parent;
    }
    for (Node &n : nodes) {
        if (n.entry < 0)
            n.expanded = !allOpen;
    }
}

void DocumentModel::openCategory(int category)
{
    const int node = categoryNode(category);
    nodes[node - 1].expanded = true;
    selectedNode = node;
}

void DocumentModel::goTo(std::optional<double> value)
{
    if (!value || *value < 0 || *value > 150)
        return;
    const int entry = roundHalfEven(*value);
    if (entry > entryCount() - 1)
        return;
    selectNode(nodeOfEntry(entry));
}

void DocumentModel::clearTrees()
{
    tilesetLabels.clear();
    selectedTileset = -1;
    nodes.clear();
    selectedNode = 0;
    entryLabels.clear();
}

void DocumentModel::buildTilesetList()
{
    tilesetLabels.clear();
    for (int t = 0; t < table.tilesetCount(); ++t)
        tilesetLabels.push_back(tilesetLabel(t, fromCodePage(trimmed(table.names[t]))));
    selectedTileset = -1;
    firstGroupOpen = true;
    secondGroupOpen = true;
}

void DocumentModel::buildEntryTree()
{
    const bool categories = table.entryCount == CategorisedEntries;
    const std::vector<NodeShape> shape =
        categories ? categorisedShape() : flatShape(table.entryCount);
    nodes.clear();
    entryLabels.assign(table.entryCount, QString());
    for (const NodeShape &s : shape) {
        nodes.push_back({s.entry, s.parent, s.text, categories && s.entry >= 0, false});
        if (s.parent)
            nodes[s.parent - 1].hasChildren = true;
        if (s.entry >= 0)
            entryLabels[s.entry] = s.text;
    }
    selectedNode = 1;
}

void DocumentModel::restoreTreeSelection()
{
    selectNode(categorised() ? rememberedNode : 1);
    selectTileset(0);
    refresh();
}

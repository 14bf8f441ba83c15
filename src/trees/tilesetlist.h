#pragma once

#include "labeltree.h"

class Document;

// The tileset list: tileset 0 and tileset 50 at the top level, 1..49 and 51.. below them.
// Node k (counted from 1 in creation order) always shows tileset k - 1.
class TilesetList : public LabelTree
{
    Q_OBJECT

public:
    explicit TilesetList(QWidget *parent = nullptr);

    // Adds the nodes for the document's tilesets; the caller has emptied the list.
    void build(const Document &document);
    void removeAllNodes();

    int nodeCount() const { return int(mNodes.size()); }
    QTreeWidgetItem *node(int index) const; // 1-based; nullptr when out of range
    int nodeIndex(const QTreeWidgetItem *item) const;

    // The selected node's tileset, or -1 when no node is selected.
    int selectedTileset() const;
    void selectNode(int index);
    void setTilesetLabel(int tileset, const QString &text);

    // Every node's label from the names as the document holds them now.
    void relabel(const Document &document);

    // "07"; tilesets from 100 up show their own three digits.
    static QString tilesetNumber(int tileset);
    // "07. " and the text.
    static QString numberedLabel(int tileset, const QString &text);
    // The name as a node shows it: without its terminator and padding.
    static QString shownName(const Document &document, int tileset);

Q_SIGNALS:
    void clicked();
    void keyPressed();
    void keyReleased();
    // The edited node's tileset, which stays the one that was edited even if the
    // selection moved on meanwhile.
    void labelEdited(int tileset, const QString &text);

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event) const override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    QList<QTreeWidgetItem *> mNodes;
};

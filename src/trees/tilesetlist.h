#pragma once

#include "comparemark.h"
#include "labeltree.h"

class ComparisonState;
class FieldCursor;
class TilesetDocument;
class TilesetTable;

// The tileset list: tileset 0 and tileset 50 at the top level, 1..49 and 51.. below them.
// Node k (counted from 1 in creation order) always shows tileset k - 1.
class TilesetList : public LabelTree
{
    Q_OBJECT

public:
    explicit TilesetList(QWidget *parent = nullptr);

    // Tells the cursor where the user moves, and follows it; built again and relabelled as
    // the document changes, and marked as the comparison is.
    void follow(const TilesetDocument *document, FieldCursor *cursor,
                const ComparisonState *comparison);

    // Nodes for every tileset of the table, the previous ones removed.
    void build(const TilesetTable &tilesets);
    void removeAllNodes();
    // Every node's label from the names as the table holds them now.
    void relabel(const TilesetTable &tilesets);
    void setTilesetLabel(int tileset, const QString &text);

    // The selected tileset, or -1 when none is.
    int currentTileset() const;
    void selectTileset(int tileset);

    QTreeWidgetItem *node(int index) const; // 1-based; nullptr when out of range

    // Comparison marks, one a tileset (fewer: the rest unmarked); building the list again
    // drops them.
    void setMarks(const QList<NodeMark> &marks);
    // A node for a tileset only the other file has, placed where it would go: before
    // tileset before (after the last one for the count). It stands for no tileset here:
    // currentTileset() is -1 while it is selected.
    void addPlaceholder(int before, int otherTileset, const QString &label, const NodeMark &mark);
    void removePlaceholders();
    // The other file's tileset of the selected placeholder, or -1.
    int currentPlaceholder() const;
    void selectPlaceholder(int otherTileset);

Q_SIGNALS:
    void clicked();
    void keyPressed();
    void keyReleased();
    void insertPressed();
    void deletePressed();
    // The edited node's tileset, which stays the one that was edited even if the
    // selection moved on meanwhile.
    void labelEdited(int tileset, const QString &text);

protected:
    QString editedLabel(const QTreeWidgetItem *item, const QString &text) const override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event) const override;
    bool event(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    void showPlace();
    void showComparison();
    int tilesetOf(const QTreeWidgetItem *item) const { return int(mNodes.indexOf(item)); }

    QList<QTreeWidgetItem *> mNodes;
    QList<QTreeWidgetItem *> mPlaceholders;
    FieldCursor *mCursor = nullptr;
    const ComparisonState *mComparison = nullptr;
    bool mFollowing = false; // the selection moves with the cursor, not the user
    bool mMarked = false;    // marks or placeholders may be on the list
};

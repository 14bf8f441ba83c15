#pragma once

#include "comparemark.h"
#include "labeltree.h"

class FieldCursor;
class TilesetTable;

// The entries of the selected tileset: under the sixteen categories for 151 entries per
// tileset, a flat numbered list for any other count. Node indexes count from 1 in
// creation order; entryOfNode and nodeOfEntry map between them and entry numbers.
class EntryTree : public LabelTree
{
    Q_OBJECT

public:
    explicit EntryTree(QWidget *parent = nullptr);

    // Tells the cursor which entry the user moves to, and selects the entry it chooses.
    void follow(FieldCursor *cursor);

    // Rebuilds nodes and maps for entryCount entries and selects node 1.
    void build(int entryCount);
    void removeAllNodes();

    // Writes every entry node's text for one tileset of the table; entries the table does
    // not have (another file's, of fewer entries) show no text.
    void showTileset(const TilesetTable &tilesets, int tileset);
    // Comparison marks, one an entry (fewer: the rest unmarked); a category holding marked
    // entries is marked too.
    void setMarks(const QList<NodeMark> &marks);

    // The selected node's entry, or -1 on a category node or none.
    int currentEntry() const;
    // Selects the entry's node, opening its category and scrolling it into view.
    void selectEntry(int entry);

    int nodeCount() const { return int(mNodes.size()); }
    QTreeWidgetItem *node(int index) const; // 1-based; nullptr when out of range
    int nodeIndex(const QTreeWidgetItem *item) const;
    int selectedNodeIndex() const; // 0 when nothing is selected

    qint16 entryOfNode(int nodeIndex) const; // -1 for a category node
    qint16 nodeOfEntry(int entry) const;
    QTreeWidgetItem *categoryNode(int category) const;

    // Selects a node, opening its category and scrolling it into view.
    void selectNode(int index);
    void expandOrCollapseAll();
    void openCategory(int category);

    // Descriptions shown between the number and the text while descriptionsOn.
    void setEntryDescriptions(const QStringList &descriptions) { mDescriptions = descriptions; }
    void setDescriptionsOn(bool on) { mDescriptionsOn = on; }
    QString entryLabel(int entry, const QString &text) const;

    // The node the user last clicked; remembered between runs.
    qint16 selectedEntryNode() const { return mSelectedEntryNode; }
    void setSelectedEntryNode(qint16 index) { mSelectedEntryNode = index; }

Q_SIGNALS:
    void labelEdited(int entry, const QString &text);

protected:
    QString editedLabel(const QTreeWidgetItem *item, const QString &text) const override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QTreeWidgetItem *addNode(QTreeWidgetItem *parent, const QString &text, int icon, int entry);
    void buildCategorised();
    void buildFlat(int entryCount);

    QList<QTreeWidgetItem *> mNodes;
    QList<QTreeWidgetItem *> mCategoryNodes;
    QList<qint16> mNodeEntry;
    QList<qint16> mEntryNode;
    QStringList mDescriptions;
    bool mDescriptionsOn = false;
    bool mFollowing = false; // the selection moves with the cursor, not the user
    bool mMarked = false;
    qint16 mSelectedEntryNode = 1;
};

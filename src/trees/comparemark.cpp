#include "comparemark.h"

#include <QBrush>
#include <QTreeWidgetItem>

QVariant markBackground(NodeMark::Kind kind)
{
    // Light colours under dark text whatever the desktop's palette, so a mark reads alike
    // on light and dark themes.
    static const QColor backgrounds[] = {
        {},
        QColor(255, 229, 143), // Differs: amber
        QColor(196, 236, 196), // OnlyHere: green
        QColor(200, 220, 255), // OnlyThere: blue
        QColor(255, 190, 190), // Conflict: red
        QColor(255, 243, 207), // Holds: pale amber
    };
    return kind == NodeMark::None ? QVariant() : QVariant(QBrush(backgrounds[kind]));
}

void showNodeMark(QTreeWidgetItem *item, const NodeMark &mark)
{
    const bool marked = mark.kind != NodeMark::None;
    item->setData(0, Qt::BackgroundRole, markBackground(mark.kind));
    item->setData(0, Qt::ForegroundRole, marked ? QVariant(QBrush(Qt::black)) : QVariant());
    item->setData(0, Qt::ToolTipRole, mark.toolTip.isEmpty() ? QVariant() : mark.toolTip);
}

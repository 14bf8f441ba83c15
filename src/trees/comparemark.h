#pragma once

#include "nodemark.h"

#include <QVariant>

class QTreeWidgetItem;

// The background of a node or cell of that kind; nothing for None.
QVariant markBackground(NodeMark::Kind kind);

// A background colour for the kind, and the tool tip; None takes both away.
void showNodeMark(QTreeWidgetItem *item, const NodeMark &mark);

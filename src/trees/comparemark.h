#pragma once

#include "nodemark.h"

class QTreeWidgetItem;

// A background colour for the kind, and the tool tip; None takes both away.
void showNodeMark(QTreeWidgetItem *item, const NodeMark &mark);

#pragma once

#include "nodemark.h"

#include <QByteArrayView>
#include <QColor>
#include <QString>

#include <utility>

class QModelIndex;
class QPalette;
class QStyleOptionViewItem;
class QTreeWidgetItem;

// A marked node's or cell's kind, as an int; nothing where it is unmarked.
constexpr int MarkRole = Qt::UserRole + 20;
// What a node says to a screen reader before its mark's words; its label when not set.
constexpr int SpokenRole = Qt::UserRole + 21;

// Each kind told apart without colour: a sign painted before the label ("≠") and words for
// tool tips and screen readers ("differs from the other file"). Empty for None.
QString markSign(NodeMark::Kind kind);
QString markWords(NodeMark::Kind kind);
// The label as a marked node or cell shows it: the sign first, once.
QString markedLabel(const QString &label, NodeMark::Kind kind);
// The words as a sentence, then what the mark says of itself.
QString markToolTip(const NodeMark &mark);
// The text and, after a comma, the words of a mark.
QString withMarkWords(const QString &text, NodeMark::Kind kind);

// "Tileset 07", and a field as read out: its text without blanks, "empty" or "never written".
QString spokenTileset(int tileset);
QString spokenEntry(int tileset, int entry); // "Tileset 07, entry 012"
QString spokenField(QByteArrayView field);

// How far apart two colours read, from 1 to 21; text wants 4.5.
double contrastRatio(const QColor &a, const QColor &b);
// a, moved towards b by t (0 to 1); a's own transparency laid over b first.
QColor mixedColour(const QColor &a, const QColor &b, double t);
// The background and the text of a mark: a light tint under dark text in a light palette,
// a deep shade under light text in a dark one.
std::pair<QColor, QColor> markColours(NodeMark::Kind kind, const QPalette &palette);

// For the delegates: a marked item's sign before its text and the mark's colours; a dimmed
// text takes the palette's placeholder colour, or one nearer the text where that reads poorly.
void styleMarkedItem(QStyleOptionViewItem *option, const QModelIndex &index, bool dimmed = false);

// The kind (MarkRole), the tool tip and the spoken text; None takes them away.
void showNodeMark(QTreeWidgetItem *item, const NodeMark &mark);
// The node's spoken text, with its mark's words.
void setSpokenText(QTreeWidgetItem *item, const QString &text);

#include "comparemark.h"

#include "fieldformat.h"
#include "fixedfield.h"

#include <QPalette>
#include <QStyleOptionViewItem>
#include <QTreeWidgetItem>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

struct MarkLook
{
    QString sign;
    QString words;
    QColor light; // under black text
    QColor dark;  // under white text
};

const MarkLook &look(NodeMark::Kind kind)
{
    static const MarkLook looks[] = {
        {},
        {u"\u2260"_s, u"differs from the other file"_s, {255, 229, 143}, {110, 84, 0}},
        {u"\u2212"_s, u"only in this file"_s, {196, 236, 196}, {28, 94, 40}},
        {u"+"_s, u"only in the other file"_s, {200, 220, 255}, {36, 66, 128}},
        {u"!"_s, u"conflict"_s, {255, 190, 190}, {128, 36, 36}},
        {u"\u2022"_s, u"holds differences"_s, {255, 243, 207}, {74, 62, 30}},
    };
    return looks[kind];
}

double luminance(const QColor &colour)
{
    const auto linear = [](float c) {
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
           0.0722 * linear(colour.blueF());
}

void showSpoken(QTreeWidgetItem *item)
{
    const auto kind = NodeMark::Kind(item->data(0, MarkRole).toInt());
    const QVariant spoken = item->data(0, SpokenRole);
    item->setData(
        0, Qt::AccessibleTextRole,
        spoken.isValid() || kind != NodeMark::None
            ? QVariant(withMarkWords(spoken.isValid() ? spoken.toString() : item->text(0), kind))
            : QVariant());
}

} // namespace

QColor mixedColour(const QColor &a, const QColor &b, double t)
{
    const double weight = a.alphaF() * (1 - t);
    return QColor::fromRgbF(float(a.redF() * weight + b.redF() * (1 - weight)),
                            float(a.greenF() * weight + b.greenF() * (1 - weight)),
                            float(a.blueF() * weight + b.blueF() * (1 - weight)));
}

QString markSign(NodeMark::Kind kind)
{
    return look(kind).sign;
}

QString markedLabel(const QString &label, NodeMark::Kind kind)
{
    // A placeholder's label starts with its sign already.
    const QString sign = markSign(kind) + u' ';
    return kind == NodeMark::None || label.startsWith(sign) ? label : sign + label;
}

QString markWords(NodeMark::Kind kind)
{
    return look(kind).words;
}

QString markToolTip(const NodeMark &mark)
{
    if (mark.kind == NodeMark::None)
        return mark.toolTip;
    QString words = markWords(mark.kind);
    words[0] = words[0].toUpper();
    return mark.toolTip.isEmpty() ? words : words + u". "_s + mark.toolTip;
}

QString withMarkWords(const QString &text, NodeMark::Kind kind)
{
    return kind == NodeMark::None ? text : text + u", "_s + markWords(kind);
}

QString spokenTileset(int tileset)
{
    return u"Tileset "_s + tilesetNumber(tileset);
}

QString spokenEntry(int tileset, int entry)
{
    return spokenTileset(tileset) + u", entry "_s + entryNumber(entry);
}

QString spokenField(QByteArrayView field)
{
    if (isNeverWritten(field))
        return u"never written"_s;
    const QString text = trimmedFieldText(field);
    return text.isEmpty() ? u"empty"_s : text;
}

double contrastRatio(const QColor &a, const QColor &b)
{
    const double first = luminance(a), second = luminance(b);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

std::pair<QColor, QColor> markColours(NodeMark::Kind kind, const QPalette &palette)
{
    const bool dark =
        luminance(palette.color(QPalette::Base)) < luminance(palette.color(QPalette::Text));
    return dark ? std::pair(look(kind).dark, QColor(Qt::white))
                : std::pair(look(kind).light, QColor(Qt::black));
}

void styleMarkedItem(QStyleOptionViewItem *option, const QModelIndex &index, bool dimmed)
{
    QPalette &palette = option->palette;
    if (const auto kind = NodeMark::Kind(index.data(MarkRole).toInt()); kind != NodeMark::None) {
        const auto [background, text] = markColours(kind, palette);
        option->backgroundBrush = background;
        palette.setColor(QPalette::Text, text);
        option->text = markedLabel(option->text, kind);
        option->features |= QStyleOptionViewItem::HasDisplay;
    }
    if (!dimmed)
        return;
    const QColor background = option->backgroundBrush.style() == Qt::NoBrush
                                  ? palette.color(QPalette::Base)
                                  : option->backgroundBrush.color();
    // From the placeholder colour towards the text's, only as far as it takes to read: a
    // palette made dark by hand keeps the light one's placeholder colour.
    const QColor placeholder = mixedColour(palette.color(QPalette::PlaceholderText), background, 0);
    QColor shown = placeholder;
    for (int step = 1; step <= 10 && contrastRatio(shown, background) < 4.5; ++step)
        shown = mixedColour(placeholder, palette.color(QPalette::Text), step / 10.0);
    palette.setColor(QPalette::Text, shown);
}

void showNodeMark(QTreeWidgetItem *item, const NodeMark &mark)
{
    const bool marked = mark.kind != NodeMark::None;
    item->setData(0, MarkRole, marked ? QVariant(int(mark.kind)) : QVariant());
    const QString toolTip = markToolTip(mark);
    item->setData(0, Qt::ToolTipRole, toolTip.isEmpty() ? QVariant() : toolTip);
    showSpoken(item);
}

void setSpokenText(QTreeWidgetItem *item, const QString &text)
{
    item->setData(0, SpokenRole, text);
    showSpoken(item);
}

#include "labeltree.h"

#include "comparemark.h"
#include "labeleditdelegate.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QTreeWidgetItemIterator>

namespace {

constexpr int FocusFrameWidth = 2;

} // namespace

LabelTree::LabelTree(const QString &name, int fieldWidth, QWidget *parent)
    : QTreeWidget(parent)
{
    setObjectName(name);
    setHeaderHidden(true);
    setColumnCount(1);
    setUniformRowHeights(true);
    // Whole labels, never cut with "...": a tree wider than its pane scrolls sideways.
    // The column is fitted to its labels once after each burst of changes; Qt's own
    // resize-to-contents would measure every label again at every label set.
    setTextElideMode(Qt::ElideNone);
    header()->setStretchLastSection(false);
    mFitTimer.setSingleShot(true);
    mFitTimer.setInterval(0);
    connect(&mFitTimer, &QTimer::timeout, this, &LabelTree::fitColumn);
    connect(model(), &QAbstractItemModel::dataChanged, &mFitTimer, qOverload<>(&QTimer::start));
    connect(model(), &QAbstractItemModel::rowsInserted, &mFitTimer, qOverload<>(&QTimer::start));
    connect(this, &QTreeView::expanded, &mFitTimer, qOverload<>(&QTimer::start));
    setEditTriggers(NoEditTriggers);
    setExpandsOnDoubleClick(false); // mouseDoubleClickEvent folds only what it does not edit
    auto *delegate = new LabelEditDelegate(fieldWidth, this);
    setItemDelegate(delegate);
    connect(delegate, &LabelEditDelegate::labelEdited, this,
            [this](const QModelIndex &index, const QString &text) {
                QTreeWidgetItem *item = itemFromIndex(index);
                Q_EMIT itemLabelEdited(item, text);
                item->setText(0, editedLabel(item, text));
            });
    connect(delegate, &LabelEditDelegate::editorTextChanged, this, &LabelTree::labelTextChanged);
    connect(delegate, &LabelEditDelegate::inputRefused, this, &LabelTree::labelInputRefused);
    // Room for the focus frame outside the style's own, so the nodes never shift as Tab
    // moves the focus.
    setContentsMargins(FocusFrameWidth, FocusFrameWidth, FocusFrameWidth, FocusFrameWidth);
    dimInactiveSelection();
}

bool LabelTree::event(QEvent *event)
{
    const bool handled = QTreeWidget::event(event);
    if (event->type() == QEvent::Paint && hasFocus()) {
        QPainter painter(this);
        painter.setPen(QPen(palette().color(QPalette::Active, QPalette::Highlight), FocusFrameWidth,
                            Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        const qreal inset = FocusFrameWidth / 2.0;
        painter.drawRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset));
    } else if (event->type() == QEvent::PaletteChange) {
        dimInactiveSelection();
    }
    return handled;
}

void LabelTree::focusInEvent(QFocusEvent *event)
{
    QTreeWidget::focusInEvent(event);
    update(); // the frame, and the selection drawn as active
    viewport()->update();
}

void LabelTree::focusOutEvent(QFocusEvent *event)
{
    QTreeWidget::focusOutEvent(event);
    update();
    viewport()->update();
}

void LabelTree::initViewItemOption(QStyleOptionViewItem *option) const
{
    QTreeWidget::initViewItemOption(option);
    // Only the tree with the focus shows its selection as active; the other's is dimmed, so
    // the eye finds where the keys go.
    if (!hasFocus())
        option->state &= ~QStyle::State_Active;
}

void LabelTree::dimInactiveSelection()
{
    // Many styles draw an inactive selection as the active one: a pale mix of the highlight
    // into the base, under the ordinary text, reads the same on light and dark palettes.
    QPalette colours = palette();
    const QColor dimmed = mixedColour(colours.color(QPalette::Active, QPalette::Highlight),
                                      colours.color(QPalette::Active, QPalette::Base), 0.6);
    if (colours.color(QPalette::Inactive, QPalette::Highlight) == dimmed)
        return; // set here before: the palette change this causes ends here
    colours.setColor(QPalette::Inactive, QPalette::Highlight, dimmed);
    colours.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     colours.color(QPalette::Active, QPalette::Text));
    setPalette(colours);
}

void LabelTree::finishEdit()
{
    if (state() != EditingState)
        return;
    for (auto *editor : viewport()->findChildren<QLineEdit *>()) {
        if (editor->isVisible()) {
            commitData(editor);
            closeEditor(editor, QAbstractItemDelegate::NoHint);
        }
    }
}

void LabelTree::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    QTreeWidget::closeEditor(editor, hint);
    Q_EMIT labelEditClosed();
}

void LabelTree::resizeEvent(QResizeEvent *event)
{
    QTreeWidget::resizeEvent(event);
    fitColumn();
}

void LabelTree::fitColumn()
{
    // Measured here rather than by the delegate: a few hundred labels in well under a
    // millisecond. Nodes below closed ones count too, so opening one never widens the tree.
    const QFontMetrics metrics(font());
    const int iconWidth = iconSize().isValid() ? iconSize().width() : 16;
    const int padding = 2 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 8;
    int widest = 0;
    for (QTreeWidgetItemIterator it(this); *it; ++it) {
        const QTreeWidgetItem *item = *it;
        int depth = rootIsDecorated() ? 1 : 0;
        for (const QTreeWidgetItem *parent = item->parent(); parent; parent = parent->parent())
            ++depth;
        const int icon = item->icon(0).isNull() ? 0 : iconWidth + 4;
        const QString shown =
            markedLabel(item->text(0), NodeMark::Kind(item->data(0, MarkRole).toInt()));
        widest = std::max(widest, depth * indentation() + icon + metrics.horizontalAdvance(shown) +
                                      padding);
    }
    // At least as wide as the pane, so a selected node is highlighted across it.
    setColumnWidth(0, std::max(widest, viewport()->width()));
}

void LabelTree::editSelectedLabel(const QString &bareText)
{
    const QList<QTreeWidgetItem *> selected = selectedItems();
    if (selected.isEmpty())
        return;
    selected.first()->setData(0, LabelEditDelegate::BareTextRole, bareText);
    editItem(selected.first());
}

void LabelTree::keyPressEvent(QKeyEvent *event)
{
    // Enter does what a double-click does: edits a label, or opens or closes a node that has
    // none to edit.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    QTreeWidgetItem *item = currentItem();
    if (!enter || (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier || !item ||
        state() == EditingState) {
        QTreeWidget::keyPressEvent(event);
        return;
    }
    if (item->flags() & Qt::ItemIsEditable)
        Q_EMIT editRequested();
    else
        item->setExpanded(!item->isExpanded());
}

void LabelTree::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTreeWidget::mouseDoubleClickEvent(event);
    Q_EMIT treeDoubleClicked();
    // A double-click that starts an edit does not also open or close the node's children.
    QTreeWidgetItem *item = itemAt(event->position().toPoint());
    if (item && item->childCount() > 0 && state() != EditingState)
        item->setExpanded(!item->isExpanded());
}

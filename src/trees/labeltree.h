#pragma once

#include <QTimer>
#include <QTreeWidget>

class LabelEditDelegate;

// A tree whose node labels are edited in place only on request: never by a second click,
// always on the bare text rather than the numbered label the node shows.
class LabelTree : public QTreeWidget
{
    Q_OBJECT

public:
    // fieldWidth: the characters the edited field holds, and so the editor's limit.
    LabelTree(const QString &name, int fieldWidth, QWidget *parent = nullptr);

    // Opens the label editor of the selected node on bareText.
    void editSelectedLabel(const QString &bareText);
    // Stores what an open label editor holds and closes it, as Enter would.
    void finishEdit();

Q_SIGNALS:
    void treeDoubleClicked(); // anywhere in the tree, on a node or not
    // A confirmed edit of item. Once the owner has stored the text, the node is labelled
    // with it as typed (editedLabel): a text cut to the field still shows whole.
    void itemLabelEdited(QTreeWidgetItem *item, const QString &text);
    void labelTextChanged(const QString &text); // while the label editor is open
    void labelInputRefused(const QString &reason);
    void labelEditClosed();
    void editRequested(); // Enter on a node whose label can be edited

protected:
    // The node's label for a confirmed text.
    virtual QString editedLabel(const QTreeWidgetItem *item, const QString &text) const = 0;

    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;
    bool event(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void initViewItemOption(QStyleOptionViewItem *option) const override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void fitColumn();
    void dimInactiveSelection();

    QTimer mFitTimer;
};

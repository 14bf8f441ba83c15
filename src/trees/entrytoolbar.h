#pragma once

#include <QToolBar>

// Toolbar2, down the right edge: button 1 "Expand / collapse all", button 2 a separator,
// buttons 3..18 open the categories in table order. Each button says what it means.
class EntryToolbar : public QToolBar
{
    Q_OBJECT

public:
    static constexpr int ButtonCount = 18;

    explicit EntryToolbar(QWidget *parent = nullptr);

    QAction *button(int index) const; // 1-based, the separator included
    void setButtonsEnabled(bool enabled);

Q_SIGNALS:
    void expandOrCollapseAllClicked();
    void categoryClicked(int category);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void fitButtons();

    QList<QAction *> mButtons;
};

#pragma once

#include <QToolBar>

// Toolbar1 along the top: 1 "New tileset", 2 "Open a tileset", 3 "Save tileset".
// Clicks are reported by button index.
class FileToolbar : public QToolBar
{
    Q_OBJECT

public:
    explicit FileToolbar(QWidget *parent = nullptr);

    QAction *button(int index) const; // 1-based

Q_SIGNALS:
    void buttonClicked(int index);

private:
    QList<QAction *> mButtons;
};

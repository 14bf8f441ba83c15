#pragma once

#include <QToolBar>

// Toolbar1 along the top: the window's own New, Open and Save, as buttons 1 "New tileset",
// 2 "Open a tileset" and 3 "Save tileset".
class FileToolbar : public QToolBar
{
    Q_OBJECT

public:
    explicit FileToolbar(QWidget *parent = nullptr);

    // Each command gains the button's picture and tool tip, and keeps its menu text; its
    // button is enabled with it.
    void addCommands(QAction *newFile, QAction *open, QAction *save);
};

#include "filetoolbar.h"

#include "svgicon.h"

#include <QAction>

using namespace Qt::StringLiterals;

FileToolbar::FileToolbar(QWidget *parent)
    : QToolBar(parent)
{
    setObjectName(u"Toolbar1"_s);
    setAccessibleName(u"File"_s);
    setMovable(false);
    setFloatable(false);
    setIconSize(QSize(16, 16));
}

void FileToolbar::addCommands(QAction *newFile, QAction *open, QAction *save)
{
    // The program's own pictures, like the entry toolbar's: a desktop theme's would be
    // looked up at every start.
    const struct
    {
        QAction *command;
        QString icon;
        QString toolTip;
    } buttons[] = {
        {newFile, u":/icons/new.svg"_s, u"New tileset"_s},
        {open, u":/icons/open.svg"_s, u"Open a tileset"_s},
        {save, u":/icons/save.svg"_s, u"Save tileset"_s},
    };
    for (int i = 0; i < 3; ++i) {
        QAction *command = buttons[i].command;
        command->setIcon(svgIcon(buttons[i].icon));
        command->setIconVisibleInMenu(false); // the menus stay as they were, text alone
        command->setToolTip(buttons[i].toolTip);
        addAction(command);
        QWidget *button = widgetForAction(command);
        button->setObjectName(u"Toolbar1Button%1"_s.arg(i + 1));
        button->setAccessibleName(buttons[i].toolTip); // read as the tip, not the menu's caption
    }
}

#include "filetoolbar.h"

#include "svgicon.h"

using namespace Qt::StringLiterals;

FileToolbar::FileToolbar(QWidget *parent)
    : QToolBar(parent)
{
    setObjectName(u"Toolbar1"_s);
    setMovable(false);
    setFloatable(false);
    setIconSize(QSize(16, 16));

    // The program's own pictures, like the entry toolbar's: a desktop theme's would be
    // looked up at every start.
    mButtons = {
        addAction(svgIcon(u":/icons/new.svg"_s), u"New tileset"_s),
        addAction(svgIcon(u":/icons/open.svg"_s), u"Open a tileset"_s),
        addAction(svgIcon(u":/icons/save.svg"_s), u"Save tileset"_s),
    };
    for (int i = 0; i < mButtons.size(); ++i) {
        mButtons[i]->setObjectName(u"Toolbar1Button%1"_s.arg(i + 1));
        const int index = i + 1;
        connect(mButtons[i], &QAction::triggered, this,
                [this, index] { Q_EMIT buttonClicked(index); });
    }
}

QAction *FileToolbar::button(int index) const
{
    return index >= 1 && index <= mButtons.size() ? mButtons[index - 1] : nullptr;
}

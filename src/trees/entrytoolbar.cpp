#include "entrytoolbar.h"

#include "entrycategories.h"
#include "imagelist.h"

#include <QLayout>
#include <QStyle>

#include <algorithm>

using namespace Qt::StringLiterals;

EntryToolbar::EntryToolbar(QWidget *parent)
    : QToolBar(parent)
{
    setObjectName(u"Toolbar2"_s);
    setAccessibleName(u"Categories"_s);
    setOrientation(Qt::Vertical);
    setMovable(false);
    setFloatable(false);
    setIconSize(QSize(16, 16));
    // Seventeen buttons share the height of the designed window, and the bar is only 22
    // pixels wide: no room for the style's padding around them.
    setContentsMargins(0, 0, 0, 0);
    layout()->setContentsMargins(0, 0, 0, 0);
    layout()->setSpacing(0);

    mButtons.append(addAction(ImageList::icon(ImageList::ExpandCollapse),
                              u"Expand / collapse all"_s, this,
                              &EntryToolbar::expandOrCollapseAllClicked));
    mButtons.last()->setShortcut(Qt::CTRL | Qt::Key_E);
    mButtons.append(addSeparator());
    for (int c = 0; c < int(EntryCategories.size()); ++c) {
        const QString name = EntryCategories[c].name.toString();
        QAction *action = addAction(ImageList::icon(ImageList::FirstCategory + c), name, this,
                                    [this, c] { Q_EMIT categoryClicked(c); });
        // Set outright: a tip derived from the text would take "&" for a mnemonic.
        action->setToolTip(name);
        mButtons.append(action);
    }
    for (int i = 0; i < mButtons.size(); ++i) {
        mButtons[i]->setObjectName(u"Toolbar2Button%1"_s.arg(i + 1));
        if (QWidget *button = widgetForAction(mButtons[i]); !mButtons[i]->isSeparator())
            button->setAccessibleName(mButtons[i]->toolTip());
    }
    fitButtons();
}

void EntryToolbar::resizeEvent(QResizeEvent *event)
{
    QToolBar::resizeEvent(event);
    fitButtons();
}

void EntryToolbar::fitButtons()
{
    // Square buttons as wide as the bar leaves room for, so that they stay whole whatever
    // width the bar's twips come to in pixels.
    const int frame = style()->pixelMetric(QStyle::PM_ToolBarFrameWidth, nullptr, this);
    const int side = std::clamp(width() - 2 * frame, 1, 20);
    for (QAction *action : std::as_const(mButtons)) {
        if (QWidget *button = widgetForAction(action); button && !action->isSeparator())
            button->setFixedSize(side, side);
    }
}

QAction *EntryToolbar::button(int index) const
{
    return index >= 1 && index <= mButtons.size() ? mButtons[index - 1] : nullptr;
}

void EntryToolbar::setButtonsEnabled(bool enabled)
{
    for (QAction *action : std::as_const(mButtons))
        action->setEnabled(enabled);
}

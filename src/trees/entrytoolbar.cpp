#include "entrytoolbar.h"

#include "entrycategories.h"
#include "imagelist.h"

#include <QLayout>

using namespace Qt::StringLiterals;

EntryToolbar::EntryToolbar(QWidget *parent)
    : QToolBar(parent)
{
    setObjectName(u"Toolbar2"_s);
    setOrientation(Qt::Vertical);
    setMovable(false);
    setFloatable(false);
    setIconSize(QSize(16, 16));
    // Seventeen buttons share the height of the designed window: no room for padding.
    setContentsMargins(0, 0, 0, 0);
    if (layout())
        layout()->setSpacing(0);

    mButtons.append(
        addAction(ImageList::icon(ImageList::ExpandCollapse), u"Expand / collapse all"_s));
    mButtons.append(addSeparator());
    for (int c = 0; c < int(EntryCategories.size()); ++c)
        mButtons.append(addAction(ImageList::icon(ImageList::FirstCategory + c),
                                  EntryCategories[c].name.toString()));
    for (int i = 0; i < mButtons.size(); ++i) {
        QAction *action = mButtons[i];
        action->setObjectName(u"Toolbar2Button%1"_s.arg(i + 1));
        const int index = i + 1;
        connect(action, &QAction::triggered, this, [this, index] { Q_EMIT buttonClicked(index); });
        if (QWidget *button = widgetForAction(action); button && !action->isSeparator())
            button->setFixedSize(20, 20);
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

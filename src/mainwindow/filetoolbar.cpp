#include "filetoolbar.h"

#include <QIcon>

using namespace Qt::StringLiterals;

namespace {

// The desktop theme's picture where it has one, ours otherwise.
QIcon themed(const QString &themeName, const QString &fallback)
{
    return QIcon::fromTheme(themeName, QIcon(u":/icons/"_s + fallback));
}

} // namespace

FileToolbar::FileToolbar(QWidget *parent)
    : QToolBar(parent)
{
    setObjectName(u"Toolbar1"_s);
    setMovable(false);
    setFloatable(false);
    setIconSize(QSize(16, 16));

    mButtons = {
        addAction(themed(u"document-new"_s, u"new.svg"_s), u"New tileset"_s),
        addAction(themed(u"document-open"_s, u"open.svg"_s), u"Open a tileset"_s),
        addAction(themed(u"document-save"_s, u"save.svg"_s), u"Save tileset"_s),
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

#include "progresswindow.h"

#include "fileprogress.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>
#include <QWindow>

using namespace Qt::StringLiterals;

ProgressWindow::ProgressWindow(QWidget *owner)
    : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , mLabel(new QLabel(u"<empty>"_s, this))
    , mBar(new QProgressBar(this))
{
    setObjectName(u"Form6"_s);
    setWindowTitle(u"HMK Tileset Editor"_s);
    mLabel->setObjectName(u"Label1"_s);
    mBar->setObjectName(u"ProgressBar1"_s);
    mBar->setRange(0, 100);
    mBar->setValue(0);
    mBar->setTextVisible(false);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(mLabel);
    layout->addWidget(mBar);
    setFixedWidth(320);

    // Owned by the main window as far as the window system goes, but not its child: the
    // main window is disabled while this shows, and a child would be disabled with it.
    if (owner && owner->window()->windowHandle()) {
        winId();
        windowHandle()->setTransientParent(owner->window()->windowHandle());
    }
}

void ProgressWindow::setLabel(const QString &text)
{
    mLabel->setText(text);
}

void ProgressWindow::setBarValue(float value)
{
    mBar->setValue(shownPercent(value));
}

int ProgressWindow::barValue() const
{
    return mBar->value();
}

#include "form6.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>
#include <QWindow>

using namespace Qt::StringLiterals;

Form6::Form6(QWidget *owner)
    : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , Label1(new QLabel(u"<empty>"_s, this))
    , ProgressBar1(new QProgressBar(this))
{
    setObjectName(u"Form6"_s);
    setWindowTitle(u"HMK Tileset Editor"_s);
    Label1->setObjectName(u"Label1"_s);
    ProgressBar1->setObjectName(u"ProgressBar1"_s);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(ProgressBar1);
    setFixedWidth(320);

    // Owned by the main window as far as the window system goes, but not its child: the
    // main window is disabled while this shows, and a child would be disabled with it.
    if (owner && owner->window()->windowHandle()) {
        winId();
        windowHandle()->setTransientParent(owner->window()->windowHandle());
    }
}

void Form6::setLabel(const QString &text)
{
    Label1->setText(text);
}

void Form6::setBarValue(float value)
{
    ProgressBar1->setValue(qRound(value));
}

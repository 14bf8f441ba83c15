#include "splitterbar.h"

#include <QMouseEvent>

using namespace Qt::StringLiterals;

SplitterBar::SplitterBar(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(u"sizer"_s);
    setCursor(Qt::SizeHorCursor);
}

void SplitterBar::mousePressEvent(QMouseEvent *event)
{
    Q_EMIT pressed(qRound(event->position().x()));
}

void SplitterBar::mouseMoveEvent(QMouseEvent *event)
{
    // The widget keeps the pointer while a button pressed on it is held.
    Q_EMIT moved(event->buttons(), qRound(event->position().x()));
}

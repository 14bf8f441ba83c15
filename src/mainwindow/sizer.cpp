#include "sizer.h"

#include <QMouseEvent>

using namespace Qt::StringLiterals;

Sizer::Sizer(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(u"sizer"_s);
    setCursor(Qt::SizeHorCursor);
}

void Sizer::mousePressEvent(QMouseEvent *event)
{
    Q_EMIT pressed(qRound(event->position().x()));
}

void Sizer::mouseMoveEvent(QMouseEvent *event)
{
    // The widget keeps the pointer while a button pressed on it is held.
    Q_EMIT moved(event->buttons(), qRound(event->position().x()));
}

#pragma once

#include <QWidget>

// The thin bar between the two trees. It reports presses and moves with the horizontal
// position inside the bar; the main window decides where the bar goes.
class SplitterBar : public QWidget
{
    Q_OBJECT

public:
    explicit SplitterBar(QWidget *parent = nullptr);

Q_SIGNALS:
    void pressed(int x);
    void moved(Qt::MouseButtons buttons, int x);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
};

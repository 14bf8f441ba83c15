#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;

// The small progress window shown while a file is read or written: a label over a bar
// running from 0 to 100. Not modal; it lives only for one load or save.
class ProgressWindow : public QWidget
{
    Q_OBJECT

public:
    explicit ProgressWindow(QWidget *owner = nullptr);

    void setLabel(const QString &text);
    void setBarValue(float value);
    int barValue() const;

private:
    QLabel *mLabel;
    QProgressBar *mBar;
};

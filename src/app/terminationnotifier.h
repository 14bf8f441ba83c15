#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM and SIGINT into a signal in the event loop, so that a session ending or a
// Ctrl+C in the terminal closes the editor as Quit does: with the question about unsaved
// changes, and with its settings written.
class TerminationNotifier : public QObject
{
    Q_OBJECT

public:
    explicit TerminationNotifier(QObject *parent = nullptr);

Q_SIGNALS:
    void terminationRequested();

private:
    QSocketNotifier *mNotifier = nullptr;
};

#pragma once

#include "platformservices.h"

#include <QDialog>
#include <QList>

#include <functional>
#include <optional>

// Answers the window's questions from the queues below and records what it asked, so that
// tests read like a user's steps. A question with nothing queued is recorded as unexpected
// and answered with Cancel; a notice (Ok alone) needs no answer.
class ScriptedServices : public PlatformServices
{
public:
    QList<Answer> answers;
    QList<std::optional<QString>> inputs;
    QStringList files; // chosen in the next file dialogs; empty: Cancel
    // Run on the next dialogs instead of their modal loops: each sets its dialog up and ends it.
    QList<std::function<void(QDialog &)>> dialogs;
    QList<Message> messages;
    QList<FileRequest> fileRequests;
    QStringList unexpected;
    std::function<void()> duringPump; // e.g. to look at the window while it loads
    std::function<void()> whenAsked;  // e.g. to look at the window behind a message
    int pumps = 0;

    Answer ask(QWidget *, const Message &message) override
    {
        messages.append(message);
        if (whenAsked)
            whenAsked();
        return message.buttons == Buttons::Ok ? Answer::Ok
                                              : next(answers, Answer::Cancel, message.text);
    }
    std::optional<QString> inputBox(QWidget *, const QString &title, const QString &,
                                    const QString &) override
    {
        return next(inputs, std::nullopt, title);
    }
    QString fileDialog(QWidget *, const FileRequest &request) override
    {
        fileRequests.append(request);
        return next(files, QString(), request.title);
    }
    int execDialog(QWidget *, QDialog &dialog) override
    {
        next(
            dialogs, [](QDialog &d) { d.reject(); }, dialog.windowTitle())(dialog);
        return dialog.result();
    }
    bool desktopOpens = true; // false: the desktop has nothing to open a file with
    QList<QUrl> opened;
    bool openWithDesktop(const QUrl &url) override
    {
        opened.append(url);
        return desktopOpens;
    }
    // Sees every pump: the reader never skips one on its word.
    int pumpEvents(int count, bool) override
    {
        pumps += count;
        if (duringPump)
            duringPump();
        return 0;
    }

private:
    template<typename T, typename Otherwise>
    T next(QList<T> &queue, Otherwise otherwise, const QString &question)
    {
        if (!queue.isEmpty())
            return queue.takeFirst();
        unexpected.append(question);
        return T(otherwise);
    }
};

#pragma once

#include "platformservices.h"

#include <QDialog>
#include <QList>
#include <QUrl>

#include <functional>
#include <optional>
#include <type_traits>

// Answers the window's questions from a script and records what it asked, so that tests
// read like a user's steps and assert the exact texts. A question with no scripted answer
// is recorded as unexpected and answered with Cancel; a notice (Ok alone) needs no answer.
class ScriptedServices : public PlatformServices
{
public:
    struct Message
    {
        QString text;
        QString title;
        Buttons buttons;
        Icon icon;
    };

    void answer(Answer answer) { mAnswers.append(answer); }
    void type(const std::optional<QString> &text) { mInputs.append(text); }
    void chooseFile(const QString &path) { mFiles.append(path); } // empty: Cancel
    // Runs on the next dialog instead of its modal loop; it sets the dialog up and ends it.
    void onDialog(std::function<void(QDialog &)> handler) { mDialogs.append(std::move(handler)); }
    bool allAnswersUsed() const
    {
        return mAnswers.isEmpty() && mInputs.isEmpty() && mFiles.isEmpty() && mDialogs.isEmpty();
    }

    QList<Message> messages;
    QList<FileRequest> fileRequests;
    QList<QUrl> openedUrls;
    QStringList unexpected;
    std::function<void()> duringPump; // e.g. to look at the window while it loads
    int pumps = 0;

    Answer messageBox(QWidget *, const QString &text, const QString &title, Buttons buttons,
                      Icon icon) override
    {
        messages.append({text, title, buttons, icon});
        return buttons == Buttons::Ok ? Answer::Ok : next(mAnswers, Answer::Cancel, text);
    }
    std::optional<QString> inputBox(QWidget *, const QString &title, const QString &,
                                    const QString &) override
    {
        if (!mInputs.isEmpty())
            return mInputs.takeFirst();
        unexpected.append(title);
        return std::nullopt;
    }
    QString fileDialog(QWidget *, const FileRequest &request) override
    {
        fileRequests.append(request);
        return next(mFiles, QString(), request.title);
    }
    int execDialog(QWidget *, QDialog &dialog) override
    {
        next(
            mDialogs, [](QDialog &d) { d.reject(); }, dialog.windowTitle())(dialog);
        return dialog.result();
    }
    void openWithDesktop(const QUrl &url) override { openedUrls.append(url); }
    // Sees every pump: the reader never skips one on its word.
    int pumpEvents(int count, bool) override
    {
        pumps += count;
        if (duringPump)
            duringPump();
        return 0;
    }

private:
    template<typename T>
    T next(QList<T> &queue, std::type_identity_t<T> otherwise, const QString &question)
    {
        if (!queue.isEmpty())
            return queue.takeFirst();
        unexpected.append(question);
        return otherwise;
    }

    QList<Answer> mAnswers;
    QList<std::optional<QString>> mInputs;
    QStringList mFiles;
    QList<std::function<void(QDialog &)>> mDialogs;
};

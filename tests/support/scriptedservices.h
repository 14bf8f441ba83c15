#pragma once

#include "platformservices.h"

#include <QList>
#include <QUrl>

#include <functional>
#include <optional>

// Answers the window's questions from a script and records what it asked, so that tests
// read like a user's steps and assert the exact texts. A question with no scripted answer
// is recorded as unexpected and answered with Cancel.
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

    // Scripting
    void answer(Answer answer) { mAnswers.append(answer); }
    void type(const std::optional<QString> &text) { mInputs.append(text); }
    void chooseFile(const QString &path) { mFiles.append(path); } // empty: Cancel
    // Runs on the next dialog instead of its modal loop; it sets the dialog up and ends it.
    void onDialog(std::function<void(QDialog &)> handler) { mDialogs.append(std::move(handler)); }

    // Recordings
    QList<Message> messages;
    QList<FileRequest> fileRequests;
    QList<QUrl> openedUrls;
    QStringList unexpected;
    int pumps = 0;
    std::function<void()> duringPump; // runs at every pump, e.g. to look at the window

    bool allAnswersUsed() const
    {
        return mAnswers.isEmpty() && mInputs.isEmpty() && mFiles.isEmpty() && mDialogs.isEmpty();
    }

    Answer messageBox(QWidget *owner, const QString &text, const QString &title, Buttons buttons,
                      Icon icon) override;
    std::optional<QString> inputBox(QWidget *owner, const QString &title, const QString &prompt,
                                    const QString &answer) override;
    QString fileDialog(QWidget *owner, const FileRequest &request) override;
    int execDialog(QWidget *owner, QDialog &dialog) override;
    void openWithDesktop(const QUrl &url) override { openedUrls.append(url); }
    int pumpEvents(int count, bool barMoved) override; // every pump: returns 0

private:
    QList<Answer> mAnswers;
    QList<std::optional<QString>> mInputs;
    QStringList mFiles;
    QList<std::function<void(QDialog &)>> mDialogs;
};

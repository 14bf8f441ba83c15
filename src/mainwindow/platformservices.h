#pragma once

#include "eventpacing.h"

#include <QString>
#include <QStringList>

#include <optional>

class QDialog;
class QUrl;
class QWidget;

// Every modal service of the window system in one place: the real one asks the user,
// the one in the tests answers from a script and records what was asked. The pace of a
// long operation's events comes with them, from the same window system.
class PlatformServices : public EventPacing
{
public:
    enum class Buttons
    {
        Ok,
        OkCancel,
        YesNo,
        YesNoCancel
    };
    enum class Icon
    {
        Exclamation,
        Critical,
        Question
    };
    enum class Answer
    {
        Ok,
        Cancel,
        Yes,
        No
    };

    struct FileRequest
    {
        enum Mode
        {
            Open,
            Save
        };
        Mode mode = Open;
        QString title;
        QString fileName;    // preset name
        QString folder;      // starting folder; empty for the dialog's own default
        QStringList filters; // "Caption (patterns)"; the dialog shows the caption alone
        QString defaultSuffix;
    };

    struct Message
    {
        QString text;
        QString title;
        Buttons buttons = Buttons::Ok;
        Icon icon = Icon::Exclamation;
        QString details; // below the text: which file, and why
        // The button Enter presses; none leaves the window system's choice.
        std::optional<Answer> defaultAnswer = std::nullopt;
    };

    virtual ~PlatformServices() = default;

    virtual Answer ask(QWidget *owner, const Message &message) = 0;
    Answer messageBox(QWidget *owner, const QString &text, const QString &title, Buttons buttons,
                      Icon icon)
    {
        return ask(owner, {text, title, buttons, icon, {}, std::nullopt});
    }
    // A message with Ok as its only button.
    void notify(QWidget *owner, const QString &text, const QString &title, Icon icon,
                const QString &details = {})
    {
        ask(owner, {text, title, Buttons::Ok, icon, details, std::nullopt});
    }
    // True when no field is cut, or the user agrees that cutFields fields are cut to fit
    // for command ("Replace all", "Paste").
    bool agreesToCut(QWidget *owner, int cutFields, const QString &command);
    // The file dialog for a tileset file: "Hmkset.dat" and "All files (*.*)", ".dat" added.
    static FileRequest tilesetFileRequest(FileRequest::Mode mode, const QString &title,
                                          const QString &fileName = {});

    // The typed answer, or nothing when the user cancelled.
    virtual std::optional<QString> inputBox(QWidget *owner, const QString &title,
                                            const QString &prompt, const QString &answer) = 0;
    // The chosen file's full path, or empty when the dialog was cancelled.
    virtual QString fileDialog(QWidget *owner, const FileRequest &request) = 0;
    // Runs a dialog of the program modally; returns its result code.
    virtual int execDialog(QWidget *owner, QDialog &dialog) = 0;
    // Hands a file or a link to the desktop, as the user's desktop opens it; false when
    // the desktop has nothing to open it with.
    virtual bool openWithDesktop(const QUrl &url) = 0;
};

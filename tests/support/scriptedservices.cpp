#include "scriptedservices.h"

#include <QDialog>

using namespace Qt::StringLiterals;

PlatformServices::Answer ScriptedServices::messageBox(QWidget *, const QString &text,
                                                      const QString &title, Buttons buttons,
                                                      Icon icon)
{
    messages.append({text, title, buttons, icon});
    if (buttons == Buttons::Ok)
        return Answer::Ok; // a notice needs no scripted answer
    if (mAnswers.isEmpty()) {
        unexpected.append(u"message: "_s + text);
        return Answer::Cancel;
    }
    return mAnswers.takeFirst();
}

std::optional<QString> ScriptedServices::inputBox(QWidget *, const QString &title, const QString &,
                                                  const QString &)
{
    if (mInputs.isEmpty()) {
        unexpected.append(u"input: "_s + title);
        return std::nullopt;
    }
    return mInputs.takeFirst();
}

QString ScriptedServices::fileDialog(QWidget *, const FileRequest &request)
{
    fileRequests.append(request);
    if (mFiles.isEmpty()) {
        unexpected.append(u"file dialog: "_s + request.title);
        return {};
    }
    return mFiles.takeFirst();
}

int ScriptedServices::execDialog(QWidget *, QDialog &dialog)
{
    if (mDialogs.isEmpty()) {
        unexpected.append(u"dialog: "_s + dialog.windowTitle());
        dialog.reject();
        return dialog.result();
    }
    mDialogs.takeFirst()(dialog);
    return dialog.result();
}

int ScriptedServices::pumpEvents(int count, bool)
{
    pumps += count;
    if (duringPump)
        duringPump();
    return 0;
}

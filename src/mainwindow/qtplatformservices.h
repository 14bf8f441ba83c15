#pragma once

#include "platformservices.h"

// The services as Qt provides them: message boxes, input and file dialogs, the desktop.
class QtPlatformServices : public PlatformServices
{
public:
    Answer messageBox(QWidget *owner, const QString &text, const QString &title, Buttons buttons,
                      Icon icon) override;
    std::optional<QString> inputBox(QWidget *owner, const QString &title, const QString &prompt,
                                    const QString &answer) override;
    QString fileDialog(QWidget *owner, const FileRequest &request) override;
    int execDialog(QWidget *owner, QDialog &dialog) override;
    void openWithDesktop(const QUrl &url) override;
    void pumpEvents() override;

private:
    QString mLastFolder; // where a file dialog was last used, as the open dialog's default
};

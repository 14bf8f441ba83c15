#pragma once

#include <QDialog>

// "File info": name, folder and size of the open file. Read-only; Ok is its only button.
class FileInfoDialog : public QDialog
{
    Q_OBJECT

public:
    FileInfoDialog(const QString &fileTitle, const QString &fileFolder, int tilesetCount,
                   int entryCount, QWidget *parent = nullptr);
};

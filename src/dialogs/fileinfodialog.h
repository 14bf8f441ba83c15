#pragma once

#include <QDialog>

class Document;

// "File info": name, folder and size of the open file. Read-only; Ok is its only button.
class FileInfoDialog : public QDialog
{
    Q_OBJECT

public:
    explicit FileInfoDialog(const Document &document, QWidget *parent = nullptr);
};

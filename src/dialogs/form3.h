#pragma once

#include <QDialog>

class Document;
class QFrame;
class QLabel;
class QPushButton;

// "File info": name, folder and size of the open file. Read-only; Ok is its only button.
class Form3 : public QDialog
{
    Q_OBJECT

public:
    explicit Form3(const Document &document, QWidget *parent = nullptr);

    QLabel *Label1;
    QLabel *Label5;
    QLabel *Label2;
    QLabel *Label6;
    QFrame *Line1;
    QLabel *Label3;
    QLabel *Label7;
    QLabel *Label4;
    QLabel *Label8;
    QPushButton *Command1;
};

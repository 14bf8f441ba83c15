#pragma once

#include <QDialog>
#include <QUrl>

class QFrame;
class QLabel;
class QPushButton;

// "About HMK Tileset Editor": the picture panel with the version, the program's name and
// purpose, its authors as a mail link, thanks and the notice about the games' makers.
class Form7 : public QDialog
{
    Q_OBJECT

public:
    explicit Form7(QWidget *parent = nullptr);

    // The main window's "Visit my site" and this dialog's mail link use these.
    static QUrl siteUrl();
    static QUrl mailUrl();

    // Starts the authors' link exactly where "© 2026 " ends, whatever the font.
    void placeAuthorLink();

    QFrame *Picture1;
    QLabel *Image1;
    QLabel *Label5;
    QLabel *Label6;
    QLabel *Label10;
    QLabel *Label1;
    QLabel *Label3;
    QLabel *Label2;
    QLabel *Label7;
    QLabel *Label9;
    QFrame *Line1;
    QLabel *Label4;
    QFrame *Line2;
    QPushButton *Command1;

Q_SIGNALS:
    // The authors' link was clicked; the main window hands the address to the desktop.
    void openRequested(const QUrl &url);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

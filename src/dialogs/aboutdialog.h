#pragma once

#include <QDialog>
#include <QUrl>

class QFrame;
class QLabel;
class QPushButton;

// "About HMK Tileset Editor": the picture panel with the version, the program's name and
// purpose, its authors as a mail link, thanks and the notice about the games' makers.
class AboutDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AboutDialog(QWidget *parent = nullptr);

    // The main window's "Visit my site" and this dialog's mail link use these.
    static QUrl siteUrl();
    static QUrl mailUrl();

    // Starts the authors' link exactly where "© 2026 " ends, whatever the font.
    void placeAuthorLink();

Q_SIGNALS:
    // The authors' link was clicked; the main window hands the address to the desktop.
    void openRequested(const QUrl &url);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QFrame *mPicturePanel;
    QLabel *mPicture;
    QLabel *mVersionCaption;
    QLabel *mVersionNumber;
    QLabel *mHiddenSpot;
    QLabel *mProgramName;
    QLabel *mPurpose;
    QLabel *mNotice;
    QLabel *mAuthorLink;
    QLabel *mThanks;
    QFrame *mUpperRule;
    QLabel *mMakersNotice;
    QFrame *mLowerRule;
    QPushButton *mOkButton;
};

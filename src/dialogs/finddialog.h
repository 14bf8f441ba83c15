#pragma once

#include "fieldsearch.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// "Find and replace": what to look for and where, and the fields that matched. It only
// asks; the main window searches the document and hands the results back.
class FindDialog : public QDialog
{
    Q_OBJECT

public:
    explicit FindDialog(QWidget *parent = nullptr);

    // Shows the dialog for finding, or with the replacement row for replacing. The main
    // window's keys for Find... and Replace... switch between the two in the dialog too.
    void showFor(bool replacing);

    SearchOptions options() const;
    QString replacement() const;
    // One row per match, and the summary under them.
    void setResults(const QStringList &rows, const QString &summary);
    void setSummary(const QString &summary);
    void selectResult(int row);

Q_SIGNALS:
    void findAllRequested();
    void replaceRequested();
    void replaceAllRequested();
    void resultActivated(int row);
    void searchChanged(); // the text or an option, so that results shown are no longer its

private:
    QLineEdit *mFindText;
    QLabel *mReplaceCaption;
    QLineEdit *mReplaceText;
    QCheckBox *mMatchCase;
    QCheckBox *mWholeField;
    QCheckBox *mSearchNames;
    QCheckBox *mSearchEntries;
    QPushButton *mFindAll;
    QPushButton *mReplace;
    QPushButton *mReplaceAll;
    QListWidget *mResults;
    QLabel *mSummary;
};

// Where the dialog of that size opens, all of it on the screen: beside the main window where
// there is room, right of it before left of it; else where it covers the trees least. Frame
// geometries, in screen coordinates.
QPoint findDialogPosition(const QRect &window, const QRect &trees, QSize dialog,
                          const QRect &screen);

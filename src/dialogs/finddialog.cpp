#include "finddialog.h"

#include "fieldtextvalidator.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

template<typename T>
T *named(T *widget, const QString &name)
{
    widget->setObjectName(name);
    return widget;
}

} // namespace

FindDialog::FindDialog(QWidget *parent)
    : QDialog(parent)
    , mFindText(named(new QLineEdit(this), u"findText"_s))
    , mReplaceCaption(new QLabel(u"Replace &with:"_s, this))
    , mReplaceText(named(new QLineEdit(this), u"replaceText"_s))
    , mMatchCase(named(new QCheckBox(u"&Match case"_s, this), u"matchCase"_s))
    , mWholeField(named(new QCheckBox(u"W&hole field"_s, this), u"wholeField"_s))
    , mSearchNames(named(new QCheckBox(u"Tileset &names"_s, this), u"searchNames"_s))
    , mSearchEntries(named(new QCheckBox(u"&Entries"_s, this), u"searchEntries"_s))
    , mFindAll(named(new QPushButton(u"Find all"_s, this), u"findAll"_s))
    , mReplace(named(new QPushButton(u"Replace"_s, this), u"replace"_s))
    , mReplaceAll(named(new QPushButton(u"Replace all"_s, this), u"replaceAll"_s))
    , mResults(named(new QListWidget(this), u"findResults"_s))
    , mSummary(named(new QLabel(this), u"findSummary"_s))
{
    setObjectName(u"FindDialog"_s);
    setWindowTitle(u"Find and replace"_s);
    mSearchNames->setChecked(true);
    mSearchEntries->setChecked(true);
    mReplaceCaption->setBuddy(mReplaceText);
    mResults->setAccessibleName(u"Results"_s); // read with the summary above it
    // Enter in the text boxes finds; Enter in the results shows the result, and no button
    // is a default that the same Enter would press as well (Replace all least of all).
    for (QPushButton *button : {mFindAll, mReplace, mReplaceAll})
        button->setAutoDefault(false);
    for (QLineEdit *box : {mFindText, mReplaceText}) {
        auto *validator = new FieldTextValidator(FieldTextValidator::AnyCharacters, box);
        connect(validator, &FieldTextValidator::refused, this, &FindDialog::setSummary);
        box->setValidator(validator);
    }
    // A summary is never that of another search.
    connect(mFindText, &QLineEdit::textChanged, this, &FindDialog::searchChanged);
    for (QCheckBox *box : {mMatchCase, mWholeField, mSearchNames, mSearchEntries})
        connect(box, &QCheckBox::toggled, this, &FindDialog::searchChanged);
    connect(mFindText, &QLineEdit::returnPressed, this, &FindDialog::findAllRequested);
    connect(mReplaceText, &QLineEdit::returnPressed, this, &FindDialog::findAllRequested);
    mResults->setUniformItemSizes(true);

    auto *fields = new QFormLayout;
    auto *findCaption = new QLabel(u"&Find:"_s, this);
    findCaption->setBuddy(mFindText);
    fields->addRow(findCaption, mFindText);
    fields->addRow(mReplaceCaption, mReplaceText);
    auto *checks = new QHBoxLayout;
    for (QCheckBox *box : {mMatchCase, mWholeField, mSearchNames, mSearchEntries})
        checks->addWidget(box);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(mFindAll);
    buttons->addWidget(mReplace);
    buttons->addWidget(mReplaceAll);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(checks);
    layout->addLayout(buttons);
    layout->addWidget(mResults, 1);
    layout->addWidget(mSummary);
    resize(480, 360);

    connect(mFindAll, &QPushButton::clicked, this, &FindDialog::findAllRequested);
    connect(mReplace, &QPushButton::clicked, this, &FindDialog::replaceRequested);
    connect(mReplaceAll, &QPushButton::clicked, this, &FindDialog::replaceAllRequested);
    // Find... and Replace... are the main window's, whose shortcuts stop at its edge: their
    // keys switch this window between the two.
    new QShortcut(QKeySequence::Find, this, [this] { showFor(false); });
    new QShortcut(Qt::CTRL | Qt::Key_H, this, [this] { showFor(true); });

    // Double-click and Enter alike.
    connect(mResults, &QListWidget::itemActivated, this,
            [this](QListWidgetItem *item) { Q_EMIT resultActivated(mResults->row(item)); });
}

void FindDialog::showFor(bool replacing)
{
    mReplaceCaption->setVisible(replacing);
    mReplaceText->setVisible(replacing);
    mReplace->setVisible(replacing);
    mReplaceAll->setVisible(replacing);
    show();
    raise();
    activateWindow();
    mFindText->setFocus();
    mFindText->selectAll();
}

SearchOptions FindDialog::options() const
{
    return {mFindText->text(), mMatchCase->isChecked(), mWholeField->isChecked(),
            mSearchNames->isChecked(), mSearchEntries->isChecked()};
}

QString FindDialog::replacement() const
{
    return mReplaceText->text();
}

void FindDialog::setResults(const QStringList &rows, const QString &summary)
{
    mResults->clear();
    mResults->addItems(rows);
    setSummary(summary);
}

void FindDialog::setSummary(const QString &summary)
{
    mSummary->setText(summary);
}

void FindDialog::selectResult(int row)
{
    mResults->setCurrentRow(row);
}

QPoint findDialogPosition(const QRect &window, const QRect &trees, QSize dialog,
                          const QRect &screen)
{
    const auto within = [](int at, int low, int length, int room) {
        return std::clamp(at, low, std::max(low, low + room - length));
    };
    const int top = within(window.top(), screen.top(), dialog.height(), screen.height());
    if (window.right() + dialog.width() <= screen.right())
        return {window.right() + 1, top};
    if (window.left() - dialog.width() >= screen.left())
        return {window.left() - dialog.width(), top};
    // Below, above or level with the trees; at the window's right edge, right of them or
    // left of them: the first that covers them least.
    QPoint best;
    qint64 least = -1;
    for (int y : {trees.bottom() + 1, trees.top() - dialog.height(), window.top()}) {
        for (int x : {window.right() + 1 - dialog.width(), trees.right() + 1,
                      trees.left() - dialog.width()}) {
            const QRect place(QPoint(within(x, screen.left(), dialog.width(), screen.width()),
                                     within(y, screen.top(), dialog.height(), screen.height())),
                              dialog);
            const QRect covered = place.intersected(trees);
            const qint64 area = qint64(covered.width()) * covered.height();
            if (least < 0 || area < least) {
                best = place.topLeft();
                least = area;
            }
        }
    }
    return best;
}

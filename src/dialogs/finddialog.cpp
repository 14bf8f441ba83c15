#include "finddialog.h"

#include "fieldtextvalidator.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

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
    , mReplaceAll(named(new QPushButton(u"Replace all"_s, this), u"replaceAll"_s))
    , mResults(named(new QListWidget(this), u"findResults"_s))
    , mSummary(named(new QLabel(this), u"findSummary"_s))
{
    setObjectName(u"FindDialog"_s);
    setWindowTitle(u"Find and replace"_s);
    mSearchNames->setChecked(true);
    mSearchEntries->setChecked(true);
    mReplaceCaption->setBuddy(mReplaceText);
    // Enter in the text boxes finds; Enter in the results shows the result, and no button
    // is a default that the same Enter would press as well (Replace all least of all).
    for (QPushButton *button : {mFindAll, mReplaceAll})
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
    buttons->addWidget(mReplaceAll);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(checks);
    layout->addLayout(buttons);
    layout->addWidget(mResults, 1);
    layout->addWidget(mSummary);
    resize(480, 360);

    connect(mFindAll, &QPushButton::clicked, this, &FindDialog::findAllRequested);
    connect(mReplaceAll, &QPushButton::clicked, this, &FindDialog::replaceAllRequested);
    // Double-click and Enter alike.
    connect(mResults, &QListWidget::itemActivated, this,
            [this](QListWidgetItem *item) { Q_EMIT resultActivated(mResults->row(item)); });
}

void FindDialog::showFor(bool replacing)
{
    mReplaceCaption->setVisible(replacing);
    mReplaceText->setVisible(replacing);
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

int FindDialog::resultCount() const
{
    return mResults->count();
}

void FindDialog::selectResult(int row)
{
    mResults->setCurrentRow(row);
}

#include "newfiledialog.h"

#include "dialogbuttons.h"
#include "dialogflags.h"
#include "textutils.h"
#include "tilesettable.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// Tables of both games have this many entries per tileset; it is never edited here.
const QString EntriesPerTileset = u"151"_s;

} // namespace

NewFileDialog::NewFileDialog(QWidget *parent)
    : QDialog(parent, FixedDialogFlags)
    , mHarrowmark(new QRadioButton(u"Harrowmark"_s, this))
    , mVeldrune(new QRadioButton(u"Veldrune"_s, this))
    , mCustom(new QRadioButton(u"Custom:"_s, this))
    , mTilesetCaption(new QLabel(u"Amount of tilesets:"_s, this))
    , mCountBoxes{new QLineEdit(u"70"_s, this), new QLineEdit(EntriesPerTileset, this)}
    , mEntryCaption(new QLabel(u"Entries per tileset:"_s, this))
    , mButtons(okCancelButtons(this))
{
    setObjectName(u"Form4"_s);
    setWindowTitle(u"New file"_s);
    mHarrowmark->setObjectName(u"Option1"_s);
    mVeldrune->setObjectName(u"Option2"_s);
    mCustom->setObjectName(u"Option3"_s);
    mTilesetCaption->setObjectName(u"Label1"_s);
    mEntryCaption->setObjectName(u"Label2"_s);
    for (int i = 0; i < int(mCountBoxes.size()); ++i) {
        mCountBoxes[i]->setObjectName(u"Text1"_s);
        mCountBoxes[i]->setProperty("index", i);
        mCountBoxes[i]->setMaxLength(3);
        mCountBoxes[i]->setEnabled(false);
        mCountBoxes[i]->setFixedWidth(48);
    }
    mTilesetCaption->setBuddy(mCountBoxes[0]);
    mEntryCaption->setBuddy(mCountBoxes[1]);

    mVeldrune->setChecked(true);

    connect(mHarrowmark, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            applyPreset(u"50"_s);
    });
    connect(mVeldrune, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            applyPreset(u"70"_s);
    });
    connect(mCustom, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            chooseCustom();
    });
    for (QLineEdit *box : mCountBoxes)
        connect(box, &QLineEdit::textChanged, this, &NewFileDialog::validateCounts);

    auto *counts = new QGridLayout;
    counts->addWidget(mTilesetCaption, 0, 0);
    counts->addWidget(mCountBoxes[0], 0, 1);
    counts->addWidget(mEntryCaption, 1, 0);
    counts->addWidget(mCountBoxes[1], 1, 1);
    counts->setColumnStretch(0, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(mHarrowmark);
    layout->addWidget(mVeldrune);
    layout->addWidget(mCustom);
    layout->addLayout(counts);
    layout->addWidget(mButtons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    validateCounts();
}

std::optional<double> NewFileDialog::valueFromText(QStringView text)
{
    // Decimal digits with a fraction at most: the C locale would also read "1e1" or "0x1p3".
    const QString trimmed = trimBlanks(text);
    if (!std::all_of(trimmed.cbegin(), trimmed.cend(),
                     [](QChar c) { return c.isDigit() || c == u'.' || c == u'-' || c == u'+'; }))
        return std::nullopt;
    bool ok = false;
    const double value = QLocale::c().toDouble(trimmed, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

int NewFileDialog::countFromValue(double value)
{
    // The program never changes the rounding mode, so ties go to the even neighbour.
    return int(std::nearbyint(value - 1.0)) + 1;
}

void NewFileDialog::done(int result)
{
    // Escape and the close box arrive here as a rejection: both count as Cancel.
    const std::optional<int> tilesets = validCount(0);
    const std::optional<int> entries = validCount(1);
    mConfirmed = result == Accepted && tilesets && entries;
    mTilesetCount = mConfirmed ? *tilesets : 0;
    mEntryCount = mConfirmed ? *entries : 0;
    QDialog::done(result);
}

void NewFileDialog::applyPreset(const QString &tilesets)
{
    mCountBoxes[0]->setEnabled(false);
    mCountBoxes[0]->setText(tilesets);
    mCountBoxes[1]->setText(EntriesPerTileset);
}

void NewFileDialog::chooseCustom()
{
    mCountBoxes[0]->setEnabled(true);
    mCountBoxes[0]->setFocus(Qt::OtherFocusReason);
}

void NewFileDialog::validateCounts()
{
    mButtons->button(QDialogButtonBox::Ok)->setEnabled(validCount(0) && validCount(1));
}

std::optional<int> NewFileDialog::validCount(int index) const
{
    // Checked again after rounding, as the count will be used: 0.4 would make no table and
    // 255.6 one that no file header can hold.
    const std::optional<double> value = valueFromText(mCountBoxes[index]->text());
    if (!value || *value <= 0 || *value >= MaximumCount + 1)
        return std::nullopt;
    const int count = countFromValue(*value);
    if (count < 1 || count > MaximumCount)
        return std::nullopt;
    return count;
}

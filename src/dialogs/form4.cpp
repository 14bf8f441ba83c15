#include "form4.h"

#include "dialogflags.h"
#include "textutils.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// Tables of both games have this many entries per tileset; it is never edited here.
const QString EntriesPerTileset = u"151"_s;

} // namespace

Form4::Form4(QWidget *parent)
    : QDialog(parent, FixedDialogFlags)
    , Option1(new QRadioButton(u"Harrowmark"_s, this))
    , Option2(new QRadioButton(u"Veldrune"_s, this))
    , Option3(new QRadioButton(u"Custom:"_s, this))
    , Label1(new QLabel(u"Amount of tilesets:"_s, this))
    , Text1{new QLineEdit(u"70"_s, this), new QLineEdit(EntriesPerTileset, this)}
    , Label2(new QLabel(u"Entries per tileset:"_s, this))
    , Command1(new QPushButton(u"Ok"_s, this))
    , Command2(new QPushButton(u"Cancel"_s, this))
{
    setObjectName(u"Form4"_s);
    setWindowTitle(u"New file"_s);
    Option1->setObjectName(u"Option1"_s);
    Option2->setObjectName(u"Option2"_s);
    Option3->setObjectName(u"Option3"_s);
    Label1->setObjectName(u"Label1"_s);
    Label2->setObjectName(u"Label2"_s);
    Command1->setObjectName(u"Command1"_s);
    Command2->setObjectName(u"Command2"_s);
    for (int i = 0; i < int(Text1.size()); ++i) {
        Text1[i]->setObjectName(u"Text1"_s);
        Text1[i]->setProperty("index", i);
        Text1[i]->setMaxLength(3);
        Text1[i]->setEnabled(false);
        Text1[i]->setFixedWidth(48);
    }
    Label1->setBuddy(Text1[0]);
    Label2->setBuddy(Text1[1]);

    Option2->setChecked(true);
    Command1->setDefault(true);

    connect(Option1, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            applyPreset(u"50"_s);
    });
    connect(Option2, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            applyPreset(u"70"_s);
    });
    connect(Option3, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            chooseCustom();
    });
    for (QLineEdit *box : Text1)
        connect(box, &QLineEdit::textChanged, this, &Form4::validateCounts);
    connect(Command1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Command2, &QPushButton::clicked, this, &QDialog::reject);

    auto *counts = new QGridLayout;
    counts->addWidget(Label1, 0, 0);
    counts->addWidget(Text1[0], 0, 1);
    counts->addWidget(Label2, 1, 0);
    counts->addWidget(Text1[1], 1, 1);
    counts->setColumnStretch(0, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Option1);
    layout->addWidget(Option2);
    layout->addWidget(Option3);
    layout->addLayout(counts);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    validateCounts();
}

std::optional<double> Form4::valueFromText(QStringView text)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(TrimBlanks(text), &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

int Form4::countFromValue(double value)
{
    // The program never changes the rounding mode, so ties go to the even neighbour.
    return int(std::nearbyint(value - 1.0)) + 1;
}

void Form4::done(int result)
{
    // Escape and the close box arrive here as a rejection: both count as Cancel.
    const std::optional<double> tilesets = validValue(0);
    const std::optional<double> entries = validValue(1);
    mConfirmed = result == Accepted && tilesets && entries;
    mTilesetCount = mConfirmed ? countFromValue(*tilesets) : 0;
    mEntryCount = mConfirmed ? countFromValue(*entries) : 0;
    QDialog::done(result);
}

void Form4::applyPreset(const QString &tilesets)
{
    Text1[0]->setEnabled(false);
    Text1[0]->setText(tilesets);
    Text1[1]->setText(EntriesPerTileset);
}

void Form4::chooseCustom()
{
    Text1[0]->setEnabled(true);
    Text1[0]->setFocus(Qt::OtherFocusReason);
}

void Form4::validateCounts()
{
    Command1->setEnabled(validValue(0) && validValue(1));
}

std::optional<double> Form4::validValue(int index) const
{
    // A file header stores each count in one byte, and zero of either makes no table.
    const std::optional<double> value = valueFromText(Text1[index]->text());
    if (value && *value > 0 && *value < 256)
        return value;
    return std::nullopt;
}

#pragma once

#include <QDialog>

#include <array>
#include <optional>

class QLabel;
class QLineEdit;
class QDialogButtonBox;
class QRadioButton;

// "New file": the game preset or custom counts for a new table. Only the tileset count
// can be edited; every table of either game has 151 entries per tileset.
class NewFileDialog : public QDialog
{
    Q_OBJECT

public:
    explicit NewFileDialog(QWidget *parent = nullptr);

    // True only after Ok; the counts are meaningful only then.
    bool confirmed() const { return mConfirmed; }
    int tilesetCount() const { return mTilesetCount; }
    int entryCount() const { return mEntryCount; }

    // A box's text as a number: decimal, C locale, blanks trimmed, finite; none otherwise.
    static std::optional<double> valueFromText(QStringView text);
    // A typed value to a count: (value - 1) rounded half to even, plus 1, so 2.5 gives 3
    // and 1.5 gives 1.
    static int countFromValue(double value);

    void done(int result) override;

private:
    void applyPreset(const QString &tilesets);
    void chooseCustom();
    void validateCounts();
    std::optional<int> validCount(int index) const;

    QRadioButton *mHarrowmark;
    QRadioButton *mVeldrune;
    QRadioButton *mCustom;
    QLabel *mTilesetCaption;
    std::array<QLineEdit *, 2> mCountBoxes;
    QLabel *mEntryCaption;
    QDialogButtonBox *mButtons;

    bool mConfirmed = false;
    int mTilesetCount = 0;
    int mEntryCount = 0;
};

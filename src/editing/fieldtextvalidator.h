#pragma once

#include <QValidator>

// What may be typed or pasted into a field's text: no control characters (a NUL would cut
// the text at the next load, a line feed or a tab would show as nothing), and, where the
// text is stored, only characters Windows-1252 can hold, so that what the tree shows after
// an edit is what the file will hold. A refused input is refused whole, and says why.
class FieldTextValidator : public QValidator
{
    Q_OBJECT

public:
    enum Charset
    {
        AnyCharacters,   // a text that is only looked for
        Windows1252Only, // a text that is stored
    };

    explicit FieldTextValidator(Charset charset, QObject *parent = nullptr);

    // Control characters the offered text already holds stay allowed, so that a field
    // read with one can still be edited.
    void allowControlsOf(const QString &offered);

    State validate(QString &input, int &position) const override;

Q_SIGNALS:
    void refused(const QString &reason) const;

private:
    Charset mCharset;
    QString mAllowedControls;
};

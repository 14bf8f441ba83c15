#include "settingsfile.h"

#include "pathutils.h"
#include "textutils.h"

#include <QFile>

#include <algorithm>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

// Enough to stay out of range after rounding up, with either sign.
constexpr int MagnitudeCap = 100000;
// The file holds ten short lines; even a long path leaves it far below this. Anything
// beyond is not read, so a huge file neither stalls start-up nor fills the memory.
constexpr qint64 MaxSettingsSize = 64 * 1024;

bool isSkipped(QChar c)
{
    return c == u' ' || c == u'\t';
}

// The value's leading decimal number rounded half to even, or nothing when the result does
// not fit 16 bits. Blanks inside the number are skipped and whatever follows it is ignored,
// so hand-edited values like "7000px" or " 1 2 3" still read. Rounding works on the decimal
// digits themselves, so no binary fraction tips a half either way.
std::optional<int> toShort(QStringView text)
{
    bool negative = false;
    bool signAllowed = true;
    bool inFraction = false;
    int magnitude = 0;
    int firstFractionDigit = -1;
    bool laterNonZero = false;
    for (QChar c : text) {
        if (isSkipped(c))
            continue;
        if (signAllowed && (c == u'-' || c == u'+')) {
            negative = c == u'-';
            signAllowed = false;
        } else if (!inFraction && c == u'.') {
            inFraction = true;
            signAllowed = false;
        } else if (c >= u'0' && c <= u'9') {
            const int digit = c.unicode() - u'0';
            signAllowed = false;
            if (!inFraction)
                magnitude = std::min(magnitude * 10 + digit, MagnitudeCap);
            else if (firstFractionDigit < 0)
                firstFractionDigit = digit;
            else
                laterNonZero = laterNonZero || digit != 0;
        } else {
            break;
        }
    }
    const bool half = firstFractionDigit == 5 && !laterNonZero;
    if (firstFractionDigit > 5 || (firstFractionDigit == 5 && laterNonZero) ||
        (half && magnitude % 2 == 1))
        ++magnitude;
    const int number = negative ? -magnitude : magnitude;
    if (number < -32768 || number > 32767)
        return std::nullopt;
    return number;
}

// The numeric keys as written, in the order of the file; read in lower case.
struct NumberKey
{
    QStringView name;
    int EditorSettings::*field;
};
constexpr NumberKey NumberKeys[] = {
    {u"WindowLeft", &EditorSettings::windowLeft},
    {u"WindowTop", &EditorSettings::windowTop},
    {u"WindowWidth", &EditorSettings::windowWidth},
    {u"WindowHeight", &EditorSettings::windowHeight},
    {u"SizerLeft", &EditorSettings::sizerLeft},
    {u"ShowDescriptions", &EditorSettings::showDescriptions},
    {u"OpenLastFileOnStartup", &EditorSettings::openLastFileOnStartup},
    {u"SelectedEntry", &EditorSettings::selectedEntry},
};

// Keys are matched in ASCII lower case, exactly: Unicode case folding would take the
// long s of "ſizerleft" for an "s".
QString asciiLower(QStringView text)
{
    QString lower = text.toString();
    for (QChar &c : lower) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    }
    return lower;
}

int *numberField(EditorSettings &settings, const QString &lowerKey)
{
    for (const NumberKey &key : NumberKeys) {
        if (asciiLower(key.name) == lowerKey)
            return &(settings.*key.field);
    }
    return nullptr;
}

} // namespace

bool readSettingsFile(const QString &path, EditorSettings &settings)
{
    QFile file(path);
    if (!openRegularFile(file))
        return false;
    QByteArray bytes = file.read(MaxSettingsSize + 1);
    if (file.error() != QFileDevice::NoError)
        return false;
    // A file cut short is read up to its last whole line: a cut value would read as another.
    bool complete = bytes.size() <= MaxSettingsSize;
    if (!complete)
        bytes.truncate(std::max(bytes.lastIndexOf('\r', MaxSettingsSize - 1),
                                bytes.lastIndexOf('\n', MaxSettingsSize - 1)) +
                       1);

    const QString text = QString::fromUtf8(bytes);
    // Kept across lines: a line without "=" repeats the previous assignment, which is harmless.
    QString key;
    QString value;
    for (QStringView line : splitLines(text)) {
        if (trimBlanks(line).startsWith(u'['))
            continue;
        splitKeyValue(line, key, value);
        const QString name = asciiLower(key);
        if (name == u"lastopened") {
            settings.lastOpened = value;
        } else if (int *field = numberField(settings, name)) {
            const std::optional<int> number = toShort(value);
            if (number)
                *field = *number;
            else
                complete = false;
        }
    }
    return complete;
}

bool writeSettingsFile(const QString &path, const EditorSettings &settings)
{
    if (QFile::exists(path) && !QFile::remove(path))
        return false;

    const auto line = [](const QString &name, const QString &value) {
        return name + u"= "_s + value + u"\r\n"_s;
    };
    QString text = u"[HMKTSE-Settings]\r\n"_s + line(u"LastOpened"_s, settings.lastOpened);
    // A value beyond 16 bits is written at its nearest end, so it reads back as written.
    for (const NumberKey &key : NumberKeys)
        text += line(key.name.toString(),
                     QString::number(std::clamp(settings.*key.field, -32768, 32767)));
    const QByteArray bytes = text.toUtf8();

    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    if (file.write(bytes) != bytes.size() || !file.flush())
        return false;
    file.close();
    return file.error() == QFileDevice::NoError;
}

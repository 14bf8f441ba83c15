#include "oddfields.h"

#include "fixedfield.h"

namespace OddFields {

namespace {

// content, then fill up to width.
QByteArray field(const QByteArray &content, int width, char fill = '\0')
{
    Q_ASSERT(content.size() <= width);
    return content + QByteArray(width - content.size(), fill);
}

QByteArray highBytes(int first, int count)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += char(first + i);
    return bytes;
}

} // namespace

QByteArray file()
{
    QByteArray bytes("\x02\x08\0\0\0", 5);
    bytes += field("Grass", NameWidth);
    bytes += field("grass_a", EntryWidth);
    bytes += field(QByteArray("\0ghost", 6), EntryWidth, ' '); // never assigned
    bytes += QByteArray(EntryWidth, 'W');
    bytes += field(QByteArray("ab\0", 3) + QByteArray(28, '-'), EntryWidth, 'z');
    bytes += field("\xe9t\xe9", EntryWidth);
    bytes += field("\x80 5", EntryWidth);
    bytes += field(QByteArray(" lead\0junk", 10), EntryWidth);
    bytes += field("\x01\x1f\x7f\tctl", EntryWidth);

    // The five bytes Windows-1252 leaves undefined, then more high bytes, no NUL at all.
    bytes += QByteArray("\x81\x8d\x8f\x90\x9d") + highBytes(0xA0, NameWidth - 5);
    bytes += QByteArray(EntryWidth, '\xff');
    bytes += field("tail space ", EntryWidth);
    bytes += field("x", EntryWidth - 1) + 'z'; // NUL inside, first and last not blank
    bytes += field(QByteArray(EntryWidth - 1, 'L'), EntryWidth);
    bytes += field("\xa0nbsp\xad", EntryWidth);
    bytes += QByteArray(EntryWidth, '\0');
    bytes += field("abc", EntryWidth, ' ');
    bytes += field(QByteArray("\"quote\\\n", 8), EntryWidth);

    bytes += QByteArray("garbage\0\xff", 9);
    return bytes;
}

} // namespace OddFields

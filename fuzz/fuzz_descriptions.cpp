// Any bytes as desc.txt.
#include "descriptionfile.h"
#include "fuzzcheck.h"
#include "windows1252.h"

void fuzzOne(const QByteArray &bytes)
{
    const QStringList texts = readDescriptionFile(scratchFile(QStringLiteral("desc.txt"), bytes));
    CHECK(texts.size() == DescriptionCount);
    // Line k is text k, byte for byte up to its cut: lines end at CR LF, LF or CR, the last
    // one needs none.
    QByteArray lines = QByteArray(bytes).replace("\r\n", "\n").replace('\r', '\n');
    if (lines.endsWith('\n'))
        lines.chop(1);
    const QList<QByteArray> expected = bytes.isEmpty() ? QList<QByteArray>() : lines.split('\n');
    bool ok = false;
    for (qsizetype k = 0; k < texts.size(); ++k)
        CHECK(toWindows1252(texts[k], &ok) == expected.value(k).left(DescriptionLength) && ok);
}

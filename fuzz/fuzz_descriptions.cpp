// Any bytes as desc.txt.
#include "descriptionfile.h"
#include "fuzzcheck.h"
#include "scratchfile.h"
#include "windows1252.h"

#include <QList>

using namespace Qt::StringLiterals;

namespace {

// The lines the reader must see: ended by CR LF, LF or CR, the last one needing no end.
QList<QByteArray> lines(const QByteArray &bytes)
{
    QList<QByteArray> result;
    QByteArray line;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' || bytes[i] == '\n') {
            result.append(line);
            line.clear();
            if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
        } else {
            line += bytes[i];
        }
    }
    if (!line.isEmpty())
        result.append(line);
    return result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QString path = scratchPath(u"desc.txt"_s);
    const QByteArray bytes = fuzzInput(data, size);
    CHECK(writeScratch(path, bytes));

    const QStringList texts = readDescriptionFile(path);
    CHECK(texts.size() == DescriptionCount);
    const QList<QByteArray> expected = lines(bytes);
    for (qsizetype k = 0; k < texts.size(); ++k) {
        const QString &text = texts[k];
        CHECK(!text.contains(u'\r') && !text.contains(u'\n'));
        bool ok = false;
        const QByteArray back = toWindows1252(text, &ok);
        CHECK(ok);
        CHECK(back == (k < expected.size() ? expected[k] : QByteArray()));
    }
    return 0;
}

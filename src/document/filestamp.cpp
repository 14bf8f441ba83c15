#include "filestamp.h"

#include <QFileInfo>

FileStamp FileStamp::of(const QString &path)
{
    const QFileInfo file(path);
    if (!file.exists())
        return {};
    return {file.lastModified().toUTC(), file.size()};
}

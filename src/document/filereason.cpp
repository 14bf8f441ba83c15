#include "filereason.h"

#include <QFileDevice>
#include <QFileInfo>

#if defined(Q_OS_UNIX)
#include <cerrno>
#include <utility>
#endif

using namespace Qt::StringLiterals;

namespace {

constexpr QStringView NoSpace = u"no space left on device";
constexpr QStringView PermissionDenied = u"permission denied";
constexpr QStringView IsFolder = u"is a folder";
constexpr QStringView NotRegular = u"pipes are refused; save it to a file first";

// "Input/output error." reads "input/output error"; "I/O error" stays as it is.
QString systemWords(QString words)
{
    if (words.endsWith(u'.'))
        words.chop(1);
    if (words.size() > 1 && words[1].isLower())
        words[0] = words[0].toLower();
    return words;
}

#if defined(Q_OS_UNIX)
// Qt words a system error from its number alone, so its words tell the number; errno
// itself is long gone by the time a failure is seen.
QString knownSystemReason(const QString &words)
{
    static const std::pair<int, QStringView> known[] = {
        {ENOSPC, NoSpace},
        {EDQUOT, NoSpace},
        {EACCES, PermissionDenied},
        {EPERM, PermissionDenied},
        {EROFS, u"read-only file system"},
    };
    for (const auto &[code, reason] : known) {
        if (words == qt_error_string(code))
            return reason.toString();
    }
    return {};
}
#endif

// A chain of links that never reaches a name without one; the system gives up after 40.
bool isLinkLoop(QFileInfo link)
{
    for (int depth = 0; link.isSymLink(); ++depth) {
        if (depth == 40)
            return true;
        link = QFileInfo(link.symLinkTarget());
    }
    return false;
}

} // namespace

QString unreadablePathReason(const QString &path)
{
    const QFileInfo info(path); // through links: what counts is what would be read
    if (info.isFile())
        return {};
    if (!info.exists())
        return u"no such file"_s;
    return (info.isDir() ? IsFolder : NotRegular).toString();
}

QString unsavablePathReason(const QString &path)
{
    const QFileInfo target(path);
    if (isLinkLoop(target)) // else saved as a new file in the link's place
        return u"too many levels of symbolic links"_s;
    if (!target.exists())
        return QFileInfo(target.absolutePath()).isDir() ? QString() : u"no such folder"_s;
    if (target.isFile())
        return {};
    return (target.isDir() ? IsFolder : NotRegular).toString();
}

QString deviceErrorReason(const QIODevice &device, bool writing)
{
    const QString words = device.errorString();
#if defined(Q_OS_UNIX)
    if (const QString reason = knownSystemReason(words); !reason.isEmpty())
        return reason;
#endif
    // Where the words do not say, the file system does: Qt's own words for a file it will
    // not replace, and every system whose error numbers are not errno's.
    if (const auto *file = qobject_cast<const QFileDevice *>(&device)) {
        if (writing && file->error() == QFileDevice::ResourceError)
            return NoSpace.toString();
        const QFileInfo info(file->fileName());
        const bool allowed = !writing        ? info.isReadable()
                             : info.exists() ? info.isWritable()
                                             : QFileInfo(info.absolutePath()).isWritable();
        if (!allowed)
            return PermissionDenied.toString();
    }
    return systemWords(words);
}

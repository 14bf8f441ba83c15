#include "fileidentity.h"

#include <QFile>
#include <QFileInfo>

#if defined(Q_OS_UNIX)
#include <sys/stat.h>
#include <unistd.h>
#endif
#if defined(Q_OS_LINUX)
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#endif

#if defined(Q_OS_UNIX)
namespace {

constexpr mode_t ModeBits = 07777;

bool isAppendOnlyFolder([[maybe_unused]] const QString &path)
{
#if defined(Q_OS_LINUX)
    const QString folder = QFileInfo(QFileInfo(path).canonicalFilePath()).absolutePath();
    const int handle =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    int flags = 0;
    const bool appendOnly =
        handle >= 0 && ::ioctl(handle, FS_IOC_GETFLAGS, &flags) == 0 && (flags & FS_APPEND_FL) != 0;
    if (handle >= 0)
        ::close(handle);
    return appendOnly;
#else
    return false;
#endif
}

} // namespace

FileIdentity::FileIdentity(const QString &path)
{
    struct stat status = {};
    mExists = ::stat(QFile::encodeName(path).constData(), &status) == 0;
    mReplaceable = !mExists || (status.st_nlink == 1 && !isAppendOnlyFolder(path));
    mOwner = status.st_uid;
    mGroup = status.st_gid;
    mMode = status.st_mode & ModeBits;
}

bool FileIdentity::isReplaceable() const
{
    return mReplaceable;
}

bool FileIdentity::handOwner(int handle) const
{
    struct stat status = {};
    if (!mExists ||
        (::fstat(handle, &status) == 0 && status.st_uid == mOwner && status.st_gid == mGroup))
        return true;
    // Only root gives a file away; others may still change its group to one of their own.
    return ::fchown(handle, mOwner, mGroup) == 0;
}

bool FileIdentity::handMode(int handle) const
{
    if (!mExists)
        return true;
    // Without the right to a bit (setgid for a group one is not in), the system drops it
    // silently: only reading the mode back tells.
    struct stat status = {};
    return ::fchmod(handle, mMode) == 0 && ::fstat(handle, &status) == 0 &&
           (status.st_mode & ModeBits) == mMode;
}

#else

FileIdentity::FileIdentity(const QString &) {}

bool FileIdentity::isReplaceable() const
{
    return true;
}

bool FileIdentity::handOwner(int) const
{
    return true;
}

bool FileIdentity::handMode(int) const
{
    return true;
}

#endif

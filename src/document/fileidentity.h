#pragma once

#include <QString>

#if defined(Q_OS_UNIX)
#include <sys/types.h>
#endif

// What makes a file the same file to its users beyond its bytes: its other names (hard
// links), its owner and group, and all its mode bits, setuid, setgid and sticky included.
// A save through a new file hands these on, or learns that it cannot and writes in place.
// Where the system has none of them, there is nothing to hand on: QSaveFile keeps the
// permissions, and links and owners are not asked.
class FileIdentity
{
public:
    // Of the file that path names, through symbolic links; a missing file has none to keep.
    explicit FileIdentity(const QString &path);

    // False where a new file cannot take the old one's place: it would take only this of
    // the file's names and leave the others the old bytes, or its folder is append-only,
    // where a name once made can never go again, not even that of a new file refused.
    bool isReplaceable() const;
    // Gives the open file handle the old owner and group; false where not permitted.
    bool handOwner(int handle) const;
    // Gives it the old mode bits; false where the system does not keep them all. After the
    // last write, which may clear setuid and setgid.
    bool handMode(int handle) const;

private:
#if defined(Q_OS_UNIX)
    bool mExists = false;
    bool mReplaceable = true;
    uid_t mOwner = 0;
    gid_t mGroup = 0;
    mode_t mMode = 0;
#endif
};

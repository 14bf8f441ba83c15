#include "programfolders.h"

#include "pathutils.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace {

QString firstExisting(std::initializer_list<QString> folders, const QString &name)
{
    for (const QString &folder : folders) {
        if (!folder.isEmpty() && fileExists(programFile(folder, name)))
            return programFile(folder, name);
    }
    return {};
}

QString installedFolder(const QString &program, const char *relative)
{
    const QString folder = QDir::cleanPath(program + u'/' + QString::fromUtf8(relative));
    return QFileInfo(folder).isDir() ? QDir::toNativeSeparators(folder) : QString();
}

} // namespace

ProgramFolders ProgramFolders::ofApplication()
{
    const QString program = QCoreApplication::applicationDirPath();
    // Recovery copies are data, not settings: the per-user data folder.
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return {program, QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation),
            installedFolder(program, HMK_DATA_FROM_BIN), installedFolder(program, HMK_DOC_FROM_BIN),
            data.isEmpty() ? QString() : programFile(data, u"recovery"_s)};
}

ProgramFolders ProgramFolders::portable(const QString &folder)
{
    const QString user = programFile(folder, u"user"_s);
    return {folder, user, {}, {}, programFile(user, u"recovery"_s)};
}

QString ProgramFolders::settingsToRead() const
{
    const QString written = settingsToWrite();
    if (fileExists(written))
        return written;
    // The other one carries the last settings over, as when a copy is first installed.
    return firstExisting({user, program}, u"hmktse.ini"_s);
}

QString ProgramFolders::settingsToWrite() const
{
    const QFileInfo folder(program);
    const bool besideProgram = !isInstalled() && folder.isDir() && folder.isWritable();
    return programFile(besideProgram ? program : user, u"hmktse.ini"_s);
}

QString ProgramFolders::descriptionFile() const
{
    return firstExisting({program, user, data}, u"desc.txt"_s);
}

QString ProgramFolders::readmeFile() const
{
    const QString found = firstExisting({program, doc}, u"readme.txt"_s);
    return found.isEmpty() ? programFile(program, u"readme.txt"_s) : found;
}

QString ProgramFolders::recentFilesStore() const
{
    return programFile(user, u"recent.conf"_s);
}

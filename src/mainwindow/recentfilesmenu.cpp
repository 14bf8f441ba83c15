#include "recentfilesmenu.h"

#include "platformservices.h"

#include <QFileInfo>
#include <QSettings>

using namespace Qt::StringLiterals;

namespace {

constexpr int RecentFileCount = 8;
const QString RecentKey = u"recentFiles"_s;

} // namespace

RecentFilesMenu::RecentFilesMenu(const QString &storePath, PlatformServices &services,
                                 QWidget *parent)
    : QMenu(u"&Recent files"_s, parent)
    , mStorePath(storePath)
    , mServices(services)
{
    setObjectName(u"mnurecent"_s);
    rebuild();
}

QStringList RecentFilesMenu::files() const
{
    return QSettings(mStorePath, QSettings::IniFormat).value(RecentKey).toStringList();
}

void RecentFilesMenu::setFiles(const QStringList &paths)
{
    QSettings store(mStorePath, QSettings::IniFormat);
    store.setValue(RecentKey, paths.mid(0, RecentFileCount));
    store.sync();
    rebuild();
}

void RecentFilesMenu::add(const QString &path)
{
    QStringList paths = files();
    if (paths.value(0) == path)
        return; // saved again: the list and the menu stand as they are
    paths.removeAll(path);
    paths.prepend(path);
    setFiles(paths);
}

void RecentFilesMenu::rebuild()
{
    // The item being triggered may be among them: deleted later, not under its own signal.
    for (QAction *item : actions()) {
        removeAction(item);
        item->setObjectName({}); // no longer found by its name while it waits
        item->deleteLater();
    }
    const QStringList paths = files();
    for (int i = 0; i < paths.size(); ++i) {
        // "&1 path": the number is the item's Alt key, and an "&" of the path stays a letter.
        QString caption = paths[i];
        QAction *item = addAction(u"&%1 "_s.arg(i + 1) + caption.replace(u'&', u"&&"_s));
        item->setObjectName(u"mnurecent%1"_s.arg(i + 1));
        connect(item, &QAction::triggered, this, [this, path = paths[i]] { choose(path); });
    }
    addSeparator()->setObjectName(u"mnurecents"_s);
    QAction *clear = addAction(u"&Clear list"_s, this, [this] { setFiles({}); });
    clear->setObjectName(u"mnurecentclear"_s);
    clear->setEnabled(!paths.isEmpty());
}

void RecentFilesMenu::choose(const QString &path)
{
    if (QFileInfo(path).isFile()) {
        Q_EMIT openRequested(path);
        return;
    }
    QStringList paths = files();
    paths.removeAll(path);
    setFiles(paths);
    mServices.messageBox(
        parentWidget(),
        u"The file %1 no longer exists; it has been removed from the recent files."_s.arg(path),
        u"Recent files"_s, PlatformServices::Buttons::Ok, PlatformServices::Icon::Exclamation);
}

#include "windowfixture.h"

#include "tilesetfiles.h"

#include <QAction>
#include <QTest>

WindowFixture::WindowFixture() = default;

WindowFixture::~WindowFixture()
{
    // Torn down without the shutdown sequence, as a crash would end it.
    mWindow.reset();
}

MainWindow &WindowFixture::start()
{
    mWindow = std::make_unique<MainWindow>(services, mFolder.path());
    return *mWindow;
}

QString WindowFixture::folderPath(const QString &name) const
{
    return mFolder.filePath(name);
}

QString WindowFixture::writeFile(const QString &name, const QByteArray &bytes) const
{
    return TestFiles::write(folderPath(name), bytes);
}

QString WindowFixture::writeNumberedFile(const QString &name, int tilesets, int entries) const
{
    return writeFile(name, TestFiles::fileBytes(TestFiles::numberedTable(tilesets, entries)));
}

bool WindowFixture::trigger(const QString &actionName)
{
    QAction *action = mWindow->findChild<QAction *>(actionName);
    if (!action) {
        qWarning("no action %s", qPrintable(actionName));
        return false;
    }
    if (!action->isEnabled() || !action->isVisible())
        return false;
    action->trigger();
    return true;
}

bool WindowFixture::open(const QString &path)
{
    services.chooseFile(path);
    return trigger(QStringLiteral("mnuopen"));
}

bool WindowFixture::close()
{
    return mWindow->close();
}

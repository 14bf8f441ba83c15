#pragma once

#include "entrytree.h"
#include "mainwindow.h"
#include "scriptedservices.h"
#include "tilesetdocument.h"
#include "tilesetfiles.h"
#include "tilesetlist.h"

#include <QAction>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// A click on a node, as the user makes it; twice is a double-click.
inline void click(QTreeWidget *tree, QTreeWidgetItem *item, bool twice = false)
{
    tree->scrollToItem(item);
    const QPoint centre = tree->visualItemRect(item).center();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, centre);
    if (twice)
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, centre);
}

// The label editor open in the tree; a closed one is hidden at once and deleted later.
inline QLineEdit *labelEditor(QTreeWidget *tree)
{
    for (QLineEdit *line : tree->viewport()->findChildren<QLineEdit *>())
        if (line->isVisible())
            return line;
    return nullptr;
}

// The frame of every window test: a main window started in a fresh program folder with
// scripted services, for each test function; after each, no question the test did not
// answer and no scripted answer left over. Tests drive the window as a user would: trigger a
// menu item by name, answer what it asks.
class WindowTest : public QObject
{
    Q_OBJECT

protected:
    ScriptedServices &services() { return *mServices; }
    // Start-up runs now, so files in the program folder must be there first.
    MainWindow &start() { return start(ProgramFolders::portable(mFolder->path())); }
    MainWindow &start(const ProgramFolders &folders)
    {
        mWindow = std::make_unique<MainWindow>(*mServices, folders);
        return *mWindow;
    }
    MainWindow &window() { return *mWindow; }
    TilesetDocument &document() { return mWindow->document(); }
    const TilesetTable &table() { return document().table(); }
    QString folderPath(const QString &name) const { return mFolder->filePath(name); }
    QString writeFile(const QString &name, const QByteArray &bytes) const
    {
        return TestFiles::write(folderPath(name), bytes);
    }
    QString writeNumberedFile(const QString &name, int tilesets, int entries) const
    {
        return writeFile(name, TestFiles::fileBytes(TestFiles::numberedTable(tilesets, entries)));
    }
    // Runs the item, found by object name; false when the user could not reach it.
    bool trigger(const QString &actionName)
    {
        QAction *item = action(actionName);
        return item && item->isEnabled() && item->isVisible() && (item->trigger(), true);
    }
    bool open(const QString &path) // "Open...", answering the file dialog with path
    {
        mServices->files.append(path);
        return trigger(QStringLiteral("mnuopen"));
    }
    QAction *action(const QString &name) { return window().findChild<QAction *>(name); }
    // The item's caption as the menu shows it, without the "&" of its Alt key.
    QString caption(const QString &name)
    {
        return action(name)->text().replace(QRegularExpression(QStringLiteral("&(.)")),
                                            QStringLiteral("\\1"));
    }
    TilesetList *list() { return window().findChild<TilesetList *>(QStringLiteral("NewList1")); }
    EntryTree *tree() { return window().findChild<EntryTree *>(QStringLiteral("NewList2")); }
    QTreeWidgetItem *nodeOfEntry(int entry) { return tree()->node(tree()->nodeOfEntry(entry)); }

    // Edits a label as a user does: a double-click on its node, the text typed, Enter.
    void editLabel(QTreeWidget *view, QTreeWidgetItem *node, const QString &text)
    {
        click(view, node, true);
        QLineEdit *line = labelEditor(view);
        QVERIFY(line);
        line->setText(text);
        QTest::keyClick(line, Qt::Key_Return); // the delegate commits a moment later
        QTRY_VERIFY(!labelEditor(view));
    }
    // Renames tileset t, and edits entry e of tileset t from the tileset's node and the entry's.
    void rename(int t, const QString &text) { editLabel(list(), list()->node(t + 1), text); }
    void editEntry(int t, int e, const QString &text)
    {
        click(list(), list()->node(t + 1));
        editLabel(tree(), nodeOfEntry(e), text);
    }

private Q_SLOTS:
    void init()
    {
        mFolder = std::make_unique<QTemporaryDir>();
        mServices = std::make_unique<ScriptedServices>();
    }
    void cleanup()
    {
        QCOMPARE(mServices->unexpected, QStringList());
        QVERIFY(mServices->answers.isEmpty() && mServices->inputs.isEmpty() &&
                mServices->files.isEmpty() && mServices->dialogs.isEmpty());
        mWindow.reset(); // torn down without shutdown, as a crash ends it; the rest by init()
    }

private:
    std::unique_ptr<QTemporaryDir> mFolder;
    std::unique_ptr<ScriptedServices> mServices;
    std::unique_ptr<MainWindow> mWindow;
};

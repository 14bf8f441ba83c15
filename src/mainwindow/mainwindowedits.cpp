#include "mainwindow.h"

#include "entrytree.h"
#include "fieldcursor.h"
#include "fieldformat.h"
#include "fileinfodialog.h"
#include "messages.h"
#include "selecttilesetdialog.h"
#include "tableedits.h"
#include "textutils.h"
#include "tilesetdocument.h"
#include "tilesetlist.h"
#include "windows1252.h"

#include <QLocale>

#include <cmath>

using namespace Qt::StringLiterals;

void MainWindow::renameTileset()
{
    const int t = mCursor->place().tileset;
    if (t < 0)
        return;
    // The name as stored, up to its first NUL: a name stored without a terminator is
    // offered whole, padding blanks included, so the editor holds exactly what the field does.
    mTilesetList->editSelectedLabel(fieldText(mDocument->table().tilesetName(t)));
}

void MainWindow::storeTilesetName(int t, const QString &text)
{
    if (t < 0 || t >= mDocument->tilesetCount())
        return;
    const QByteArray bytes = toWindows1252(text);
    TableEdit edit = renameTilesetEdit(mDocument->table(), t, bytes);
    // An unterminated name confirmed as offered gets its terminator: the same bytes, but
    // a change all the same.
    if (edit.isEmpty() && bytes != trimBlanks(mDocument->table().tilesetName(t)))
        mDocument->markModified();
    mDocument->apply(u"rename tileset "_s + tilesetNumber(t), std::move(edit), t, -1);
}

void MainWindow::editEntry()
{
    const int t = mCursor->place().tileset;
    const int entry = mCursor->place().entry;
    if (t < 0 || entry < 0)
        return; // a category node has nothing to edit
    mEntryTree->editSelectedLabel(trimmedFieldText(mDocument->table().entry(entry, t)));
}

void MainWindow::storeEntryText(int entry, const QString &text)
{
    const int t = mCursor->place().tileset;
    if (t < 0 || entry < 0)
        return;
    mDocument->apply(u"edit entry %1 of tileset %2"_s.arg(entryNumber(entry), tilesetNumber(t)),
                     storeEntryEdit(mDocument->table(), entry, t, toWindows1252(text)), t, entry);
}

void MainWindow::goToEntry()
{
    const std::optional<QString> answer =
        mServices.inputBox(this, u"Go to entry"_s, u"Enter number"_s, u"0"_s);
    if (!answer)
        return;
    bool isNumber = false;
    const double value = QLocale::c().toDouble(answer->trimmed(), &isNumber);
    // Halves go to the even neighbour: 2.5 is entry 2, 3.5 is entry 4.
    const int last = std::min(150, mDocument->entryCount() - 1);
    if (isNumber && std::isfinite(value) && value >= 0 && value <= 150 &&
        std::nearbyint(value) <= last) {
        mCursor->moveToEntry(int(std::nearbyint(value)));
        return;
    }
    if (!answer->trimmed().isEmpty())
        mServices.notify(this,
                         u"There is no entry %1: enter a number from 0 to %2."_s.arg(
                             answer->trimmed(), QString::number(last)),
                         u"Go to entry"_s, PlatformServices::Icon::Exclamation);
}

void MainWindow::insertTileset()
{
    const int s = mCursor->place().tileset;
    if (s < 0)
        return;
    if (mDocument->tilesetCount() >= MaximumCount) {
        mServices.notify(this, Messages::tooManyTilesets(u"inserting"),
                         u"Error while inserting tileset"_s, PlatformServices::Icon::Exclamation);
        return;
    }
    mDocument->apply(u"insert tileset "_s + tilesetNumber(s),
                     insertTilesetEdit(mDocument->table(), s), s, -1);
}

void MainWindow::deleteTileset()
{
    const int s = mCursor->place().tileset;
    if (s < 0)
        return;
    if (mDocument->tilesetCount() < 2) {
        mServices.notify(this, u"There must be at least one tileset left!"_s,
                         u"Error while deleting tileset"_s, PlatformServices::Icon::Exclamation);
        return;
    }
    // The tileset that followed the deleted one is selected, or the new last one.
    mDocument->apply(u"delete tileset "_s + tilesetNumber(s),
                     deleteTilesetEdit(mDocument->table(), s), s, -1);
}

void MainWindow::copyTileset()
{
    const int t = mCursor->place().tileset;
    if (t < 0)
        return;
    SelectTilesetDialog dialog(mDocument->table());
    mServices.execDialog(this, dialog);
    const int from = dialog.chosenTileset();
    if (from < 0)
        return;
    TableEdit edit = copyEntriesEdit(mDocument->table(), from, t);
    if (edit.isEmpty())
        mDocument->markModified(); // a copy counts as a change even when nothing differs
    mDocument->apply(u"copy tileset %1 to tileset %2"_s.arg(tilesetNumber(from), tilesetNumber(t)),
                     std::move(edit), t, -1);
}

void MainWindow::importTileset()
{
    const int t = mCursor->place().tileset;
    if (t < 0)
        return;
    if (mServices.messageBox(this,
                             u"The currently selected tileset will be overwritten. Continue?"_s,
                             u"Changes made"_s, PlatformServices::Buttons::OkCancel,
                             PlatformServices::Icon::Question) != PlatformServices::Answer::Ok)
        return;
    const QString path = mServices.fileDialog(
        this, PlatformServices::tilesetFileRequest(PlatformServices::FileRequest::Open,
                                                   u"Import from other file"_s, u"hmkset.dat"_s));
    if (path.isEmpty())
        return;
    // The tileset is chosen while the progress window is still up and the window disabled.
    int chosen = -1;
    const std::optional<TilesetTable> other =
        readFile(path, mDocument->entryCount(), [this, &chosen](const TilesetTable &read) {
            SelectTilesetDialog dialog(read);
            mServices.execDialog(this, dialog);
            chosen = dialog.chosenTileset();
        });
    if (other && chosen >= 0) {
        TableEdit edit = importTilesetEdit(mDocument->table(), *other, chosen, t);
        if (edit.isEmpty())
            mDocument->markModified();
        mDocument->apply(u"import into tileset "_s + tilesetNumber(t), std::move(edit), t, -1);
    }
    // Also after a refusal or a cancelled choice: the node shows the name as stored, up to
    // its NUL and untrimmed.
    mTilesetList->setTilesetLabel(t, fieldText(mDocument->table().tilesetName(t)));
}

void MainWindow::fileInfo()
{
    FileInfoDialog dialog(mDocument->fileTitle(), mDocument->fileFolder(),
                          mDocument->tilesetCount(), mDocument->entryCount());
    mServices.execDialog(this, dialog);
}

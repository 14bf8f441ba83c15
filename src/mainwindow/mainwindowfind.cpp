#include "mainwindow.h"

#include "entrytree.h"
#include "finddialog.h"
#include "textutils.h"
#include "tilesetlist.h"
#include "windows1252.h"

#include <QSet>

using namespace Qt::StringLiterals;

namespace {

QString counted(qsizetype count, const QString &one, const QString &many)
{
    return QString::number(count) + u' ' + (count == 1 ? one : many);
}

} // namespace

void MainWindow::showFindDialog(bool replacing)
{
    if (!mFindDialog) {
        mFindDialog = new FindDialog(this);
        connect(mFindDialog, &FindDialog::findAllRequested, this, &MainWindow::findAll);
        connect(mFindDialog, &FindDialog::replaceAllRequested, this, &MainWindow::replaceAll);
        connect(mFindDialog, &FindDialog::resultActivated, this, &MainWindow::showMatch);
    }
    mFindDialog->showFor(replacing);
}

QString MainWindow::matchRow(const FieldMatch &match) const
{
    const QString tileset =
        TilesetList::numberedLabel(match.tileset, TilesetList::shownName(mDocument, match.tileset));
    if (match.entry < 0)
        return tileset + u" \u00b7 name"_s;
    return tileset + u" \u00b7 "_s + zeroPad(match.entry, 3) + u". "_s +
           fieldText(mDocument.entry(match.entry, match.tileset));
}

void MainWindow::findAll()
{
    if (!mFindDialog || !mDocument.hasTilesets())
        return;
    mFindMatches = findFields(mDocument.tilesets, mFindDialog->options());
    QStringList rows;
    rows.reserve(mFindMatches.size());
    QSet<int> tilesets;
    for (const FieldMatch &match : std::as_const(mFindMatches)) {
        rows.append(matchRow(match));
        tilesets.insert(match.tileset);
    }
    mFindDialog->setResults(rows, mFindMatches.isEmpty()
                                      ? u"No matches"_s
                                      : counted(mFindMatches.size(), u"match"_s, u"matches"_s) +
                                            u" in "_s +
                                            counted(tilesets.size(), u"tileset"_s, u"tilesets"_s));
}

void MainWindow::showMatch(int row)
{
    if (row < 0 || row >= mFindMatches.size())
        return;
    finishLabelEdits();
    const FieldMatch match = mFindMatches[row];
    if (match.tileset >= mDocument.tilesetCount() || match.entry >= mDocument.entryCount())
        return; // found before the document changed shape
    // As a click on the tileset and Go to entry would; the remembered entry stays.
    mTilesetList->selectNode(match.tileset + 1);
    refreshEntryTexts();
    if (match.entry >= 0)
        mEntryTree->selectNode(mEntryTree->entryNode(match.entry));
    mStatusOnName = match.entry < 0;
    updateFieldStatus();
    if (mFindDialog)
        mFindDialog->selectResult(row);
}

void MainWindow::findNext()
{
    if (!mFindDialog || mFindDialog->options().text.isEmpty()) {
        showFindDialog(false);
        return;
    }
    findAll(); // the document may have changed since the last search
    if (mFindMatches.isEmpty())
        return;
    const int entry = mEntryTree->nodeEntry(mEntryTree->selectedNodeIndex());
    const FieldMatch current{mTilesetList->selectedTileset(), mStatusOnName ? -1 : entry};
    const auto next = std::upper_bound(mFindMatches.cbegin(), mFindMatches.cend(), current);
    showMatch(next == mFindMatches.cend() ? 0 : int(next - mFindMatches.cbegin()));
}

void MainWindow::replaceAll()
{
    finishLabelEdits();
    if (!mFindDialog || !mDocument.hasTilesets())
        return;
    const SearchOptions options = mFindDialog->options();
    if (options.text.isEmpty())
        return;
    const QString replacement = mFindDialog->replacement();
    bool encodable = false;
    toWindows1252(replacement, &encodable);
    if (!encodable) {
        showMessage(u"The replacement holds characters a tileset file cannot store; only "
                    u"Windows-1252 characters can be used.",
                    u"Replace all", PlatformServices::Icon::Exclamation);
        return;
    }
    const QList<FieldMatch> matches = findFields(mDocument.tilesets, options);
    FieldReplacement replaced = replaceFields(mDocument.tilesets, matches, options, replacement);
    if (replaced.cutFields > 0 &&
        mServices.messageBox(this,
                             u"%1 would be cut to fit. Replace all the same?"_s.arg(
                                 counted(replaced.cutFields, u"field"_s, u"fields"_s)),
                             u"Replace all"_s, PlatformServices::Buttons::OkCancel,
                             PlatformServices::Icon::Question) != PlatformServices::Answer::Ok)
        return;
    const int changed = replaced.changedFields;
    if (changed > 0) {
        replaced.edit.redo(mDocument.tilesets);
        mDocument.changesMade = true;
        mTilesetList->relabel(mDocument);
        refreshEntryTexts();
        updateFieldStatus();
        recordEdit(u"replace all"_s, std::move(replaced.edit), matches.first().tileset, -1);
    }
    findAll();
    mFindDialog->setSummary(changed > 0 ? u"Replaced "_s + counted(changed, u"field"_s, u"fields"_s)
                                        : u"Nothing to replace"_s);
}

void MainWindow::clearFindResults()
{
    mFindMatches.clear();
    if (mFindDialog)
        mFindDialog->setResults({}, {});
}

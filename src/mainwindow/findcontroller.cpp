#include "findcontroller.h"

#include "clientarea.h"
#include "entrytree.h"
#include "fieldcursor.h"
#include "fieldformat.h"
#include "finddialog.h"
#include "platformservices.h"
#include "textutils.h"
#include "tilesetdocument.h"
#include "tilesetlist.h"
#include "windows1252.h"

#include <QScreen>
#include <QSet>
#include <QWidget>

#include <algorithm>

using namespace Qt::StringLiterals;

FindController::FindController(TilesetDocument *document, PlatformServices &services,
                               FieldCursor *cursor, const ClientArea *trees, QWidget *window)
    : QObject(window)
    , mDocument(document)
    , mServices(services)
    , mCursor(cursor)
    , mTrees(trees)
    , mWindow(window)
{
    // Nothing to search without a document; results shown stay those of the document as
    // it is.
    connect(document, &TilesetDocument::tableReplaced, this, [this] {
        clearResults();
        if (mDialog && !mDocument->isOpen())
            mDialog->hide();
    });
    connect(document, &TilesetDocument::fieldsChanged, this, [this] {
        if (mDialog && mDialog->isVisible() && mSearched)
            findAll();
    });
}

void FindController::showDialog(bool replacing)
{
    if (!mDialog) {
        mDialog = new FindDialog(mWindow);
        connect(mDialog, &FindDialog::findAllRequested, this, &FindController::findAll);
        connect(mDialog, &FindDialog::replaceRequested, this, &FindController::replace);
        connect(mDialog, &FindDialog::replaceAllRequested, this, &FindController::replaceAll);
        connect(mDialog, &FindDialog::resultActivated, this, &FindController::showMatch);
        connect(mDialog, &FindDialog::searchChanged, this, &FindController::clearResults);
        mDialog->showFor(replacing);
        placeDialog();
        return;
    }
    mDialog->showFor(replacing);
}

QString FindController::resultRow(const FieldAddress &match) const
{
    const TilesetTable &table = mDocument->table();
    const QString tileset =
        numberedTilesetText(match.tileset, trimmedFieldText(table.tilesetName(match.tileset)));
    if (match.entry < 0)
        return tileset + u" \u00b7 name"_s;
    return tileset + u" \u00b7 "_s + entryNumber(match.entry) + u". "_s +
           fieldText(table.entry(match.entry, match.tileset));
}

void FindController::findAll()
{
    if (!mDialog || !mDocument->isOpen())
        return;
    mMatches = findFields(mDocument->table(), mDialog->options());
    mSearched = true;
    QStringList rows;
    rows.reserve(mMatches.size());
    QSet<int> tilesets;
    for (const FieldAddress &match : std::as_const(mMatches)) {
        rows.append(resultRow(match));
        tilesets.insert(match.tileset);
    }
    mDialog->setResults(rows, mMatches.isEmpty()
                                  ? u"No matches"_s
                                  : counted(mMatches.size(), u"match"_s, u"matches"_s) + u" in "_s +
                                        counted(tilesets.size(), u"tileset"_s, u"tilesets"_s));
}

void FindController::showMatch(int row)
{
    if (row < 0 || row >= mMatches.size())
        return;
    Q_EMIT aboutToAct();
    const FieldAddress match = mMatches[row];
    if (match.tileset >= mDocument->tilesetCount() || match.entry >= mDocument->entryCount())
        return; // found before the document changed shape
    mCursor->showField(match.tileset, match.entry);
    if (mDialog)
        mDialog->selectResult(row);
}

void FindController::findNext()
{
    if (!mDialog || mDialog->options().text.isEmpty()) {
        showDialog(false);
        return;
    }
    findAll(); // the document may have changed since the last search
    showMatchAfter(mCursor->field());
}

void FindController::showMatchAfter(FieldAddress current)
{
    if (mMatches.isEmpty())
        return;
    const auto next = std::upper_bound(mMatches.cbegin(), mMatches.cend(), current);
    showMatch(next == mMatches.cend() ? 0 : int(next - mMatches.cbegin()));
}

std::optional<QString> FindController::replacementFor(const QString &command)
{
    if (!mDialog || !mDocument->isOpen())
        return std::nullopt;
    if (mDialog->options().text.isEmpty()) {
        mDialog->setSummary(u"Nothing replaced: type the text to find first"_s);
        return std::nullopt;
    }
    const QString replacement = mDialog->replacement();
    bool encodable = false;
    toWindows1252(replacement, &encodable);
    if (!encodable) {
        mServices.messageBox(mWindow,
                             u"The replacement holds characters a tileset file cannot store; "
                             u"only Windows-1252 characters can be used."_s,
                             command, PlatformServices::Buttons::Ok,
                             PlatformServices::Icon::Exclamation);
        mDialog->setSummary(u"Nothing replaced"_s);
        return std::nullopt;
    }
    return replacement;
}

bool FindController::cutAccepted(const FieldReplacement &replaced, const QString &command)
{
    if (mServices.agreesToCut(mWindow, replaced.cutFields, command))
        return true;
    mDialog->setSummary(u"Nothing replaced"_s);
    return false;
}

void FindController::replace()
{
    Q_EMIT aboutToAct();
    const std::optional<QString> replacement = replacementFor(u"Replace"_s);
    if (!replacement)
        return;
    findAll(); // the matches of the document as it is
    const FieldAddress current = mCursor->field();
    if (!std::binary_search(mMatches.cbegin(), mMatches.cend(), current)) {
        showMatchAfter(current); // as editors do: the first press finds
        return;
    }
    FieldReplacement replaced =
        replaceFields(mDocument->table(), {current}, mDialog->options(), *replacement);
    if (!cutAccepted(replaced, u"Replace"_s))
        return;
    if (replaced.changedFields > 0)
        mDocument->apply(u"replace"_s, std::move(replaced.edit), current.tileset, current.entry);
    findAll();
    showMatchAfter(current);
}

void FindController::replaceAll()
{
    Q_EMIT aboutToAct();
    const std::optional<QString> replacement = replacementFor(u"Replace all"_s);
    if (!replacement)
        return;
    const SearchOptions options = mDialog->options();
    const QList<FieldAddress> matches = findFields(mDocument->table(), options);
    FieldReplacement replaced = replaceFields(mDocument->table(), matches, options, *replacement);
    if (!cutAccepted(replaced, u"Replace all"_s))
        return;
    const int changed = replaced.changedFields;
    if (changed > 0)
        mDocument->apply(u"replace all"_s, std::move(replaced.edit), matches.first().tileset, -1);
    findAll();
    mDialog->setSummary(changed > 0 ? u"Replaced "_s + counted(changed, u"field"_s, u"fields"_s)
                                    : u"Nothing to replace"_s);
}

void FindController::clearResults()
{
    mMatches.clear();
    mSearched = false;
    if (mDialog)
        mDialog->setResults({}, {});
}

void FindController::placeDialog()
{
    // Beside the main window rather than over the trees it selects in.
    const QScreen *screen = mWindow->screen();
    if (!screen)
        return;
    mDialog->move(findDialogPosition(mWindow->frameGeometry(), treesGeometry(),
                                     mDialog->frameGeometry().size(), screen->availableGeometry()));
}

QRect FindController::treesGeometry() const
{
    QRect trees;
    for (const QWidget *tree : {static_cast<const QWidget *>(mTrees->tilesetList()),
                                static_cast<const QWidget *>(mTrees->entryTree())})
        trees |= QRect(tree->mapToGlobal(QPoint(0, 0)), tree->size());
    return trees;
}

#include "comparecontroller.h"

#include "entrytree.h"
#include "fieldformat.h"
#include "fieldstatus.h"
#include "pathutils.h"
#include "platformservices.h"
#include "tilesetdocument.h"
#include "tilesetlist.h"

#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QStatusBar>

#include <utility>

using namespace Qt::StringLiterals;

namespace {

constexpr int MaximumTilesets = 255; // the file holds the count in one byte

QString counted(qsizetype count, const QString &one, const QString &many)
{
    return QString::number(count) + u' ' + (count == 1 ? one : many);
}

// Why a file of another entry count is compared only in part, and what a take then does.
QString entryCountNotice(int here, int there)
{
    const int common = std::min(here, there);
    const QString compared =
        common == 1 ? entryNumber(0) : entryNumber(0) + u" to "_s + entryNumber(common - 1);
    return u"The other file has %1 entries per tileset; this file has %2. Only the entries both "
           u"have (%3) are compared and can be taken; this file keeps %2 entries per tileset%4."_s
               .arg(QString::number(there), QString::number(here), compared,
                    there < here
                        ? u", and a tileset inserted from the other file has the rest empty"_s
                        : QString());
}

QString quoted(QByteArrayView field)
{
    return u'"' + fieldText(field) + u'"';
}

// Ordered as the list shows them: a placeholder before the tileset it goes before, a
// tileset's name before its entries.
std::pair<int, int> placeOf(const TilesetDifference &difference)
{
    return {difference.place * 2 + (difference.here < 0 ? 0 : 1), difference.entry};
}

} // namespace

CompareController::CompareController(TilesetDocument *document, PlatformServices &services,
                                     FileReader readFile, TilesetList *tilesets, EntryTree *entries,
                                     const FieldStatus *field, QWidget *window)
    : QObject(window)
    , mDocument(document)
    , mServices(services)
    , mReadFile(std::move(readFile))
    , mTilesets(tilesets)
    , mEntries(entries)
    , mField(field)
    , mWindow(window)
    , mMenu(new QMenu(u"&Compare"_s, window))
    , mCount(new QLabel(window))
{
    mCount->setObjectName(u"compareStatus"_s);
    mCount->setContentsMargins(6, 0, 6, 0); // clear of the window's edge
    mCount->hide();
    mMenu->setObjectName(u"mnucomparemenu"_s);
    const auto add = [this](const QString &name, const QString &caption, auto command,
                            const QKeySequence &shortcut = {}) {
        QAction *item = new QAction(caption, mMenu);
        item->setObjectName(name);
        item->setShortcut(shortcut);
        connect(item, &QAction::triggered, this, &CompareController::aboutToAct);
        connect(item, &QAction::triggered, this, command);
        return item;
    };
    mActions.compare =
        add(u"mnucompare"_s, u"Compare with file..."_s, &CompareController::compareWithFile);
    mActions.merge = add(u"mnumerge"_s, u"Merge from file..."_s, &CompareController::mergeFromFile);
    mActions.next = add(
        u"mnunextdifference"_s, u"Next difference"_s, [this] { step(1); }, Qt::Key_F8);
    mActions.previous = add(
        u"mnupreviousdifference"_s, u"Previous difference"_s, [this] { step(-1); },
        Qt::SHIFT | Qt::Key_F8);
    mActions.take =
        add(u"mnutakeother"_s, u"Take from other file"_s, &CompareController::takeSelected);
    mActions.keepOurs =
        add(u"mnukeepours"_s, u"Keep this file's text"_s, &CompareController::keepSelected);
    mActions.takeAll = add(u"mnutakeall"_s, u"Take all from other file"_s, [this] {
        take(mShown, u"take all from other file"_s, mShown.value(0).place, -1);
    });
    mActions.end = add(u"mnuendcompare"_s, u"End comparison"_s, &CompareController::end);
    mMenu->addActions({mActions.next, mActions.previous});
    mMenu->addSeparator()->setObjectName(u"mnuscompare1"_s);
    mMenu->addActions({mActions.take, mActions.keepOurs, mActions.takeAll});
    mMenu->addSeparator()->setObjectName(u"mnuscompare2"_s);
    mMenu->addAction(mActions.end);

    // Another document is another comparison: the old one ends with it.
    connect(document, &TilesetDocument::tableReplaced, this, [this] {
        end();
        mActions.compare->setEnabled(mDocument->isOpen());
        mActions.merge->setEnabled(mDocument->isOpen());
    });
    showCount();
}

void CompareController::addFileCommands(QMenu *menu)
{
    menu->addActions({mActions.compare, mActions.merge});
    mActions.compare->setEnabled(mDocument->isOpen());
    mActions.merge->setEnabled(mDocument->isOpen());
}

std::optional<TilesetTable> CompareController::askForFile(const QString &title, QString &path)
{
    path = mServices.fileDialog(
        mWindow, PlatformServices::tilesetFileRequest(PlatformServices::FileRequest::Open, title,
                                                      u"hmkset.dat"_s));
    if (path.isEmpty())
        return std::nullopt;
    return mReadFile(path);
}

void CompareController::compareWithFile()
{
    QString path;
    if (!mDocument->isOpen())
        return;
    if (std::optional<TilesetTable> other = askForFile(u"Compare with file"_s, path)) {
        mMerging = false;
        mConflicts.clear();
        const int entries = other->entryCount();
        start(std::move(*other), u"Compared with "_s + path);
        if (entries != mDocument->entryCount())
            mServices.notify(mWindow, entryCountNotice(mDocument->entryCount(), entries),
                             u"Compare with file"_s, PlatformServices::Icon::Exclamation);
    }
}

void CompareController::mergeFromFile()
{
    QString theirsPath;
    QString basePath;
    if (!mDocument->isOpen())
        return;
    const TilesetTable &ours = mDocument->table();
    const auto refuse = [this](const QString &text) {
        mServices.notify(mWindow, text, u"Merge from file"_s, PlatformServices::Icon::Exclamation);
    };
    // Asked at once, so that no ancestor is asked for a file that cannot be merged.
    const auto sameEntries = [&](const std::optional<TilesetTable> &file, const QString &which) {
        if (!file || file->entryCount() == ours.entryCount())
            return file.has_value();
        refuse(u"%1 has %2 entries per tileset; this file has %3. Only files with the same "
               u"number of entries can be merged; nothing was merged."_s.arg(
                   which, QString::number(file->entryCount()), QString::number(ours.entryCount())));
        return false;
    };
    std::optional<TilesetTable> theirs = askForFile(u"Merge from file"_s, theirsPath);
    if (!sameEntries(theirs, u"The other file"_s))
        return;
    std::optional<TilesetTable> base = askForFile(u"Common ancestor of both files"_s, basePath);
    if (!sameEntries(base, u"The common ancestor"_s))
        return;
    TilesetMerge merge = mergeTilesets(*base, ours, *theirs);
    const int count = merge.merged.tilesetCount();
    if (count < 1 || count > MaximumTilesets) {
        refuse(u"The merge would hold %1 tilesets, and a tileset file holds 1 to 255; nothing "
               u"was merged."_s.arg(count));
        return;
    }
    // Every clean change in one step; the conflicts keep the document's fields.
    const QList<TilesetDifference> changes = compareTilesets(ours, merge.merged);
    mDocument->apply(u"merge from other file"_s, takeDifferencesEdit(ours, merge.merged, changes),
                     changes.isEmpty() ? mTilesets->currentTileset() : changes.first().place, -1);
    mMerging = true;
    mConflicts = std::move(merge.conflicts);
    start(std::move(*theirs), u"Merged from %1\nCommon ancestor: %2"_s.arg(theirsPath, basePath));
    // The count of conflicts reads as the status bar's count does.
    showMessage(u"Merged "_s + counted(changes.size(), u"change"_s, u"changes"_s) + u"; "_s +
                    (mShown.isEmpty() ? u"no conflicts"_s : mCount->text() + u" left"_s),
                10000);
}

void CompareController::start(TilesetTable other, const QString &description)
{
    mOther = std::move(other);
    mActive = true;
    mKept.clear();
    ++mRun;
    mCount->setToolTip(description);
    markTilesets();
    markEntries();
}

void CompareController::end()
{
    if (!mActive)
        return;
    mActive = false;
    mMerging = false;
    mOther = {};
    mConflicts.clear();
    mKept.clear();
    ++mRun;
    markTilesets();
    markEntries();
}

void CompareController::markTilesets()
{
    // Without a comparison every change would otherwise unmark every node again.
    if (!mActive && !mTilesetsMarked)
        return;
    mTilesetsMarked = mActive;
    // A placeholder that was selected stays so while it is there; gone, its place is shown.
    const int placeholder = mTilesets->currentPlaceholder();
    int placeholderPlace = 0;
    for (const TilesetDifference &difference : std::as_const(mShown)) {
        if (difference.here < 0 && difference.there == placeholder)
            placeholderPlace = difference.place;
    }
    mShown.clear();
    mShownConflicts.clear();
    if (mActive && mDocument->isOpen()) {
        const QList<TilesetDifference> differences = compareTilesets(mDocument->table(), mOther);
        if (mMerging) {
            for (const OpenConflict &open :
                 openConflicts(mDocument->table(), differences, mConflicts)) {
                if (mKept.contains(open.conflict))
                    continue;
                mShown.append(open.difference);
                mShownConflicts.append(open.conflict);
            }
        } else {
            mShown = differences;
        }
    }
    mTilesets->removePlaceholders();
    // In a merge every mark is a conflict.
    const auto kind = [this](NodeMark::Kind compared) {
        return mMerging ? NodeMark::Conflict : compared;
    };
    QList<NodeMark> marks(mActive ? mDocument->tilesetCount() : 0);
    QList<int> fields(marks.size());
    bool placeholderKept = false;
    for (const TilesetDifference &difference : std::as_const(mShown)) {
        if (difference.here < 0) {
            const QString name = trimmedFieldText(mOther.tilesetName(difference.there));
            mTilesets->addPlaceholder(
                difference.place, difference.there, u"+ "_s + name + u" (other file)"_s,
                {kind(NodeMark::OnlyThere),
                 u"Only in the other file, its tileset %1: Take from other file inserts it "
                 u"here"_s.arg(tilesetNumber(difference.there))});
            placeholderKept = placeholderKept || difference.there == placeholder;
        } else if (difference.there < 0) {
            marks[difference.here] = {kind(NodeMark::OnlyHere),
                                      u"Only in this file: Take from other file deletes it"_s};
        } else {
            const int count = ++fields[difference.here];
            marks[difference.here] = {
                kind(NodeMark::Differs),
                (mMerging ? counted(count, u"conflict"_s, u"conflicts"_s)
                          : counted(count, u"field differs"_s, u"fields differ"_s)) +
                    u" from the other file's tileset "_s + tilesetNumber(difference.there)};
        }
    }
    mTilesets->setMarks(marks);
    showCount();
    if (placeholderKept)
        mTilesets->selectPlaceholder(placeholder);
    else if (placeholder >= 0 && mDocument->isOpen())
        Q_EMIT differenceChosen(std::min(placeholderPlace, mDocument->tilesetCount() - 1), -1);
}

NodeMark CompareController::entryMark(const TilesetDifference &difference, qsizetype conflict) const
{
    const QString theirs = quoted(mOther.entry(difference.entry, difference.there));
    if (conflict < 0)
        return {NodeMark::Differs, u"Other file: "_s + theirs};
    return {NodeMark::Conflict, u"Conflict. Other file: %1; common ancestor: %2"_s.arg(
                                    theirs, quoted(mConflicts[conflict].base))};
}

void CompareController::markEntries()
{
    if (!mActive && !mEntriesMarked)
        return;
    mEntriesMarked = mActive;
    QList<NodeMark> marks;
    const int placeholder = mActive ? mTilesets->currentPlaceholder() : -1;
    if (placeholder >= 0) {
        // The other file's entries, to see what Take would insert; they cannot be edited,
        // as the placeholder stands for no tileset here.
        mEntries->showTileset(mOther, placeholder);
        marks.fill({NodeMark::OnlyThere, u"Only in the other file"_s}, mOther.entryCount());
    } else if (mActive) {
        const int tileset = mTilesets->currentTileset();
        marks.resize(mDocument->entryCount());
        for (qsizetype k = 0; k < mShown.size(); ++k) {
            const TilesetDifference &difference = mShown[k];
            if (difference.here == tileset && !difference.isWholeTileset() && difference.entry >= 0)
                marks[difference.entry] = entryMark(difference, mShownConflicts.value(k, -1));
        }
    }
    mEntries->setMarks(marks);
}

void CompareController::showCount()
{
    mCount->setVisible(mActive);
    if (mMerging)
        mCount->setText(mShown.isEmpty() ? u"No conflicts left"_s
                                         : counted(mShown.size(), u"conflict"_s, u"conflicts"_s));
    else
        mCount->setText(mShown.isEmpty()
                            ? u"No differences"_s
                            : counted(mShown.size(), u"difference"_s, u"differences"_s));
    for (QAction *command : {mActions.next, mActions.previous, mActions.take, mActions.takeAll})
        command->setEnabled(mActive && !mShown.isEmpty());
    mActions.keepOurs->setEnabled(mActive && mMerging && !mShown.isEmpty());
    mActions.end->setEnabled(mActive);
}

void CompareController::showMessage(const QString &text, int milliseconds)
{
    if (auto *window = qobject_cast<QMainWindow *>(mWindow))
        window->statusBar()->showMessage(text, milliseconds);
}

void CompareController::step(int direction)
{
    if (mShown.isEmpty())
        return;
    const int placeholder = mTilesets->currentPlaceholder();
    std::pair<int, int> here{mTilesets->currentTileset() * 2 + 1, mField->currentField().entry};
    for (const TilesetDifference &difference : std::as_const(mShown)) {
        if (placeholder >= 0 && difference.there == placeholder && difference.here < 0)
            here = placeOf(difference);
    }
    const TilesetDifference *chosen = nullptr;
    if (direction > 0) {
        const auto next = std::find_if(mShown.cbegin(), mShown.cend(),
                                       [here](const auto &d) { return placeOf(d) > here; });
        chosen = next == mShown.cend() ? &mShown.first() : &*next;
    } else {
        const auto previous = std::find_if(mShown.crbegin(), mShown.crend(),
                                           [here](const auto &d) { return placeOf(d) < here; });
        chosen = previous == mShown.crend() ? &mShown.last() : &*previous;
    }
    if (chosen->here < 0)
        mTilesets->selectPlaceholder(chosen->there);
    Q_EMIT differenceChosen(chosen->here, chosen->isWholeTileset() ? -1 : chosen->entry);
}

QList<TilesetDifference> CompareController::selectedDifferences(QString &caption, int &tileset,
                                                                int &entry,
                                                                QList<qsizetype> *conflicts) const
{
    // A placeholder: its tileset. An entry: that entry. A tileset's name or a category:
    // the whole tileset.
    const int placeholder = mTilesets->currentPlaceholder();
    const FieldMatch field = mField->currentField();
    QList<TilesetDifference> chosen;
    for (qsizetype k = 0; k < mShown.size(); ++k) {
        const TilesetDifference &difference = mShown[k];
        if (placeholder >= 0 ? difference.here < 0 && difference.there == placeholder
                             : difference.here == field.tileset &&
                                   (field.entry < 0 || difference.entry == field.entry)) {
            chosen.append(difference);
            if (conflicts)
                conflicts->append(mShownConflicts.value(k, -1));
        }
    }
    if (chosen.isEmpty())
        return chosen;
    tileset = chosen.first().place;
    entry = placeholder < 0 ? field.entry : -1;
    if (placeholder >= 0)
        caption = u"insert tileset %1 from other file"_s.arg(tilesetNumber(tileset));
    else if (entry >= 0)
        caption = u"take entry %1 of tileset %2 from other file"_s.arg(entryNumber(entry),
                                                                       tilesetNumber(tileset));
    else
        caption = u"take tileset %1 from other file"_s.arg(tilesetNumber(tileset));
    return chosen;
}

void CompareController::takeSelected()
{
    QString caption;
    int tileset = -1;
    int entry = -1;
    const QList<TilesetDifference> chosen = selectedDifferences(caption, tileset, entry);
    if (chosen.isEmpty()) {
        showMessage(mMerging ? u"Nothing to take here: no conflict is marked"_s
                             : u"Nothing to take here: it is the same in the other file"_s,
                    5000);
        return;
    }
    take(chosen, caption, tileset, entry);
}

void CompareController::keepSelected()
{
    QString caption;
    int tileset = -1;
    int entry = -1;
    QList<qsizetype> conflicts;
    const QList<TilesetDifference> chosen =
        selectedDifferences(caption, tileset, entry, &conflicts);
    if (!mMerging || chosen.isEmpty()) {
        showMessage(u"Nothing to keep here: no conflict is marked"_s, 5000);
        return;
    }
    const int placeholder = chosen.first().here < 0 ? chosen.first().there : -1;
    if (placeholder >= 0)
        caption =
            u"keep this file without tileset %1 of other file"_s.arg(tilesetNumber(placeholder));
    else if (entry >= 0)
        caption = u"keep this file's entry %1 of tileset %2"_s.arg(entryNumber(entry),
                                                                   tilesetNumber(tileset));
    else
        caption = u"keep this file's tileset %1"_s.arg(tilesetNumber(tileset));
    // A step of the document's own history, so that Undo and Redo meet it in order with
    // the edits; once its merge has ended it decides nothing.
    const int run = mRun;
    mDocument->applyDecision(caption, [=, this](bool kept) {
        if (run == mRun)
            keep(conflicts, kept, tileset, entry, placeholder);
    });
}

void CompareController::keep(const QList<qsizetype> &conflicts, bool kept, int tileset, int entry,
                             int placeholder)
{
    for (qsizetype conflict : conflicts) {
        if (kept)
            mKept.insert(conflict);
        else
            mKept.remove(conflict);
    }
    markTilesets();
    // The placeholder of a tileset kept out is gone; undone, it stands there again.
    if (placeholder >= 0 && !kept) {
        mTilesets->selectPlaceholder(placeholder);
        Q_EMIT differenceChosen(-1, -1);
    } else {
        Q_EMIT differenceChosen(std::min(tileset, mDocument->tilesetCount() - 1), entry);
    }
}

void CompareController::take(const QList<TilesetDifference> &differences, const QString &caption,
                             int tileset, int entry)
{
    if (!mActive || differences.isEmpty())
        return;
    const TilesetTable &table = mDocument->table();
    const int inserted = int(std::count_if(differences.cbegin(), differences.cend(),
                                           [](const auto &d) { return d.here < 0; }));
    const int deleted = int(std::count_if(differences.cbegin(), differences.cend(),
                                          [](const auto &d) { return d.there < 0; }));
    if (table.tilesetCount() + inserted - deleted > MaximumTilesets) {
        mServices.notify(mWindow,
                         u"A tileset file holds at most 255 tilesets; delete one before "
                         u"taking another."_s,
                         u"Take from other file"_s, PlatformServices::Icon::Exclamation);
        return;
    }
    if (table.tilesetCount() + inserted - deleted < 1) {
        mServices.notify(mWindow, u"There must be at least one tileset left!"_s,
                         u"Take from other file"_s, PlatformServices::Icon::Exclamation);
        return;
    }
    mDocument->apply(caption, takeDifferencesEdit(table, mOther, differences), tileset, entry);
}

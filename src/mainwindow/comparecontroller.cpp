#include "comparecontroller.h"

#include "comparisonstate.h"
#include "fieldcursor.h"
#include "fieldformat.h"
#include "messages.h"
#include "platformservices.h"
#include "textutils.h"
#include "tilesetdocument.h"

#include <QLabel>
#include <QMenu>

#include <utility>

using namespace Qt::StringLiterals;

namespace {

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

} // namespace

CompareController::CompareController(TilesetDocument *document, ComparisonState *comparison,
                                     const FieldCursor *cursor, PlatformServices &services,
                                     FileReader readFile, QWidget *window)
    : QObject(window)
    , mDocument(document)
    , mComparison(comparison)
    , mCursor(cursor)
    , mServices(services)
    , mReadFile(std::move(readFile))
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
        add(u"mnucompare"_s, u"Co&mpare with file..."_s, &CompareController::compareWithFile);
    mActions.merge =
        add(u"mnumerge"_s, u"Mer&ge from file..."_s, &CompareController::mergeFromFile);
    mActions.next = add(
        u"mnunextdifference"_s, u"&Next difference"_s, [this] { mComparison->step(1); },
        Qt::Key_F8);
    mActions.previous = add(
        u"mnupreviousdifference"_s, u"&Previous difference"_s, [this] { mComparison->step(-1); },
        Qt::SHIFT | Qt::Key_F8);
    mActions.take = add(u"mnutakeother"_s, u"&Take from other file"_s, &CompareController::takeHere,
                        Qt::CTRL | Qt::Key_T);
    mActions.keepOurs = add(u"mnukeepours"_s, u"&Keep this file's text"_s,
                            &CompareController::keepHere, Qt::CTRL | Qt::Key_K);
    mActions.takeAll =
        add(u"mnutakeall"_s, u"Take &all from other file"_s, &CompareController::takeAll);
    mActions.end = add(u"mnuendcompare"_s, u"&End comparison"_s, [this] { mComparison->end(); });
    mMenu->addActions({mActions.next, mActions.previous});
    mMenu->addSeparator()->setObjectName(u"mnuscompare1"_s);
    mMenu->addActions({mActions.take, mActions.keepOurs, mActions.takeAll});
    mMenu->addSeparator()->setObjectName(u"mnuscompare2"_s);
    mMenu->addAction(mActions.end);

    connect(comparison, &ComparisonState::marksChanged, this, &CompareController::showCount);
    connect(document, &TilesetDocument::tableReplaced, this, [this] {
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
        const int entries = other->entryCount();
        mCount->setToolTip(u"Compared with "_s + path);
        mComparison->compare(std::move(*other));
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
    if (count < 1 || count > MaximumCount) {
        refuse(u"The merge would hold %1 tilesets, and a tileset file holds 1 to %2; nothing "
               u"was merged."_s.arg(count)
                   .arg(MaximumCount));
        return;
    }
    // Every clean change in one step; the conflicts keep the document's fields.
    const QList<TilesetDifference> changes = compareTilesets(ours, merge.merged);
    mDocument->apply(u"merge from other file"_s, takeDifferencesEdit(ours, merge.merged, changes),
                     changes.isEmpty() ? mCursor->place().tileset : changes.first().place, -1);
    mCount->setToolTip(u"Merged from %1\nCommon ancestor: %2"_s.arg(theirsPath, basePath));
    mComparison->merge(std::move(*theirs), std::move(merge.conflicts));
    // The count of conflicts reads as the status bar's count does.
    Q_EMIT message(
        u"Merged "_s + counted(changes.size(), u"change"_s, u"changes"_s) + u"; "_s +
            (mComparison->shown().isEmpty() ? u"no conflicts"_s : mCount->text() + u" left"_s),
        10000);
}

void CompareController::showCount()
{
    const bool active = mComparison->mode() != ComparisonState::Off;
    const bool shown = active && !mComparison->shown().isEmpty();
    mCount->setVisible(active);
    mCount->setText(mComparison->countText());
    for (QAction *command : {mActions.next, mActions.previous, mActions.take, mActions.takeAll})
        command->setEnabled(shown);
    mActions.keepOurs->setEnabled(shown && mComparison->mode() == ComparisonState::Merging);
    mActions.end->setEnabled(active);
}

void CompareController::takeHere()
{
    const ComparisonTake here = mComparison->takeAt(mCursor->place());
    if (here.differences.isEmpty()) {
        Q_EMIT message(mComparison->mode() == ComparisonState::Merging
                           ? u"Nothing to take here: no conflict is marked"_s
                           : u"Nothing to take here: it is the same in the other file"_s,
                       5000);
        return;
    }
    take(here);
}

void CompareController::takeAll()
{
    // Three keys from the menu bar could otherwise overwrite a whole file unasked.
    const ComparisonTake all = mComparison->takeAll();
    const int count = int(all.differences.size());
    const bool merging = mComparison->mode() == ComparisonState::Merging;
    const QString what =
        count == 1 ? (merging ? u"the 1 conflict"_s : u"the 1 difference"_s)
                   : u"all %1 %2"_s.arg(count).arg(merging ? u"conflicts"_s : u"differences"_s);
    if (count == 0 ||
        mServices.messageBox(mWindow, u"Take %1 from the other file?"_s.arg(what),
                             u"Take all from other file"_s, PlatformServices::Buttons::OkCancel,
                             PlatformServices::Icon::Question) != PlatformServices::Answer::Ok)
        return;
    take(all);
}

void CompareController::keepHere()
{
    const ComparisonTake here = mComparison->takeAt(mCursor->place());
    if (mComparison->mode() != ComparisonState::Merging || here.differences.isEmpty()) {
        Q_EMIT message(u"Nothing to keep here: no conflict is marked"_s, 5000);
        return;
    }
    // A step of the document's own history, so that Undo and Redo meet it in order with
    // the edits; once its merge has ended it decides nothing.
    ComparisonState *comparison = mComparison;
    mDocument->applyDecision(here.keepCaption,
                             [comparison, here](bool kept) { comparison->keep(here, kept); });
}

void CompareController::take(const ComparisonTake &take)
{
    const QList<TilesetDifference> &differences = take.differences;
    if (mComparison->mode() == ComparisonState::Off || differences.isEmpty())
        return;
    const TilesetTable &table = mDocument->table();
    const int inserted = int(std::count_if(differences.cbegin(), differences.cend(),
                                           [](const auto &d) { return d.here < 0; }));
    const int deleted = int(std::count_if(differences.cbegin(), differences.cend(),
                                          [](const auto &d) { return d.there < 0; }));
    if (table.tilesetCount() + inserted - deleted > MaximumCount) {
        mServices.notify(mWindow, Messages::tooManyTilesets(u"taking"), u"Take from other file"_s,
                         PlatformServices::Icon::Exclamation);
        return;
    }
    if (table.tilesetCount() + inserted - deleted < 1) {
        mServices.notify(mWindow, u"There must be at least one tileset left!"_s,
                         u"Take from other file"_s, PlatformServices::Icon::Exclamation);
        return;
    }
    mDocument->apply(take.caption, takeDifferencesEdit(table, mComparison->other(), differences),
                     take.tileset, take.entry);
}

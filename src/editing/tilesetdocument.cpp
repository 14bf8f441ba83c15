#include "tilesetdocument.h"

#include "decisioncommand.h"
#include "pathutils.h"
#include "tableeditcommand.h"

#include <QUndoStack>

#include <algorithm>
#include <utility>

using namespace Qt::StringLiterals;

TilesetDocument::TilesetDocument(QObject *parent)
    : QObject(parent)
    , mUndoStack(new QUndoStack(this))
{
    connect(mUndoStack, &QUndoStack::cleanChanged, this, &TilesetDocument::updateModified);
    connect(mUndoStack, &QUndoStack::indexChanged, this, &TilesetDocument::followSavedStep);
}

QString TilesetDocument::fileTitle() const
{
    return isUntitled() ? u"untitled"_s : fileTitleOf(mFilePath);
}

QString TilesetDocument::fileFolder() const
{
    if (isUntitled())
        return u"n/a"_s;
    return mFolderWithSeparator ? mFilePath.chopped(fileTitleOf(mFilePath).size())
                                : folderOf(mFilePath);
}

void TilesetDocument::open(TilesetTable table, const QString &filePath, const FileStamp &stamp)
{
    mTable = std::move(table);
    mFileStamp = stamp;
    mUndoStack->clear();
    mChangedOutsideHistory = false;
    mFolderWithSeparator = false;
    if (mFilePath != filePath) {
        mFilePath = filePath;
        Q_EMIT filePathChanged(mFilePath);
    }
    Q_EMIT tableReplaced();
    Q_EMIT fileStampChanged();
    updateModified();
}

void TilesetDocument::close()
{
    open({}, {});
}

void TilesetDocument::markSaved(const FileStamp &stamp)
{
    mFileStamp = stamp;
    mChangedOutsideHistory = false;
    mUndoStack->setClean();
    updateModified();
    Q_EMIT saved();
    Q_EMIT fileStampChanged();
}

void TilesetDocument::markSavedAs(const QString &filePath, const FileStamp &stamp)
{
    mFolderWithSeparator = true;
    if (mFilePath != filePath) {
        mFilePath = filePath;
        Q_EMIT filePathChanged(mFilePath);
    }
    markSaved(stamp);
}

void TilesetDocument::markModified()
{
    mChangedOutsideHistory = true;
    updateModified();
}

void TilesetDocument::markModified(const FileStamp &fileNow)
{
    markModified();
    mFileStamp = fileNow;
    Q_EMIT fileStampChanged();
}

void TilesetDocument::apply(const QString &caption, TableEdit edit, int tileset, int entry)
{
    if (edit.isEmpty())
        return;
    mUndoStack->push(new TableEditCommand(this, caption, std::move(edit), tileset, entry));
}

void TilesetDocument::applyDecision(const QString &caption,
                                    std::function<void(bool decided)> decide)
{
    mUndoStack->push(new DecisionCommand(caption, std::move(decide)));
}

void TilesetDocument::followSavedStep(int index)
{
    const int from = std::exchange(mHistoryIndex, index);
    if (from == index || mUndoStack->cleanIndex() != from)
        return;
    for (int k = std::min(from, index); k < std::max(from, index); ++k) {
        if (!dynamic_cast<const DecisionCommand *>(mUndoStack->command(k)))
            return;
    }
    mUndoStack->setClean();
}

void TilesetDocument::applyEdit(const TableEdit &edit, Direction direction, int tileset, int entry)
{
    if (direction == Undo)
        edit.undo(mTable);
    else
        edit.redo(mTable);
    Q_EMIT fieldsChanged(std::min(tileset, tilesetCount() - 1), entry, edit.changesTilesetCount());
}

void TilesetDocument::updateModified()
{
    // An untitled document has no file that could hold it.
    const bool modified =
        isOpen() && (isUntitled() || mChangedOutsideHistory || !mUndoStack->isClean());
    if (modified == mModified)
        return;
    mModified = modified;
    Q_EMIT modifiedChanged(mModified);
}

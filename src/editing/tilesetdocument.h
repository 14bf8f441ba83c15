#pragma once

#include "filestamp.h"
#include "tableedit.h"
#include "tilesettable.h"

#include <QObject>
#include <QString>

#include <functional>

class QUndoStack;

// The one tileset file the editor has open: its table, the file it belongs to, the undo
// history and whether it holds changes the file does not. Every change of its bytes goes
// through apply() as one undo step; views follow its signals.
class TilesetDocument : public QObject
{
    Q_OBJECT

public:
    explicit TilesetDocument(QObject *parent = nullptr);

    // False until a file is opened or New is confirmed, and again after Close.
    bool isOpen() const { return !mTable.isNull(); }
    const TilesetTable &table() const { return mTable; }
    int tilesetCount() const { return mTable.tilesetCount(); }
    int entryCount() const { return mTable.entryCount(); }

    // Empty for a document never saved.
    const QString &filePath() const { return mFilePath; }
    bool isUntitled() const { return mFilePath.isEmpty(); }
    // As File info shows them: "untitled" and "n/a" for a document never saved.
    QString fileTitle() const;
    QString fileFolder() const;
    // The file as it was read or last saved; null for a document never saved.
    const FileStamp &fileStamp() const { return mFileStamp; }

    // True when the file may not hold what the document does.
    bool isModified() const { return mModified; }
    QUndoStack *undoStack() const { return mUndoStack; }

    // Open and New: the table of filePath, or of a new document when it is empty, with an
    // empty history. stamp: the file as it was before it was read.
    void open(TilesetTable table, const QString &filePath, const FileStamp &stamp = {});
    void close();
    // Every byte is in the file now, which is as stamp says: the history's current step is
    // the saved one.
    void markSaved(const FileStamp &stamp);
    // The same after Save as: from now on the document is that file's. Its folder keeps the
    // separator.
    void markSavedAs(const QString &filePath, const FileStamp &stamp);
    // A change the history cannot know of: a name confirmed unchanged that gains its
    // terminator, or the file changed by another program.
    void markModified();
    // The same after a failed save that may have touched the file, which is now as
    // fileNow says.
    void markModified(const FileStamp &fileNow);

    // Pushes edit as one undo step named caption and applies it; an empty edit is no step.
    void apply(const QString &caption, TableEdit edit, int tileset, int entry);
    // Pushes a step that changes no byte and runs decide(true); undo runs decide(false).
    // Moving across such steps alone from the saved step leaves the document saved.
    void applyDecision(const QString &caption, std::function<void(bool decided)> decide);

Q_SIGNALS:
    void tableReplaced(); // opened, created or closed
    // A step applied, undone or redone; tileset and entry (-1: the name) are what it concerns.
    void fieldsChanged(int tileset, int entry, bool tilesetCountChanged);
    void modifiedChanged(bool modified);
    void filePathChanged(const QString &filePath);
    void saved();
    // Opened, created, closed, saved, or its file touched by a failed save: what the file
    // on disk should be from now on.
    void fileStampChanged();

private:
    friend class TableEditCommand;
    enum Direction
    {
        Undo,
        Redo
    };
    void applyEdit(const TableEdit &edit, Direction direction, int tileset, int entry);
    void followSavedStep(int index);
    void updateModified();

    TilesetTable mTable;
    QString mFilePath;
    FileStamp mFileStamp;
    bool mFolderWithSeparator = false;
    QUndoStack *mUndoStack;
    bool mChangedOutsideHistory = false;
    bool mModified = false;
    int mHistoryIndex = 0; // where the history stood before its last move
};

#pragma once

#include "comparemark.h"
#include "tilesetmerge.h"

#include <QObject>
#include <QSet>

#include <functional>
#include <optional>

class EntryTree;
class FieldStatus;
class PlatformServices;
class QAction;
class QLabel;
class QMenu;
class QWidget;
class TilesetDocument;
class TilesetList;

// The open document beside another tileset file, which is read and never written: the
// differences marked in the trees and counted in the status bar, stepping through them,
// taking them from the other file, and a merge from it, whose conflicts stay marked until
// each is decided: taken, edited or kept as this file has it. Every change, and every
// conflict kept, goes to the document as one undo step; the marks follow the document as
// it is, after every change, undo and redo. Open, New and Close end it.
class CompareController : public QObject
{
    Q_OBJECT

public:
    // Reads a tileset file as Open does, telling the user why it cannot.
    using FileReader = std::function<std::optional<TilesetTable>(const QString &path)>;

    CompareController(TilesetDocument *document, PlatformServices &services, FileReader readFile,
                      TilesetList *tilesets, EntryTree *entries, const FieldStatus *field,
                      QWidget *window);

    // "Compare with file..." and "Merge from file..." at the end of menu; the Compare menu
    // with the rest; the status bar's count.
    void addFileCommands(QMenu *menu);
    QMenu *menu() const { return mMenu; }
    QLabel *countLabel() const { return mCount; }

    // After the tileset list is built or relabelled: the differences found again, the
    // tilesets and placeholders marked. After the entry tree shows the selected tileset:
    // its entries marked, or the other file's entries a placeholder stands for shown.
    void markTilesets();
    void markEntries();

Q_SIGNALS:
    // Before a command acts: an open label edit is stored first.
    void aboutToAct();
    // Show that field, as a click on its tileset and Go to entry would; the selected
    // placeholder is meant when tileset is -1.
    void differenceChosen(int tileset, int entry);

private:
    void compareWithFile();
    void mergeFromFile();
    // The file chosen in a file dialog of that title, and its path.
    std::optional<TilesetTable> askForFile(const QString &title, QString &path);
    void start(TilesetTable other, const QString &description);
    void end();
    void step(int direction);
    void takeSelected();
    void keepSelected();
    // The conflicts kept as this document has them, or open again, and their field shown.
    void keep(const QList<qsizetype> &conflicts, bool kept, int tileset, int entry,
              int placeholder);
    void take(const QList<TilesetDifference> &differences, const QString &caption, int tileset,
              int entry);
    QList<TilesetDifference> selectedDifferences(QString &caption, int &tileset, int &entry,
                                                 QList<qsizetype> *conflicts = nullptr) const;
    NodeMark entryMark(const TilesetDifference &difference, qsizetype conflict) const;
    void showCount();
    void showMessage(const QString &text, int milliseconds);

    TilesetDocument *mDocument;
    PlatformServices &mServices;
    FileReader mReadFile;
    TilesetList *mTilesets;
    EntryTree *mEntries;
    const FieldStatus *mField;
    QWidget *mWindow;
    QMenu *mMenu;
    QLabel *mCount;
    struct Actions
    {
        QAction *compare;
        QAction *merge;
        QAction *next;
        QAction *previous;
        QAction *take;
        QAction *keepOurs;
        QAction *takeAll;
        QAction *end;
    } mActions{};

    bool mActive = false;
    bool mTilesetsMarked = false; // marks or placeholders may be on the list
    bool mEntriesMarked = false;
    TilesetTable mOther;
    bool mMerging = false;
    QList<MergeConflict> mConflicts; // of the merge
    QSet<qsizetype> mKept;           // conflicts decided as this document has them
    int mRun = 0;                    // which comparison or merge, for the steps kept
    // What is marked: every difference, or in a merge the conflicts still open.
    QList<TilesetDifference> mShown;
    QList<qsizetype> mShownConflicts; // for each shown, its conflict in a merge
};

#pragma once

#include "tilesettable.h"

#include <QObject>

#include <functional>
#include <optional>

class ComparisonState;
class FieldCursor;
class PlatformServices;
class QAction;
class QLabel;
class QMenu;
class QWidget;
class TilesetDocument;
struct ComparisonTake;

// The commands of comparing the open document with another tileset file, which is read and
// never written, and of merging from it: the file dialogs and messages, the Compare menu and
// the status bar's count. Every change, and every conflict kept, goes to the document as
// one undo step; what is compared and marked is the comparison's own.
class CompareController : public QObject
{
    Q_OBJECT

public:
    // Reads a tileset file as Open does, telling the user why it cannot.
    using FileReader = std::function<std::optional<TilesetTable>(const QString &path)>;

    CompareController(TilesetDocument *document, ComparisonState *comparison,
                      const FieldCursor *cursor, PlatformServices &services, FileReader readFile,
                      QWidget *window);

    // "Compare with file..." and "Merge from file..." at the end of menu; the Compare menu
    // with the rest; the status bar's count.
    void addFileCommands(QMenu *menu);
    QMenu *menu() const { return mMenu; }
    QLabel *countLabel() const { return mCount; }

Q_SIGNALS:
    // Before a command acts: an open label edit is stored first.
    void aboutToAct();
    // For the status bar, for that long.
    void message(const QString &text, int milliseconds);

private:
    void compareWithFile();
    void mergeFromFile();
    // The file chosen in a file dialog of that title, and its path.
    std::optional<TilesetTable> askForFile(const QString &title, QString &path);
    void takeHere();
    void takeAll(); // asks first
    void keepHere();
    void take(const ComparisonTake &take);
    void showCount();

    TilesetDocument *mDocument;
    ComparisonState *mComparison;
    const FieldCursor *mCursor;
    PlatformServices &mServices;
    FileReader mReadFile;
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
};

#pragma once

#include "fieldsearch.h"

#include <QObject>
#include <QPointer>

#include <optional>

class ClientArea;
class FieldCursor;
class FindDialog;
class PlatformServices;
class QRect;
class QWidget;
class TilesetDocument;

// Find and replace over the open document: the Find dialog, its results, Find next,
// Replace and Replace all. Results always describe the document as it is now.
class FindController : public QObject
{
    Q_OBJECT

public:
    // cursor: the field the user is on, moved to a result shown; trees are what the dialog
    // avoids covering.
    FindController(TilesetDocument *document, PlatformServices &services, FieldCursor *cursor,
                   const ClientArea *trees, QWidget *window);

    void showDialog(bool replacing);
    // The first match after the cursor, wrapping round; the dialog when nothing is searched.
    void findNext();

Q_SIGNALS:
    // Before a result is shown or fields are replaced: an open label edit is stored first.
    void aboutToAct();

private:
    void findAll();
    // The match the user is on, then the next; off a match, only the next is shown.
    void replace();
    void replaceAll();
    // The replacement when there is something to find and the file can store it; else the
    // summary, or a message titled command, says why nothing is replaced.
    std::optional<QString> replacementFor(const QString &command);
    // No field is cut, or the user agrees to it.
    bool cutAccepted(const FieldReplacement &replaced, const QString &command);
    void showMatch(int row);
    void showMatchAfter(FieldAddress current);
    void clearResults();
    void placeDialog();
    // The main window's parts the dialog works beside.
    QRect treesGeometry() const;
    QString resultRow(const FieldAddress &match) const;

    TilesetDocument *mDocument;
    PlatformServices &mServices;
    FieldCursor *mCursor;
    const ClientArea *mTrees;
    QWidget *mWindow;
    QPointer<FindDialog> mDialog; // made when first asked for
    QList<FieldAddress> mMatches;
    bool mSearched = false; // the results shown are those of a search
};

#pragma once

#include "fieldsearch.h"

#include <QObject>
#include <QPointer>

class FindDialog;
class PlatformServices;
class QWidget;
class TilesetDocument;

// Find and replace over the open document: the Find dialog, its results, Find next and
// Replace all. Results always describe the document as it is now.
class FindController : public QObject
{
    Q_OBJECT

public:
    FindController(TilesetDocument *document, PlatformServices &services, QWidget *window);

    void showDialog(bool replacing);
    // The first match after current, wrapping round; the dialog when nothing is searched.
    void findNext(FieldMatch current);

Q_SIGNALS:
    // Before a result is shown or fields are replaced: an open label edit is stored first.
    void aboutToAct();
    // Show that field, as a click on its tileset and Go to entry would.
    void matchChosen(int tileset, int entry);

private:
    void findAll();
    void replaceAll();
    void showMatch(int row);
    void clearResults();
    void placeBesideWindow();
    QString resultRow(const FieldMatch &match) const;

    TilesetDocument *mDocument;
    PlatformServices &mServices;
    QWidget *mWindow;
    QPointer<FindDialog> mDialog; // made when first asked for
    QList<FieldMatch> mMatches;
    bool mSearched = false; // the results shown are those of a search
};

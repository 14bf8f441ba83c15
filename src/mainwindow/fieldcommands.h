#pragma once

#include "fieldblock.h"

#include <QObject>
#include <QPointer>

#include <optional>

class FieldCursor;
class PlatformServices;
class TilesetDocument;
class TilesetGrid;
class QWidget;

// Copy, Paste, Clear, Fill down and Fill right over the selected fields: the grid's
// selection when the user was in the grid last, else the field the trees are on. Each
// change is one undo step, patching only the fields whose bytes change.
class FieldCommands : public QObject
{
    Q_OBJECT

public:
    FieldCommands(TilesetDocument *document, FieldCursor *cursor, PlatformServices &services,
                  QWidget *window);

    void setGrid(TilesetGrid *grid);

    void copy();
    void paste();
    void clear();
    void fillDown();
    void fillRight();

Q_SIGNALS:
    void statusMessage(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool inGrid() const;
    std::optional<FieldRect> selection() const;
    // The block put over the selection as one step named verb ("paste 12 fields").
    void store(const QString &verb, const FieldRect &selection, const FieldBlock &block);

    TilesetDocument *mDocument;
    FieldCursor *mCursor;
    PlatformServices &mServices;
    QWidget *mWindow;
    QPointer<TilesetGrid> mGrid;
    bool mInGrid = false;
};

#pragma once

#include "windowlayout.h"

#include <QWidget>

class EntryToolbar;
class EntryTree;
class FileToolbar;
class QTimer;
class SplitterBar;
class TilesetList;

// The main window's client area: the file toolbar across the top, the entry-tree toolbar
// down the right edge below it, and the two trees with the splitter between them. They are
// placed in twips by WindowLayout rather than by a layout manager: the splitter and the
// 720-twip floor of the entry tree need it.
class ClientArea : public QWidget
{
    Q_OBJECT

public:
    explicit ClientArea(QWidget *parent = nullptr);

    FileToolbar *fileToolbar() const { return mFileToolbar; }
    EntryToolbar *entryToolbar() const { return mEntryToolbar; }
    TilesetList *tilesetList() const { return mTilesetList; }
    EntryTree *entryTree() const { return mEntryTree; }
    QTimer *layoutTimer() const { return mLayoutTimer; }

    const WindowLayout &windowLayout() const { return mLayout; }
    // Where the settings put the splitter, before the first pass.
    void setTilesetListWidth(int twips);
    // One layout pass for the present size; none while the window is minimized.
    void layOut();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void placeWidgets();
    int widthTwips() const;
    int heightTwips() const;

    FileToolbar *mFileToolbar;
    EntryToolbar *mEntryToolbar;
    TilesetList *mTilesetList;
    SplitterBar *mSplitter;
    EntryTree *mEntryTree;
    QTimer *mLayoutTimer;
    WindowLayout mLayout;
};

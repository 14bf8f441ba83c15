#include "windowlayout.h"

#include <initializer_list>

void WindowLayout::layOut(int clientWidth, int clientHeight)
{
    constexpr int top = FileToolbarHeight;
    if (top + 360 < clientHeight) {
        for (TwipRect *rect : {&tilesetList, &splitter, &entryTree}) {
            rect->top = top;
            rect->height = clientHeight - top;
        }
    }
    if (clientWidth > 1440) {
        // The entry tree's room is measured from its left edge before this pass moves it;
        // the next pass corrects what that leaves.
        const int room = clientWidth - entryTree.left - EntryToolbarWidth;
        if (room <= MinimumTreeWidth) {
            tilesetList.width = clientWidth - SizerWidth - MinimumTreeWidth - EntryToolbarWidth;
            entryTree.width = MinimumTreeWidth;
        } else {
            entryTree.width = room;
        }
        splitter.left = tilesetList.width;
        entryTree.left = tilesetList.width + SizerWidth;
    }
}

bool WindowLayout::dragSplitter(int x, int clientWidth)
{
    const int left = splitter.left + x - dragStartX;
    if (left <= MinimumTreeWidth || left >= clientWidth - SizerWidth - MinimumTreeWidth)
        return false;
    splitter.left = left;
    tilesetList.width = left;
    entryTree.left = left + SizerWidth;
    entryTree.width = clientWidth - entryTree.left - EntryToolbarWidth;
    return true;
}

#include "windowlayout.h"

#include <initializer_list>

void WindowLayout::layOut(int w, int s)
{
    constexpr int H = Toolbar1Height;
    constexpr int R = Toolbar2Width;
    if (H + 360 < s) {
        for (TwipRect *rect : {&tilesetList, &splitter, &entryTree}) {
            rect->top = H;
            rect->height = s - H;
        }
    }
    if (w > 1440) {
        // The entry tree's room is measured from its left edge before this pass moves it;
        // the next pass corrects what that leaves.
        const int room = w - entryTree.left - R;
        if (room <= MinimumTreeWidth) {
            tilesetList.width = w - SizerWidth - MinimumTreeWidth - R;
            entryTree.width = MinimumTreeWidth;
        } else {
            entryTree.width = room;
        }
        splitter.left = tilesetList.width;
        entryTree.left = tilesetList.width + SizerWidth;
    }
}

bool WindowLayout::dragSplitter(int x, int w)
{
    const int left = splitter.left + x - dragStartX;
    if (left <= MinimumTreeWidth || left >= w - SizerWidth - MinimumTreeWidth)
        return false;
    splitter.left = left;
    tilesetList.width = left;
    entryTree.left = left + SizerWidth;
    entryTree.width = w - entryTree.left - Toolbar2Width;
    return true;
}

#include "windowlayout.h"

#include <initializer_list>

void WindowLayout::LayoutWindow(int w, int s)
{
    constexpr int H = Toolbar1Height;
    constexpr int R = Toolbar2Width;
    if (H + 360 < s) {
        for (TwipRect *rect : {&NewList1, &sizer, &NewList2}) {
            rect->top = H;
            rect->height = s - H;
        }
    }
    if (w > 1440) {
        // The entry tree's room is measured from its left edge before this pass moves it;
        // the next pass corrects what that leaves.
        const int room = w - NewList2.left - R;
        if (room <= MinimumTreeWidth) {
            NewList1.width = w - SizerWidth - MinimumTreeWidth - R;
            NewList2.width = MinimumTreeWidth;
        } else {
            NewList2.width = room;
        }
        sizer.left = NewList1.width;
        NewList2.left = NewList1.width + SizerWidth;
    }
}

bool WindowLayout::dragSplitter(int x, int w)
{
    const int left = sizer.left + x - DragStartX;
    if (left <= MinimumTreeWidth || left >= w - SizerWidth - MinimumTreeWidth)
        return false;
    sizer.left = left;
    NewList1.width = left;
    NewList2.left = left + SizerWidth;
    NewList2.width = w - NewList2.left - Toolbar2Width;
    return true;
}

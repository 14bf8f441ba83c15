#pragma once

// Where the trees and the splitter stand, in twips, client-area coordinates. The arithmetic
// stays in twips so that positions do not drift through pixel rounding.
struct TwipRect
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

class WindowLayout
{
public:
    static constexpr int FileToolbarHeight = 420;
    static constexpr int EntryToolbarWidth = 330;
    static constexpr int SizerWidth = 60;
    static constexpr int SizerDesignedLeft = 3360;
    static constexpr int MinimumTreeWidth = 720; // the entry tree never gets narrower
    static constexpr int ClientWidth = 7875;     // designed client area
    static constexpr int ClientHeight = 6135;

    // One layout pass for a client area of that size.
    void layOut(int clientWidth, int clientHeight);
    // A press on the splitter at x inside the bar.
    void pressSplitter(int x) { dragStartX = x; }
    // A move with the left button alone held; false when the bar stays where it is.
    bool dragSplitter(int x, int clientWidth);

    TwipRect tilesetList{0, 480, 3540, 4095};
    TwipRect splitter{SizerDesignedLeft, 480, SizerWidth, 5175};
    TwipRect entryTree{3720, 480, 3375, 4095};
    int dragStartX = 0;
};

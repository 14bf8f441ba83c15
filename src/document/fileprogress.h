#pragma once

#include <functional>

// How reading and writing report to whoever shows them: the progress bar's value
// (0 to 100) and a chance to let pending window events run.
struct FileProgress
{
    std::function<void(float)> setBarValue;
    std::function<void()> pumpEvents;

    void pump() const
    {
        if (pumpEvents)
            pumpEvents();
    }
};

// The bar moves by 100 / (T - 1) before each tileset and is only set while the running
// total stays within 100, so it never moves for a single tileset nor for the last one.
class ProgressSteps
{
public:
    explicit ProgressSteps(int tilesetCount)
        : mStep(tilesetCount >= 2 ? 100.0 / (tilesetCount - 1) : 0.0)
    {}

    void beforeTileset(const FileProgress &progress)
    {
        if (mStep == 0.0)
            return;
        mTotal += mStep;
        if (mTotal <= 100.0 && progress.setBarValue)
            progress.setBarValue(float(mTotal));
    }

private:
    double mStep;
    double mTotal = 0.0;
};

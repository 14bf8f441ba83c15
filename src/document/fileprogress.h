#pragma once

#include <QtGlobal>

#include <algorithm>
#include <functional>

// How reading and writing report to whoever shows them: the progress bar's value
// (0 to 100) and a chance to let pending window events run, once per entry record read
// and once per tileset written.
struct FileProgress
{
    std::function<void(float)> setBarValue;
    // Called at every pump.
    std::function<void()> pumpEvents;
    // Called instead of pumpEvents when set, by a pump that need not see every call: it is
    // given how many pumps there were since its last call, this one included, and returns
    // how many of the following pumps may pass without calling it.
    std::function<int(int pumps)> pacedPumpEvents = {};
};

// The bar shows whole percents.
constexpr int shownPercent(float barValue)
{
    return qRound(barValue);
}

// One read or write as it reports to a FileProgress. The bar moves by 100 / (T - 1) before
// each tileset and is only set while the running total stays within 100, so it never moves
// for a single tileset nor for the last one. A pump that the paced callback lets pass is an
// inline countdown: the largest file pumps 65,025 times, and an indirect call each would
// cost more than reading the bytes.
class ProgressReporter
{
public:
    ProgressReporter(const FileProgress &progress, int tilesetCount)
        : mProgress(progress)
        , mStep(tilesetCount >= 2 ? 100.0 / (tilesetCount - 1) : 0.0)
    {}

    void beforeTileset()
    {
        if (mStep == 0.0)
            return;
        mTotal += mStep;
        if (mTotal <= 100.0 && mProgress.setBarValue) {
            mProgress.setBarValue(float(mTotal));
            // When the bar moves the next pump calls at once, so that the move is shown.
            if (const int shown = shownPercent(float(mTotal)); shown != mShown) {
                mShown = shown;
                mGranted -= mLeft;
                mLeft = 0;
            }
        }
    }

    void pump()
    {
        if (--mLeft < 0) [[unlikely]]
            callPump();
    }

    // The pumps of the next count records, as far as they go without calling out: pumps
    // for the first and returns how many records, the first included, may follow before a
    // pump has to call again. Lets a reader handle those records in one run.
    int pumpRun(int count)
    {
        pump();
        const int run = std::min(count, mLeft + 1);
        mLeft -= run - 1;
        return run;
    }

private:
    void callPump()
    {
        const int pumps = mGranted + 1;
        if (mProgress.pacedPumpEvents) {
            mGranted = std::max(0, mProgress.pacedPumpEvents(pumps));
        } else if (mProgress.pumpEvents) {
            mProgress.pumpEvents();
            mGranted = 0;
        } else {
            mGranted = NoPump;
        }
        mLeft = mGranted;
    }

    static constexpr int NoPump = 1 << 30; // more pumps than any file has

    const FileProgress &mProgress;
    double mStep;
    double mTotal = 0.0;
    int mShown = 0;   // the bar starts empty
    int mGranted = 0; // pumps the last call let pass
    int mLeft = 0;    // of those, still to come
};

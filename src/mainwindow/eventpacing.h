#pragma once

// How a long load or save lets the window go on painting: the real one runs pending events
// at a pace that keeps frames coming, the one in the tests counts the calls.
class EventPacing
{
public:
    virtual ~EventPacing() = default;

    // Lets pending window events run while a long operation goes on. pumps is how many
    // times the operation pumped since the last call, this one included; barMoved says that
    // its progress bar moved since then. Returns how many of the following pumps may pass
    // without calling again: 0 asks to be called at every pump.
    virtual int pumpEvents(int pumps, bool barMoved) = 0;
    // A long operation starts, straight from the event loop: pending events have just run.
    virtual void startPumping() {}
};

#pragma once

namespace tarvik {

// What a long computation sees of whoever runs it. A window hands control to
// its event loop in `yield` and sets the stop flag from its "Stop" button; a
// test or a command-line tool uses the defaults, which never stop.
class Progress {
public:
    virtual ~Progress() = default;
    // Called at the fixed points where pending user events may be handled.
    virtual void yield() {}
    virtual bool stopRequested() const { return false; }
};

// A progress sink with a plain stop flag, for tests and tools.
class StopFlag : public Progress {
public:
    bool stopRequested() const override { return stop; }
    bool stop = false;
};

} // namespace tarvik

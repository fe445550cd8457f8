#pragma once
// What the long loops (scan, listing, copy) need from the window around them.
#include <chrono>
#include <string>

namespace tavelin {

class LoopHost {
  public:
    virtual ~LoopHost() = default;
    // Replaces the status line's text; RepaintStatus paints it before returning, since the
    // loops that follow do not let the window paint.
    virtual void SetStatus(const std::wstring& text) = 0;
    virtual void RepaintStatus() = 0;
    // True while the Escape key is held at the moment of the call.
    virtual bool EscapeDown() = 0;
    // Runs every pending window message and returns when none is left.
    virtual void PumpEvents() = 0;
    // Answers what other programs send and lets the window paint; the user's clicks and keys are
    // taken off the queue and dropped, and no command runs, so the system does not take the
    // window for hung. Loops that do not pump call it often.
    virtual void KeepResponsive() = 0;
    // Default beep, then the modal information or error message with one OK button.
    virtual void Inform(const std::wstring& text) = 0;
    virtual void ShowError(const std::wstring& text) = 0;
    // The clock that paces the loops' checks and repaints; a test that must stop a loop at an
    // exact point brings its own.
    virtual std::chrono::steady_clock::time_point Now() { return std::chrono::steady_clock::now(); }
};

}  // namespace tavelin

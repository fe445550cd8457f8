#pragma once
// A clock for the main window that presses Escape (held until destroyed) at the first reading
// after the folder tree has reached a given number of nodes: a scan can then be stopped at a
// known point. Stopped until then, it jumps ahead at that moment so the scan's next paced check
// is due; or it follows the steady clock throughout, as the window's own does.
#include <cstddef>
#include <functional>
#include <memory>

#include "app/form1_win.h"
#include "escape_key.h"

namespace tavelin::test {

class EscapeClock {
  public:
    enum class Time { kStopped, kReal };
    EscapeClock(TForm1& form, std::size_t nodes, Time time = Time::kStopped);
    // Gives the window its own clock back and lets Escape go.
    ~EscapeClock();
    EscapeClock(const EscapeClock&) = delete;
    EscapeClock& operator=(const EscapeClock&) = delete;

    bool Pressed() const { return held_ != nullptr; }
    // Runs at every reading of the clock, before the press is considered.
    std::function<void()> onReading;

  private:
    std::chrono::steady_clock::time_point Read();

    TForm1& form_;
    std::size_t nodes_;
    Time time_;
    std::chrono::steady_clock::time_point stopped_;
    std::unique_ptr<EscapeHeld> held_;
};

}  // namespace tavelin::test

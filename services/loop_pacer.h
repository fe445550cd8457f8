#pragma once
// Lets a long loop do what a person cannot see happen more often (a look at the message queue or
// at the Escape key, a repaint of the status line) at most once per interval of the host's clock.
#include <chrono>

#include "services/loop_host.h"

namespace tavelin {

class LoopPacer {
  public:
    LoopPacer(LoopHost& host, std::chrono::steady_clock::duration interval)
        : host_(host), interval_(interval), last_(host.Now()) {}

    // True once the interval has passed since the pacer started or last said so.
    bool Due() {
        const auto now = host_.Now();
        if (now - last_ < interval_)
            return false;
        last_ = now;
        return true;
    }
    // Starts the interval again, after the work was done without asking.
    void Restart() { last_ = host_.Now(); }

  private:
    LoopHost& host_;
    std::chrono::steady_clock::duration interval_;
    std::chrono::steady_clock::time_point last_;
};

}  // namespace tavelin

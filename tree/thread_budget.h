#pragma once
// How many of a pool's threads may work at once: a few, or none, while each call returns about
// as soon as it is made (a local disk, where more threads only queue for it and each hand-over
// costs a wake), all of them once calls take about as long as a network round trip, whose waits
// they then overlap.
#include <algorithm>
#include <chrono>
#include <cstddef>

namespace tavelin {

class ThreadBudget {
  public:
    // One call in this many is timed while calls are quick.
    static constexpr unsigned kQuickSampling = 8;

    ThreadBudget(std::size_t threads, std::size_t whileQuick) : threads_(threads), whileQuick_(whileQuick) {}

    // Whether one call took about as long as a network round trip.
    static bool RoundTrip(std::chrono::steady_clock::duration took);

    std::size_t Allowed() const { return slow_ ? threads_ : std::min(threads_, whileQuick_); }
    bool Quick() const { return !slow_; }
    // Whether the next call is worth timing: each of the first few and each one while calls are
    // slow, so a file server is recognised at once, but only one in eight while they are quick,
    // where two reads of the clock can cost a fair share of the call itself.
    bool TimeNext() { return slow_ || calls_++ < kQuickSampling || calls_ % kQuickSampling == 0; }
    // Takes the time one call took; true when that made more threads allowed.
    bool Record(std::chrono::steady_clock::duration took);

  private:
    std::size_t threads_;
    std::size_t whileQuick_;
    std::chrono::steady_clock::duration average_{};
    bool slow_ = false;
    unsigned long long calls_ = 0;
};

}  // namespace tavelin

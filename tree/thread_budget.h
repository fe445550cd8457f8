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
    ThreadBudget(std::size_t threads, std::size_t whileQuick) : threads_(threads), whileQuick_(whileQuick) {}

    std::size_t Allowed() const { return slow_ ? threads_ : std::min(threads_, whileQuick_); }
    // Takes the time one call took; true when that made more threads allowed.
    bool Record(std::chrono::steady_clock::duration took);

  private:
    std::size_t threads_;
    std::size_t whileQuick_;
    std::chrono::steady_clock::duration average_{};
    bool slow_ = false;
};

}  // namespace tavelin

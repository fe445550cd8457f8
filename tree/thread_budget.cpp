#include "tree/thread_budget.h"

namespace tavelin {

namespace {
// Well above a local folder under load, well below a round trip to a file server.
constexpr auto kRoundTrip = std::chrono::microseconds(500);
}  // namespace

bool ThreadBudget::RoundTrip(std::chrono::steady_clock::duration took) {
    return took > kRoundTrip;
}

// A running average, so that one slow folder on a local disk does not change the width.
bool ThreadBudget::Record(std::chrono::steady_clock::duration took) {
    average_ += (took - average_) / 8;
    const bool wasSlow = slow_;
    slow_ = RoundTrip(average_);
    return slow_ && !wasSlow;
}

}  // namespace tavelin

#include "tree/thread_budget.h"

#include <gtest/gtest.h>

namespace tavelin {
namespace {

using std::chrono::microseconds;

// Calls go through the budget as the read-ahead makes them: timed only when it asks. Each case
// is a run of quick calls followed by a run of slow ones, and when the pool must be widened.
TEST(ThreadBudget, AFileServerIsRecognisedSoonWhateverCameBefore) {
    struct Case {
        int quickCalls;
        int slowCalls;
        int widenedWithin;  // calls into the slow run; 0: never widened
    } const cases[] = {
        {0, 20, 6},      // a share from the start, timed call by call
        {1000, 0, 0},    // a local disk: one slow folder among them changes nothing
        {1000, 80, 48},  // a share below a local folder: only every eighth call is timed there
        {3, 1, 0},       // one slow folder after a quick start
    };
    constexpr std::size_t kThreads = 8;
    for (const auto& c : cases) {
        ThreadBudget budget(kThreads, 0);
        int timed = 0;
        const auto call = [&](microseconds took) {
            if (budget.TimeNext()) {
                ++timed;
                budget.Record(took);
            }
        };
        for (int i = 0; i < c.quickCalls; ++i)
            call(microseconds(i == 500 ? 3000 : 50));
        EXPECT_EQ(budget.Allowed(), 0u) << c.quickCalls;
        if (c.quickCalls == 1000) {
            EXPECT_LE(timed, 8 + 1000 / 8) << "a local disk reads the clock for every folder";
        }
        int widened = 0;
        for (int i = 1; i <= c.slowCalls && widened == 0; ++i) {
            call(microseconds(1000));
            if (budget.Allowed() == kThreads)
                widened = i;
        }
        if (c.widenedWithin == 0)
            EXPECT_EQ(widened, 0) << c.quickCalls << " " << c.slowCalls;
        else
            EXPECT_TRUE(widened > 0 && widened <= c.widenedWithin) << c.quickCalls << ": widened at " << widened;
    }
}

}  // namespace
}  // namespace tavelin

#include "tree/thread_budget.h"

#include <gtest/gtest.h>

namespace tavelin {
namespace {

struct Budgeted {
    int timedQuick = 0;
    int widenedAt = 0;  // the slow call after which all threads may work; 0: none
};

// `quickCalls` calls of a local disk (one of them slow), then calls as slow as a file server's,
// made as the read-ahead makes them: timed only when the budget asks.
Budgeted Calls(int quickCalls) {
    ThreadBudget budget(8, 0);
    Budgeted run;
    for (int i = 0; i < quickCalls; ++i) {
        if (budget.TimeNext() && ++run.timedQuick)
            budget.Record(std::chrono::microseconds(i == quickCalls / 2 ? 3000 : 50));
        EXPECT_EQ(budget.Allowed(), 0u) << i;
    }
    for (int i = 1; i <= 100 && !run.widenedAt; ++i) {
        if (budget.TimeNext())
            budget.Record(std::chrono::milliseconds(1));
        run.widenedAt = budget.Allowed() == 8 ? i : 0;
    }
    return run;
}

TEST(ThreadBudget, AFileServerIsRecognisedWithinABoundWhateverCameBeforeAndALocalDiskIsRarelyTimed) {
    for (int quickCalls : {0, 1000}) {
        const Budgeted run = Calls(quickCalls);
        EXPECT_TRUE(run.widenedAt > 0 && run.widenedAt <= 48) << quickCalls << ": " << run.widenedAt;
        EXPECT_LE(run.timedQuick, 8 + quickCalls / 8) << "a local disk reads the clock for every folder";
    }
}

}  // namespace
}  // namespace tavelin

#include "tree/worker_pool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

namespace tavelin {
namespace {

using std::chrono::microseconds;

// Jobs whose calls take the times given, as the pool's threads report them, so that the budget
// sees a local disk or a file server whatever the machine's load. A slow job waits a while for a
// second thread to join it, so that each one shows whether the pool lets two work at once.
struct ScriptedJobs {
    struct Job {
        std::size_t number = 0;
    };
    explicit ScriptedJobs(std::vector<microseconds> took) : took_(std::move(took)) {}

    bool Take(Job& job, bool) {
        job.number = next_;
        return next_ < took_.size() && ++next_;
    }
    bool HasWork(bool) const { return next_ < took_.size(); }
    std::chrono::steady_clock::duration Do(Job& job, const std::atomic<bool>&) {
        std::unique_lock lock(mutex_);
        if (++working_ == 2 && !firstTogether)
            firstTogether = job.number;
        joined_.notify_all();
        if (took_[job.number] > microseconds(500))
            joined_.wait_for(lock, std::chrono::milliseconds(100), [&] { return working_ >= 2; });
        --working_;
        return took_[job.number];
    }
    bool Finish(Job&) { return ++finished == took_.size(); }

    std::vector<microseconds> took_;
    std::size_t next_ = 0;
    std::size_t finished = 0;
    std::mutex mutex_;
    std::condition_variable joined_;
    int working_ = 0;
    std::size_t firstTogether = 0;  // the job that a second thread first joined; 0: none
};

TEST(WorkerPool, AFileServerIsWorkedOnByMoreThreadsSoonWhateverCameBeforeAndALocalDiskByOne) {
    const struct {
        int quick;
        int slowAmongQuick;  // the index of one slow call among the quick ones; -1: none
        int slow;
    } cases[] = {{0, -1, 12}, {1000, -1, 12}, {1000, 500, 12}, {1000, 500, 0}};
    for (const auto& c : cases) {
        std::vector<microseconds> took(c.quick, microseconds(50));
        if (c.slowAmongQuick >= 0)
            took[c.slowAmongQuick] = microseconds(3000);
        took.resize(c.quick + c.slow, microseconds(1000));
        auto pool = std::make_shared<WorkerPool<ScriptedJobs>>(4, 1, took);
        const StopOnExit<WorkerPool<ScriptedJobs>> stop{*pool};
        std::size_t firstTogether = 0;
        ASSERT_TRUE(pool->When(
            std::chrono::seconds(20), [&](ScriptedJobs& jobs) { return jobs.finished == took.size(); },
            [&](ScriptedJobs& jobs) { firstTogether = jobs.firstTogether; }))
            << c.quick << " " << c.slow;
        if (c.slow == 0) {
            EXPECT_EQ(firstTogether, 0u) << "a local disk with one slow folder got a second thread";
        } else {
            EXPECT_GT(firstTogether, static_cast<std::size_t>(c.quick)) << c.quick;
            EXPECT_LE(firstTogether, static_cast<std::size_t>(c.quick + 8)) << "a file server waited for threads";
        }
    }
}

}  // namespace
}  // namespace tavelin

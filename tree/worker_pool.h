#pragma once
// Threads that take jobs from one schedule, the earliest first: the scan's read-ahead and the copy's
// creations. They hold the pool, its schedule and what that calls for as long as they run: a call a
// server held may return after the owner has gone, and then finds the pool stopped. The schedule
// is called under the pool's lock, except for Do:
//   bool Take(Job&, bool quick)    takes the earliest job within reach; false when there is none
//   bool HasWork(bool quick)       whether Take would take one
//   duration Do(Job&, const std::atomic<bool>& stopped)
//                                  makes the job's calls; returns the time one took
//   bool Finish(Job&)              hands the results over; true when the owner may go on
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <memory>
#include <mutex>
#include <utility>

#include "base/worker_threads.h"

namespace tavelin {

// Whether a call took about as long as a network round trip: well above a local folder under
// load, well below a round trip to a file server.
inline bool RoundTrip(std::chrono::steady_clock::duration took) {
    return took > std::chrono::microseconds(500);
}

template <typename Schedule>
class WorkerPool final : public std::enable_shared_from_this<WorkerPool<Schedule>> {
  public:
    // `whileQuick` threads may work at once while calls return at once (a local disk, where more
    // only queue for it), `threads` once they take a round trip, whose waits they overlap.
    template <typename... Args>
    WorkerPool(std::size_t threads, std::size_t whileQuick, Args&&... args)
        : threads_(threads), whileQuick_(whileQuick), schedule_(std::forward<Args>(args)...) {}

    // Takes no more jobs and returns at once: a call under way ends on its own, its result dropped.
    void Stop() {
        {
            std::lock_guard lock(mutex_);
            stopped_ = true;
        }
        work_.notify_all();
    }

    // Waits at most `wait` for `ready(schedule)`, then runs `then(schedule)` and lets the threads
    // take the work it made; false when `wait` passed first. Throws what a thread threw.
    template <typename Ready, typename Then>
    bool When(std::chrono::milliseconds wait, Ready ready, Then then) {
        std::unique_lock lock(mutex_);
        const auto readyOrFailed = [&] { return failure_ || ready(schedule_); };
        // A timed wait reads the clock even when there is nothing to wait for.
        if (!readyOrFailed()) {
            Dispatch();  // also a thread that could not start before
            waiting_ = true;
            owner_.wait_for(lock, wait, readyOrFailed);
            waiting_ = false;
        }
        if (failure_)
            std::rethrow_exception(failure_);
        if (!ready(schedule_))
            return false;
        then(schedule_);
        Dispatch();
        return true;
    }

  private:
    std::size_t Allowed() const { return slow_ ? threads_ : whileQuick_; }

    // A thread for the work within reach, an idle one if there is one. Threads newly allowed
    // start one by one: each dispatches the next once it has taken a job.
    void Dispatch() {
        if (stopped_ || busy_ >= Allowed() || !schedule_.HasWork(!slow_))
            return;
        if (idle_ > 0)
            work_.notify_one();
        else if (started_ < Allowed() && StartWorkerThread([self = this->shared_from_this()] { self->Run(); }))
            ++started_;
    }

    // What a thread cannot go on from (out of memory) stops every thread and goes to the owner.
    void Run() {
        try {
            Work();
        } catch (...) {
            std::lock_guard lock(mutex_);
            failure_ = failure_ ? failure_ : std::current_exception();
            stopped_ = true;
            work_.notify_all();
            owner_.notify_all();
        }
    }

    void Work() {
        typename Schedule::Job job;
        std::unique_lock lock(mutex_);
        for (;;) {
            ++idle_;
            work_.wait(lock, [&] { return stopped_ || (busy_ < Allowed() && schedule_.Take(job, !slow_)); });
            --idle_;
            if (stopped_)
                return;
            ++busy_;
            Dispatch();
            lock.unlock();
            const auto took = schedule_.Do(job, stopped_);
            lock.lock();
            --busy_;
            if (stopped_)
                return;
            // A running average, so that one slow folder on a local disk does not change the width.
            average_ += (took - average_) / 8;
            slow_ = RoundTrip(average_);
            if (schedule_.Finish(job) && waiting_) {
                waiting_ = false;
                owner_.notify_one();
            }
        }
    }

    const std::size_t threads_;
    const std::size_t whileQuick_;
    Schedule schedule_;
    std::mutex mutex_;
    std::condition_variable work_;
    std::condition_variable owner_;
    std::atomic<bool> stopped_{false};
    std::exception_ptr failure_;
    std::chrono::steady_clock::duration average_{};
    bool slow_ = false;
    std::size_t started_ = 0;
    std::size_t idle_ = 0;
    std::size_t busy_ = 0;
    bool waiting_ = false;
};

template <typename Pool>
struct StopOnExit {
    ~StopOnExit() { pool.Stop(); }
    Pool& pool;
};

}  // namespace tavelin

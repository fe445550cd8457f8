#pragma once
// Threads that take jobs from one schedule, the earliest first, for the scan's read-ahead and the
// copy's creations. The threads hold the pool, and with it the schedule and whatever it calls, for
// as long as they run: a call that a file server holds up may return long after the owner has
// gone, and then finds the pool stopped and makes no new call.
//
// A schedule is called under the pool's lock, except for Do:
//   bool Take(Job&, bool quick)    takes the earliest job within reach; false when none is
//   bool HasWork(bool quick)       whether Take would take one
//   Duration Do(Job&, const std::atomic<bool>& stopped)
//                                  does the job's calls; returns the time per call
//   bool Finish(Job&)              hands the results over; true when the owner, waiting, can go on
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <utility>

namespace tavelin {

// The threads of every pool in the process that have not ended, those blocked on a server
// included.
std::size_t RunningWorkerThreads();

// How many threads may work at once: a few while calls return about as soon as they are made (a
// local disk, where more threads only queue for it and each hand-over costs a wake), all of them
// once calls take about as long as a network round trip, whose waits they then overlap.
class ThreadBudget {
  public:
    ThreadBudget(std::size_t threads, std::size_t whileQuick) : threads_(threads), whileQuick_(whileQuick) {}
    static bool RoundTrip(std::chrono::steady_clock::duration perCall);
    std::size_t Allowed() const { return slow_ ? threads_ : whileQuick_; }
    bool Quick() const { return !slow_; }
    void Record(std::chrono::steady_clock::duration perCall);

  private:
    std::size_t threads_;
    std::size_t whileQuick_;
    std::chrono::steady_clock::duration average_{};
    bool slow_ = false;
};

// Starts a thread running `body`, unless the process runs as many as it allows already (threads
// blocked on a server that stopped answering, left by earlier scans): false then.
bool StartWorkerThread(std::function<void()> body);

template <typename Schedule>
class WorkerPool final : public std::enable_shared_from_this<WorkerPool<Schedule>> {
    struct Key {};

  public:
    template <typename... Args>
    static std::shared_ptr<WorkerPool> Create(ThreadBudget budget, Args&&... args) {
        return std::make_shared<WorkerPool>(Key{}, budget, std::forward<Args>(args)...);
    }
    template <typename... Args>
    WorkerPool(Key, ThreadBudget budget, Args&&... args) : budget_(budget), schedule_(std::forward<Args>(args)...) {}
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    // Takes no more jobs and returns at once: a call under way ends on its own, and its result is
    // dropped.
    void Stop() {
        {
            std::lock_guard lock(mutex_);
            stopped_ = true;
        }
        work_.notify_all();
    }

    // Waits at most `wait` for `ready(schedule)`; once it holds, runs `then(schedule)` and lets
    // the threads take the work that made. False when `wait` passed first. Throws what a thread
    // threw.
    template <typename Ready, typename Then>
    bool When(std::chrono::milliseconds wait, Ready ready, Then then) {
        std::unique_lock lock(mutex_);
        const auto readyOrFailed = [&] { return failure_ || ready(schedule_); };
        // A timed wait reads the clock even when there is nothing to wait for.
        if (!readyOrFailed()) {
            // Also a thread that could not start before, the process then running too many.
            Dispatch();
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
    using Job = typename Schedule::Job;

    // Under the lock: a thread for the work within reach, an idle one when there is one.
    void Dispatch() {
        if (stopped_ || busy_ >= budget_.Allowed() || !schedule_.HasWork(budget_.Quick()))
            return;
        if (idle_ > 0) {
            work_.notify_one();
            return;
        }
        if (threads_ >= budget_.Allowed())
            return;
        if (StartWorkerThread([self = this->shared_from_this()] { self->Run(); }))
            ++threads_;
    }

    void Run() {
        try {
            Work();
        } catch (...) {
            Fail(std::current_exception());
        }
    }

    void Work() {
        Job job;
        std::unique_lock lock(mutex_);
        for (;;) {
            ++idle_;
            work_.wait(lock,
                       [&] { return stopped_ || (busy_ < budget_.Allowed() && schedule_.Take(job, budget_.Quick())); });
            --idle_;
            if (stopped_)
                return;
            ++busy_;
            Dispatch();
            lock.unlock();
            const auto perCall = schedule_.Do(job, stopped_);
            lock.lock();
            --busy_;
            if (stopped_)
                return;
            // More threads allowed start one by one: each takes a job and then dispatches the next.
            budget_.Record(perCall);
            if (schedule_.Finish(job) && waiting_) {
                waiting_ = false;
                owner_.notify_one();
            }
        }
    }

    // What a thread cannot go on from (out of memory) stops every thread and goes to the owner.
    void Fail(std::exception_ptr error) {
        {
            std::lock_guard lock(mutex_);
            if (!failure_)
                failure_ = error;
            stopped_ = true;
        }
        work_.notify_all();
        owner_.notify_all();
    }

    ThreadBudget budget_;
    Schedule schedule_;
    std::mutex mutex_;
    std::condition_variable work_;
    std::condition_variable owner_;
    std::atomic<bool> stopped_{false};
    std::exception_ptr failure_;
    std::size_t threads_ = 0;
    std::size_t idle_ = 0;
    std::size_t busy_ = 0;
    bool waiting_ = false;
};

// Stops a pool when its owner's scope ends, however it ends.
template <typename Pool>
class StopOnExit {
  public:
    explicit StopOnExit(Pool& pool) : pool_(pool) {}
    ~StopOnExit() { pool_.Stop(); }
    StopOnExit(const StopOnExit&) = delete;
    StopOnExit& operator=(const StopOnExit&) = delete;

  private:
    Pool& pool_;
};

}  // namespace tavelin

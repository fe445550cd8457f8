#pragma once
// The program's worker threads, counted: a thread blocked on a server that has stopped answering
// ends only when the network gives up, so repeated attempts at such a server must not pile them up.
#include <atomic>
#include <cstddef>
#include <functional>
#include <system_error>
#include <thread>
#include <utility>

namespace tavelin {

// The worker threads that have not ended, those blocked on a server included.
inline std::atomic<std::size_t> runningWorkerThreads{0};
inline std::size_t RunningWorkerThreads() {
    return runningWorkerThreads;
}

// Two scans' worth: repeated scans of a server that stopped answering leave no more blocked.
inline constexpr std::size_t kMostWorkerThreads = 24;

// Takes one of the process's places for a worker thread: false when it runs as many as it allows.
// A thread that got its place gives it back as it ends.
inline bool TakeWorkerThreadPlace() {
    if (++runningWorkerThreads > kMostWorkerThreads) {
        --runningWorkerThreads;
        return false;
    }
    return true;
}
inline void GiveBackWorkerThreadPlace() {
    --runningWorkerThreads;
}

// Starts a thread running `body`, unless the process runs as many as it allows already: false
// then. The body lets go of what it holds before the thread counts as ended.
inline bool StartWorkerThread(std::function<void()> body) {
    if (!TakeWorkerThreadPlace())
        return false;
    try {
        std::thread([body = std::move(body)]() mutable {
            body();
            body = nullptr;
            GiveBackWorkerThreadPlace();
        }).detach();
        return true;
    } catch (const std::system_error&) {
        GiveBackWorkerThreadPlace();
        return false;
    }
}

}  // namespace tavelin

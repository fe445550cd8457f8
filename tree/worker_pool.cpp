#include "tree/worker_pool.h"

#include <system_error>
#include <thread>

namespace tavelin {

namespace {
// Well above a local folder under load, well below a round trip to a file server.
constexpr auto kRoundTrip = std::chrono::microseconds(500);
// Two scans' worth: repeated scans of a share that stopped answering leave no more blocked.
constexpr std::size_t kMostThreads = 24;

std::atomic<std::size_t> running{0};
}  // namespace

bool RoundTrip(std::chrono::steady_clock::duration took) {
    return took > kRoundTrip;
}

bool StartWorkerThread(std::function<void()> body) {
    if (++running > kMostThreads) {
        --running;
        return false;
    }
    try {
        // The body lets go of what it holds before the thread counts as ended.
        std::thread([body = std::move(body)]() mutable {
            body();
            body = nullptr;
            --running;
        }).detach();
        return true;
    } catch (const std::system_error&) {
        --running;
        return false;
    }
}

std::size_t RunningWorkerThreads() {
    return running;
}

}  // namespace tavelin

#include "tree/worker_threads.h"

#include <atomic>
#include <thread>

namespace tavelin {

namespace {
std::atomic<std::size_t> running{0};
}  // namespace

void StartWorkerThreads(std::size_t count,
                        const std::function<void()>& body,
                        const std::function<void()>& stop,
                        const WorkerFailed& failed) {
    for (std::size_t i = 0; i < count; ++i) {
        ++running;
        try {
            // The copies are made here, so nothing on the new thread allocates before the catch.
            std::thread([body, failed] {
                try {
                    body();
                } catch (...) {
                    failed(std::current_exception());
                }
                --running;
            }).detach();
        } catch (...) {
            --running;
            stop();
            throw;
        }
    }
}

std::size_t RunningWorkerThreads() {
    return running;
}

}  // namespace tavelin

#include "tree/worker_threads.h"

namespace tavelin {

void WorkerThreads::Start(std::size_t count,
                          const std::function<void()>& body,
                          const std::function<void()>& stop,
                          const Failed& failed) {
    try {
        threads_.reserve(count);
        for (std::size_t i = 0; i < count; ++i) {
            // The copies are made here, so nothing on the new thread allocates before the catch.
            threads_.emplace_back([body, failed] {
                try {
                    body();
                } catch (...) {
                    failed(std::current_exception());
                }
            });
        }
    } catch (...) {
        stop();
        JoinAll();
        throw;
    }
}

WorkerThreads::~WorkerThreads() {
    JoinAll();
}

void WorkerThreads::JoinAll() {
    for (std::thread& thread : threads_)
        thread.join();
    threads_.clear();
}

}  // namespace tavelin

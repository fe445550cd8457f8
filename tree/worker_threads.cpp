#include "tree/worker_threads.h"

namespace tavelin {

void WorkerThreads::Start(std::size_t count, const std::function<void()>& body, const std::function<void()>& stop) {
    try {
        threads_.reserve(count);
        for (std::size_t i = 0; i < count; ++i)
            threads_.emplace_back(body);
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

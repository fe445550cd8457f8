#pragma once
// A set of threads running one body each, started at once or when first needed, all joined
// before the set is destroyed.
#include <cstddef>
#include <functional>
#include <thread>
#include <vector>

namespace tavelin {

class WorkerThreads {
  public:
    WorkerThreads() = default;
    WorkerThreads(std::size_t count, const std::function<void()>& body, const std::function<void()>& stop) {
        Start(count, body, stop);
    }
    // Starts `count` threads running `body`. When one cannot start, `stop` makes the bodies of
    // those already running return, they are joined and the error goes on to the caller.
    void Start(std::size_t count, const std::function<void()>& body, const std::function<void()>& stop);
    bool Started() const { return !threads_.empty(); }
    // The owner has made every body return (or will) before this runs.
    ~WorkerThreads();
    WorkerThreads(const WorkerThreads&) = delete;
    WorkerThreads& operator=(const WorkerThreads&) = delete;

  private:
    void JoinAll();

    std::vector<std::thread> threads_;
};

}  // namespace tavelin

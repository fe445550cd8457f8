#pragma once
// A set of threads running one body each, started at once or when first needed, all joined
// before the set is destroyed.
#include <cstddef>
#include <exception>
#include <functional>
#include <thread>
#include <vector>

namespace tavelin {

class WorkerThreads {
  public:
    // What a body threw, handed to its owner on the thread that threw it; must not throw itself.
    using Failed = std::function<void(std::exception_ptr)>;

    WorkerThreads() = default;
    WorkerThreads(std::size_t count,
                  const std::function<void()>& body,
                  const std::function<void()>& stop,
                  const Failed& failed) {
        Start(count, body, stop, failed);
    }
    // Starts `count` threads running `body`; an exception that leaves a body goes to `failed`
    // and ends that thread, never the process. When one cannot start, `stop` makes the bodies
    // of those already running return, they are joined and the error goes on to the caller.
    void Start(std::size_t count,
               const std::function<void()>& body,
               const std::function<void()>& stop,
               const Failed& failed);
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

#pragma once
// Threads that run one body each and are never waited for: each body holds what it uses and ends
// on its own once its owner has stopped it, so that no owner waits on a call that a file server
// holds up. What such a call returns late is dropped by the body.
#include <cstddef>
#include <exception>
#include <functional>

namespace tavelin {

// What a body threw, handed to its owner on the thread that threw it; must not throw itself.
using WorkerFailed = std::function<void(std::exception_ptr)>;

// Starts `count` threads running `body`; an exception that leaves a body goes to `failed` and
// ends that thread, never the process. When one cannot start, `stop` makes the bodies of those
// already running return and the error goes on to the caller.
void StartWorkerThreads(std::size_t count,
                        const std::function<void()>& body,
                        const std::function<void()>& stop,
                        const WorkerFailed& failed);

// The threads started above that have not ended yet, in the whole process.
std::size_t RunningWorkerThreads();

// Stops a worker object when its owner's scope ends, however it ends.
template <typename Workers>
class StopOnExit {
  public:
    explicit StopOnExit(Workers& workers) : workers_(workers) {}
    ~StopOnExit() { workers_.Stop(); }
    StopOnExit(const StopOnExit&) = delete;
    StopOnExit& operator=(const StopOnExit&) = delete;

  private:
    Workers& workers_;
};

}  // namespace tavelin

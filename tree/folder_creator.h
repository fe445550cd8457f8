#pragma once
// Creates folders on worker threads in the order they are given, each only once the creation of
// the folder it goes into has returned, and never more than a given number past the first one
// not yet finished.
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "services/file_system.h"
#include "tree/thread_budget.h"
#include "tree/worker_threads.h"

namespace tavelin {

// Shared by its owner and its threads, each holding it until it is done with it.
class FolderCreator : public std::enable_shared_from_this<FolderCreator> {
    struct Key {};

  public:
    static constexpr std::size_t kNoParent = static_cast<std::size_t>(-1);

    // The file system must take calls from several threads at once, and outlive every call made
    // on it.
    static std::shared_ptr<FolderCreator> Start(FileSystem& fs, std::size_t threads, std::size_t distance);
    FolderCreator(Key, FileSystem& fs, std::size_t threads, std::size_t distance);
    FolderCreator(const FolderCreator&) = delete;
    FolderCreator& operator=(const FolderCreator&) = delete;

    // Drops the folders no thread has started and returns at once: a creation under way ends on
    // its own, and is not counted.
    void Stop();

    // True when another folder may be given, at once or within `wait`. Throws what a creation threw.
    bool WaitForRoom(std::chrono::milliseconds wait);
    // Gives the next folder, once there is room. `parent` is the number (from 0, in the order
    // given) of the folder it goes into, or kNoParent when that is not one of them.
    void Add(std::wstring path, std::size_t parent);
    // True when every folder given is finished, at once or within `wait`. Throws what a creation threw.
    bool WaitUntilFinished(std::chrono::milliseconds wait);

    // Of the folders finished.
    std::int64_t Created() const;
    std::int64_t NotCreated() const;

  private:
    struct Folder {
        enum class State { kQueued, kCreating, kFinished };
        std::wstring path;
        std::size_t parent = kNoParent;
        State state = State::kFinished;
    };

    void Fail(std::exception_ptr error);
    void Work();
    std::optional<std::size_t> TakeWork();
    bool WorkReady() const;
    bool ParentFinished(std::size_t parent) const;
    Folder& At(std::size_t number) { return ring_[number % ring_.size()]; }
    const Folder& At(std::size_t number) const { return ring_[number % ring_.size()]; }
    template <typename Ready>
    bool WaitFor(std::chrono::milliseconds wait, Ready ready);

    FileSystem& fs_;
    ThreadBudget budget_;
    mutable std::mutex mutex_;
    std::condition_variable work_;
    std::condition_variable finished_;
    // The folders from `first_` (the first not finished) to `added_`, by number modulo the size.
    std::vector<Folder> ring_;
    std::size_t first_ = 0;
    std::size_t added_ = 0;
    std::int64_t created_ = 0;
    std::int64_t notCreated_ = 0;
    std::exception_ptr error_;
    std::size_t idle_ = 0;
    std::size_t busy_ = 0;
    bool waiting_ = false;
    bool stopped_ = false;
};

}  // namespace tavelin

#pragma once
// Folders to create on a pool's threads, in the order they are given, each only once the creation
// of the folder it goes into has returned, never more than a given number past the first one not
// yet finished.
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "services/file_system.h"

namespace tavelin {

class CreationSchedule {
  public:
    static constexpr std::size_t kNoParent = static_cast<std::size_t>(-1);
    // Folders given one after another: a run, while calls return at once.
    struct Job {
        std::size_t first = 0;
        std::size_t taken = 0;
        std::size_t done = 0;
        std::vector<std::wstring> paths;
        std::vector<bool> made;
    };

    // Whoever gives the folders is woken once there is room for `batch` more, or all are finished.
    CreationSchedule(std::shared_ptr<FileSystem> fs, std::size_t distance, std::size_t batch)
        : fs_(std::move(fs)), ring_(distance), batch_(batch) {}

    bool Take(Job& job, bool quick);
    bool HasWork(bool quick) const;
    std::chrono::steady_clock::duration Do(Job& job, const std::atomic<bool>& stopped);
    bool Finish(Job& job);

    bool HasRoom(std::size_t folders) const { return added_ - first_ + folders <= ring_.size(); }
    bool AllFinished() const { return first_ == added_; }
    // `parent` is the number (from 0, in the order given) of the folder it goes into, or
    // kNoParent when that is not one of them.
    void Add(std::wstring path, std::size_t parent);
    // Of the folders finished. A folder already there and a file in the way both make the
    // creation fail, and both count as not created: the creation itself is the existence test.
    std::int64_t created = 0;
    std::int64_t notCreated = 0;

  private:
    struct Folder {
        enum class State { kQueued, kCreating, kFinished };
        std::wstring path;
        std::size_t parent = kNoParent;
        State state = State::kFinished;
    };

    std::size_t FirstReady() const;
    bool ParentFinished(std::size_t parent) const;
    Folder& At(std::size_t number) { return ring_[number % ring_.size()]; }
    const Folder& At(std::size_t number) const { return ring_[number % ring_.size()]; }

    const std::shared_ptr<FileSystem> fs_;
    // The folders from `first_` (the first not finished) to `added_`, by number modulo the size.
    std::vector<Folder> ring_;
    const std::size_t batch_;
    std::size_t first_ = 0;
    std::size_t added_ = 0;
};

}  // namespace tavelin

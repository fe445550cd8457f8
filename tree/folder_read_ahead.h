#pragma once
// Lists folders on worker threads ahead of the scan, in the order the scan visits them: the
// search folder, then depth first, each folder's sub-folders in the order its search returned
// them, leaving out links back into their own ancestry. Only the folders nearest to the scan are
// listed ahead, so the listings waiting for it stay few however large the tree.
#include <atomic>
#include <chrono>
#include <cstddef>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "services/file_system.h"
#include "tree/folder_listing.h"
#include "tree/link_loop_guard.h"
#include "tree/worker_pool.h"

namespace tavelin {

// The folders from the one the scan takes next on, as far as the listings so far tell, for the
// pool's threads to list in that order.
class ReadAheadSchedule {
  public:
    using Listing = std::shared_ptr<const FolderListing>;
    // How many folders ahead: `distance` while calls take about as long as a network round trip,
    // `quickDistance` while they return at once.
    struct Reach {
        std::size_t distance;
        std::size_t quickDistance;
    };
    // A folder being listed or listed, or the sub-folders of a listing from `next` on that have
    // no place of their own yet, with everything below them: a folder of a hundred thousand
    // sub-folders costs one slot until the scan gets near them.
    struct Slot {
        enum class State { kListing, kListed, kRest };
        State state;
        Listing listing;
        std::size_t next = 0;
    };
    using Slots = std::list<Slot>;
    // A folder to list and, while calls return at once, the folders below it depth first: one
    // thread lists a run of them without the lock and hands it over at once.
    struct Job {
        Slots::iterator slot;
        std::size_t most = 1;
        std::wstring path;
        std::vector<Listing> listed;
        // The remainders this run goes on with, the deepest last, and the listings whose
        // sub-folders it has listed to the last: let go under the lock, so they can be used again.
        std::vector<Slot> open;
        std::vector<Listing> closed;
        std::vector<std::shared_ptr<FolderListing>> spare;
        DirEntry entry;
    };

    // `root` is a folder path ending in "\".
    ReadAheadSchedule(std::shared_ptr<FileSystem> fs, const std::wstring& root, Reach reach);

    bool Take(Job& job, bool quick);
    bool HasWork(bool quick);
    std::chrono::steady_clock::duration Do(Job& job, const std::atomic<bool>& stopped);
    bool Finish(Job& job);

    bool FrontListed() const { return !slots_.empty() && slots_.front().state == Slot::State::kListed; }
    // Moves the listings at the front, in order, to the end of `out`.
    void TakeListed(std::vector<Listing>& out);
    // Keeps the listings the scan is done with for the folders to come, and empties `done`.
    void GiveBack(std::vector<Listing>& done);

  private:
    Slots::iterator FindWork(bool quick, std::size_t& room);
    static bool NextPath(Job& job);
    Slots::iterator Place(Slots::iterator before, Slot slot);
    void Retire(Slots::iterator slot);
    void Recycle(Listing listing);

    const std::shared_ptr<FileSystem> fs_;
    LinkLoopGuard links_;
    const Reach reach_;
    Slots slots_;
    // Slots and listings done with, kept for the folders to come: past its reach a folder then
    // costs no allocation of its own, and none is freed on a thread other than its maker's.
    Slots spareSlots_;
    std::vector<std::shared_ptr<FolderListing>> spare_;
};

// The scan's handle on the read-ahead: stops its threads when it goes.
class FolderReadAhead {
  public:
    // The threads hold what `fs` shares with them (FileSystem::Share) for as long as they run.
    FolderReadAhead(FileSystem& fs, const std::wstring& root, std::size_t threads, ReadAheadSchedule::Reach reach);
    ~FolderReadAhead() { pool_->Stop(); }
    FolderReadAhead(const FolderReadAhead&) = delete;
    FolderReadAhead& operator=(const FolderReadAhead&) = delete;

    // The listing of the next folder in order, once it is there; nullptr when it is not after
    // `wait`. It stays valid until the next call. Throws what a thread threw: the read-ahead then
    // lists no more.
    const FolderListing* Next(std::chrono::milliseconds wait);

  private:
    std::shared_ptr<WorkerPool<ReadAheadSchedule>> pool_;
    // Taken from the front at once, so that the scan takes the lock once a run rather than once a
    // folder, and handed out one by one.
    std::vector<ReadAheadSchedule::Listing> taken_;
    std::size_t next_ = 0;
};

}  // namespace tavelin

#pragma once
// Lists folders on worker threads ahead of the scan, in its order: the search folder, then depth
// first, leaving out links back into their own ancestry. Only the folders nearest to the scan are
// listed ahead, so the listings waiting for it stay few however large the tree.
#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "services/file_system.h"
#include "tree/folder_listing.h"
#include "tree/worker_pool.h"

namespace tavelin {

// How many folders ahead: `distance` while calls take about as long as a network round trip,
// `quickDistance` while they return at once.
struct ReadAheadReach {
    std::size_t distance;
    std::size_t quickDistance;
};

class ReadAheadSchedule;

// The scan's handle on the threads: they stop when it goes.
class FolderReadAhead {
  public:
    // `root` is a folder path ending in "\". The threads hold what `fs` shares with them
    // (FileSystem::Share) for as long as they run.
    FolderReadAhead(FileSystem& fs, const std::wstring& root, std::size_t threads, ReadAheadReach reach);
    ~FolderReadAhead();
    FolderReadAhead(const FolderReadAhead&) = delete;
    FolderReadAhead& operator=(const FolderReadAhead&) = delete;

    // The listing of the next folder, valid until the next call; nullptr when it is not there
    // after `wait`. Throws what a thread threw: the read-ahead then lists no more.
    const FolderListing* Next(std::chrono::milliseconds wait);

  private:
    std::shared_ptr<WorkerPool<ReadAheadSchedule>> pool_;
    // Taken from the front at once: the lock once a run rather than once a folder.
    std::vector<std::shared_ptr<const FolderListing>> taken_;
    std::size_t next_ = 0;
};

}  // namespace tavelin

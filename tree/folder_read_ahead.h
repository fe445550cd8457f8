#pragma once
// Lists folders on worker threads ahead of the scan, in the order the scan visits them: the
// search folder, then depth first, each folder's sub-folders in the order its listing returned
// them, leaving out links back into their own ancestry. Only the folders nearest to the scan are
// listed ahead, so the listings waiting for it stay few however large the tree.
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "services/file_system.h"
#include "tree/link_loop_guard.h"
#include "tree/thread_budget.h"
#include "tree/worker_threads.h"

namespace tavelin {

struct Subfolder {
    std::size_t nameStart = 0;  // in the listing's names
    std::size_t nameLength = 0;
    bool loopLink = false;  // leads back into its own ancestry: shown, never listed
};

// The names share one text, so that a listing costs the same few allocations however many
// sub-folders it holds.
struct FolderListing {
    std::wstring path;  // ending in "\"
    // In the order the listing returned them; empty when the folder could not be read.
    std::vector<Subfolder> subfolders;
    std::wstring names;
    // A read failed twice: the sub-folders are those read until then.
    bool cutShort = false;

    std::wstring_view Name(const Subfolder& subfolder) const {
        return std::wstring_view(names).substr(subfolder.nameStart, subfolder.nameLength);
    }
    void Add(std::wstring_view name, bool loopLink);
};

// Shared by its owner and its threads, each holding it until it is done with it.
class FolderReadAhead : public std::enable_shared_from_this<FolderReadAhead> {
    struct Key {};

  public:
    // Starts listing at `root` (a folder path ending in "\"). The file system must take calls
    // from several threads at once, and outlive every call made on it.
    static std::shared_ptr<FolderReadAhead> Create(FileSystem& fs,
                                                   const std::wstring& root,
                                                   std::size_t threads,
                                                   std::size_t distance) {
        return std::make_shared<FolderReadAhead>(Key{}, fs, root, threads, distance);
    }
    FolderReadAhead(Key, FileSystem& fs, const std::wstring& root, std::size_t threads, std::size_t distance);
    FolderReadAhead(const FolderReadAhead&) = delete;
    FolderReadAhead& operator=(const FolderReadAhead&) = delete;

    // Lists no more and returns at once: a listing under way ends on its own, and is dropped.
    void Stop();
    // The listing of the next folder in order, once it is there; nullptr when it is not after
    // `wait`. The folders are listed by the threads alone, so that a call a server holds up
    // never holds up the caller longer than `wait`. Throws what listing it threw, or what a
    // thread threw: the read-ahead then lists no more.
    std::shared_ptr<const FolderListing> Next(std::chrono::milliseconds wait);

  private:
    // A folder to list, or the sub-folders of a listing that have no place of their own yet.
    //
    // The rule both walkers keep: the slots run in the scan's order; a remainder (kRest) always
    // has at `next` a sub-folder to list, so it is work until its last one has a slot of its own,
    // and whoever gives that slot removes it. Reach is the first `distance_` slots that are
    // folders, remainders not counted; a waiting folder or a remainder within reach is work.
    struct Slot {
        enum class State { kWaiting, kListing, kListed, kRest };
        Slot(State s, std::wstring p, std::shared_ptr<const FolderListing> l = nullptr)
            : state(s), path(std::move(p)), listing(std::move(l)) {}
        State state;
        std::wstring path;
        // Listed: the folder's listing. Rest: the listing whose sub-folders from `next` on follow.
        std::shared_ptr<const FolderListing> listing;
        std::size_t next = 0;
        std::exception_ptr error;

        // Moves a remainder's `next` past the links back into their ancestry, which are never
        // listed; false when no sub-folder is left.
        bool SkipLoopLinks();
    };
    using Slots = std::list<Slot>;

    Slots::iterator Place(Slots::iterator before,
                          Slot::State state,
                          std::wstring path,
                          std::shared_ptr<const FolderListing> listing = nullptr);
    void Retire(Slots::iterator slot);
    void Fail(std::exception_ptr error);
    void Work();
    void ListSlot(Slots::iterator slot, std::unique_lock<std::mutex>& lock);
    Slots::iterator TakeWork();
    bool WorkWithinReach() const;
    bool WorthWaking() const;
    bool ReachWorthListing(std::size_t taken);
    std::shared_ptr<const FolderListing> NextTaken();
    std::shared_ptr<const FolderListing> List(std::wstring path);

    FileSystem& fs_;
    LinkLoopGuard links_;
    const std::size_t threadCount_;
    const std::size_t distance_;
    ThreadBudget budget_;
    std::atomic<bool> cancelled_{false};
    std::mutex mutex_;
    std::condition_variable work_;
    std::condition_variable listed_;
    // Every folder from the one the scan asks for next on, as far as the listings so far tell.
    Slots slots_;
    // Slots done with, kept for the folders to come: a folder then costs no slot of its own.
    Slots spare_;
    std::size_t idle_ = 0;
    // Folders the scan has taken since a thread was last woken for the reach they free.
    std::size_t freed_ = 0;

    // The scan's own: listings taken from the front in one run, handed out one at a time.
    struct Taken {
        std::shared_ptr<const FolderListing> listing;
        std::exception_ptr error;
    };
    std::array<Taken, 32> taken_;
    std::size_t takenNext_ = 0;
    std::size_t takenCount_ = 0;
    std::size_t busy_ = 0;
    bool waiting_ = false;
    std::exception_ptr failure_;
    bool started_ = false;
};

}  // namespace tavelin

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
    // Empties it for another folder, keeping its room.
    void Clear();
};

// Shared by its owner and its threads, each holding it until it is done with it.
class FolderReadAhead : public std::enable_shared_from_this<FolderReadAhead> {
    struct Key {};

  public:
    // How far ahead, and with how many threads: `distance` folders while calls take about as long
    // as a network round trip, `quickDistance` while they return at once, which one thread lists
    // then, a run of folders at a time.
    struct Reach {
        std::size_t threads;
        std::size_t distance;
        std::size_t quickDistance;
    };

    // Starts listing at `root` (a folder path ending in "\"). The file system must take calls
    // from several threads at once, and outlive every call made on it.
    static std::shared_ptr<FolderReadAhead> Create(FileSystem& fs, const std::wstring& root, Reach reach) {
        return std::make_shared<FolderReadAhead>(Key{}, fs, root, reach);
    }
    FolderReadAhead(Key, FileSystem& fs, const std::wstring& root, Reach reach);
    FolderReadAhead(const FolderReadAhead&) = delete;
    FolderReadAhead& operator=(const FolderReadAhead&) = delete;

    // Lists no more and returns at once: a listing under way ends on its own, and is dropped.
    void Stop();
    // The listing of the next folder in order, once it is there; nullptr when it is not after
    // `wait`. It stays valid until the next call: then it may be used for another folder. The
    // folders are listed by the threads alone, so that a call a server holds up never holds up
    // the caller longer than `wait`. Throws what listing it threw, or what a thread threw: the
    // read-ahead then lists no more.
    const FolderListing* Next(std::chrono::milliseconds wait);

  private:
    // A folder to list, or the sub-folders of a listing that have no place of their own yet.
    //
    // The rule both walkers keep: the slots run in the scan's order; a remainder (kRest) always
    // has at `next` a sub-folder to list, so it is work until its last one has a slot of its own,
    // and whoever gives that slot removes it. Reach is the first `Distance()` slots that are
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

    struct Listed {
        std::shared_ptr<const FolderListing> listing;
        std::exception_ptr error;
    };
    // The folders one thread lists on its own, depth first from the folder it took, before it
    // hands them over at once. Each thread keeps its own from run to run.
    struct Run {
        std::vector<Listed> listed;
        // Listings done with, for the folders this run lists.
        std::vector<std::shared_ptr<FolderListing>> spare;
        DirEntry entry;
        struct Open {
            std::shared_ptr<const FolderListing> listing;
            std::size_t next;
        };
        // The listings whose sub-folders from `next` on are still to be listed, the deepest last,
        // and those whose sub-folders have all been listed since the run began.
        std::vector<Open> open;
        std::vector<std::shared_ptr<const FolderListing>> closed;
        // The calls timed, for the budget.
        std::vector<std::chrono::steady_clock::duration> times;

        // The next folder depth first, as a path: the next sub-folder of the deepest listing still
        // open; false when none is left open.
        bool NextPath(std::wstring& path);
    };

    Slots::iterator Place(Slots::iterator before,
                          Slot::State state,
                          std::wstring path,
                          std::shared_ptr<const FolderListing> listing = nullptr);
    void Retire(Slots::iterator slot);
    void Recycle(std::shared_ptr<const FolderListing> listing);
    void Fail(std::exception_ptr error);
    void Work();
    void ListRun(Slots::iterator slot, std::size_t room, Run& run, std::unique_lock<std::mutex>& lock);
    void Hand(Slots::iterator slot, Run& run);
    Slots::iterator TakeWork(std::size_t& room, Run& run);
    void TakeOver(Slots::iterator rest, Run& run);
    std::size_t Distance() const { return budget_.Quick() ? reach_.quickDistance : reach_.distance; }
    bool WorkWithinReach() const;
    bool WorthWaking() const;
    bool ReachWorthListing(std::size_t taken);
    const FolderListing* NextTaken();
    std::shared_ptr<const FolderListing> List(const std::wstring& path, Run& run);

    FileSystem& fs_;
    LinkLoopGuard links_;
    const Reach reach_;
    ThreadBudget budget_;
    std::atomic<bool> cancelled_{false};
    std::mutex mutex_;
    std::condition_variable work_;
    std::condition_variable listed_;
    // Every folder from the one the scan asks for next on, as far as the listings so far tell.
    Slots slots_;
    // Slots and listings done with, kept for the folders to come: a folder then costs no
    // allocation of its own.
    Slots spare_;
    std::vector<std::shared_ptr<FolderListing>> spareListings_;
    std::size_t idle_ = 0;
    // Folders the scan has taken since a thread was last woken for the reach they free.
    std::size_t freed_ = 0;

    // The scan's own: listings taken from the front in one run, handed out one at a time.
    std::array<Listed, 32> taken_;
    std::size_t takenNext_ = 0;
    std::size_t takenCount_ = 0;
    // The listing handed out last, and those the scan is done with since it last took the lock.
    std::shared_ptr<const FolderListing> current_;
    std::vector<std::shared_ptr<const FolderListing>> done_;
    std::size_t busy_ = 0;
    bool waiting_ = false;
    std::exception_ptr failure_;
    bool started_ = false;
};

}  // namespace tavelin

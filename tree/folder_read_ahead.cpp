#include "tree/folder_read_ahead.h"

#include <algorithm>
#include <atomic>
#include <list>

#include "tree/link_loop_guard.h"

namespace tavelin {

namespace {
// While calls return at once, the one thread listing ahead lists a run of up to this share of its
// reach, and is woken only once that much of it is free: each wake costs far more than a folder.
constexpr std::size_t kRunsInReach = 4;
// One call in this many of a run is timed: a run ends at the first slow one.
constexpr std::size_t kTimedEvery = 8;
// Listings of folders up to this many sub-folders are kept for others once done with.
constexpr std::size_t kKeptSubfolders = 1024;

// Moves a remainder past the links back into their ancestry, which are never listed; false when
// no sub-folder is left.
template <typename Remainder>
bool SkipLoopLinks(Remainder& rest) {
    const std::vector<Subfolder>& subfolders = rest.listing->subfolders;
    while (rest.next < subfolders.size() && subfolders[rest.next].loopLink)
        ++rest.next;
    return rest.next < subfolders.size();
}
}  // namespace

// The folders from the one the scan takes next on, as far as the listings so far tell, for the
// pool's threads to list in that order.
class ReadAheadSchedule {
  public:
    using Listing = std::shared_ptr<const FolderListing>;
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

    // The search folder is the one sub-folder of a listing of its own, so that it is taken as every
    // other folder is.
    ReadAheadSchedule(std::shared_ptr<FileSystem> fs, const std::wstring& root, ReadAheadReach reach)
        : fs_(std::move(fs)), links_(*fs_, root), reach_(reach) {
        auto top = std::make_shared<FolderListing>();
        top->Add(std::wstring_view(root).substr(0, root.size() - 1), false);
        slots_.push_back({Slot::State::kRest, std::move(top)});
    }

    bool HasWork(bool quick) {
        std::size_t room = 0;
        return FindWork(quick, room) != slots_.end();
    }

    // The remainder's next sub-folder gets a slot of its own in front of it. While calls return at
    // once the run also takes over the remainders right behind it, those of the folders above, as the
    // last run left them: it goes on where that one stopped rather than one folder at a time.
    bool Take(Job& job, bool quick) {
        std::size_t room = 0;
        auto rest = FindWork(quick, room);
        if (rest == slots_.end())
            return false;
        const FolderListing& parent = *rest->listing;
        parent.PathOf(parent.subfolders[rest->next++], job.path);
        job.slot = Place(rest, {Slot::State::kListing, nullptr});
        job.most = quick ? std::min(room, reach_.quickDistance / kRunsInReach) : 1;
        job.open.clear();
        if (quick) {
            while (rest != slots_.end() && rest->state == Slot::State::kRest) {
                job.open.push_back(std::move(*rest));
                Retire(rest++);
            }
            std::reverse(job.open.begin(), job.open.end());
        } else if (!SkipLoopLinks(*rest)) {
            Retire(rest);
        }
        for (; job.spare.size() < job.most && !spare_.empty(); spare_.pop_back())
            job.spare.push_back(std::move(spare_.back()));
        return true;
    }

    // Stops at the first call timed as slow, so that a file server is soon listed by every thread,
    // one folder each.
    std::chrono::steady_clock::duration Do(Job& job, const std::atomic<bool>& stopped) {
        using Clock = std::chrono::steady_clock;
        job.listed.clear();
        Clock::duration timed{};
        int calls = 0;
        for (;;) {
            std::shared_ptr<FolderListing> listing;
            if (job.spare.empty()) {
                listing = std::make_shared<FolderListing>();
            } else {
                listing = std::move(job.spare.back());
                job.spare.pop_back();
            }
            listing->path.assign(job.path);
            const bool time = job.listed.size() % kTimedEvery == 0;
            const auto start = time ? Clock::now() : Clock::time_point{};
            ListFolder(*fs_, links_, stopped, job.entry, *listing);
            const auto took = time ? Clock::now() - start : Clock::duration{};
            timed += took;
            calls += time ? 1 : 0;
            if (!listing->subfolders.empty())
                job.open.push_back({Slot::State::kRest, listing});
            job.listed.push_back(std::move(listing));
            if (RoundTrip(took) || job.listed.size() >= job.most || stopped || !NextPath(job))
                return timed / calls;
        }
    }

    // The run's folders take the place of the slot it was taken from, in its order; the remainders it
    // leaves follow them, the deepest first, and then whatever followed the slot: that is depth first.
    bool Finish(Job& job) {
        const auto after = std::next(job.slot);
        for (std::size_t i = 0; i < job.listed.size(); ++i) {
            const auto slot = i == 0 ? job.slot : Place(after, {Slot::State::kListed, nullptr});
            slot->state = Slot::State::kListed;
            slot->listing = std::move(job.listed[i]);
        }
        job.listed.clear();
        for (auto open = job.open.rbegin(); open != job.open.rend(); ++open) {
            if (SkipLoopLinks(*open))
                Place(after, std::move(*open));
            else
                Recycle(std::move(open->listing));
        }
        job.open.clear();
        for (auto& listing : job.closed)
            Recycle(std::move(listing));
        job.closed.clear();
        return FrontListed();
    }

    bool FrontListed() const { return !slots_.empty() && slots_.front().state == Slot::State::kListed; }
    // Moves the listings at the front, in order, to the end of `out`.
    void TakeListed(std::vector<Listing>& out) {
        while (FrontListed()) {
            out.push_back(std::move(slots_.front().listing));
            Retire(slots_.begin());
        }
    }
    // Keeps the listings the scan is done with for the folders to come, and empties `done`.
    void GiveBack(std::vector<Listing>& done) {
        for (auto& listing : done)
            Recycle(std::move(listing));
        done.clear();
    }

  private:
    // The first remainder within reach, and how many folders the reach still has room for there.
    Slots::iterator FindWork(bool quick, std::size_t& room) {
        const std::size_t reach = quick ? reach_.quickDistance : reach_.distance;
        std::size_t folders = 0;
        for (auto it = slots_.begin(); it != slots_.end() && folders < reach; ++it) {
            if (it->state != Slot::State::kRest) {
                ++folders;
                continue;
            }
            room = reach - folders;
            return quick && folders > 0 && room < reach / kRunsInReach ? slots_.end() : it;
        }
        return slots_.end();
    }

    // The next folder of the run depth first: the next sub-folder of the deepest remainder.
    static bool NextPath(Job& job) {
        for (; !job.open.empty(); job.open.pop_back()) {
            Slot& deepest = job.open.back();
            if (!SkipLoopLinks(deepest)) {
                job.closed.push_back(std::move(deepest.listing));
                continue;
            }
            const FolderListing& parent = *deepest.listing;
            parent.PathOf(parent.subfolders[deepest.next++], job.path);
            return true;
        }
        return false;
    }

    Slots::iterator Place(Slots::iterator before, Slot slot) {
        if (spareSlots_.empty())
            return slots_.insert(before, std::move(slot));
        slots_.splice(before, spareSlots_, spareSlots_.begin());
        const auto placed = std::prev(before);
        *placed = std::move(slot);
        return placed;
    }

    void Retire(Slots::iterator slot) {
        Recycle(std::move(slot->listing));
        spareSlots_.splice(spareSlots_.end(), slots_, slot);
    }

    // Called under the lock, which every holder of a listing but the thread listing it takes to let
    // go of it: a listing no one else holds is kept for another folder, unless a large folder made it
    // large.
    void Recycle(Listing listing) {
        if (listing && listing.use_count() == 1 && listing->subfolders.capacity() <= kKeptSubfolders)
            spare_.push_back(std::const_pointer_cast<FolderListing>(std::move(listing)));
    }

    const std::shared_ptr<FileSystem> fs_;
    LinkLoopGuard links_;
    const ReadAheadReach reach_;
    Slots slots_;
    // Slots and listings done with, kept for the folders to come: past its reach a folder then
    // costs no allocation of its own, and none is freed on a thread other than its maker's.
    Slots spareSlots_;
    std::vector<std::shared_ptr<FolderListing>> spare_;
};

FolderReadAhead::FolderReadAhead(FileSystem& fs, const std::wstring& root, std::size_t threads, ReadAheadReach reach)
    : pool_(std::make_shared<WorkerPool<ReadAheadSchedule>>(threads, 1, fs.Share(), root, reach)) {}

FolderReadAhead::~FolderReadAhead() {
    pool_->Stop();
}

const FolderListing* FolderReadAhead::Next(std::chrono::milliseconds wait) {
    if (next_ < taken_.size())
        return taken_[next_++].get();
    const bool came = pool_->When(
        wait, [](ReadAheadSchedule& schedule) { return schedule.FrontListed(); },
        [this](ReadAheadSchedule& schedule) {
            schedule.GiveBack(taken_);
            schedule.TakeListed(taken_);
        });
    if (!came)
        return nullptr;
    next_ = 1;
    return taken_.front().get();
}

}  // namespace tavelin

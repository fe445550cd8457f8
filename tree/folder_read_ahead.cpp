#include "tree/folder_read_ahead.h"

#include <algorithm>
#include <atomic>
#include <list>

namespace tavelin {

namespace {
// While calls return at once the one thread lists runs of up to this share of its reach, woken
// only once that much is free: a wake costs far more than a folder.
constexpr std::size_t kRunsInReach = 4;
// One call in this many of a run is timed: two reads of the clock cost a fair share of a call.
constexpr std::size_t kTimedEvery = 8;
constexpr std::size_t kKeptSubfolders = 1024;  // larger listings are not kept for reuse
}  // namespace

// The folders from the one the scan takes next on, in its order, as far as the listings tell.
class ReadAheadSchedule {
  public:
    using Listing = std::shared_ptr<const FolderListing>;
    // A folder being listed or listed, or a remainder: the sub-folders of a listing from `next`
    // on, with everything below them, so a folder of a million sub-folders costs one slot.
    struct Slot {
        enum class State { kListing, kListed, kRest };
        State state;
        Listing listing;
        std::size_t next = 0;
    };
    using Slots = std::list<Slot>;
    // A folder and, while calls return at once, a run of those below it depth first.
    struct Job {
        Slots::iterator slot;
        std::size_t most = 1;
        std::wstring path;
        std::vector<Listing> listed;
        // The remainders the run goes on with, the deepest last; the listings it is done with.
        std::vector<Slot> open;
        std::vector<Listing> closed;
        std::vector<std::shared_ptr<FolderListing>> spare;
        DirEntry entry;
    };

    // The search folder is the one sub-folder of a listing of its own, taken as any other.
    ReadAheadSchedule(std::shared_ptr<FileSystem> fs, const std::wstring& root, ReadAheadReach reach)
        : fs_(std::move(fs)), lister_(*fs_, root), reach_(reach) {
        auto top = std::make_shared<FolderListing>();
        top->Add(std::wstring_view(root).substr(0, root.size() - 1), false);
        slots_.push_back({Slot::State::kRest, std::move(top)});
    }

    bool HasWork(bool quick) { return FindWork(quick) != slots_.end(); }

    // The remainder's next sub-folder gets a slot in front of it. A run also takes over the
    // remainders right behind, those of the folders above: it goes on where the last one stopped.
    bool Take(Job& job, bool quick) {
        std::size_t room = 0;
        auto rest = FindWork(quick, &room);
        if (rest == slots_.end())
            return false;
        const FolderListing& parent = *rest->listing;
        parent.PathOf(parent.subfolders[rest->next++], job.path);
        job.slot = Place(rest, {Slot::State::kListing, nullptr});
        job.most = quick ? std::min(room, reach_.quickDistance / kRunsInReach) : 1;
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

    // A run ends at the first slow call, so that a file server is soon listed by every thread.
    std::chrono::steady_clock::duration Do(Job& job, const std::atomic<bool>& stopped) {
        using Clock = std::chrono::steady_clock;
        Clock::duration timed{};
        int calls = 0;
        for (;;) {
            auto listing = job.spare.empty() ? std::make_shared<FolderListing>() : std::move(job.spare.back());
            if (!job.spare.empty())
                job.spare.pop_back();
            listing->path.assign(job.path);
            const bool time = job.listed.size() % kTimedEvery == 0;
            const auto start = time ? Clock::now() : Clock::time_point{};
            lister_.List(*listing, job.entry, stopped);
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

    // The run's folders take its slot's place, in order; the remainders it leaves follow, the
    // deepest first, and then whatever followed the slot: depth first.
    bool Finish(Job& job) {
        const auto after = std::next(job.slot);
        *job.slot = {Slot::State::kListed, std::move(job.listed.front())};
        for (std::size_t i = 1; i < job.listed.size(); ++i)
            Place(after, {Slot::State::kListed, std::move(job.listed[i])});
        job.listed.clear();
        for (auto open = job.open.rbegin(); open != job.open.rend(); ++open) {
            if (SkipLoopLinks(*open))
                Place(after, std::move(*open));
            else
                Recycle(std::move(open->listing));
        }
        job.open.clear();
        GiveBack(job.closed);
        return FrontListed();
    }

    bool FrontListed() const { return !slots_.empty() && slots_.front().state == Slot::State::kListed; }
    void TakeListed(std::vector<Listing>& out) {
        while (FrontListed()) {
            out.push_back(std::move(slots_.front().listing));
            Retire(slots_.begin());
        }
    }
    void GiveBack(std::vector<Listing>& done) {
        for (auto& listing : done)
            Recycle(std::move(listing));
        done.clear();
    }

  private:
    // Moves a remainder past the links back into their ancestry, never listed; false when none is left.
    static bool SkipLoopLinks(Slot& rest) {
        const std::vector<Subfolder>& subfolders = rest.listing->subfolders;
        while (rest.next < subfolders.size() && subfolders[rest.next].loopLink)
            ++rest.next;
        return rest.next < subfolders.size();
    }

    // The first remainder within reach, and the room left in reach there.
    Slots::iterator FindWork(bool quick, std::size_t* room = nullptr) {
        const std::size_t reach = quick ? reach_.quickDistance : reach_.distance;
        std::size_t folders = 0;
        for (auto it = slots_.begin(); it != slots_.end() && folders < reach; ++it) {
            if (it->state != Slot::State::kRest) {
                ++folders;
                continue;
            }
            if (room)
                *room = reach - folders;
            return quick && folders > 0 && reach - folders < reach / kRunsInReach ? slots_.end() : it;
        }
        return slots_.end();
    }

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

    // Under the lock, which every holder of a listing but its lister takes to let go of it.
    void Recycle(Listing listing) {
        if (listing && listing.use_count() == 1 && listing->subfolders.capacity() <= kKeptSubfolders)
            spare_.push_back(std::const_pointer_cast<FolderListing>(std::move(listing)));
    }

    const std::shared_ptr<FileSystem> fs_;
    FolderLister lister_;
    const ReadAheadReach reach_;
    Slots slots_;
    // Kept for the folders to come: past its reach a folder costs no allocation of its own.
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
    if (!pool_->When(
            wait, [](ReadAheadSchedule& schedule) { return schedule.FrontListed(); },
            [this](ReadAheadSchedule& schedule) {
                schedule.GiveBack(taken_);
                schedule.TakeListed(taken_);
            }))
        return nullptr;
    next_ = 1;
    return taken_.front().get();
}

}  // namespace tavelin

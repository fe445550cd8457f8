#include "tree/folder_read_ahead.h"

#include <algorithm>
#include <cassert>

#include "services/attribute_filter.h"
#include "services/retried_search.h"

namespace tavelin {

namespace {
constexpr std::size_t kWakeRun = 8;
// A thread listing ahead of a quick scan is woken each time this share of its reach is free.
constexpr std::size_t kReachRuns = 4;
// Room made at a listing's first sub-folder, so that a folder of a few needs no regrowth.
constexpr std::size_t kFirstSubfolders = 16;
constexpr std::size_t kFirstNameLength = 16;
// Listings of folders up to this many sub-folders are kept for others once done with.
constexpr std::size_t kKeptSubfolders = 1024;

bool IsSubfolder(const DirEntry& entry) {
    return MatchesAttributeSet(entry.attributes, kFolderScanAttributeSet) && (entry.attributes & kAttrDirectory) &&
           entry.name != L"." && entry.name != L"..";
}
}  // namespace

void FolderListing::Add(std::wstring_view name, bool loopLink) {
    if (subfolders.empty()) {
        subfolders.reserve(kFirstSubfolders);
        names.reserve(kFirstSubfolders * kFirstNameLength);
    }
    subfolders.push_back({names.size(), name.size(), loopLink});
    names.append(name);
}

void FolderListing::Clear() {
    path.clear();
    subfolders.clear();
    names.clear();
    cutShort = false;
}

// While calls return at once one thread lists ahead: more only queue for the disk.
FolderReadAhead::FolderReadAhead(Key, FileSystem& fs, const std::wstring& root, Reach reach)
    : fs_(fs), links_(fs, root), reach_(reach), budget_(reach.threads, 1), slots_{Slot(Slot::State::kWaiting, root)} {}

void FolderReadAhead::Stop() {
    {
        std::lock_guard lock(mutex_);
        cancelled_ = true;
    }
    work_.notify_all();
}

// A thread that cannot go on (out of memory) stops every thread and tells the scan's thread.
void FolderReadAhead::Fail(std::exception_ptr error) {
    {
        std::lock_guard lock(mutex_);
        if (!failure_)
            failure_ = error;
        cancelled_ = true;
    }
    work_.notify_all();
    listed_.notify_all();
}

const FolderListing* FolderReadAhead::Next(std::chrono::milliseconds wait) {
    // Each thread holds the read-ahead until it ends, which may be after its owner has gone.
    if (!started_) {
        started_ = true;
        const auto self = shared_from_this();
        StartWorkerThreads(
            reach_.threads, [self] { self->Work(); }, [self] { self->Stop(); },
            [self](std::exception_ptr error) { self->Fail(error); });
    }
    if (current_)
        done_.push_back(std::move(current_));
    if (takenNext_ < takenCount_)
        return NextTaken();
    std::unique_lock lock(mutex_);
    for (auto& listing : done_)
        Recycle(std::move(listing));
    done_.clear();
    const auto listed = [this] {
        return failure_ || (!slots_.empty() && slots_.front().state == Slot::State::kListed);
    };
    // A timed wait reads the clock even when there is nothing to wait for, and a local scan
    // asks once per folder.
    if (!listed()) {
        waiting_ = true;
        const bool came = listed_.wait_for(lock, wait, listed);
        waiting_ = false;
        if (!came)
            return nullptr;
    }
    if (failure_)
        std::rethrow_exception(failure_);
    // The run of listings at the front is taken at once, so that the scan asks for the lock once
    // a run rather than once a folder, while the threads hold it for each folder they list.
    std::size_t run = 0;
    for (; run < taken_.size() && !slots_.empty() && slots_.front().state == Slot::State::kListed; ++run) {
        taken_[run] = {std::move(slots_.front().listing), std::move(slots_.front().error)};
        Retire(slots_.begin());
    }
    takenNext_ = 0;
    takenCount_ = run;
    // More folders have come within reach.
    if (idle_ > 0 && busy_ < budget_.Allowed() && ReachWorthListing(run) && WorkWithinReach()) {
        freed_ = 0;
        work_.notify_one();
    }
    lock.unlock();
    return NextTaken();
}

const FolderListing* FolderReadAhead::NextTaken() {
    Listed taken = std::move(taken_[takenNext_++]);
    if (takenNext_ == takenCount_)
        takenNext_ = takenCount_ = 0;
    if (taken.error)
        std::rethrow_exception(taken.error);
    current_ = std::move(taken.listing);
    return current_.get();
}

void FolderReadAhead::Work() {
    Run run;
    std::unique_lock lock(mutex_);
    for (;;) {
        Slots::iterator slot;
        std::size_t room = 0;
        ++idle_;
        work_.wait(lock, [&] {
            return cancelled_ || (busy_ < budget_.Allowed() && (slot = TakeWork(room, run)) != slots_.end());
        });
        --idle_;
        if (cancelled_)
            return;
        ListRun(slot, room, run, lock);
    }
}

// Called with the lock held and the slot taken; the lock is let go while the folders are listed.
// While calls return at once, handing each folder over costs more than listing it, so the one
// thread then goes on depth first below the folder it took, as far as its reach has room, and
// hands the run over at once. A call it times as slow ends the run, so that a file server is
// soon listed by every thread, one folder each.
void FolderReadAhead::ListRun(Slots::iterator slot, std::size_t room, Run& run, std::unique_lock<std::mutex>& lock) {
    ++busy_;
    // What this thread leaves goes to another at once.
    if (idle_ > 0 && busy_ < budget_.Allowed() && WorkWithinReach())
        work_.notify_one();
    const std::size_t length = budget_.Quick() ? std::min(room, Distance() / kReachRuns) : 1;
    bool timed = budget_.TimeNext();
    for (; run.spare.size() < length && !spareListings_.empty(); spareListings_.pop_back())
        run.spare.push_back(std::move(spareListings_.back()));
    // Nothing reads a slot's path once it is being listed: the run takes it over.
    std::wstring path = std::move(slot->path);
    lock.unlock();
    run.listed.clear();
    run.times.clear();
    for (;;) {
        Listed listed;
        const auto start = timed ? std::chrono::steady_clock::now() : std::chrono::steady_clock::time_point{};
        try {
            listed.listing = List(path, run);
        } catch (...) {
            listed.error = std::current_exception();
        }
        if (timed)
            run.times.push_back(std::chrono::steady_clock::now() - start);
        if (listed.listing)
            run.open.push_back({listed.listing, 0});
        run.listed.push_back(std::move(listed));
        const bool slow = timed && ThreadBudget::RoundTrip(run.times.back());
        if (slow || run.listed.back().error || run.listed.size() >= length || cancelled_ || !run.NextPath(path))
            break;
        timed = run.listed.size() % ThreadBudget::kQuickSampling == 0;
    }
    lock.lock();
    --busy_;
    for (const auto took : run.times)
        if (budget_.Record(took))
            work_.notify_all();
    Hand(slot, run);
    // Once woken the scan needs the lock before it can run: the wake is not repeated meanwhile.
    if (waiting_ && WorthWaking()) {
        waiting_ = false;
        listed_.notify_one();
    }
}

// The run's folders take the place of the slot it was taken from, in its order; the sub-folders
// left of the folders it went into follow them, the deepest folder's first, and then everything
// that was known to follow the slot: that is depth first. The listings it is done with are let go
// under the lock, so that they can be used again.
void FolderReadAhead::Hand(Slots::iterator slot, Run& run) {
    const auto after = std::next(slot);
    for (std::size_t i = 0; i < run.listed.size(); ++i) {
        const auto listed = i == 0 ? slot : Place(after, Slot::State::kListed, {});
        listed->state = Slot::State::kListed;
        listed->listing = std::move(run.listed[i].listing);
        listed->error = std::move(run.listed[i].error);
    }
    for (auto open = run.open.rbegin(); open != run.open.rend(); ++open) {
        const auto rest = Place(after, Slot::State::kRest, {}, std::move(open->listing));
        rest->next = open->next;
        if (!rest->SkipLoopLinks())
            Retire(rest);
    }
    run.open.clear();
    for (auto& listing : run.closed)
        Recycle(std::move(listing));
    run.closed.clear();
}

bool FolderReadAhead::Run::NextPath(std::wstring& path) {
    for (; !open.empty(); open.pop_back()) {
        Open& deepest = open.back();
        const FolderListing& parent = *deepest.listing;
        while (deepest.next < parent.subfolders.size() && parent.subfolders[deepest.next].loopLink)
            ++deepest.next;
        if (deepest.next == parent.subfolders.size()) {
            closed.push_back(std::move(deepest.listing));
            continue;
        }
        const std::wstring_view name = parent.Name(parent.subfolders[deepest.next++]);
        path.reserve(parent.path.size() + name.size() + 1);
        path.assign(parent.path).append(name) += L'\\';
        return true;
    }
    return false;
}

// The first folder within reach that no thread lists yet. The sub-folders of a listing get a
// slot of their own one at a time, as they come within reach, so a folder of a hundred thousand
// sub-folders costs one slot until the scan gets there.
FolderReadAhead::Slots::iterator FolderReadAhead::TakeWork(std::size_t& room, Run& run) {
    std::size_t reach = 0;
    const std::size_t distance = Distance();
    for (auto it = slots_.begin(); it != slots_.end() && reach < distance; ++it) {
        room = distance - reach;
        if (it->state == Slot::State::kWaiting) {
            it->state = Slot::State::kListing;
            return it;
        }
        if (it->state != Slot::State::kRest) {
            ++reach;
            continue;
        }
        const FolderListing& parent = *it->listing;
        assert(it->next < parent.subfolders.size() && !parent.subfolders[it->next].loopLink);
        const std::wstring_view name = parent.Name(parent.subfolders[it->next]);
        std::wstring path;
        path.reserve(parent.path.size() + name.size() + 1);
        path.append(parent.path).append(name) += L'\\';
        const auto child = Place(it, Slot::State::kListing, std::move(path));
        ++it->next;
        if (budget_.Quick())
            TakeOver(it, run);
        else if (!it->SkipLoopLinks())
            Retire(it);
        return child;
    }
    return slots_.end();
}

// The remainders right behind one another are those of a folder and the folders above it, the
// deepest first, as a run left them: a thread that takes them over goes on where that run
// stopped, rather than one sub-folder at a time.
void FolderReadAhead::TakeOver(Slots::iterator rest, Run& run) {
    for (auto it = rest; it != slots_.end() && it->state == Slot::State::kRest;) {
        run.open.push_back({std::move(it->listing), it->next});
        Retire(it++);
    }
    std::reverse(run.open.begin(), run.open.end());
}

FolderReadAhead::Slots::iterator FolderReadAhead::Place(Slots::iterator before,
                                                        Slot::State state,
                                                        std::wstring path,
                                                        std::shared_ptr<const FolderListing> listing) {
    if (spare_.empty())
        return slots_.insert(before, Slot(state, std::move(path), std::move(listing)));
    slots_.splice(before, spare_, spare_.begin());
    const auto slot = std::prev(before);
    *slot = Slot(state, std::move(path), std::move(listing));
    return slot;
}

// The listing is let go at once: the scan may be done with it long before the slot is reused.
void FolderReadAhead::Retire(Slots::iterator slot) {
    Recycle(std::move(slot->listing));
    slot->error = nullptr;
    spare_.splice(spare_.end(), slots_, slot);
}

// Called with the lock held, which every holder of a listing but the scan and the run that made
// it takes to let go of it: a listing no one else holds is kept for another folder, unless a
// large folder made it large.
void FolderReadAhead::Recycle(std::shared_ptr<const FolderListing> listing) {
    if (listing && listing.use_count() == 1 && listing->subfolders.capacity() <= kKeptSubfolders &&
        listing->names.capacity() <= kKeptSubfolders * kFirstNameLength)
        spareListings_.push_back(std::const_pointer_cast<FolderListing>(std::move(listing)));
}

bool FolderReadAhead::Slot::SkipLoopLinks() {
    const std::vector<Subfolder>& subfolders = listing->subfolders;
    while (next < subfolders.size() && subfolders[next].loopLink)
        ++next;
    return next < subfolders.size();
}

// While calls return at once, waking a thread for each folder the scan takes costs more than
// listing it: it is woken for a run of them, or at once when the scan would wait for it next.
bool FolderReadAhead::ReachWorthListing(std::size_t taken) {
    if (!budget_.Quick() || slots_.empty() || slots_.front().state != Slot::State::kListed)
        return true;
    freed_ += taken;
    return freed_ >= std::max<std::size_t>(1, Distance() / kReachRuns);
}

// Waking the scan's thread costs more than a folder where threads wait in the kernel, so it is
// woken for a run of listings, longer while calls return at once, or once nothing within reach is
// listed or left to list; it never waits longer than its own wait either way. A thread that has
// just listed a folder goes on to the work within reach itself.
bool FolderReadAhead::WorthWaking() const {
    const std::size_t distance = Distance();
    const std::size_t wakeRun = budget_.Quick() ? std::max(kWakeRun, distance / kReachRuns) : kWakeRun;
    std::size_t run = 0;
    auto it = slots_.begin();
    for (; it != slots_.end() && it->state == Slot::State::kListed; ++it)
        if (++run == wakeRun)
            return true;
    if (run == 0)
        return false;
    for (std::size_t reach = run; it != slots_.end() && reach < distance; ++it, ++reach)
        if (it->state != Slot::State::kListed)
            return false;
    return true;
}

// Asks without taking, so that no thread is woken to find nothing: what TakeWork would find.
bool FolderReadAhead::WorkWithinReach() const {
    std::size_t reach = 0;
    const std::size_t distance = Distance();
    for (auto it = slots_.begin(); it != slots_.end() && reach < distance; ++it) {
        if (it->state == Slot::State::kWaiting || it->state == Slot::State::kRest)
            return true;
        ++reach;
    }
    return false;
}

// Stops between entries once the scan has ended: a huge folder nobody waits for is not read out.
std::shared_ptr<const FolderListing> FolderReadAhead::List(const std::wstring& path, Run& run) {
    std::shared_ptr<FolderListing> listing;
    if (run.spare.empty()) {
        listing = std::make_shared<FolderListing>();
    } else {
        listing = std::move(run.spare.back());
        run.spare.pop_back();
        listing->Clear();
    }
    listing->path.assign(path);
    const std::wstring& folder = listing->path;
    if (auto search = SearchRetryingOnce(fs_, folder)) {
        DirEntry& entry = run.entry;
        while (!cancelled_ && search->Next(entry)) {
            if (!IsSubfolder(entry))
                continue;
            // Only a link can lead back up; other folders never pay for the identity query.
            const bool loopLink = IsFolderLink(entry) && links_.LeadsToAncestor(folder + entry.name + L'\\', folder);
            listing->Add(entry.name, loopLink);
        }
        listing->cutShort = search->Failed();
    }
    return listing;
}

}  // namespace tavelin

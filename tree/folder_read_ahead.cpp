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

// While calls return at once one thread lists ahead: more only queue for the disk.
FolderReadAhead::FolderReadAhead(Key,
                                 FileSystem& fs,
                                 const std::wstring& root,
                                 std::size_t threads,
                                 std::size_t distance)
    : fs_(fs),
      links_(fs, root),
      threadCount_(threads),
      distance_(distance),
      budget_(threads, 1),
      slots_{Slot(Slot::State::kWaiting, root)} {}

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

std::shared_ptr<const FolderListing> FolderReadAhead::Next(std::chrono::milliseconds wait) {
    // Each thread holds the read-ahead until it ends, which may be after its owner has gone.
    if (!started_) {
        started_ = true;
        const auto self = shared_from_this();
        StartWorkerThreads(
            threadCount_, [self] { self->Work(); }, [self] { self->Stop(); },
            [self](std::exception_ptr error) { self->Fail(error); });
    }
    if (takenNext_ < takenCount_)
        return NextTaken();
    std::unique_lock lock(mutex_);
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

std::shared_ptr<const FolderListing> FolderReadAhead::NextTaken() {
    Taken taken = std::move(taken_[takenNext_++]);
    if (takenNext_ == takenCount_)
        takenNext_ = takenCount_ = 0;
    if (taken.error)
        std::rethrow_exception(taken.error);
    return taken.listing;
}

void FolderReadAhead::Work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        Slots::iterator slot;
        ++idle_;
        work_.wait(lock,
                   [&] { return cancelled_ || (busy_ < budget_.Allowed() && (slot = TakeWork()) != slots_.end()); });
        --idle_;
        if (cancelled_)
            return;
        ListSlot(slot, lock);
    }
}

// Called with the lock held and the slot taken; the lock is let go while the folder is listed.
void FolderReadAhead::ListSlot(Slots::iterator slot, std::unique_lock<std::mutex>& lock) {
    ++busy_;
    // What this thread leaves goes to another at once.
    if (idle_ > 0 && busy_ < budget_.Allowed() && WorkWithinReach())
        work_.notify_one();
    // Nothing reads a slot's path once it is being listed: the listing takes it over.
    std::wstring path = std::move(slot->path);
    const bool timed = budget_.TimeNext();
    lock.unlock();
    std::shared_ptr<const FolderListing> listing;
    std::exception_ptr error;
    const auto start = timed ? std::chrono::steady_clock::now() : std::chrono::steady_clock::time_point{};
    try {
        listing = List(std::move(path));
    } catch (...) {
        error = std::current_exception();
    }
    const auto took = timed ? std::chrono::steady_clock::now() - start : std::chrono::steady_clock::duration{};
    lock.lock();
    --busy_;
    if (timed && budget_.Record(took))
        work_.notify_all();
    slot->state = Slot::State::kListed;
    slot->listing = listing;
    slot->error = error;
    // The sub-folders come before everything that was known to follow the folder: that is
    // depth first.
    if (listing) {
        const auto rest = Place(std::next(slot), Slot::State::kRest, {}, listing);
        if (!rest->SkipLoopLinks())
            Retire(rest);
    }
    // Once woken the scan needs the lock before it can run: the wake is not repeated meanwhile.
    if (waiting_ && WorthWaking()) {
        waiting_ = false;
        listed_.notify_one();
    }
}

// The first folder within reach that no thread lists yet. The sub-folders of a listing get a
// slot of their own one at a time, as they come within reach, so a folder of a hundred thousand
// sub-folders costs one slot until the scan gets there.
FolderReadAhead::Slots::iterator FolderReadAhead::TakeWork() {
    std::size_t reach = 0;
    for (auto it = slots_.begin(); it != slots_.end() && reach < distance_; ++it) {
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
        if (!it->SkipLoopLinks())
            Retire(it);
        return child;
    }
    return slots_.end();
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
    slot->listing = nullptr;
    slot->error = nullptr;
    spare_.splice(spare_.end(), slots_, slot);
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
    return freed_ >= std::max<std::size_t>(1, distance_ / kReachRuns);
}

// Waking the scan's thread costs more than a folder where threads wait in the kernel, so it is
// woken for a run of listings, longer while calls return at once, or once nothing within reach is
// listed or left to list; it never waits longer than its own wait either way. A thread that has
// just listed a folder goes on to the work within reach itself.
bool FolderReadAhead::WorthWaking() const {
    const std::size_t wakeRun = budget_.Quick() ? std::max(kWakeRun, distance_ / kReachRuns) : kWakeRun;
    std::size_t run = 0;
    auto it = slots_.begin();
    for (; it != slots_.end() && it->state == Slot::State::kListed; ++it)
        if (++run == wakeRun)
            return true;
    if (run == 0)
        return false;
    for (std::size_t reach = run; it != slots_.end() && reach < distance_; ++it, ++reach)
        if (it->state != Slot::State::kListed)
            return false;
    return true;
}

// Asks without taking, so that no thread is woken to find nothing: what TakeWork would find.
bool FolderReadAhead::WorkWithinReach() const {
    std::size_t reach = 0;
    for (auto it = slots_.begin(); it != slots_.end() && reach < distance_; ++it) {
        if (it->state == Slot::State::kWaiting || it->state == Slot::State::kRest)
            return true;
        ++reach;
    }
    return false;
}

// Stops between entries once the scan has ended: a huge folder nobody waits for is not read out.
std::shared_ptr<const FolderListing> FolderReadAhead::List(std::wstring path) {
    auto listing = std::make_shared<FolderListing>();
    listing->path = std::move(path);
    const std::wstring& folder = listing->path;
    if (auto search = SearchRetryingOnce(fs_, folder)) {
        DirEntry entry;
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

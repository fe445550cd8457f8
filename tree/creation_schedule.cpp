#include "tree/creation_schedule.h"

#include "tree/worker_pool.h"

namespace tavelin {

namespace {
// One creation in this many of a run is timed: a run ends at the first slow one.
constexpr std::size_t kTimedEvery = 8;
}  // namespace

void CreationSchedule::Add(std::wstring path, std::size_t parent) {
    At(added_++) = {std::move(path), parent, Folder::State::kQueued};
}

// The first folder given whose parent is finished: a folder is never created before the one it
// goes into, whose creation decides whether it can be.
std::size_t CreationSchedule::FirstReady() const {
    for (std::size_t number = first_; number < added_; ++number)
        if (At(number).state == Folder::State::kQueued && ParentFinished(At(number).parent))
            return number;
    return added_;
}

bool CreationSchedule::HasWork(bool) const {
    return FirstReady() < added_;
}

// While calls return at once, one thread takes the folders given after the first ready one as
// well, as long as each goes into a finished folder or into one the run creates before it.
bool CreationSchedule::Take(Job& job, bool quick) {
    job.first = FirstReady();
    if (job.first == added_)
        return false;
    job.taken = 0;
    job.paths.resize(0);
    for (std::size_t number = job.first; number < added_; ++number) {
        Folder& folder = At(number);
        if (folder.state != Folder::State::kQueued ||
            !(ParentFinished(folder.parent) || (folder.parent != kNoParent && folder.parent >= job.first)))
            break;
        folder.state = Folder::State::kCreating;
        job.paths.push_back(std::move(folder.path));
        ++job.taken;
        if (!quick)
            break;
    }
    return true;
}

std::chrono::steady_clock::duration CreationSchedule::Do(Job& job, const std::atomic<bool>& stopped) {
    using Clock = std::chrono::steady_clock;
    job.made.assign(job.taken, false);
    Clock::duration timed{};
    int calls = 0;
    for (job.done = 0; job.done < job.taken && !stopped;) {
        const bool time = job.done % kTimedEvery == 0;
        const auto start = time ? Clock::now() : Clock::time_point{};
        job.made[job.done] = fs_->MakeDirectory(job.paths[job.done]);
        ++job.done;
        const auto took = time ? Clock::now() - start : Clock::duration{};
        timed += took;
        calls += time ? 1 : 0;
        if (ThreadBudget::RoundTrip(took))
            break;
    }
    return calls == 0 ? Clock::duration{} : timed / calls;
}

// The folders of the run it did not get to go back to the others.
bool CreationSchedule::Finish(Job& job) {
    for (std::size_t i = 0; i < job.taken; ++i) {
        Folder& folder = At(job.first + i);
        if (i < job.done) {
            folder.state = Folder::State::kFinished;
            ++(job.made[i] ? created : notCreated);
        } else {
            folder.state = Folder::State::kQueued;
            folder.path = std::move(job.paths[i]);
        }
    }
    while (first_ < added_ && At(first_).state == Folder::State::kFinished)
        ++first_;
    return AllFinished() || HasRoom(batch_);
}

bool CreationSchedule::ParentFinished(std::size_t parent) const {
    return parent == kNoParent || parent < first_ || At(parent).state == Folder::State::kFinished;
}

}  // namespace tavelin

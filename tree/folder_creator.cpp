#include "tree/folder_creator.h"

#include <utility>

namespace tavelin {

namespace {
constexpr std::size_t kWakeRun = 8;
}  // namespace

FolderCreator::FolderCreator(Key, FileSystem& fs, std::size_t threads, std::size_t distance)
    : fs_(fs), budget_(threads, 2), ring_(distance) {}

// Each thread holds the creator until it ends, which may be after its owner has gone.
std::shared_ptr<FolderCreator> FolderCreator::Start(FileSystem& fs, std::size_t threads, std::size_t distance) {
    auto creator = std::make_shared<FolderCreator>(Key{}, fs, threads, distance);
    StartWorkerThreads(
        threads, [creator] { creator->Work(); }, [creator] { creator->Stop(); },
        [creator](std::exception_ptr error) { creator->Fail(error); });
    return creator;
}

void FolderCreator::Stop() {
    {
        std::lock_guard lock(mutex_);
        stopped_ = true;
    }
    work_.notify_all();
}

// A thread that cannot go on (out of memory) stops every thread and tells the copy's thread.
void FolderCreator::Fail(std::exception_ptr error) {
    {
        std::lock_guard lock(mutex_);
        if (!error_)
            error_ = error;
        stopped_ = true;
    }
    work_.notify_all();
    finished_.notify_all();
}

bool FolderCreator::WaitForRoom(std::chrono::milliseconds wait) {
    return WaitFor(wait, [this] { return added_ - first_ < ring_.size(); });
}

bool FolderCreator::WaitUntilFinished(std::chrono::milliseconds wait) {
    return WaitFor(wait, [this] { return first_ == added_; });
}

template <typename Ready>
bool FolderCreator::WaitFor(std::chrono::milliseconds wait, Ready ready) {
    std::unique_lock lock(mutex_);
    waiting_ = true;
    finished_.wait_for(lock, wait, [&] { return error_ || ready(); });
    waiting_ = false;
    if (error_)
        std::rethrow_exception(error_);
    return ready();
}

void FolderCreator::Add(std::wstring path, std::size_t parent) {
    std::lock_guard lock(mutex_);
    At(added_) = {std::move(path), parent, Folder::State::kQueued};
    ++added_;
    if (idle_ > 0 && busy_ < budget_.Allowed() && ParentFinished(parent))
        work_.notify_one();
}

std::int64_t FolderCreator::Created() const {
    std::lock_guard lock(mutex_);
    return created_;
}

std::int64_t FolderCreator::NotCreated() const {
    std::lock_guard lock(mutex_);
    return notCreated_;
}

void FolderCreator::Work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        std::optional<std::size_t> number;
        ++idle_;
        work_.wait(lock, [&] { return stopped_ || (busy_ < budget_.Allowed() && (number = TakeWork())); });
        --idle_;
        if (stopped_)
            return;
        ++busy_;
        // What this thread leaves goes to another at once.
        if (idle_ > 0 && busy_ < budget_.Allowed() && WorkReady())
            work_.notify_one();
        const std::wstring path = At(*number).path;
        lock.unlock();
        bool made = false;
        std::exception_ptr error;
        const auto start = std::chrono::steady_clock::now();
        try {
            made = fs_.MakeDirectory(path);
        } catch (...) {
            error = std::current_exception();
        }
        const auto took = std::chrono::steady_clock::now() - start;
        lock.lock();
        --busy_;
        // The copy has ended meanwhile: what this creation did is no longer counted.
        if (stopped_)
            return;
        if (budget_.Record(took))
            work_.notify_all();
        At(*number).state = Folder::State::kFinished;
        if (error && !error_)
            error_ = error;
        // A folder already there and a file in the way both make the creation fail, and both
        // count as not created: the creation itself is the existence test.
        ++(made ? created_ : notCreated_);
        while (first_ < added_ && At(first_).state == Folder::State::kFinished)
            ++first_;
        // Waking the window's thread costs more than a creation where threads wait in the kernel:
        // it is woken for room for a run of folders, or when all are made.
        if (waiting_ && (first_ == added_ || added_ - first_ + kWakeRun <= ring_.size()))
            finished_.notify_one();
    }
}

// The first folder given whose parent is finished: a folder is never created before the one it
// goes into, whose creation decides whether it can be.
std::optional<std::size_t> FolderCreator::TakeWork() {
    for (std::size_t number = first_; number < added_; ++number) {
        Folder& folder = At(number);
        if (folder.state == Folder::State::kQueued && ParentFinished(folder.parent)) {
            folder.state = Folder::State::kCreating;
            return number;
        }
    }
    return std::nullopt;
}

bool FolderCreator::WorkReady() const {
    for (std::size_t number = first_; number < added_; ++number)
        if (At(number).state == Folder::State::kQueued && ParentFinished(At(number).parent))
            return true;
    return false;
}

bool FolderCreator::ParentFinished(std::size_t parent) const {
    return parent == kNoParent || parent < first_ || At(parent).state == Folder::State::kFinished;
}

}  // namespace tavelin

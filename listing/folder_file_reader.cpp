#include "listing/folder_file_reader.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <utility>

#include "base/worker_threads.h"
#include "services/attribute_filter.h"
#include "services/retried_search.h"

namespace tavelin {

namespace {
// Every hand-over wakes the window's thread, which costs far more than a file and, on a busy
// machine, may wait for a processor; so the batches grow eightfold up to a size that keeps a
// batch's names within a few megabytes. They start at one file: a folder whose server stops
// answering after a few files has shown them, and once the window has waited in vain every file
// is handed over as it comes.
constexpr std::size_t kBatchFiles = 32768;
constexpr std::size_t kBatchGrowth = 8;
// While the window waits, with nothing to do, a batch this large is handed over at once: the
// window fills its rows while the thread reads on, and little is left for it once the folder ends.
constexpr std::size_t kWhileWaiting = 1024;
}  // namespace

// What the window and one reading thread share. The thread holds it, and through it the file
// system, for as long as it runs, so that it may outlive the reader that started it.
struct FolderFileReader::Shared {
    explicit Shared(std::shared_ptr<FileSystem> files) : fs(std::move(files)) {}

    // The thread's life: one folder after another, until the reader leaves it.
    void Serve();
    // Reads `folder` into `read`, handing batches over; false when the folder was given up.
    bool Read(const std::wstring& folder, FileBatch& read, bool& failedRead);
    // Adds `read` to what the window has not taken yet; false when the folder was given up.
    bool HandOver(FileBatch& read);

    const std::shared_ptr<FileSystem> fs;
    std::mutex mutex;
    std::condition_variable changed;
    // Set by the window.
    std::wstring folder;
    bool started = false;  // `folder` waits to be read
    bool left = false;     // the reader has gone, or moved on to another thread
    std::atomic<bool> windowWaiting{false};
    std::atomic<bool> stopped{false};  // the folder being read is given up
    std::atomic<bool> starved{false};  // the window waited in vain: every file is handed over as it comes
    // Set by the thread.
    bool busy = false;
    FileBatch ready;
    bool ended = false;
    bool failed = false;
    std::exception_ptr error;
};

void FolderFileReader::Shared::Serve() {
    FileBatch read;
    for (;;) {
        std::wstring next;
        {
            std::unique_lock lock(mutex);
            changed.wait(lock, [this] { return started || left; });
            if (left)
                return;
            started = false;
            busy = true;
            next = std::move(folder);
        }
        bool failedRead = false;
        bool finished = false;
        std::exception_ptr thrown;
        try {
            finished = Read(next, read, failedRead);
        } catch (...) {
            thrown = std::current_exception();
            finished = true;
        }
        std::unique_lock lock(mutex);
        if (finished) {
            changed.wait(lock, [this] { return ready.count == 0 || stopped || left; });
            if (!stopped && !left) {
                std::swap(ready, read);
                ended = true;
                failed = failedRead;
                error = thrown;
            }
        }
        read.count = 0;
        busy = false;
        changed.notify_all();
    }
}

bool FolderFileReader::Shared::Read(const std::wstring& path, FileBatch& read, bool& failedRead) {
    auto search = SearchRetryingOnce(*fs, path);
    if (!search)
        return !stopped;
    std::size_t batch = 1;
    std::size_t handOverAt = batch;
    for (;;) {
        if (stopped.load(std::memory_order_relaxed))
            return false;
        if (read.count == read.entries.size())
            read.entries.emplace_back();
        DirEntry& entry = read.entries[read.count];
        if (!search->Next(entry))
            break;
        if (!MatchesAttributeSet(entry.attributes, kFileListAttributeSet))
            continue;
        ++read.count;
        if (read.count >= handOverAt || starved.load(std::memory_order_relaxed) ||
            (read.count >= kWhileWaiting && windowWaiting.load(std::memory_order_relaxed))) {
            if (!HandOver(read))
                return false;
            batch = std::min(batch * kBatchGrowth, kBatchFiles);
            handOverAt = batch;
        }
    }
    failedRead = search->Failed();
    return true;
}

// Beyond a full batch the thread waits for the window to take what it has, so each batch's
// entries, and the names they hold, stay within a batch's size however long the folder.
bool FolderFileReader::Shared::HandOver(FileBatch& read) {
    std::unique_lock lock(mutex);
    changed.wait(lock, [&] { return ready.count == 0 || ready.count + read.count <= kBatchFiles || stopped || left; });
    if (stopped || left)
        return false;
    if (ready.count == 0) {
        std::swap(ready, read);
    } else {
        // Entries change places rather than move, so both batches keep buffers for names.
        for (std::size_t i = 0; i < read.count; ++i, ++ready.count) {
            if (ready.count == ready.entries.size())
                ready.entries.emplace_back();
            std::swap(ready.entries[ready.count], read.entries[i]);
        }
    }
    read.count = 0;
    if (windowWaiting)
        changed.notify_all();
    return true;
}

FolderFileReader::FolderFileReader(std::shared_ptr<FileSystem> fs) : fs_(std::move(fs)) {}

FolderFileReader::~FolderFileReader() {
    Leave();
}

void FolderFileReader::Start(const std::wstring& folder) {
    taken_.count = 0;
    failed_ = false;
    if (shared_) {
        std::lock_guard lock(shared_->mutex);
        if (!shared_->busy && !shared_->started) {
            shared_->folder = folder;
            shared_->started = true;
            shared_->stopped = false;
            shared_->starved = false;
            shared_->ready.count = 0;
            shared_->ended = false;
            shared_->failed = false;
            shared_->error = nullptr;
            shared_->changed.notify_all();
            return;
        }
    }
    Leave();
    shared_ = std::make_shared<Shared>(fs_);
    shared_->folder = folder;
    shared_->started = true;
    threadRefused_ = !StartThread();
}

bool FolderFileReader::StartThread() {
    return StartWorkerThread([shared = shared_] { shared->Serve(); });
}

void FolderFileReader::Stop() {
    if (!shared_)
        return;
    std::lock_guard lock(shared_->mutex);
    shared_->stopped = true;
    shared_->changed.notify_all();
}

FolderFileReader::Taken FolderFileReader::Take(std::chrono::milliseconds wait) {
    taken_.count = 0;
    if (threadRefused_ && (threadRefused_ = !StartThread())) {
        std::this_thread::sleep_for(wait);
        return Taken::kWaiting;
    }
    Shared& s = *shared_;
    std::unique_lock lock(s.mutex);
    const auto arrived = [&s] { return s.ready.count > 0 || s.ended; };
    if (!arrived()) {
        s.windowWaiting = true;
        s.changed.wait_for(lock, wait, arrived);
        s.windowWaiting = false;
    }
    if (s.ready.count > 0) {
        std::swap(taken_, s.ready);
        s.starved = false;
        s.changed.notify_all();
        return Taken::kFiles;
    }
    if (s.ended) {
        failed_ = s.failed;
        if (s.error)
            std::rethrow_exception(std::exchange(s.error, nullptr));
        return Taken::kEnded;
    }
    s.starved = true;
    return Taken::kWaiting;
}

void FolderFileReader::Leave() {
    if (!shared_)
        return;
    {
        std::lock_guard lock(shared_->mutex);
        shared_->left = true;
        shared_->stopped = true;
        shared_->changed.notify_all();
    }
    shared_.reset();
    threadRefused_ = false;
}

}  // namespace tavelin

#include "tree/folder_copy.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <utility>
#include <vector>

#include "services/loop_pacer.h"
#include "tree/node_path.h"
#include "tree/shell_name.h"
#include "tree/worker_pool.h"

namespace tavelin {

namespace {
// A repaint can cost more than the folder it names, and a screen shows no more than about this.
constexpr auto kRepaintInterval = std::chrono::milliseconds(15);
// Half of what a window may go without a look at its queue, so one slow folder still leaves room.
constexpr auto kLookInterval = std::chrono::milliseconds(50);
// On a file server every creation is a round trip; this many at once hide most of it.
constexpr std::size_t kCreationThreads = 8;
// Folders given ahead of the first one not yet made: every thread busy past those that must wait
// for their parent.
constexpr std::size_t kCreationDistance = 256;
// Handed over at once: a hand-over may wake a thread, which costs more than a local creation.
constexpr std::size_t kHandOver = 64;
// The longest the window's thread waits for the threads before it has control again.
constexpr auto kWaitSlice = std::chrono::milliseconds(10);
constexpr wchar_t kCopyAborted[] = L"フォルダ名コピーを中断しました。";

// Folders to create in the order given, each once the creation of its parent (which decides
// whether it can be made) has returned. One folder a job: even on a local disk a creation costs
// more than a hand-over, and two threads make folders almost twice as fast as one.
class CreationSchedule {
  public:
    static constexpr std::size_t kNoParent = static_cast<std::size_t>(-1);
    struct Job {
        std::size_t number = 0;
        std::wstring path;
        bool made = false;
    };

    explicit CreationSchedule(std::shared_ptr<FileSystem> fs) : fs_(std::move(fs)), ring_(kCreationDistance) {}

    bool Take(Job& job, bool) {
        job.number = FirstReady();
        if (job.number == added_)
            return false;
        At(job.number).taken = true;
        job.path.swap(At(job.number).path);
        return true;
    }
    bool HasWork(bool) const { return FirstReady() < added_; }
    std::chrono::steady_clock::duration Do(Job& job, const std::atomic<bool>&) {
        const auto start = std::chrono::steady_clock::now();
        job.made = fs_->MakeDirectory(job.path);
        return std::chrono::steady_clock::now() - start;
    }
    // A folder already there and a file in the way both make the creation fail, and both count
    // as not created: the creation itself is the existence test. Whoever gives the folders is
    // woken once there is room for another hand-over, or all are finished.
    bool Finish(Job& job) {
        At(job.number).finished = true;
        ++(job.made ? created : notCreated);
        while (first_ < added_ && At(first_).finished)
            ++first_;
        return AllFinished() || HasRoom(kHandOver);
    }

    bool HasRoom(std::size_t folders) const { return added_ - first_ + folders <= ring_.size(); }
    bool AllFinished() const { return first_ == added_; }
    // `parent` is the number (from 0, in the order given) of the folder it goes into, or kNoParent.
    void Add(std::wstring path, std::size_t parent) { At(added_++) = {std::move(path), parent, false, false}; }
    std::int64_t created = 0;
    std::int64_t notCreated = 0;

  private:
    struct Folder {
        std::wstring path;
        std::size_t parent = kNoParent;
        bool taken = false;
        bool finished = true;
    };

    std::size_t FirstReady() const {
        for (std::size_t number = first_; number < added_; ++number) {
            const std::size_t parent = At(number).parent;
            if (!At(number).taken && (parent == kNoParent || parent < first_ || At(parent).finished))
                return number;
        }
        return added_;
    }
    Folder& At(std::size_t number) { return ring_[number % ring_.size()]; }
    const Folder& At(std::size_t number) const { return ring_[number % ring_.size()]; }

    const std::shared_ptr<FileSystem> fs_;
    // The folders from `first_` (the first not finished) to `added_`, by number modulo the size.
    std::vector<Folder> ring_;
    std::size_t first_ = 0;
    std::size_t added_ = 0;
};

FolderCopyResult Copy(const FolderTree& tree, const std::wstring& targetFolder, FileSystem& fs, LoopHost& host) {
    FolderCopyResult result;
    const std::size_t count = tree.Count();
    LoopPacer repaints(host, kRepaintInterval);
    LoopPacer looks(host, kLookInterval);
    // Windows takes a window that has not looked at its queue for a while for hung; the copy
    // looks without taking anything, between folders and while it waits for the threads.
    const auto lookIfDue = [&] {
        if (looks.Due())
            host.KeepResponsive();
    };
    const auto creator = std::make_shared<WorkerPool<CreationSchedule>>(kCreationThreads, 2, fs.Share());
    const StopOnExit stopCreator{*creator};
    // Made full once: the names appended to it must reach the file system as they are.
    const std::wstring target = fs.FullPath(targetFolder);
    // Waits until `ready(schedule)`, then runs `then(schedule)`; false on Escape, which is read while
    // waiting for the threads too: a creation a server holds never holds the window.
    const auto waitFor = [&](auto ready, auto then) {
        while (!creator->When(kWaitSlice, ready, then)) {
            lookIfDue();
            if (host.EscapeDown())
                return false;
        }
        return true;
    };
    // Folders are numbered in the order given to the threads, and handed over a few at a time.
    std::vector<std::pair<std::wstring, std::size_t>> pending;
    const auto handOver = [&] {
        const bool handed = waitFor([&](CreationSchedule& s) { return s.HasRoom(pending.size()); },
                                    [&](CreationSchedule& s) {
                                        for (auto& [path, parent] : pending)
                                            s.Add(std::move(path), parent);
                                    });
        pending.clear();
        return handed;
    };
    // The folders down to the last one taken, each with its number, or kRefused.
    constexpr std::size_t kRefused = CreationSchedule::kNoParent - 1;
    std::vector<std::pair<NodeId, std::size_t>> ancestors;
    std::size_t given = 0;
    for (std::size_t index = 1; index < count && result.completed; ++index) {
        if (host.EscapeDown()) {
            result.completed = false;
            break;
        }
        lookIfDue();
        const NodeId node = tree.NodeAt(index);
        // Every folder's name is set, so the line is right whenever it is painted; it is painted
        // only as often as anyone could read it, and always for the last folder.
        host.SetStatus(L"フォルダ［" + std::wstring(tree.Text(node)) + L"］を作成しています。");
        if (index + 1 == count || repaints.Due())
            host.RepaintStatus();
        while (!ancestors.empty() && ancestors.back().first != tree.Parent(node))
            ancestors.pop_back();
        const std::size_t parent = ancestors.empty() ? CreationSchedule::kNoParent : ancestors.back().second;
        // A name the shell cannot handle is not created, and neither is anything below it, as
        // below a folder whose creation failed.
        if (parent == kRefused || !ShellCanHandle(tree.Text(node))) {
            ancestors.emplace_back(node, kRefused);
            ++result.notCreated;
            continue;
        }
        ancestors.emplace_back(node, given++);
        pending.emplace_back(target + RelativeNodePath(tree, node), parent);
        if (pending.size() == kHandOver)
            result.completed = handOver();
    }
    // After Escape what is still in flight ends on its own and is not counted.
    if (result.completed &&
        (!handOver() || !waitFor([](CreationSchedule& s) { return s.AllFinished(); }, [](auto&) {})))
        result.completed = false;
    creator->When(
        std::chrono::milliseconds(0), [](auto&) { return true; },
        [&](CreationSchedule& s) {
            result.created = s.created;
            result.notCreated += s.notCreated;
        });
    if (result.completed)
        host.SetStatus(L"フォルダ名コピーを完了しました。［フォルダ作成数:" + std::to_wstring(result.created) +
                       L"］［フォルダ未作成数:" + std::to_wstring(result.notCreated) + L"］");
    else
        host.SetStatus(kCopyAborted);
    host.RepaintStatus();
    return result;
}

}  // namespace

// An exception (out of memory, on this thread or a creating one) ends the copy as Escape does,
// before the error box reports it.
FolderCopyResult CopyFolderNames(const FolderTree& tree,
                                 const std::wstring& targetFolder,
                                 FileSystem& fs,
                                 LoopHost& host) {
    try {
        return Copy(tree, targetFolder, fs, host);
    } catch (...) {
        host.SetStatus(kCopyAborted);
        host.RepaintStatus();
        throw;
    }
}

}  // namespace tavelin

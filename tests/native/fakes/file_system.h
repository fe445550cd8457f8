#pragma once
// A file system in memory for the portable logic's tests: folders, files and links that the scan,
// the listing and the copy read and create as on a disk.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "services/file_system.h"
#include "tree/worker_pool.h"

namespace tavelin::test {

// Waits, ten seconds at most, for the scan's and the copy's threads to end; true when they have.
inline bool WorkerThreadsEnded() {
    for (int i = 0; i < 10000 && RunningWorkerThreads() > 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return RunningWorkerThreads() == 0;
}

// Paths are kept without a trailing "\"; a link stands for its target in every path below it.
// The calls of the interface may come from several threads at once, as from the scan's and the
// copy's workers; the set-up calls come before. What Share returns is another handle on the same
// disk, which lives as long as the last handle.
class FakeFileSystem : public FileSystem {
    struct Disk;

  public:
    explicit FakeFileSystem(std::wstring root = L"C:\\A") { Folder(Trim(root)); }
    // The test's own handle lets a call still blocked go on, on the disk its thread shares.
    ~FakeFileSystem() override {
        if (!shared_)
            Release();
    }
    FakeFileSystem(const FakeFileSystem&) = default;
    FakeFileSystem(FakeFileSystem&&) = default;

    std::shared_ptr<FileSystem> Share() override { return std::shared_ptr<FakeFileSystem>(new FakeFileSystem(disk_)); }

    static constexpr std::size_t kAtOpen = static_cast<std::size_t>(-1);
    // Searches of `path`, checks and creations of it ("*": of every path) block, as on a server that has
    // stopped answering, until Release; or, given `entry`, a search's read of that entry (from 0).
    // Release lets every call held so far go on; a Block after it holds only the calls that follow.
    void Block(const std::wstring& path, std::size_t entry = kAtOpen) {
        std::lock_guard lock(disk_->blocking);
        disk_->blocked = Trim(path);
        disk_->blockedEntry = entry;
    }
    void Release() {
        if (!disk_)
            return;
        {
            std::lock_guard lock(disk_->blocking);
            disk_->blocked.clear();
            ++disk_->releases;
        }
        disk_->released.notify_all();
    }
    // Searches, creations and identity queries made so far, blocked ones included.
    int Calls() const { return disk_->calls; }
    // Calls blocked right now.
    int BlockedCalls() const { return disk_->blockedCalls; }
    // Holds a blocked call for a few seconds at most, so that code that waits for it fails a test
    // rather than hang it.
    class ReleaseLater {
      public:
        explicit ReleaseLater(FakeFileSystem& fs)
            : releaser_([this, &fs] {
                  std::unique_lock lock(mutex_);
                  done_.wait_for(lock, std::chrono::seconds(3), [this] { return finished_; });
                  fs.Release();
              }) {}
        ~ReleaseLater() {
            {
                std::lock_guard lock(mutex_);
                finished_ = true;
            }
            done_.notify_all();
            releaser_.join();
        }

      private:
        std::mutex mutex_;
        std::condition_variable done_;
        bool finished_ = false;
        std::thread releaser_;
    };

    void AddFolder(const std::wstring& path, std::uint32_t attributes = kAttrDirectory) {
        AddEntry(path, attributes);
        Folder(Trim(path));
    }
    void AddFile(const std::wstring& path, std::uint32_t attributes = kAttrArchive) { AddEntry(path, attributes); }
    void AddLink(const std::wstring& path, const std::wstring& target, std::uint32_t tag = kTagSymbolicLink) {
        AddEntry(path, kAttrDirectory | kAttrReparsePoint, tag);
        disk_->links[Trim(path)] = Trim(target);
    }
    // The folder that FullPath makes of `folder`; any other comes back as it is.
    void SetFullPath(const std::wstring& folder, const std::wstring& full) { disk_->fullPaths[folder] = full; }
    // Folders on a file system that gives no ids.
    void WithoutIds() { disk_->withoutIds = true; }
    void MakeUnreadable(const std::wstring& path) { disk_->unreadable.insert(Trim(path)); }
    void FailCreationOf(const std::wstring& path) { disk_->failing.insert(Trim(path)); }
    // The next `searches` searches of `path` fail after `entries` entries (0: at the open) as a
    // share that drops its connection does; the searches after them read to the end.
    void FailReading(const std::wstring& path, std::size_t entries, int searches) {
        disk_->failingReads[Trim(path)] = {entries, searches};
    }
    // The entries a search of `folder` returns, exactly and in this order. A folder that the
    // calls above made starts with "." and "..", as on a disk; one first named here starts empty,
    // for tests that count every entry they put in.
    std::vector<DirEntry>& Entries(const std::wstring& folder) { return disk_->folders[Trim(folder)]; }

    std::unique_ptr<DirectorySearch> Search(const std::wstring& folder) override {
        ++disk_->calls;
        WaitWhileBlocked(*disk_, folder, kAtOpen);
        ++disk_->openSearches;
        std::this_thread::sleep_for(disk_->searchDelay);
        if (!disk_->searchDelays.empty())
            std::this_thread::sleep_for(disk_->searchDelays[disk_->searchCount++ % disk_->searchDelays.size()]);
        std::lock_guard lock(disk_->mutex);
        disk_->searched.push_back(folder);
        const std::wstring real = Resolve(folder);
        auto found = disk_->folders.find(real);
        if (found == disk_->folders.end() || disk_->unreadable.contains(real)) {
            --disk_->openSearches;
            return nullptr;
        }
        std::size_t failAt = found->second.size() + 1;
        if (auto failing = disk_->failingReads.find(real);
            failing != disk_->failingReads.end() && failing->second.second > 0) {
            --failing->second.second;
            failAt = failing->second.first;
        }
        return std::make_unique<Listing>(found->second, disk_, folder, failAt);
    }
    // Takes a path as the platform's path rules would make it, as a disk does.
    bool IsDirectory(const std::wstring& path) override {
        WaitWhileBlocked(*disk_, path, kAtOpen);
        std::lock_guard lock(disk_->mutex);
        return disk_->folders.contains(Resolve(FullPath(path)));
    }
    bool MakeDirectory(const std::wstring& path) override {
        ++disk_->calls;
        WaitWhileBlocked(*disk_, path, kAtOpen);
        std::lock_guard lock(disk_->mutex);
        const std::wstring p = Trim(path);
        const std::wstring parent = p.substr(0, p.rfind(L'\\'));
        if (disk_->failing.contains(p) || !disk_->folders.contains(parent) || Exists(p))
            return false;
        AddFolder(p);
        disk_->created.push_back(p);
        return true;
    }
    std::optional<FolderIdentity> Identity(const std::wstring& path) override {
        ++disk_->calls;
        std::lock_guard lock(disk_->mutex);
        ++disk_->identityQueries;
        const std::wstring real = Resolve(path);
        if (!disk_->folders.contains(real))
            return std::nullopt;
        auto [it, added] = disk_->ids.emplace(real, disk_->ids.size() + 1);
        FolderIdentity identity{7, {}};
        if (!disk_->withoutIds)
            std::memcpy(identity.fileId.data() + 8, &it->second, sizeof it->second);
        return identity;
    }
    std::wstring FullPath(const std::wstring& folder) override {
        auto found = disk_->fullPaths.find(folder);
        return found == disk_->fullPaths.end() ? folder : found->second;
    }

    const std::vector<std::wstring>& Created() const { return disk_->created; }
    // Searches under way: started and, when they found the folder, not yet closed.
    int OpenSearches() const { return disk_->openSearches; }
    // Entries read by every search so far.
    long EntriesRead() const { return disk_->entriesRead; }
    int IdentityQueries() const { return disk_->identityQueries; }

  private:
    class Listing : public DirectorySearch {
      public:
        Listing(std::vector<DirEntry> entries, std::shared_ptr<Disk> disk, std::wstring path, std::size_t failAt)
            : entries_(std::move(entries)), disk_(std::move(disk)), path_(std::move(path)), failAt_(failAt) {}
        ~Listing() override { --disk_->openSearches; }
        bool Next(DirEntry& entry) override {
            if (next_ == failAt_ || next_ == entries_.size())
                return false;
            WaitWhileBlocked(*disk_, path_, next_);
            if (disk_->entryDelay.count() > 0)
                std::this_thread::sleep_for(disk_->entryDelay);
            ++disk_->entriesRead;
            entry = entries_[next_++];
            return true;
        }
        bool Failed() const override { return next_ == failAt_; }

      private:
        std::vector<DirEntry> entries_;
        std::shared_ptr<Disk> disk_;
        const std::wstring path_;
        const std::size_t failAt_;
        std::size_t next_ = 0;
    };

    static void WaitWhileBlocked(Disk& disk, const std::wstring& path, std::size_t entry) {
        std::unique_lock lock(disk.blocking);
        if (disk.blocked.empty() || (disk.blocked != L"*" && Trim(path) != disk.blocked) || entry != disk.blockedEntry)
            return;
        ++disk.blockedCalls;
        const int releases = disk.releases;
        disk.released.wait(lock, [&] { return disk.releases != releases; });
        --disk.blockedCalls;
    }
    static std::wstring Trim(std::wstring path) {
        while (path.size() > 3 && path.back() == L'\\')
            path.pop_back();
        if (path.size() == 3 && path.back() == L'\\')
            path.pop_back();
        return path;
    }
    std::vector<DirEntry>& Folder(const std::wstring& path) {
        auto [it, added] = disk_->folders.try_emplace(path);
        if (added)
            it->second = {{L".", kAttrDirectory}, {L"..", kAttrDirectory}};
        return it->second;
    }
    bool Exists(const std::wstring& path) const {
        if (disk_->folders.contains(path))
            return true;
        const std::wstring parent = path.substr(0, path.rfind(L'\\'));
        auto found = disk_->folders.find(parent);
        if (found == disk_->folders.end())
            return false;
        const std::wstring name = path.substr(path.rfind(L'\\') + 1);
        for (const DirEntry& e : found->second)
            if (e.name == name)
                return true;
        return false;
    }
    // Replaces a leading link by its target until none is left; every replacement shortens a
    // loop's path, so this ends.
    std::wstring Resolve(const std::wstring& path) const {
        std::wstring p = Trim(path);
        for (bool changed = true; changed;) {
            changed = false;
            for (const auto& [link, target] : disk_->links) {
                if (p == link || p.starts_with(link + L'\\')) {
                    p = target + p.substr(link.size());
                    changed = true;
                }
            }
        }
        return p;
    }
    void AddEntry(const std::wstring& path, std::uint32_t attributes, std::uint32_t tag = 0) {
        const std::wstring p = Trim(path);
        const std::size_t cut = p.rfind(L'\\');
        Folder(p.substr(0, cut)).push_back({p.substr(cut + 1), attributes, 0, 0, tag});
    }

    explicit FakeFileSystem(std::shared_ptr<Disk> disk) : disk_(std::move(disk)), shared_(true) {}

    struct Disk {
        std::chrono::microseconds searchDelay{0};
        std::vector<std::chrono::microseconds> searchDelays;
        std::chrono::microseconds entryDelay{0};
        std::vector<std::wstring> searched;
        std::mutex mutex;
        std::mutex blocking;
        std::condition_variable released;
        std::atomic<int> calls{0};
        std::atomic<int> blockedCalls{0};
        std::wstring blocked;
        std::size_t blockedEntry = kAtOpen;
        int releases = 0;  // under `blocking`
        std::atomic<int> openSearches{0};
        std::atomic<std::size_t> searchCount{0};
        std::atomic<long> entriesRead{0};
        std::map<std::wstring, std::vector<DirEntry>> folders;
        std::map<std::wstring, std::wstring> links;
        std::map<std::wstring, std::uint64_t> ids;
        std::map<std::wstring, std::wstring> fullPaths;
        bool withoutIds = false;
        std::set<std::wstring> unreadable;
        std::set<std::wstring> failing;
        std::map<std::wstring, std::pair<std::size_t, int>> failingReads;
        std::vector<std::wstring> created;
        int identityQueries = 0;
    };
    std::shared_ptr<Disk> disk_ = std::make_shared<Disk>();
    bool shared_ = false;

  public:
    // How long each search takes to start, as on a file server.
    std::chrono::microseconds& searchDelay = disk_->searchDelay;
    // Further delays taken by the searches in turn, one each, from the first again after the last.
    std::vector<std::chrono::microseconds>& searchDelays = disk_->searchDelays;
    // How long each entry takes to read.
    std::chrono::microseconds& entryDelay = disk_->entryDelay;
    // Every folder searched, as the caller named it.
    std::vector<std::wstring>& searched = disk_->searched;
};

}  // namespace tavelin::test

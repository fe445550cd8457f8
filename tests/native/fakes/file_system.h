#pragma once
// A file system in memory for the portable logic's tests: folders, files and links that the scan,
// the listing and the copy read and create as on a disk.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <functional>
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
#include "tree/worker_threads.h"

namespace tavelin::test {

// Waits, ten seconds at most, for the scan's and the copy's threads to end; true when they have.
inline bool WorkerThreadsEnded() {
    for (int i = 0; i < 10000 && RunningWorkerThreads() > 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return RunningWorkerThreads() == 0;
}

// Paths are kept without a trailing "\"; a link stands for its target in every path below it.
// The calls of the interface may come from several threads at once, as from the scan's and the
// copy's workers; the set-up calls come before.
class FakeFileSystem : public FileSystem {
  public:
    explicit FakeFileSystem(std::wstring root = L"C:\\A") { Folder(Trim(root)); }
    // The scan's and the copy's threads may still be ending when the test is done with them.
    ~FakeFileSystem() override {
        Release();
        WorkerThreadsEnded();
    }
    FakeFileSystem(FakeFileSystem&&) = default;
    FakeFileSystem& operator=(FakeFileSystem&&) = default;

    // Searches of `path`, checks of it and creations of it block, as on a server that has stopped answering,
    // until Release; or, with `afterEntries`, the reads of its searches past that many entries.
    void Block(const std::wstring& path, std::size_t afterEntries = 0) {
        std::lock_guard lock(*blocking_);
        blocked_ = Trim(path);
        blockedAfter_ = afterEntries;
    }
    void Release() {
        if (!blocking_)
            return;
        {
            std::lock_guard lock(*blocking_);
            blocked_.clear();
        }
        released_->notify_all();
    }
    // Calls blocked right now.
    int BlockedCalls() const { return *blockedCalls_; }
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
        links_[Trim(path)] = Trim(target);
    }
    // The folder that FullPath makes of `folder`; any other comes back as it is.
    void SetFullPath(const std::wstring& folder, const std::wstring& full) { fullPaths_[folder] = full; }
    // Folders on a file system that gives no ids.
    void WithoutIds() { withoutIds_ = true; }
    void MakeUnreadable(const std::wstring& path) { unreadable_.insert(Trim(path)); }
    void FailCreationOf(const std::wstring& path) { failing_.insert(Trim(path)); }
    // The next `searches` searches of `path` fail after `entries` entries (0: at the open) as a
    // share that drops its connection does; the searches after them read to the end.
    void FailReading(const std::wstring& path, std::size_t entries, int searches) {
        failingReads_[Trim(path)] = {entries, searches};
    }
    // The entries a search of `folder` returns, exactly and in this order. A folder that the
    // calls above made starts with "." and "..", as on a disk; one first named here starts empty,
    // for tests that count every entry they put in.
    std::vector<DirEntry>& Entries(const std::wstring& folder) { return folders_[Trim(folder)]; }

    std::unique_ptr<DirectorySearch> Search(const std::wstring& folder) override {
        std::size_t stallAt = 0;
        {
            std::lock_guard lock(*blocking_);
            stallAt = blockedAfter_;
        }
        if (stallAt == 0)
            WaitWhileBlocked(folder);
        const int open = ++*openSearches_;
        for (int peak = *peakSearches_; open > peak && !peakSearches_->compare_exchange_weak(peak, open);) {
        }
        std::this_thread::sleep_for(searchDelay);
        if (!searchDelays.empty())
            std::this_thread::sleep_for(searchDelays[(*searchCount_)++ % searchDelays.size()]);
        std::lock_guard lock(*mutex_);
        searched.push_back(folder);
        const std::wstring real = Resolve(folder);
        auto found = folders_.find(real);
        if (found == folders_.end() || unreadable_.contains(real)) {
            --*openSearches_;
            return nullptr;
        }
        std::size_t failAt = found->second.size() + 1;
        if (auto failing = failingReads_.find(real); failing != failingReads_.end() && failing->second.second > 0) {
            --failing->second.second;
            failAt = failing->second.first;
        }
        auto listing = std::make_unique<Listing>(found->second, *openSearches_, failAt, entryDelay, *entriesRead_);
        if (stallAt > 0)
            listing->StallAt(stallAt, [this, folder] { WaitWhileBlocked(folder); });
        return listing;
    }
    // Takes a path as the platform's path rules would make it, as a disk does.
    bool IsDirectory(const std::wstring& path) override {
        WaitWhileBlocked(path);
        std::lock_guard lock(*mutex_);
        return folders_.contains(Resolve(FullPath(path)));
    }
    bool MakeDirectory(const std::wstring& path) override {
        WaitWhileBlocked(path);
        std::lock_guard lock(*mutex_);
        const std::wstring p = Trim(path);
        const std::wstring parent = p.substr(0, p.rfind(L'\\'));
        if (failing_.contains(p) || !folders_.contains(parent) || Exists(p))
            return false;
        AddFolder(p);
        created_.push_back(p);
        return true;
    }
    std::optional<FolderIdentity> Identity(const std::wstring& path) override {
        std::lock_guard lock(*mutex_);
        ++identityQueries_;
        const std::wstring real = Resolve(path);
        if (!folders_.contains(real))
            return std::nullopt;
        auto [it, added] = ids_.emplace(real, ids_.size() + 1);
        FolderIdentity identity{7, {}};
        if (!withoutIds_)
            std::memcpy(identity.fileId.data() + 8, &it->second, sizeof it->second);
        return identity;
    }
    std::wstring FullPath(const std::wstring& folder) override {
        auto found = fullPaths_.find(folder);
        return found == fullPaths_.end() ? folder : found->second;
    }

    const std::vector<std::wstring>& Created() const { return created_; }
    // Searches under way: started and, when they found the folder, not yet closed.
    int OpenSearches() const { return *openSearches_; }
    // The most searches open at once so far.
    int PeakSearches() const { return *peakSearches_; }
    // How long each search takes to start, as on a file server.
    std::chrono::microseconds searchDelay{0};
    // Further delays taken by the searches in turn, one each, from the first again after the last.
    std::vector<std::chrono::microseconds> searchDelays;
    // How long each entry takes to read.
    std::chrono::microseconds entryDelay{0};
    // Entries read by every search so far.
    long EntriesRead() const { return *entriesRead_; }
    int IdentityQueries() const { return identityQueries_; }
    // Every folder searched, as the caller named it.
    std::vector<std::wstring> searched;

  private:
    class Listing : public DirectorySearch {
      public:
        Listing(std::vector<DirEntry> entries,
                std::atomic<int>& open,
                std::size_t failAt,
                std::chrono::microseconds delay,
                std::atomic<long>& read)
            : entries_(std::move(entries)), open_(open), failAt_(failAt), delay_(delay), read_(read) {}
        ~Listing() override { --open_; }
        void StallAt(std::size_t entry, std::function<void()> stall) {
            stallAt_ = entry;
            stall_ = std::move(stall);
        }
        bool Next(DirEntry& entry) override {
            if (stall_ && next_ == stallAt_)
                stall_();
            if (next_ == failAt_ || next_ == entries_.size())
                return false;
            if (delay_.count() > 0)
                std::this_thread::sleep_for(delay_);
            ++read_;
            entry = entries_[next_++];
            return true;
        }
        bool Failed() const override { return next_ == failAt_; }

      private:
        std::vector<DirEntry> entries_;
        std::atomic<int>& open_;
        const std::size_t failAt_;
        const std::chrono::microseconds delay_;
        std::atomic<long>& read_;
        std::size_t next_ = 0;
        std::size_t stallAt_ = 0;
        std::function<void()> stall_;
    };

    void WaitWhileBlocked(const std::wstring& path) {
        std::unique_lock lock(*blocking_);
        if (blocked_.empty() || Trim(path) != blocked_)
            return;
        ++*blockedCalls_;
        released_->wait(lock, [&] { return blocked_.empty(); });
        --*blockedCalls_;
    }
    static std::wstring Trim(std::wstring path) {
        while (path.size() > 3 && path.back() == L'\\')
            path.pop_back();
        if (path.size() == 3 && path.back() == L'\\')
            path.pop_back();
        return path;
    }
    std::vector<DirEntry>& Folder(const std::wstring& path) {
        auto [it, added] = folders_.try_emplace(path);
        if (added)
            it->second = {{L".", kAttrDirectory}, {L"..", kAttrDirectory}};
        return it->second;
    }
    bool Exists(const std::wstring& path) const {
        if (folders_.contains(path))
            return true;
        const std::wstring parent = path.substr(0, path.rfind(L'\\'));
        auto found = folders_.find(parent);
        if (found == folders_.end())
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
            for (const auto& [link, target] : links_) {
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

    std::unique_ptr<std::mutex> mutex_ = std::make_unique<std::mutex>();
    std::unique_ptr<std::mutex> blocking_ = std::make_unique<std::mutex>();
    std::unique_ptr<std::condition_variable> released_ = std::make_unique<std::condition_variable>();
    std::unique_ptr<std::atomic<int>> blockedCalls_ = std::make_unique<std::atomic<int>>(0);
    std::wstring blocked_;
    std::size_t blockedAfter_ = 0;
    std::unique_ptr<std::atomic<int>> openSearches_ = std::make_unique<std::atomic<int>>(0);
    std::unique_ptr<std::atomic<int>> peakSearches_ = std::make_unique<std::atomic<int>>(0);
    std::unique_ptr<std::atomic<std::size_t>> searchCount_ = std::make_unique<std::atomic<std::size_t>>(0);
    std::unique_ptr<std::atomic<long>> entriesRead_ = std::make_unique<std::atomic<long>>(0);
    std::map<std::wstring, std::vector<DirEntry>> folders_;
    std::map<std::wstring, std::wstring> links_;
    std::map<std::wstring, std::uint64_t> ids_;
    std::map<std::wstring, std::wstring> fullPaths_;
    bool withoutIds_ = false;
    std::set<std::wstring> unreadable_;
    std::set<std::wstring> failing_;
    std::map<std::wstring, std::pair<std::size_t, int>> failingReads_;
    std::vector<std::wstring> created_;
    int identityQueries_ = 0;
};

}  // namespace tavelin::test

#pragma once
// In-memory stand-ins for the file system, the loop host and the main window, for the folder
// tree tests.
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/loop_host.h"
#include "tree/scan_observer.h"

namespace tavelin::test {

// Paths are kept without a trailing "\"; a link stands for its target in every path below it.
class FakeFileSystem : public FileSystem {
  public:
    explicit FakeFileSystem(std::wstring root = L"C:\\A") { folders_[Trim(root)]; }

    void AddFolder(const std::wstring& path, std::uint32_t attributes = kAttrDirectory) {
        AddEntry(path, attributes);
        folders_[Trim(path)];
    }
    void AddFile(const std::wstring& path, std::uint32_t attributes = kAttrArchive) { AddEntry(path, attributes); }
    void AddLink(const std::wstring& path, const std::wstring& target) {
        AddEntry(path, kAttrDirectory | kAttrReparsePoint);
        links_[Trim(path)] = Trim(target);
    }
    void MakeUnreadable(const std::wstring& path) { unreadable_.insert(Trim(path)); }
    void FailCreationOf(const std::wstring& path) { failing_.insert(Trim(path)); }

    std::unique_ptr<DirectorySearch> Search(const std::wstring& folder) override {
        const std::wstring real = Resolve(folder);
        auto found = folders_.find(real);
        if (found == folders_.end() || unreadable_.contains(real))
            return nullptr;
        std::vector<DirEntry> entries{{L".", kAttrDirectory}, {L"..", kAttrDirectory}};
        entries.insert(entries.end(), found->second.begin(), found->second.end());
        return std::make_unique<Listing>(std::move(entries));
    }
    bool IsDirectory(const std::wstring& path) override { return folders_.contains(Resolve(path)); }
    bool MakeDirectory(const std::wstring& path) override {
        const std::wstring p = Trim(path);
        const std::wstring parent = p.substr(0, p.rfind(L'\\'));
        if (failing_.contains(p) || !folders_.contains(parent) || Exists(p))
            return false;
        AddFolder(p);
        created_.push_back(p);
        return true;
    }
    std::optional<FolderIdentity> Identity(const std::wstring& path) override {
        ++identityQueries_;
        const std::wstring real = Resolve(path);
        if (!folders_.contains(real))
            return std::nullopt;
        auto [it, added] = ids_.emplace(real, ids_.size() + 1);
        return FolderIdentity{7, it->second};
    }

    const std::vector<std::wstring>& Created() const { return created_; }
    int IdentityQueries() const { return identityQueries_; }

  private:
    class Listing : public DirectorySearch {
      public:
        explicit Listing(std::vector<DirEntry> entries) : entries_(std::move(entries)) {}
        bool Next(DirEntry& entry) override {
            if (next_ == entries_.size())
                return false;
            entry = entries_[next_++];
            return true;
        }

      private:
        std::vector<DirEntry> entries_;
        std::size_t next_ = 0;
    };

    static std::wstring Trim(std::wstring path) {
        while (path.size() > 3 && path.back() == L'\\')
            path.pop_back();
        if (path.size() == 3 && path.back() == L'\\')
            path.pop_back();
        return path;
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
    void AddEntry(const std::wstring& path, std::uint32_t attributes) {
        const std::wstring p = Trim(path);
        const std::size_t cut = p.rfind(L'\\');
        folders_[p.substr(0, cut)].push_back({p.substr(cut + 1), attributes});
    }

    std::map<std::wstring, std::vector<DirEntry>> folders_;
    std::map<std::wstring, std::wstring> links_;
    std::map<std::wstring, std::uint64_t> ids_;
    std::set<std::wstring> unreadable_;
    std::set<std::wstring> failing_;
    std::vector<std::wstring> created_;
    int identityQueries_ = 0;
};

// Records every call as one line, so a test can check both the calls and their order.
class FakeHost : public LoopHost {
  public:
    // Escape reads as held from the poll with this number on (counted from 1); 0: never.
    int escapeFromPoll = 0;
    std::function<void()> onPump;
    // Each read of the clock moves it on by this much; the default makes every paced check due,
    // zero stops the clock.
    std::chrono::steady_clock::duration tick = std::chrono::seconds(1);

    void SetStatus(const std::wstring& text) override {
        status = text;
        log.push_back(L"status:" + text);
    }
    void RepaintStatus() override { log.push_back(L"repaint"); }
    bool EscapeDown() override {
        ++polls;
        return escapeFromPoll != 0 && polls >= escapeFromPoll;
    }
    void PumpEvents() override {
        ++pumps;
        if (onPump)
            onPump();
    }
    void Inform(const std::wstring& text) override { log.push_back(L"inform:" + text); }
    void ShowError(const std::wstring& text) override { log.push_back(L"error:" + text); }
    std::chrono::steady_clock::time_point Now() override { return now += tick; }

    std::chrono::steady_clock::time_point now;
    std::wstring status;
    std::vector<std::wstring> log;
    int polls = 0;
    int pumps = 0;
};

class FakeWindow : public ScanObserver {
  public:
    void ClearFileList() override { log.push_back(L"clear list"); }
    void SetTreeReady(bool ready) override {
        treeReady = ready;
        log.push_back(ready ? L"ready" : L"not ready");
    }
    void SetScanAborted(bool aborted) override {
        scanAborted = aborted;
        log.push_back(aborted ? L"aborted" : L"not aborted");
    }
    bool IsScanAborted() const override { return scanAborted; }
    void EnableTree(bool enabled) override { log.push_back(enabled ? L"enable" : L"disable"); }
    void ClearTree() override {
        mirrored.clear();
        log.push_back(L"clear tree");
    }
    void NodeAdded(NodeId node, NodeId parent) override { mirrored.push_back({node, parent}); }

    bool treeReady = false;
    bool scanAborted = false;
    std::vector<std::wstring> log;
    std::vector<std::pair<NodeId, NodeId>> mirrored;
};

}  // namespace tavelin::test

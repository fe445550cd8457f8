#include "tree/folder_scan.h"

#include <cstdint>
#include <unordered_set>

#include "services/loop_pacer.h"
#include "tree/folder_read_ahead.h"

namespace tavelin {

namespace {
constexpr wchar_t kScanAborted[] = L"フォルダ検索を中断しました。";
// Under some implementations each look at the queue or the key is a round trip to another
// process that costs more than a directory entry; no one presses a key for less than this.
constexpr auto kProbeInterval = std::chrono::milliseconds(10);
// On a file server every folder is a round trip: twelve threads at once hide most of it, 256
// folders ahead keep every thread busy past the folders that must wait for their parent's listing.
// Where calls return at once, one thread lists ahead: the further, the fewer wakes.
constexpr std::size_t kListingThreads = 12;
constexpr ReadAheadReach kListingReach{.distance = 256, .quickDistance = 2048};

class FolderScan {
  public:
    FolderScan(FolderTree& tree, FileSystem& fs, LoopHost& host, ScanObserver& observer)
        : tree_(tree),
          fs_(fs),
          host_(host),
          observer_(observer),
          pacer_(host, kProbeInterval),
          generation_(tree.Generation()) {}

    // Whatever ends the scan, the tree is usable afterwards: an exception (out of memory on a huge
    // tree) ends it as Escape does, with the nodes found so far, before the error box reports it.
    void Scan(const std::wstring& searchFolder) {
        try {
            Run(searchFolder);
        } catch (...) {
            if (treeDisabled_ && !TreeReplaced()) {
                Abort();
                End();
            }
            throw;
        }
    }

  private:
    void Run(const std::wstring& searchFolder) {
        observer_.ClearFileList();
        observer_.SetTreeReady(false);
        observer_.SetScanAborted(false);
        observer_.EnableTree(false);
        treeDisabled_ = true;
        tree_.Clear();
        generation_ = tree_.Generation();
        observer_.ClearTree();
        observer_.NodeAdded(tree_.AddRoot(searchFolder), kNoNode);
        pacer_.Restart();

        // The read-ahead lists the folders in the order they are visited here, and lists no more once
        // the scan has ended, however it ends; a listing under way then ends on its own. It takes the
        // folder made full once, so that the names found below reach the file system as they are.
        FolderReadAhead ahead(fs_, fs_.FullPath(searchFolder), kListingThreads, kListingReach);
        // The children of the node at `index` land right behind it, so this walks the growing tree
        // in pre-order without any list of its own; the count is re-read on every pass.
        for (std::size_t index = 0; index < tree_.Count() && !TreeReplaced() && !Aborted(); ++index) {
            const NodeId node = tree_.NodeAt(index);
            if (loopLinks_.contains(node))
                continue;
            if (const FolderListing* listing = NextListing(ahead))
                AddSubfolders(*listing, node);
        }
        // However quickly the scan went by, a message that waited for it (a close) runs now.
        if (!TreeReplaced() && !Aborted())
            host_.PumpEvents();
        if (!TreeReplaced())
            End();
    }

    // Gives the tree back to the user, with the status line telling how the scan ended.
    void End() {
        observer_.EnableTree(true);
        treeDisabled_ = false;
        if (Aborted())
            host_.SetStatus(kScanAborted);
        else if (cutShort_ > 0)
            host_.SetStatus(L"フォルダ検索を完了しました。［読み取れなかったフォルダ数:" + std::to_wstring(cutShort_) +
                            L"］");
        else
            host_.SetStatus(L"");
        if (tree_.Count() > 1)
            observer_.SetTreeReady(true);
    }

    // The listing of the next folder in the scan's order, probing while it is not there; nullptr when
    // the scan must stop.
    const FolderListing* NextListing(FolderReadAhead& ahead) {
        for (;;) {
            if (const FolderListing* listing = ahead.Next(kProbeInterval))
                return listing;
            if (pacer_.Due() && !Probe())
                return nullptr;
        }
    }

    // Probes between the sub-folders too (at most once per pacing interval) and stops early on Escape.
    void AddSubfolders(const FolderListing& folder, NodeId node) {
        cutShort_ += folder.cutShort ? 1 : 0;
        for (const Subfolder& subfolder : folder.subfolders) {
            if (pacer_.Due() && !Probe())
                return;
            const NodeId child = tree_.AddChild(node, folder.Name(subfolder));
            observer_.NodeAdded(child, node);
            if (subfolder.loopLink)
                loopLinks_.insert(child);
        }
    }

    // Lets pending window messages run and reads Escape; false when the scan must stop here.
    bool Probe() {
        host_.PumpEvents();
        if (TreeReplaced())
            return false;
        if (host_.EscapeDown()) {
            Abort();
            return false;
        }
        return true;
    }

    // An exception may end a scan that Escape has already stopped; the window hears of the abort once.
    void Abort() {
        if (!Aborted())
            observer_.SetScanAborted(true);
    }

    bool Aborted() const { return observer_.IsScanAborted(); }
    bool TreeReplaced() const { return tree_.Generation() != generation_; }

    FolderTree& tree_;
    FileSystem& fs_;
    LoopHost& host_;
    ScanObserver& observer_;
    LoopPacer pacer_;
    // Links back into their own ancestry: they stay in the tree without children.
    std::unordered_set<NodeId> loopLinks_;
    std::uint64_t generation_ = 0;
    std::int64_t cutShort_ = 0;  // folders whose listing a failed read ended
    bool treeDisabled_ = false;
};

}  // namespace

void ScanFolders(const std::wstring& searchFolder,
                 FolderTree& tree,
                 FileSystem& fs,
                 LoopHost& host,
                 ScanObserver& observer) {
    FolderScan(tree, fs, host, observer).Scan(searchFolder);
}

}  // namespace tavelin

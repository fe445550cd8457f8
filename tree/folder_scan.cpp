#include "tree/folder_scan.h"

#include "services/attribute_filter.h"
#include "tree/node_path.h"

namespace tavelin {

namespace {
constexpr wchar_t kScanning[] = L"フォルダ検索中です。（ESC:中断）";
constexpr wchar_t kDriveNotReady[] = L"検索フォルダのディスクドライブの準備が出来ていません。";
constexpr wchar_t kChooseFolder[] = L"検索フォルダを指定して下さい。";
constexpr wchar_t kScanAborted[] = L"フォルダ検索を中断しました。";
// Under some implementations each look at the queue or the key is a round trip to another
// process that costs more than a directory entry; no one presses a key for less than this.
constexpr auto kProbeInterval = std::chrono::milliseconds(10);
}  // namespace

FolderScan::FolderScan(FolderTree& tree, FileSystem& fs, LoopHost& host, ScanObserver& observer)
    : tree_(tree),
      fs_(fs),
      host_(host),
      observer_(observer),
      links_(tree, fs),
      pacer_(host, kProbeInterval),
      generation_(tree.Generation()) {}

// Whatever ends the scan, the tree is usable afterwards: an exception (out of memory on a huge
// tree) ends it as Escape does, with the nodes found so far, before the error box reports it.
void FolderScan::ScanFolderTree(const std::wstring& searchFolder) {
    try {
        Run(searchFolder);
    } catch (...) {
        if (treeDisabled_ && !TreeReplaced()) {
            Abort();
            observer_.EnableTree(true);
            observer_.SetTreeReady(tree_.Count() > 1);
            host_.SetStatus(kScanAborted);
        }
        throw;
    }
}

void FolderScan::Run(const std::wstring& searchFolder) {
    host_.SetStatus(kScanning);
    host_.RepaintStatus();
    if (!fs_.IsDirectory(searchFolder)) {
        host_.Inform(kDriveNotReady);
        host_.SetStatus(kChooseFolder);
        return;
    }
    observer_.ClearFileList();
    observer_.SetTreeReady(false);
    observer_.SetScanAborted(false);
    observer_.EnableTree(false);
    treeDisabled_ = true;
    tree_.Clear();
    generation_ = tree_.Generation();
    links_.Clear();
    loopLinks_.clear();
    observer_.ClearTree();
    const NodeId root = tree_.AddRoot(searchFolder);
    observer_.NodeAdded(root, kNoNode);
    pacer_.Restart();
    AddSubfolders(searchFolder, root);

    // The children of the node at `index` land right behind it, so this walks the growing tree
    // in pre-order without any list of its own; the count is re-read on every pass.
    for (std::size_t index = 1; index < tree_.Count() && !TreeReplaced() && !Aborted(); ++index) {
        const NodeId node = tree_.NodeAt(index);
        if (!loopLinks_.contains(node))
            AddSubfolders(NodePath(tree_, node), node);
    }
    if (TreeReplaced())
        return;
    observer_.EnableTree(true);
    treeDisabled_ = false;
    host_.SetStatus(Aborted() ? kScanAborted : L"");
    if (tree_.Count() > 1)
        observer_.SetTreeReady(true);
}

void FolderScan::AddSubfolders(const std::wstring& folder, NodeId node) {
    if (auto search = fs_.Search(folder)) {
        DirEntry entry;
        bool first = true;
        while (search->Next(entry)) {
            // Entries the attribute set leaves out are skipped inside the search, before any pump.
            if (!MatchesAttributeSet(entry.attributes, kFolderScanAttributeSet))
                continue;
            if (!first && pacer_.Due() && !Probe())
                return;
            first = false;
            AddEntry(folder, node, entry);
        }
    }
    // However quickly the folders go by, each one ends with a look, so a held key stops the scan
    // before the next folder is listed and a scan of a few small folders still lets a waiting
    // message (a close) run while it is under way.
    pacer_.Restart();
    Probe();
}

// Lets pending window messages run and reads Escape; false when the scan must stop here.
bool FolderScan::Probe() {
    host_.PumpEvents();
    if (TreeReplaced())
        return false;
    if (host_.EscapeDown()) {
        Abort();
        return false;
    }
    return true;
}

void FolderScan::AddEntry(const std::wstring& folder, NodeId node, const DirEntry& entry) {
    if (!(entry.attributes & kAttrDirectory) || entry.name == L"." || entry.name == L"..")
        return;
    const NodeId child = tree_.AddChild(node, entry.name);
    observer_.NodeAdded(child, node);
    // Only a reparse point can lead back up; ordinary folders never pay for the identity query.
    if ((entry.attributes & kAttrReparsePoint) && links_.LeadsToAncestor(folder + entry.name + L'\\', node, folder))
        loopLinks_.insert(child);
}

// An exception may end a scan that Escape has already stopped; the window hears of the abort once.
void FolderScan::Abort() {
    if (!Aborted())
        observer_.SetScanAborted(true);
}

void ScanFolderTree(const std::wstring& searchFolder,
                    FolderTree& tree,
                    FileSystem& fs,
                    LoopHost& host,
                    ScanObserver& observer) {
    FolderScan(tree, fs, host, observer).ScanFolderTree(searchFolder);
}

}  // namespace tavelin

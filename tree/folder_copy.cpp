#include "tree/folder_copy.h"

#include "services/loop_pacer.h"
#include "tree/node_path.h"

namespace tavelin {

namespace {
// A repaint can cost more than the folder it names, and a screen shows no more than about this.
constexpr auto kRepaintInterval = std::chrono::milliseconds(15);
// Half of what a window may go without a look at its queue, so one slow folder still leaves room.
constexpr auto kLookInterval = std::chrono::milliseconds(50);
}  // namespace

FolderCopyResult CopyFolderNames(const FolderTree& tree,
                                 const std::wstring& targetFolder,
                                 FileSystem& fs,
                                 LoopHost& host) {
    FolderCopyResult result;
    const std::size_t count = tree.Count();
    LoopPacer repaints(host, kRepaintInterval);
    LoopPacer looks(host, kLookInterval);
    for (std::size_t index = 1; index < count; ++index) {
        if (host.EscapeDown()) {
            result.completed = false;
            break;
        }
        if (looks.Due())
            host.KeepResponsive();
        const NodeId node = tree.NodeAt(index);
        // Every folder's name is set, so the line is right whenever it is painted; it is painted
        // only as often as anyone could read it, and always for the last folder.
        host.SetStatus(L"フォルダ［" + std::wstring(tree.Text(node)) + L"］を作成しています。");
        if (index + 1 == count || repaints.Due())
            host.RepaintStatus();
        const std::wstring target = targetFolder + RelativeNodePath(tree, node);
        // A folder that is already there and a file in the way both make the creation fail, and
        // both count as not created, so the creation itself is the existence test: one call
        // per folder instead of two.
        if (fs.MakeDirectory(target))
            ++result.created;
        else
            ++result.notCreated;
    }
    if (result.completed)
        host.SetStatus(L"フォルダ名コピーを完了しました。［フォルダ作成数:" + std::to_wstring(result.created) +
                       L"］［フォルダ未作成数:" + std::to_wstring(result.notCreated) + L"］");
    else
        host.SetStatus(L"フォルダ名コピーを中断しました。");
    host.RepaintStatus();
    return result;
}

}  // namespace tavelin

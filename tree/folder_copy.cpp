#include "tree/folder_copy.h"

#include "tree/node_path.h"

namespace tavelin {

FolderCopyResult CopyFolderNames(const FolderTree& tree,
                                 const std::wstring& targetFolder,
                                 FileSystem& fs,
                                 LoopHost& host) {
    FolderCopyResult result;
    const std::size_t count = tree.Count();
    for (std::size_t index = 1; index < count; ++index) {
        if (host.EscapeDown()) {
            result.completed = false;
            break;
        }
        const NodeId node = tree.NodeAt(index);
        host.SetStatus(L"フォルダ［" + std::wstring(tree.Text(node)) + L"］を作成しています。");
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

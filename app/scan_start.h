#pragma once
// The start of a scan: whether the search folder is there, asked off the window's thread, since
// on a server that has gone the answer waits for the network to give up.
#include <memory>
#include <string>

#include "services/file_system.h"
#include "services/loop_host.h"
#include "tree/folder_tree.h"
#include "tree/scan_observer.h"

namespace tavelin {

// The status that asks for a search folder: at the start, and after one that was not there.
inline constexpr wchar_t kChooseSearchFolder[] = L"検索フォルダを指定して下さい。";

// Scans `searchFolder` into the tree when it is an existing folder. Meanwhile the window answers
// and Escape ends the wait, with the tree and the flags untouched; a folder that is not there
// gets the beep and the message. The check may outlive the call: it holds the file system.
void StartScan(const std::wstring& searchFolder,
               FolderTree& tree,
               const std::shared_ptr<FileSystem>& fs,
               LoopHost& host,
               ScanObserver& observer);

}  // namespace tavelin

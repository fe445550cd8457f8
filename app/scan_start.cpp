#include "app/scan_start.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>

#include "base/worker_threads.h"
#include "tree/folder_scan.h"

namespace tavelin {

namespace {

constexpr wchar_t kScanning[] = L"フォルダ検索中です。（ESC:中断）";
constexpr wchar_t kDriveNotReady[] = L"検索フォルダのディスクドライブの準備が出来ていません。";
constexpr wchar_t kScanAborted[] = L"フォルダ検索を中断しました。";
// How long the window waits for the answer before it looks at its queue and at Escape.
constexpr auto kWaitForAnswer = std::chrono::milliseconds(100);

// The answer, shared by the window and the thread that asks, which may outlive the wait.
struct Answer {
    std::mutex mutex;
    std::condition_variable given;
    std::optional<bool> isFolder;
};

// Whether `folder` is an existing folder; nullopt when Escape ended the wait.
std::optional<bool> AskIsFolder(const std::wstring& folder, const std::shared_ptr<FileSystem>& fs, LoopHost& host) {
    auto answer = std::make_shared<Answer>();
    const auto ask = [answer, fs, folder] {
        bool isFolder = false;
        try {
            isFolder = fs->IsDirectory(folder);
        } catch (...) {
            // A folder whose check fails is not there to scan.
        }
        std::lock_guard lock(answer->mutex);
        answer->isFolder = isFolder;
        answer->given.notify_all();
    };
    // While as many threads as the program allows are held up by servers, the check waits for
    // one of them to end, as the user may.
    bool asked = StartWorkerThread(ask);
    std::unique_lock lock(answer->mutex);
    while (!answer->given.wait_for(lock, kWaitForAnswer, [&] { return answer->isFolder.has_value(); })) {
        lock.unlock();
        asked = asked || StartWorkerThread(ask);
        host.KeepResponsive();
        const bool escape = host.EscapeDown();
        lock.lock();
        if (escape && !answer->isFolder)
            return std::nullopt;
    }
    return answer->isFolder;
}

}  // namespace

void StartScan(const std::wstring& searchFolder,
               FolderTree& tree,
               const std::shared_ptr<FileSystem>& fs,
               LoopHost& host,
               ScanObserver& observer) {
    host.SetStatus(kScanning);
    host.RepaintStatus();
    const std::optional<bool> isFolder = AskIsFolder(searchFolder, fs, host);
    if (!isFolder) {
        host.SetStatus(kScanAborted);
    } else if (!*isFolder) {
        host.Inform(kDriveNotReady);
        host.SetStatus(kChooseSearchFolder);
    } else {
        ScanFolders(searchFolder, tree, *fs, host, observer);
    }
}

}  // namespace tavelin

#include "listing/list_files.h"

#include "base/long_path.h"
#include "listing/file_row.h"
#include "listing/size_repadder.h"
#include "services/loop_pacer.h"

namespace tavelin {

namespace {

// Half of what a window may go without a look at its queue, so one slow entry still leaves room.
constexpr auto kLookInterval = std::chrono::milliseconds(50);
// How long the window waits for the reader before it looks at its queue and at Escape.
constexpr auto kWaitForFiles = std::chrono::milliseconds(100);

}  // namespace

int ListFolderFiles(const std::wstring& folder,
                    const std::function<int()>& sizeWidth,
                    FileGrid& grid,
                    const ListingServices& services) {
    LoopHost& host = services.host;
    FolderFileReader& reader = services.reader;
    host.SetStatus(L"フォルダ「" + ToDisplayPath(folder) + L"」を検索中(ESC:中断)");
    host.RepaintStatus();

    grid.Empty();
    const int startWidth = sizeWidth();
    FileRowWriter rows({startWidth, services.text.DateSeparator(), services.text.TimeSeparator()}, services.text);

    bool completed = true;
    int count = 0;
    LoopPacer looks(host, kLookInterval);
    reader.Start(folder);
    for (bool ended = false; !ended && completed;) {
        switch (reader.Take(kWaitForFiles)) {
            case FolderFileReader::Taken::kFiles: {
                const FileBatch& files = reader.Files();
                for (std::size_t i = 0; i < files.count; ++i) {
                    if (count > 0) {
                        if (host.EscapeDown()) {
                            completed = false;
                            break;
                        }
                        if (looks.Due())
                            host.KeepResponsive();
                        grid.SetRowCount(count + 2);
                    }
                    rows.Fill(grid, count + 1, files.entries[i]);
                    ++count;
                }
                break;
            }
            case FolderFileReader::Taken::kWaiting:
                host.KeepResponsive();
                looks.Restart();
                completed = !host.EscapeDown();
                break;
            case FolderFileReader::Taken::kEnded:
                ended = true;
                break;
        }
    }

    if (!completed) {
        reader.Stop();
        host.SetStatus(L"検索を中断しました。");
    } else {
        host.SetStatus(std::to_wstring(count) +
                       (reader.Failed() ? L" Files［途中で読み取れなくなりました］" : L" Files"));
    }
    if (const int endWidth = sizeWidth(); count > 0 && endWidth != startWidth)
        RepadSizes(grid, endWidth);
    return count;
}

}  // namespace tavelin

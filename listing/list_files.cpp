#include "listing/list_files.h"

#include "base/long_path.h"
#include "listing/file_row.h"
#include "services/attribute_filter.h"
#include "services/loop_pacer.h"
#include "services/retried_search.h"

namespace tavelin {

namespace {

// Half of what a window may go without a look at its queue, so one slow entry still leaves room.
constexpr auto kLookInterval = std::chrono::milliseconds(50);

bool NextListedFile(DirectorySearch& search, DirEntry& entry) {
    while (search.Next(entry)) {
        if (MatchesAttributeSet(entry.attributes, kFileListAttributeSet))
            return true;
    }
    return false;
}

}  // namespace

int ListFolderFiles(const std::wstring& folder, int sizeColumnPixels, FileGrid& grid, const ListingServices& services) {
    LoopHost& host = services.host;
    host.SetStatus(L"フォルダ「" + ToDisplayPath(folder) + L"」を検索中(ESC:中断)");
    host.RepaintStatus();

    grid.Empty();
    FileRowWriter rows(
        {ListingSizeWidth(sizeColumnPixels), services.text.DateSeparator(), services.text.TimeSeparator()},
        services.text);

    bool completed = true;
    int count = 0;
    LoopPacer looks(host, kLookInterval);
    bool cutShort = false;
    if (auto search = SearchRetryingOnce(services.files, folder)) {
        DirEntry entry;
        if (NextListedFile(*search, entry)) {
            rows.Fill(grid, 1, entry);
            count = 1;
            while (NextListedFile(*search, entry)) {
                if (host.EscapeDown()) {
                    completed = false;
                    break;
                }
                if (looks.Due())
                    host.KeepResponsive();
                grid.SetRowCount(count + 2);
                rows.Fill(grid, count + 1, entry);
                ++count;
            }
        }
        cutShort = completed && search->Failed();
    }

    if (!completed)
        host.SetStatus(L"検索を中断しました。");
    else
        host.SetStatus(std::to_wstring(count) + (cutShort ? L" Files［途中で読み取れなくなりました］" : L" Files"));
    return count;
}

}  // namespace tavelin

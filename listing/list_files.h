#pragma once
// Lists the plain files of one folder into the file grid.
#include <functional>
#include <string>

#include "listing/file_grid.h"
#include "listing/folder_file_reader.h"
#include "services/loop_host.h"
#include "services/text_services.h"

namespace tavelin {

// What the listing talks to besides the grid.
struct ListingServices {
    FolderFileReader& reader;
    TextServices& text;
    LoopHost& host;
};

// Lists the plain files of `folder` (ending in "\") into `grid`, one row per file in enumeration
// order, with sizes padded to `sizeWidth()` characters. The files are read on the reader's thread;
// the window answers while it waits for them, and Escape stops the listing there too. The width
// is asked again at the end, since the user may have sized the column meanwhile: the rows then
// take the width it ended at. Returns the number of rows filled: the list is ready for sorting
// when it is above 0.
int ListFolderFiles(const std::wstring& folder,
                    const std::function<int()>& sizeWidth,
                    FileGrid& grid,
                    const ListingServices& services);

}  // namespace tavelin

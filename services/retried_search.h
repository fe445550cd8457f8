#pragma once
// A folder's search that survives one failed read: a share that drops a connection for a moment
// loses nothing, and one that keeps failing is told apart from a folder that has ended.
#include <memory>
#include <string>

#include "services/file_system.h"

namespace tavelin {

// Searches `folder` as FileSystem::Search does. When a read fails, the folder is opened again
// once and the search goes on after as many entries as were read: a search handle that has
// failed is not to be trusted with another call, and a folder is enumerated in the same order
// each time it is opened. A folder changed between the two opens may lose or repeat an entry,
// as it may when it changes while it is read. Failed() tells that the second try failed too.
std::unique_ptr<DirectorySearch> SearchRetryingOnce(FileSystem& fs, const std::wstring& folder);

}  // namespace tavelin

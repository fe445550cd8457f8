#pragma once
// Handles from CreateFileW and FindFirstFileW, closed when they go; INVALID_HANDLE_VALUE, not
// null, means none.
#include <windows.h>

#include "base/unique_handle.h"

namespace tavelin {

struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { CloseHandle(h); }
};
using UniqueFileHandle = Unique<FileHandleTraits>;

struct FindHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { FindClose(h); }
};
using UniqueFindHandle = Unique<FindHandleTraits>;

}  // namespace tavelin

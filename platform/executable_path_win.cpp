#include "platform/executable_path_win.h"

#include <windows.h>

#include <vector>

namespace tavelin {

namespace {
constexpr std::size_t kLongestPath = 65536;
}

// MAX_PATH is not enough for a program started from a deep folder: grow until the name fits.
std::wstring ExecutablePath() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return std::wstring();
        if (length < buffer.size())
            return std::wstring(buffer.data(), length);
        if (buffer.size() >= kLongestPath)
            return std::wstring();
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace tavelin

#include "stalled_share.h"

#include <windows.h>

#include <atomic>

namespace tavelin::test {

namespace {

// Hook procedures carry no context; one share is stalled at a time. The real functions stay
// known after the hooks have gone, for the calls that were held up until then.
std::wstring stalledMarker;
std::function<void()> whenHeld;
HANDLE serverBack = nullptr;
std::atomic<int> heldCalls{0};
decltype(&GetFileAttributesW) realAttributes = nullptr;
decltype(&FindFirstFileExW) realSearch = nullptr;

void HoldIfStalled(LPCWSTR path) {
    if (!path || std::wstring(path).find(stalledMarker) == std::wstring::npos)
        return;
    ++heldCalls;
    if (whenHeld)
        whenHeld();
    WaitForSingleObject(serverBack, 30000);
    --heldCalls;
}

DWORD WINAPI StalledAttributes(LPCWSTR path) {
    HoldIfStalled(path);
    return realAttributes(path);
}

HANDLE WINAPI StalledSearch(LPCWSTR pattern,
                            FINDEX_INFO_LEVELS level,
                            LPVOID data,
                            FINDEX_SEARCH_OPS op,
                            LPVOID filter,
                            DWORD flags) {
    HoldIfStalled(pattern);
    return realSearch(pattern, level, data, op, filter, flags);
}

}  // namespace

StalledShare::StalledShare(std::wstring marker, std::function<void()> onHeld) {
    stalledMarker = std::move(marker);
    whenHeld = std::move(onHeld);
    if (!serverBack)
        serverBack = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ResetEvent(serverBack);
    // Known before the hooks go in: another thread may call through them at once.
    realAttributes = &GetFileAttributesW;
    realSearch = &FindFirstFileExW;
    attributes_ =
        std::make_unique<ImportHook>("kernel32.dll", "GetFileAttributesW", reinterpret_cast<void*>(&StalledAttributes));
    searches_ =
        std::make_unique<ImportHook>("kernel32.dll", "FindFirstFileExW", reinterpret_cast<void*>(&StalledSearch));
}

StalledShare::~StalledShare() {
    SetEvent(serverBack);
    for (int waited = 0; waited < 5000 && heldCalls > 0; waited += 5)
        Sleep(5);
}

int StalledShare::HeldCalls() const {
    return heldCalls;
}

}  // namespace tavelin::test

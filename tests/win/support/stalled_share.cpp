#include "stalled_share.h"

#include <windows.h>

#include <atomic>

namespace tavelin::test {

namespace {

// Hook procedures carry no context; one share is stalled at a time. The real function stays
// known after the hook has gone, for the calls that were held up until then.
std::wstring stalledMarker;
HANDLE serverBack = nullptr;
std::atomic<int> heldCalls{0};
decltype(&GetFileAttributesW) realAttributes = nullptr;

DWORD WINAPI StalledAttributes(LPCWSTR path) {
    if (path && std::wstring(path).find(stalledMarker) != std::wstring::npos) {
        ++heldCalls;
        WaitForSingleObject(serverBack, 30000);
        --heldCalls;
    }
    return realAttributes(path);
}

}  // namespace

StalledShare::StalledShare(std::wstring marker) {
    stalledMarker = std::move(marker);
    if (!serverBack)
        serverBack = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ResetEvent(serverBack);
    // Known before the hook goes in: another thread may call through it at once.
    realAttributes = &GetFileAttributesW;
    attributes_ =
        std::make_unique<ImportHook>("kernel32.dll", "GetFileAttributesW", reinterpret_cast<void*>(&StalledAttributes));
}

StalledShare::~StalledShare() {
    SetEvent(serverBack);
    for (int waited = 0; waited < 5000 && heldCalls > 0; waited += 5)
        Sleep(5);
}

}  // namespace tavelin::test

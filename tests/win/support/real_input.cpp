#include "real_input.h"

#include <algorithm>
#include <cstddef>
#include <iterator>

namespace tavelin::test {

namespace {

constexpr ULONGLONG kPatienceMs = 10000;

bool SameInput(const INPUT& a, const INPUT& b) {
    if (a.type != b.type)
        return false;
    return a.type == INPUT_KEYBOARD ? a.ki.wVk == b.ki.wVk && a.ki.dwFlags == b.ki.dwFlags
                                    : a.mi.dwFlags == b.mi.dwFlags;
}

bool IsMessageOf(const INPUT& input, const MSG& msg) {
    if (input.type == INPUT_KEYBOARD)
        return (input.ki.dwFlags & KEYEVENTF_KEYUP) && (msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP) &&
               msg.wParam == input.ki.wVk;
    return (input.mi.dwFlags & MOUSEEVENTF_LEFTUP) && (msg.message == WM_LBUTTONUP || msg.message == WM_NCLBUTTONUP);
}

// Hook procedures carry no context: the input awaited on this thread is found here.
struct Awaited {
    INPUT last;
    std::ptrdiff_t expected;
    std::ptrdiff_t taken = 0;
};
thread_local Awaited* tAwaited = nullptr;

// Sees every message as the loop that takes it off the queue does, whichever loop that is.
LRESULT CALLBACK CountTaken(int code, WPARAM removal, LPARAM message) {
    if (code == HC_ACTION && removal == PM_REMOVE && tAwaited &&
        IsMessageOf(tAwaited->last, *reinterpret_cast<const MSG*>(message)))
        ++tAwaited->taken;
    return CallNextHookEx(nullptr, code, removal, message);
}

bool Send(const std::vector<INPUT>& inputs) {
    const UINT count = static_cast<UINT>(inputs.size());
    return SendInput(count, const_cast<INPUT*>(inputs.data()), sizeof(INPUT)) == count;
}

// Waits for input of `kinds` that `flags` count (MsgWaitForMultipleObjectsEx); false once the
// patience that began at `start` has run out.
bool WaitForInput(ULONGLONG start, DWORD kinds, DWORD flags) {
    const ULONGLONG waited = GetTickCount64() - start;
    return waited < kPatienceMs && MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(kPatienceMs - waited),
                                                               kinds, flags) != WAIT_TIMEOUT;
}

}  // namespace

std::vector<INPUT> KeyStrokes(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    const auto add = [&](WORD key, DWORD flags) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
        input.ki.dwFlags = flags;
        inputs.push_back(input);
    };
    for (WORD key : keys)
        add(key, 0);
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key)
        add(*key, KEYEVENTF_KEYUP);
    return inputs;
}

bool SendAndRun(const std::vector<INPUT>& inputs, const std::function<void()>& run) {
    Awaited awaited{inputs.back(), std::count_if(inputs.begin(), inputs.end(),
                                                 [&](const INPUT& i) { return SameInput(i, inputs.back()); })};
    tAwaited = &awaited;
    const HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, &CountTaken, nullptr, GetCurrentThreadId());
    const ULONGLONG start = GetTickCount64();
    bool arrived = Send(inputs);
    while (arrived && awaited.taken < awaited.expected) {
        arrived = WaitForInput(start, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (arrived)
            run();
    }
    UnhookWindowsHookEx(hook);
    tAwaited = nullptr;
    return arrived;
}

// A look at the queue tells only that a key's message has come since the last look, so the keys go
// one at a time; a first look forgets what came before them.
bool SendAndWaitUntilQueued(const std::vector<INPUT>& inputs) {
    const ULONGLONG start = GetTickCount64();
    GetQueueStatus(QS_KEY);
    for (const INPUT& input : inputs) {
        if (!Send({input}))
            return false;
        while (!(LOWORD(GetQueueStatus(QS_KEY)) & QS_KEY)) {
            if (!WaitForInput(start, QS_KEY, 0))
                return false;
        }
    }
    return true;
}

}  // namespace tavelin::test

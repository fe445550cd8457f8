#include "real_input.h"

#include <iterator>

namespace tavelin::test {

INPUT KeyInput(WORD key, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = flags;
    return input;
}

std::vector<INPUT> KeyStrokes(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    for (WORD key : keys)
        inputs.push_back(KeyInput(key));
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key)
        inputs.push_back(KeyInput(*key, KEYEVENTF_KEYUP));
    return inputs;
}

// A look at the queue tells only that a message of a kind has come since the last look, so the
// inputs go one at a time; a first look forgets what came before them.
bool SendAndWaitUntilQueued(const std::vector<INPUT>& inputs) {
    constexpr ULONGLONG kPatienceMs = 10000;
    const ULONGLONG start = GetTickCount64();
    GetQueueStatus(QS_INPUT);
    for (INPUT input : inputs) {
        const UINT kind = input.type == INPUT_KEYBOARD ? QS_KEY : QS_MOUSEBUTTON;
        if (SendInput(1, &input, sizeof input) != 1)
            return false;
        while (!(LOWORD(GetQueueStatus(kind)) & kind)) {
            const ULONGLONG waited = GetTickCount64() - start;
            if (waited >= kPatienceMs ||
                MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(kPatienceMs - waited), kind, 0) ==
                    WAIT_TIMEOUT)
                return false;
        }
    }
    return true;
}

}  // namespace tavelin::test

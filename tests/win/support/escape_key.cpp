#include "escape_key.h"

#include <windows.h>

namespace tavelin::test {

namespace {
void SendEscape(DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = VK_ESCAPE;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(VK_ESCAPE, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}
}  // namespace

EscapeHeld::EscapeHeld() {
    SendEscape(0);
}

EscapeHeld::~EscapeHeld() {
    SendEscape(KEYEVENTF_KEYUP);
}

}  // namespace tavelin::test

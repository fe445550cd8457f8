#include "escape_key.h"

#include <windows.h>

#include "real_input.h"

namespace tavelin::test {

namespace {
void SendEscape(DWORD flags) {
    INPUT input = KeyInput(VK_ESCAPE, flags);
    SendInput(1, &input, sizeof input);
}
}  // namespace

// A loaded machine can take a moment to show the injected press; a loop that reads the key only
// once after it must not miss it. Under a heavy load Wine has been seen to lose a press for good,
// so one not seen within a second is made again.
EscapeHeld::EscapeHeld() {
    for (int waited = 0; waited < 10000 && !(GetAsyncKeyState(VK_ESCAPE) & 0x8000); waited += 5) {
        if (waited % 1000 == 0)
            SendEscape(0);
        Sleep(5);
    }
}

EscapeHeld::~EscapeHeld() {
    SendEscape(KEYEVENTF_KEYUP);
}

}  // namespace tavelin::test

#include "ui/event_pump.h"

#include <windows.h>

namespace tavelin::ui {

// The scan calls this every few milliseconds. Asking whether anything is queued costs less than
// a PeekMessage that finds nothing, and an empty queue is the usual case.
void PumpEvents() {
    if (HIWORD(GetQueueStatus(QS_ALLINPUT)) == 0)
        return;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void LookAtQueue() {
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
}

bool EscapeDown() {
    return (GetAsyncKeyState(VK_ESCAPE) & 0x8000) != 0;
}

}  // namespace tavelin::ui

#include "ui/event_pump.h"

#include <windows.h>

#include "ui/application_win.h"

namespace tavelin::ui {

namespace {
// More paint messages than a window has controls means one that does not validate itself.
constexpr int kMostPaintsPerLook = 64;
}  // namespace

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
        Application::Instance().Deliver(msg);
    }
}

// Sent messages are answered inside PeekMessage itself; the input it returns is dropped. Paint
// messages stay queued while their window is invalid, so they are dispatched, not removed. A
// close posted by the task bar or another program is delivered: a window asked to close answers.
void AnswerQueueDroppingInput() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_INPUT | PM_QS_SENDMESSAGE)) {
    }
    while (PeekMessageW(&msg, nullptr, WM_CLOSE, WM_CLOSE, PM_REMOVE) ||
           (PeekMessageW(&msg, nullptr, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_NOREMOVE) &&
            (msg.wParam & 0xFFF0) == SC_CLOSE && PeekMessageW(&msg, msg.hwnd, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE)))
        Application::Instance().Deliver(msg);
    for (int paints = 0; paints < kMostPaintsPerLook && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT);
         ++paints)
        DispatchMessageW(&msg);
}

bool EscapeDown() {
    if ((GetAsyncKeyState(VK_ESCAPE) & 0x8000) == 0)
        return false;
    DWORD process = 0;
    const HWND foreground = GetForegroundWindow();
    return foreground && GetWindowThreadProcessId(foreground, &process) && process == GetCurrentProcessId();
}

}  // namespace tavelin::ui

#pragma once
// Notifications that a system control sends to its parent, handed back to the control's own
// wrapper, so that what a control does lives with the control and not with whoever holds it.
#include <windows.h>

namespace tavelin::ui {

// Sent by a parent to the control named in a WM_NOTIFY, with the notification's lParam; the
// control's answer is the parent's.
inline constexpr UINT kReflectedNotify = WM_APP + 0x100;

// What a parent's WM_NOTIFY returns.
inline LRESULT ReflectNotify(LPARAM lParam) {
    return SendMessageW(reinterpret_cast<const NMHDR*>(lParam)->hwndFrom, kReflectedNotify, 0, lParam);
}

}  // namespace tavelin::ui

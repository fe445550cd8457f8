#pragma once
// The modal message dialog every command uses: information, error or a yes/no confirmation.
#include <windows.h>

#include <string>

namespace tavelin::ui {

enum class MessageKind { Information, Error, Confirmation };

// The result of "はい(&Y)", as the callers compare it.
inline constexpr int kResultYes = IDYES;  // 6

// Shows the message modally, owned by `owner` (disabled meanwhile), centred on the owner's monitor, and
// returns the button's result: OK 1; Yes 6, No 7; Esc answers with the cancel button (OK, or
// No); the close box gives 2. It does not beep: the callers do that when they want it.
int MessageDlg(HWND owner, const std::wstring& text, MessageKind kind);

}  // namespace tavelin::ui

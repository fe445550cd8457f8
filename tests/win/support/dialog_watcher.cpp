#include "support/dialog_watcher.h"

#include <commctrl.h>

#include <algorithm>
#include <map>

namespace tavelin::test {

namespace {

// Thread timers carry no context, so each finds its watcher here.
std::map<UINT_PTR, DialogWatcher*>& Watchers() {
    static std::map<UINT_PTR, DialogWatcher*> watchers;
    return watchers;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::wstring TextOf(HWND window) {
    int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

// The file-name box: a ComboBoxEx32 (cmb13) holding a combo box holding the edit control, or
// the plain edit edt1, as each form of the file dialogs has it.
HWND FileNameEdit(HWND dialog) {
    constexpr int kCmb13 = 0x47c, kEdt1 = 0x480;
    if (HWND combo = GetDlgItem(dialog, kCmb13)) {
        if (ClassOf(combo) == WC_COMBOBOXEXW) {
            if (HWND edit = reinterpret_cast<HWND>(SendMessageW(combo, CBEM_GETEDITCONTROL, 0, 0)))
                return edit;
        }
        if (HWND edit = FindWindowExW(combo, nullptr, L"Edit", nullptr))
            return edit;
        return combo;
    }
    return GetDlgItem(dialog, kEdt1);
}

struct FindDialog {
    const std::vector<HWND>* handled;
    HWND found = nullptr;
};

BOOL CALLBACK FindNewDialog(HWND window, LPARAM lParam) {
    auto* find = reinterpret_cast<FindDialog*>(lParam);
    if (!IsWindowVisible(window) || ClassOf(window) != L"#32770")
        return TRUE;
    if (std::find(find->handled->begin(), find->handled->end(), window) != find->handled->end())
        return TRUE;
    find->found = window;
    return FALSE;
}

BOOL CALLBACK RecordChild(HWND child, LPARAM lParam) {
    auto* seen = reinterpret_cast<SeenDialog*>(lParam);
    const std::wstring cls = ClassOf(child);
    if (_wcsicmp(cls.c_str(), L"Static") == 0) {
        std::wstring text = TextOf(child);
        if (!text.empty())
            seen->staticTexts.push_back(text);
        if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            ICONINFO info{};
            if (GetIconInfo(reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0)), &info)) {
                BITMAP mask{};
                GetObjectW(info.hbmMask, sizeof mask, &mask);
                seen->iconWidth = mask.bmWidth;
                DeleteObject(info.hbmMask);
                if (info.hbmColor)
                    DeleteObject(info.hbmColor);
            }
        }
    } else if (_wcsicmp(cls.c_str(), L"Button") == 0) {
        seen->buttons.push_back({cls, TextOf(child), GetDlgCtrlID(child)});
    }
    return TRUE;
}

SeenDialog Record(HWND dialog) {
    SeenDialog seen;
    seen.className = ClassOf(dialog);
    seen.caption = TextOf(dialog);
    GetWindowRect(dialog, &seen.rect);
    seen.owner = GetWindow(dialog, GW_OWNER);
    seen.ownerEnabled = seen.owner && IsWindowEnabled(seen.owner);
    if (HWND focus = GetFocus())
        seen.focusedId = GetDlgCtrlID(focus);
    EnumChildWindows(dialog, &RecordChild, reinterpret_cast<LPARAM>(&seen));
    if (HWND edit = FileNameEdit(dialog))
        seen.fileNameBox = TextOf(edit);
    constexpr int kCmb2 = 0x471;
    seen.lookInBox = GetDlgItem(dialog, kCmb2) != nullptr;
    return seen;
}

}  // namespace

DialogWatcher::DialogWatcher(std::vector<test::Answer> answers, UINT intervalMs) : answers_(std::move(answers)) {
    timer_ = SetTimer(nullptr, 0, intervalMs, &DialogWatcher::OnTimer);
    Watchers()[timer_] = this;
}

DialogWatcher::~DialogWatcher() {
    KillTimer(nullptr, timer_);
    Watchers().erase(timer_);
}

std::size_t DialogWatcher::Unexpected() const {
    return static_cast<std::size_t>(
        std::count_if(seen_.begin(), seen_.end(), [](const SeenDialog& d) { return !d.expected; }));
}

std::wstring DialogWatcher::ButtonText(const SeenDialog& dialog, int id) {
    for (const SeenControl& b : dialog.buttons) {
        if (b.id == id)
            return b.text;
    }
    return {};
}

void CALLBACK DialogWatcher::OnTimer(HWND, UINT, UINT_PTR id, DWORD) {
    auto it = Watchers().find(id);
    if (it != Watchers().end())
        it->second->Tick();
}

void DialogWatcher::Tick() {
    handled_.erase(std::remove_if(handled_.begin(), handled_.end(), [](HWND w) { return !IsWindow(w); }),
                   handled_.end());
    FindDialog find{&handled_};
    EnumThreadWindows(GetCurrentThreadId(), &FindNewDialog, reinterpret_cast<LPARAM>(&find));
    if (find.found)
        Respond(find.found);
}

void DialogWatcher::Respond(HWND dialog) {
    handled_.push_back(dialog);
    seen_.push_back(Record(dialog));
    if (next_ == answers_.size()) {
        seen_.back().expected = false;
        // A message box without a Cancel button ignores a close, and the dialog that asked its
        // question would wait for another answer.
        PostMessageW(dialog, WM_CLOSE, 0, 0);
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        const HWND owner = GetWindow(dialog, GW_OWNER);
        if (std::find(handled_.begin(), handled_.end(), owner) != handled_.end())
            PostMessageW(owner, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return;
    }
    const test::Answer& answer = answers_[next_++];
    switch (answer.kind) {
        case test::Answer::Kind::Button:
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(answer.buttonId, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, answer.buttonId)));
            break;
        case test::Answer::Kind::Close:
            PostMessageW(dialog, WM_CLOSE, 0, 0);
            break;
        case test::Answer::Kind::Escape: {
            HWND focus = GetFocus();
            HWND target = focus && (focus == dialog || IsChild(dialog, focus)) ? focus : dialog;
            PostMessageW(target, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
            break;
        }
        case test::Answer::Kind::FileName:
            if (!answer.fileName.empty()) {
                if (HWND edit = FileNameEdit(dialog))
                    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(answer.fileName.c_str()));
            }
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            break;
        case test::Answer::Kind::Cancel:
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            break;
    }
}

}  // namespace tavelin::test

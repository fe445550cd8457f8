#pragma once
// Answers the modal dialogs that the code under test opens on this thread. A thread timer runs
// inside the dialog's own modal loop, finds the newly visible dialog, records what it shows and
// plays the next scripted answer. Dialogs beyond the script are closed (and counted), and so is a
// dialog of the script that opened one, so a test that meets an unexpected dialog fails instead
// of hanging.
#include <windows.h>

#include <string>
#include <vector>

namespace tavelin::test {

struct Answer {
    enum class Kind { Button, Close, Escape, FileName, Cancel };
    Kind kind;
    int buttonId = 0;
    std::wstring fileName;

    // WM_COMMAND with a button's id.
    static Answer Button(int id) { return {Kind::Button, id, {}}; }
    // WM_CLOSE, as the close box sends it.
    static Answer Close() { return {Kind::Close, 0, {}}; }
    // The Escape key pressed on the focused control, through the dialog's own keyboard handling.
    static Answer Escape() { return {Kind::Escape, 0, {}}; }
    // A file dialog: types `name` into the file-name box and presses OK.
    static Answer FileName(std::wstring name) { return {Kind::FileName, 0, std::move(name)}; }
    // A file dialog: presses OK on whatever the file-name box holds.
    static Answer Ok() { return FileName({}); }
    // IDCANCEL.
    static Answer Cancel() { return {Kind::Cancel, 0, {}}; }
};

struct SeenControl {
    std::wstring className;
    std::wstring text;
    int id = 0;
};

struct SeenDialog {
    std::wstring className;
    std::wstring caption;
    std::vector<std::wstring> staticTexts;  // non-empty texts of Static controls, in child order
    std::vector<SeenControl> buttons;       // Button controls, in child order
    int iconWidth = 0;                      // the width of the icon a Static control shows
    std::wstring fileNameBox;               // a file dialog's file-name box as it opened
    bool lookInBox = false;                 // a file dialog of the old form, with its folder list
    RECT rect{};                            // the window rectangle, in screen coordinates
    HWND owner = nullptr;
    bool ownerEnabled = true;  // the owner's state while the dialog was up
    int focusedId = 0;         // the control that had the focus
    bool expected = true;      // false: no answer was left, it was closed
};

class DialogWatcher {
  public:
    explicit DialogWatcher(std::vector<Answer> answers, UINT intervalMs = 30);
    ~DialogWatcher();
    DialogWatcher(const DialogWatcher&) = delete;
    DialogWatcher& operator=(const DialogWatcher&) = delete;

    std::size_t Count() const { return seen_.size(); }
    const SeenDialog& Seen(std::size_t index) const { return seen_.at(index); }
    // Dialogs that came after the script ran out.
    std::size_t Unexpected() const;
    // Every scripted answer has been given.
    bool Done() const { return next_ == answers_.size(); }

    // Button text by id in a recorded dialog; empty when it had no such button.
    static std::wstring ButtonText(const SeenDialog& dialog, int id);

  private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD);
    void Tick();
    void Respond(HWND dialog);

    std::vector<test::Answer> answers_;
    std::size_t next_ = 0;
    std::vector<SeenDialog> seen_;
    std::vector<HWND> handled_;
    UINT_PTR timer_ = 0;
};

}  // namespace tavelin::test

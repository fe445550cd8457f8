#include <windows.h>

#include <oleacc.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/form_fixture.h"
#include "support/local_time.h"
#include "support/temp_dir.h"

namespace tavelin::test {
namespace {

void SetLocalWriteTime(const std::wstring& path, WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
    const std::uint64_t ticks = TicksOfLocal(year, month, day, hour, minute, second);
    FILETIME utc{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &utc));
    CloseHandle(file);
}

std::vector<LONG> focusedRows;
HWND watchedGrid = nullptr;

void CALLBACK OnFocus(HWINEVENTHOOK, DWORD, HWND hwnd, LONG object, LONG child, DWORD, DWORD) {
    if (hwnd == watchedGrid && object == OBJID_CLIENT)
        focusedRows.push_back(child);
}

// The file grid as a screen reader in the same process reaches it.
class Form1GridAccessible : public FormTest {
  protected:
    void SetUp() override {
        FormTest::SetUp();
        grid = form->StringGrid1.Handle();
        ASSERT_EQ(AccessibleObjectFromWindow(grid, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                             reinterpret_cast<void**>(&acc)),
                  S_OK);
    }
    void TearDown() override {
        if (acc)
            acc->Release();
        FormTest::TearDown();
    }
    std::wstring Name(LONG child) {
        VARIANT id{};
        id.vt = VT_I4;
        id.lVal = child;
        BSTR name = nullptr;
        EXPECT_EQ(acc->get_accName(id, &name), S_OK) << child;
        std::wstring text = name ? name : L"";
        SysFreeString(name);
        return text;
    }
    void Press(UINT message, WPARAM wParam, int x, int y) {
        SendMessageW(grid, message, wParam, MAKELPARAM(x, y));
        SendMessageW(grid, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
        Pump();
    }

    TempDir dir;
    HWND grid = nullptr;
    IAccessible* acc = nullptr;
};

TEST_F(Form1GridAccessible, RowsAreReadUnderTheirTitlesInTheOrderOfTheLastSort) {
    SetLocalWriteTime(dir.MakeFile(L"b.txt", 1234), 2024, 3, 1, 13, 45, 6);
    SetLocalWriteTime(dir.MakeFile(L"a", 5), 2000, 2, 29, 23, 59, 58);
    dir.MakeFolder(L"sub");
    form->ListFiles(dir.Path());
    Pump();
    LONG count = 0;
    ASSERT_EQ(acc->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(Name(1), L"ファイル名, Bytes, 種類, 更新日時, 属性");

    const std::wstring a = L"ファイル名: a, Bytes: 5, 更新日時: 2000/02/29 23:59:58, 属性: A";
    const std::wstring b = L"ファイル名: b.txt, Bytes: 1234, 種類: .TXT, 更新日時: 2024/03/01 13:45:06, 属性: A";
    const int header = form->StringGrid1.RowHeight(0) / 2;
    Press(WM_LBUTTONDOWN, MK_LBUTTON, 10, header);
    EXPECT_EQ(Name(2), a);
    EXPECT_EQ(Name(3), b);
    Press(WM_LBUTTONDOWN, MK_LBUTTON, 10, header);
    EXPECT_EQ(Name(2), b);
    EXPECT_EQ(Name(3), a);
}

TEST_F(Form1GridAccessible, TheRowTheUserMovesToIsReportedAsFocused) {
    for (auto name : {L"x", L"y", L"z"})
        dir.MakeFile(name, 1);
    dir.MakeFolder(L"sub");
    form->ListFiles(dir.Path());
    Pump();
    watchedGrid = grid;
    focusedRows.clear();
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, OnFocus,
                                         GetCurrentProcessId(), GetCurrentThreadId(), WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);

    // The press gives the grid the keyboard (the system reports the grid itself, child 0, and
    // the grid its current row 1), then selects row 2; Up goes back.
    const int height = form->StringGrid1.RowHeight(0);
    Press(WM_LBUTTONDOWN, MK_LBUTTON, 10, 2 * height + height / 2);
    SendMessageW(grid, WM_KEYDOWN, VK_UP, 0);
    Pump();
    UnhookWinEvent(hook);
    EXPECT_EQ(focusedRows, (std::vector<LONG>{CHILDID_SELF, 2, 3, 2}));
    VARIANT focus;
    ASSERT_EQ(acc->get_accFocus(&focus), S_OK);
    EXPECT_EQ(focus.lVal, 2);
}

}  // namespace
}  // namespace tavelin::test

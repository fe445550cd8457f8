#pragma once
// A main window created in the test process, shown as the program shows it, with its settings
// file removed before and after, so each test starts from the defaults.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/form1_win.h"

namespace tavelin::test {

// A control's text as the control reports it (the folder box's, say).
std::wstring WindowText(HWND window);

class FormTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Creates and shows a new main window (after the previous one is gone), as a starter asking
    // for `showCommand` would.
    void OpenForm(int showCommand = SW_SHOWNORMAL);
    // Replaces the settings file with `text` in code page 932 and opens a new window on it.
    void OpenWith(const std::wstring& text, int showCommand = SW_SHOWNORMAL);
    // Closes the window as its close box does, which saves the settings.
    void CloseForm();
    // Runs a menu command as a click on the menu item does; returns when its handler has.
    void Command(int id);
    // The status line as the window reports its text.
    std::wstring Status() const;
    // The settings file beside the test executable.
    static std::wstring IniFile();
    static bool FileExists(const std::wstring& path) {
        return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    // Lets pending messages run (repaints, posted clicks).
    static void Pump();
    // Opens every item of the tree view (TVM_EXPAND, as a click on its button does) and returns
    // them all in pre-order.
    std::vector<HTREEITEM> OpenEveryItem() const;
    // Child texts of the tree view in pre-order, each indented by two spaces per level, after
    // opening every item.
    std::wstring TreeOutline() const;
    // A left click released on the label of the tree view's `item`, once it has been run.
    void ClickTreeItem(HTREEITEM item);
    // Every size in the grid holds as many characters as the size column shows behind the text's
    // inset in the grid's font, so that it ends at the column's right edge; `when` names the case.
    void ExpectSizesEndAtTheRightEdge(const std::string& when) const;

    std::unique_ptr<TForm1> form;
};

}  // namespace tavelin::test

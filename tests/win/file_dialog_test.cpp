#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "support/dialog_watcher.h"
#include "support/owner_window.h"
#include "support/temp_dir.h"
#include "ui/file_dialog_win.h"

namespace tavelin {
namespace {

using test::Answer;
using test::DialogWatcher;
using ui::FileDialog;

class FileDialogTest : public testing::Test {
  protected:
    test::TempDir dir;
    test::OwnerWindow owner{120, 60, 500, 400};
};

TEST_F(FileDialogTest, OkOnThePlaceholderReturnsTheFolderFollowedByIt) {
    const std::wstring folder = dir.MakeFolder(L"データ") + L"\\";
    for (FileDialog::Kind kind : {FileDialog::Kind::Open, FileDialog::Kind::Save}) {
        FileDialog dialog(kind, L"検索フォルダ指定");
        dialog.SetInitialDir(folder);
        DialogWatcher watcher({Answer::Ok()});
        EXPECT_TRUE(dialog.Execute(owner.Handle()));
        EXPECT_EQ(dialog.FileName(), folder + L"\u3000");
        ASSERT_EQ(watcher.Count(), 1u);
        EXPECT_EQ(watcher.Seen(0).caption, L"検索フォルダ指定");
        EXPECT_EQ(watcher.Seen(0).fileNameBox, L"\u3000");
        EXPECT_FALSE(watcher.Seen(0).ownerEnabled);
        EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
    }
}

TEST_F(FileDialogTest, ATypedNameComesBackAsAFullPathThatNeedNotExist) {
    const std::wstring folder = dir.MakeFolder(L"dest") + L"\\";
    FileDialog dialog(FileDialog::Kind::Save, L"フォルダコピー開始");
    dialog.SetInitialDir(folder);
    DialogWatcher watcher({Answer::FileName(L"まだ無い.txt")});
    EXPECT_TRUE(dialog.Execute(owner.Handle()));
    EXPECT_EQ(dialog.FileName(), folder + L"まだ無い.txt");
    EXPECT_EQ(watcher.Unexpected(), 0u) << "no overwrite or must-exist prompt may appear";
}

TEST_F(FileDialogTest, CancelOrCloseKeepsThePreviousName) {
    for (const Answer& answer : {Answer::Cancel(), Answer::Close()}) {
        FileDialog dialog(FileDialog::Kind::Open, L"検索フォルダ指定");
        dialog.SetInitialDir(dir.Path());
        dialog.SetFileName(L"C:\\前回\\\u3000");
        DialogWatcher watcher({answer});
        EXPECT_FALSE(dialog.Execute(owner.Handle()));
        EXPECT_EQ(dialog.FileName(), L"C:\\前回\\\u3000");
        EXPECT_TRUE(watcher.Done());
    }
}

TEST_F(FileDialogTest, OpensCentredOnTheOwnersMonitorAtAThirdOfTheFreeHeight) {
    FileDialog dialog(FileDialog::Kind::Open, L"検索フォルダ指定");
    dialog.SetInitialDir(dir.Path());
    DialogWatcher watcher({Answer::Cancel()});
    dialog.Execute(owner.Handle());
    ASSERT_EQ(watcher.Count(), 1u);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromWindow(owner.Handle(), MONITOR_DEFAULTTONEAREST), &info);
    const RECT r = watcher.Seen(0).rect;
    const RECT work = info.rcWork;
    EXPECT_NEAR(r.left - work.left, work.right - r.right, 1);
    EXPECT_NEAR(r.top - work.top, (work.bottom - work.top - (r.bottom - r.top)) / 3, 1);
}

// Folders of `component` below `base` until the path is at least `length` characters long.
std::wstring DeepFolder(const test::TempDir& dir, std::size_t length) {
    std::wstring relative;
    while (dir.Path().size() + relative.size() < length)
        relative += L"folder-" + std::to_wstring(relative.size() / 10) + L"\\";
    return dir.MakeFolder(relative.substr(0, relative.size() - 1)) + L"\\";
}

// A name already in the box when the folder changes (here: as the dialog opens) is cut as well.
TEST_F(FileDialogTest, ALongTypedOrGivenNameIsCutToWhatTheDialogCanJoinToItsFolder) {
    const std::wstring folders[] = {dir.Path(), DeepFolder(dir, 200)};
    const std::wstring name(318, L'x');
    for (const std::wstring& folder : folders) {
        for (auto [kind, given] : {std::pair{FileDialog::Kind::Open, false},
                                   {FileDialog::Kind::Save, false},
                                   {FileDialog::Kind::Open, true},
                                   {FileDialog::Kind::Save, true}}) {
            FileDialog dialog(kind, L"検索フォルダ指定");
            dialog.SetInitialDir(folder);
            dialog.SetFileName(given ? name : L"\u3000");
            DialogWatcher watcher({given ? Answer::Ok() : Answer::Typed(name)});
            ASSERT_TRUE(dialog.Execute(owner.Handle())) << folder.size();
            // 259 characters: the longest path the dialog builds without overrunning it.
            EXPECT_EQ(dialog.FileName(), folder + std::wstring(259 - folder.size(), L'x')) << folder.size();
        }
    }
}

TEST_F(FileDialogTest, AFolderLongerThanTheDialogTakesOpensAtItsDeepestAncestorThatFits) {
    const std::wstring deep = DeepFolder(dir, 318);
    // Ancestors end where a separator stands; the dialog takes up to 257 characters.
    std::wstring expected = deep.substr(0, deep.rfind(L'\\', 257) + 1);
    for (FileDialog::Kind kind : {FileDialog::Kind::Open, FileDialog::Kind::Save}) {
        FileDialog dialog(kind, L"フォルダコピー開始");
        dialog.SetInitialDir(deep);
        DialogWatcher watcher({Answer::Ok()});
        ASSERT_TRUE(dialog.Execute(owner.Handle()));
        EXPECT_EQ(dialog.FileName(), expected + L"\u3000");
    }
}

}  // namespace
}  // namespace tavelin

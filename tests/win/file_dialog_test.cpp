#include <gtest/gtest.h>
#include <windows.h>

#include <objbase.h>
#include <shobjidl.h>

#include <string>

#include "base/worker_threads.h"
#include "support/dialog_watcher.h"
#include "support/owner_window.h"
#include "support/stalled_share.h"
#include "support/temp_dir.h"
#include "ui/file_dialog_win.h"

namespace tavelin {
namespace {

using test::Answer;
using test::DialogWatcher;
using ui::FileDialog;

constexpr FileDialog::Kind kKinds[] = {FileDialog::Kind::Open, FileDialog::Kind::Save};

// The dialogs are COM objects; the program's thread is in a single-threaded apartment, and so is
// the test's while it runs (others here need a thread outside any).
class FileDialogTest : public testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))); }
    void TearDown() override { CoUninitialize(); }

    test::TempDir dir;
    test::OwnerWindow owner{120, 60, 500, 400};
};

TEST_F(FileDialogTest, OkOnThePlaceholderReturnsTheFolderFollowedByIt) {
    const std::wstring folder = dir.MakeFolder(L"データ") + L"\\";
    for (FileDialog::Kind kind : kKinds) {
        FileDialog dialog(kind, L"検索フォルダ指定");
        dialog.SetInitialDir(folder);
        DialogWatcher watcher({Answer::Ok()});
        EXPECT_TRUE(dialog.Execute(owner.Handle()));
        EXPECT_EQ(dialog.FileName(), folder + L"\u3000");
        ASSERT_EQ(watcher.Count(), 1u);
        EXPECT_EQ(watcher.Seen(0).caption, L"検索フォルダ指定");
        EXPECT_EQ(watcher.Seen(0).fileNameBox, L"\u3000");
        EXPECT_FALSE(watcher.Seen(0).lookInBox) << "the dialog of today's programs, not the old one";
        EXPECT_FALSE(watcher.Seen(0).ownerEnabled);
        EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
    }
}

TEST_F(FileDialogTest, ATypedNameComesBackAsAFullPathWithoutAnyQuestion) {
    const std::wstring folder = dir.MakeFolder(L"dest") + L"\\";
    dir.MakeFile(L"dest\\ある.txt");
    for (FileDialog::Kind kind : kKinds) {
        for (const wchar_t* name : {L"まだ無い.txt", L"ある.txt", L"無い\\まだ無い.txt"}) {
            FileDialog dialog(kind, L"フォルダコピー開始");
            dialog.SetInitialDir(folder);
            DialogWatcher watcher({Answer::FileName(name)});
            EXPECT_TRUE(dialog.Execute(owner.Handle()));
            EXPECT_EQ(dialog.FileName(), folder + name);
            EXPECT_EQ(watcher.Unexpected(), 0u) << "no overwrite or must-exist prompt may appear";
        }
    }
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

// Windows reopens the old dialog at the folder picked last when it is given again the first
// folder it was ever given. This dialog opens at the folder it is given, whatever was picked
// before; at its nearest ancestor that is still there when it has gone, or whose server answers
// when its own has stopped answering.
TEST_F(FileDialogTest, OpensAtTheGivenFolderWhateverWasPickedBefore) {
    const std::wstring search = dir.MakeFolder(L"検索") + L"\\";
    const std::wstring other = dir.MakeFolder(L"コピー先") + L"\\";
    dir.MakeFolder(L"止まった");
    dir.MakeFolder(L"止まった\\下");
    test::StalledShare stalled(L"止まった");
    const struct {
        std::wstring given, opensAt;
    } cases[] = {
        {search, search},
        {dir.Path() + L"消えた\\下\\", dir.Path()},
        {dir.Path() + L"止まった\\下\\", dir.Path()},
    };
    for (FileDialog::Kind kind : kKinds) {
        for (const auto& c : cases) {
            std::wstring picked;
            for (const std::wstring& given : {c.given, other, c.given}) {
                FileDialog dialog(kind, L"検索フォルダ指定");
                dialog.SetInitialDir(given);
                DialogWatcher watcher({Answer::Ok()});
                ASSERT_TRUE(dialog.Execute(owner.Handle()));
                picked = dialog.FileName();
            }
            EXPECT_EQ(picked, c.opensAt + L"\u3000") << c.given;
        }
    }
    EXPECT_GE(RunningWorkerThreads(), 2u) << "the checks that the stalled server holds count among the worker threads";
}

// Windows would keep the process's current folder open: it could be neither removed nor renamed.
TEST_F(FileDialogTest, TheCurrentFolderStaysWhereItWas) {
    const std::wstring folder = dir.MakeFolder(L"選ぶ") + L"\\";
    wchar_t before[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, before);
    for (FileDialog::Kind kind : kKinds) {
        FileDialog dialog(kind, L"検索フォルダ指定");
        dialog.SetInitialDir(folder);
        DialogWatcher watcher({Answer::Ok()});
        ASSERT_TRUE(dialog.Execute(owner.Handle()));
        wchar_t after[MAX_PATH] = {};
        GetCurrentDirectoryW(MAX_PATH, after);
        EXPECT_STREQ(after, before);
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

// What the dialogs are asked that Wine does not act on, so that no test above can show it: keep
// the current folder and the recent list as they are, create no test file in the chosen folder,
// and neither check nor ask about the placeholder name. Only Windows shows these; here the
// options given to it stand for them.
TEST(FolderDialogOptions, WhatWineIgnoresIsStillAskedOfWindows) {
    const DWORD asked =
        FOS_NOVALIDATE | FOS_NOCHANGEDIR | FOS_FORCEFILESYSTEM | FOS_DONTADDTORECENT | FOS_NOTESTFILECREATE;
    const DWORD checks = FOS_FILEMUSTEXIST | FOS_PATHMUSTEXIST | FOS_CREATEPROMPT;
    EXPECT_EQ(ui::FolderDialogOptions(checks) & (asked | checks), asked);
}

}  // namespace
}  // namespace tavelin

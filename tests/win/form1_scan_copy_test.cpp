#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <optional>
#include <thread>
#include <utility>

#include "res/resource.h"
#include "support/dialog_watcher.h"
#include "support/escape_clock.h"
#include "support/escape_key.h"
#include "support/escape_trigger.h"
#include "support/file_system_unix.h"
#include "support/form_fixture.h"
#include "support/real_input.h"
#include "support/settings_file_bytes.h"
#include "support/stalled_share.h"
#include "support/temp_dir.h"

namespace tavelin::test {
namespace {

bool IsFolder(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// True when the file's bytes hold `text`, which is plain ASCII.
bool FileHolds(const std::wstring& file, const std::wstring& text) {
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    std::string bytes(GetFileSize(handle, nullptr), '\0');
    DWORD read = 0;
    ReadFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(handle);
    return bytes.find(std::string(text.begin(), text.end())) != std::string::npos;
}

// Another program's window in front of the test's: Wine's text editor, started for the test and
// ended with it.
class OtherProgramInFront {
  public:
    OtherProgramInFront() {
        wchar_t system[MAX_PATH];
        GetSystemDirectoryW(system, MAX_PATH);
        std::wstring command = std::wstring(system) + L"\\notepad.exe";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process_))
            return;
        WaitForInputIdle(process_.hProcess, 5000);
        for (int waited = 0; waited < 5000 && !InFront(); waited += 20) {
            if (HWND window = VisibleWindow())
                SetForegroundWindow(window);
            Sleep(20);
        }
    }
    ~OtherProgramInFront() {
        if (!process_.hProcess)
            return;
        TerminateProcess(process_.hProcess, 0);
        WaitForSingleObject(process_.hProcess, 5000);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    OtherProgramInFront(const OtherProgramInFront&) = delete;
    OtherProgramInFront& operator=(const OtherProgramInFront&) = delete;

    bool InFront() const {
        DWORD id = 0;
        return process_.hProcess && GetWindowThreadProcessId(GetForegroundWindow(), &id) && id == process_.dwProcessId;
    }

  private:
    HWND VisibleWindow() const {
        struct Search {
            DWORD id;
            HWND found;
        } search{process_.dwProcessId, nullptr};
        EnumWindows(
            [](HWND window, LPARAM param) -> BOOL {
                auto& s = *reinterpret_cast<Search*>(param);
                DWORD id = 0;
                GetWindowThreadProcessId(window, &id);
                if (id != s.id || !IsWindowVisible(window))
                    return TRUE;
                s.found = window;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found;
    }
    PROCESS_INFORMATION process_{};
};

class Form1ScanCopy : public FormTest {
  protected:
    // Picks `folder` in the open dialog (started there, OK on the placeholder) and scans it.
    void Search(const std::wstring& folder) {
        form->SearchFolder = folder;
        DialogWatcher watcher({Answer::Ok()});
        Command(IDM_SEARCH_FOLDER);
        ASSERT_EQ(watcher.Count(), 1u);
        EXPECT_EQ(watcher.Seen(0).caption, L"検索フォルダ指定");
    }
    // Picks `folder` in the save dialog and copies the tree there; returns the dialogs seen.
    std::vector<SeenDialog> Copy(const std::wstring& folder, std::vector<Answer> more = {}) {
        form->TargetFolder = folder;
        std::vector<Answer> answers{Answer::Ok()};
        answers.insert(answers.end(), more.begin(), more.end());
        DialogWatcher watcher(answers);
        Command(IDM_PELLARIX);
        std::vector<SeenDialog> seen;
        for (size_t i = 0; i < watcher.Count(); ++i)
            seen.push_back(watcher.Seen(i));
        return seen;
    }
    TempDir source;
    TempDir target;
};

TEST_F(Form1ScanCopy, SearchShowsTheFolderScansItDepthFirstAndCopiesTheStructure) {
    source.MakeFolder(L"A\\A1");
    source.MakeFolder(L"B");
    source.MakeFile(L"A\\file.txt", 10);
    Search(source.Path());
    EXPECT_EQ(form->SearchFolder, source.Path());
    EXPECT_EQ(WindowText(form->Edit1.Handle()), source.Path());
    EXPECT_EQ(Status(), L"");
    EXPECT_TRUE(form->TreeReady);
    EXPECT_FALSE(form->ScanAborted);
    EXPECT_TRUE(IsWindowEnabled(form->TreeView1.Handle()));
    // Siblings come in the order the file system gives them; on this one that is by name.
    EXPECT_EQ(TreeOutline(), source.Path() + L"\n  A\n    A1\n  B\n");
    EXPECT_EQ(form->GetNodePath(2), source.Path() + L"A\\A1\\");

    auto seen = Copy(target.Path());
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, L"フォルダコピー開始");
    EXPECT_EQ(Status(), L"フォルダ名コピーを完了しました。［フォルダ作成数:3］［フォルダ未作成数:0］");
    EXPECT_TRUE(IsFolder(target.Path() + L"A\\A1"));
    EXPECT_TRUE(IsFolder(target.Path() + L"B"));
    EXPECT_FALSE(FileExists(target.Path() + L"A\\file.txt"));

    Copy(target.Path());
    EXPECT_EQ(Status(), L"フォルダ名コピーを完了しました。［フォルダ作成数:0］［フォルダ未作成数:3］");
}

TEST_F(Form1ScanCopy, CopyWithoutATreeOrOntoTheSearchFolderIsRefused) {
    {
        DialogWatcher watcher({Answer::Button(IDOK)});
        Command(IDM_PELLARIX);
        ASSERT_EQ(watcher.Count(), 1u);
        EXPECT_EQ(watcher.Seen(0).caption, L"エラー");
        EXPECT_EQ(watcher.Seen(0).staticTexts.back(), L"フォルダツリーが表示されていません。");
        EXPECT_EQ(Status(), L"検索フォルダを指定して下さい。");
    }
    source.MakeFolder(L"X");
    Search(source.Path());
    auto seen = Copy(source.Path(), {Answer::Button(IDOK)});
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].caption, L"エラー");
    EXPECT_EQ(seen[1].staticTexts.back(), L"同じ場所へのフォルダ名コピーは出来ません。");
    // The refused destination is still what the settings will remember.
    EXPECT_EQ(form->TargetFolder, source.Path());
    EXPECT_EQ(Status(), L"");
}

// Below such a folder, names ending in a dot reach the file system as they are.
TEST_F(Form1ScanCopy, SavedFoldersWithDotsOrSlashesAreScannedListedAndCopiedWhereTheyLead) {
    source.MakeFolder(L"X\\inner");
    target.MakeFolder(L"Y");
    if (UnixPath(source.Path()).empty())
        GTEST_SKIP() << "a name ending in a dot is made from the Unix side, which needs Wine";
    const std::wstring inner = UnixPathArgument(source.Path() + L"X\\inner\\", L"v1.");
    ASSERT_EQ(RunUnix(L"mkdir -p " + inner + L"/w && touch " + inner + L"/f"), 0);
    const struct {
        std::wstring search, target;
    } cases[] = {
        {source.Path() + L"gone\\..\\X\\", target.Path() + L"gone\\..\\Y\\"},
        {source.Path() + L".\\X\\.\\", target.Path() + L"Y\\.\\"},
        {source.Path() + L"X/", target.Path() + L"Y/"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.search));
        RemoveTree(target.Path() + L"Y\\inner");
        OpenWith(L"[Set]\r\nFLD1=" + c.search + L"\r\nFLD2=" + c.target + L"\r\n");
        ASSERT_EQ(form->SearchFolder, c.search);
        DialogWatcher none({});
        form->ScanFolderTree();
        EXPECT_EQ(none.Count(), 0u);
        EXPECT_EQ(TreeOutline(), c.search + L"\n  inner\n    v1.\n      w\n");
        ClickTreeItem(OpenEveryItem().at(2));
        EXPECT_EQ(Status(), L"1 Files");
        form->CopyTree();
        EXPECT_EQ(none.Count(), 0u);
        EXPECT_EQ(Status(), L"フォルダ名コピーを完了しました。［フォルダ作成数:1］［フォルダ未作成数:2］");
        EXPECT_TRUE(IsFolder(target.Path() + L"Y\\inner"));
    }
}

// The window's side of a missing search folder: the message in its box, and the tree it showed and
// the folder the user gave kept.
TEST_F(Form1ScanCopy, MissingSearchFolderKeepsThePreviousTree) {
    source.MakeFolder(L"Kept");
    Search(source.Path());
    std::wstring before = TreeOutline();
    std::wstring missing = source.Path() + L"gone\\";
    form->SearchFolder = missing;
    DialogWatcher watcher({Answer::Button(IDOK)});
    form->ScanFolderTree();
    ASSERT_EQ(watcher.Count(), 1u);
    EXPECT_EQ(watcher.Seen(0).caption, L"情報");
    EXPECT_EQ(watcher.Seen(0).staticTexts.back(), L"検索フォルダのディスクドライブの準備が出来ていません。");
    EXPECT_EQ(TreeOutline(), before);
    EXPECT_EQ(form->SearchFolder, missing);
}

TEST_F(Form1ScanCopy, EscapeLeavesAPartialTreeThatTheCopyAndTheTreeClickAccept) {
    for (auto name : {L"a", L"b", L"c", L"d"})
        source.MakeFolder(std::wstring(name) + L"\\sub");
    form->SearchFolder = source.Path();
    {
        // Down once the root and two folders are in the tree.
        EscapeClock escape(*form, 3);
        form->ScanFolderTree();
        EXPECT_TRUE(escape.Pressed());
    }
    Pump();
    EXPECT_TRUE(form->ScanAborted);
    EXPECT_EQ(Status(), L"フォルダ検索を中断しました。");
    EXPECT_EQ(TreeOutline(), source.Path() + L"\n  a\n  b\n");
    EXPECT_TRUE(form->TreeReady);
    EXPECT_TRUE(IsWindowEnabled(form->TreeView1.Handle()));

    Copy(target.Path());
    EXPECT_EQ(Status(), L"フォルダ名コピーを完了しました。［フォルダ作成数:2］［フォルダ未作成数:0］");
    EXPECT_TRUE(IsFolder(target.Path() + L"b"));
    EXPECT_FALSE(IsFolder(target.Path() + L"c"));
}

TEST_F(Form1ScanCopy, EscapeHeldInAnotherProgramLeavesTheScanRunning) {
    for (int i = 0; i < 20; ++i)
        source.MakeFolder(L"f" + std::to_wstring(i));
    form->SearchFolder = source.Path();
    {
        OtherProgramInFront other;
        ASSERT_TRUE(other.InFront());
        EscapeClock escape(*form, 5);
        form->ScanFolderTree();
        EXPECT_TRUE(escape.Pressed());
        EXPECT_TRUE(other.InFront());
    }
    EXPECT_FALSE(form->ScanAborted);
    EXPECT_EQ(form->Tree().Count(), 21u);
}

TEST_F(Form1ScanCopy, EscapeStopsTheCopyBeforeTheNextFolder) {
    source.MakeFolder(L"a");
    source.MakeFolder(L"b");
    Search(source.Path());
    {
        // Down once the first folder has been named in the status line.
        EscapeTrigger escape(form->StatusBar1.Handle(), WM_SETTEXT, 2);
        Copy(target.Path());
        EXPECT_TRUE(escape.Pressed());
    }
    EXPECT_EQ(Status(), L"フォルダ名コピーを中断しました。");
    // "a" was handed to a creating thread before Escape, which the copy no longer waits for: it
    // may or may not be there. Nothing named after Escape is made.
    EXPECT_FALSE(IsFolder(target.Path() + L"b"));
}

TEST_F(Form1ScanCopy, DuringTheCopyAnotherProgramsCommandWaitsUntilItHasEndedAndTheUsersKeysAreDropped) {
    for (int i = 0; i < 5; ++i)
        source.MakeFolder(L"f" + std::to_wstring(i));
    Search(source.Path());
    form->TargetFolder = target.Path();
    HWND hwnd = form->Handle();
    // A clock that jumps a second a reading makes every look at the queue due. At the first one
    // another thread sends the search command, which reaches the window at the next look: a scan
    // started there would replace the tree the copy walks. A key typed then is in the queue
    // before that look too.
    auto now = std::chrono::steady_clock::now();
    bool sent = false;
    bool keyQueued = false;
    form->SetClock([&] {
        if (!std::exchange(sent, true)) {
            std::thread([hwnd] { SendNotifyMessageW(hwnd, WM_COMMAND, IDM_SEARCH_FOLDER, 0); }).join();
            keyQueued = SendAndWaitUntilQueued(KeyStrokes({'A'}));
        }
        return now += std::chrono::seconds(1);
    });
    DialogWatcher watcher({Answer::Cancel()});
    form->CopyTree();
    form->SetClock(nullptr);
    EXPECT_TRUE(keyQueued);
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_NOREMOVE)) << "the key waited for the copy";
    EXPECT_EQ(watcher.Count(), 0u) << "the search dialog opened during the copy";
    EXPECT_EQ(Status(), L"フォルダ名コピーを完了しました。［フォルダ作成数:5］［フォルダ未作成数:0］");
    Pump();
    EXPECT_EQ(watcher.Count(), 1u) << "the command was lost";
}

// The Restart Manager (an installer, Windows Update) wants the program gone at the end; after any
// other end the window stays, and a close still works.
TEST_F(Form1ScanCopy, TheSessionsEndSavesAtOnceAndOnceWhetherTheWindowIsIdleOrScanningListingOrCopying) {
    for (int i = 0; i < 100; ++i) {
        source.MakeFolder(L"f" + std::to_wstring(i));
        source.MakeFile(L"file" + std::to_wstring(i) + L".txt", 1);
    }
    const std::wstring saved = IniFile() + L".session";
    const struct {
        const char* what;
        bool loop;
        std::function<void()> run;
        LPARAM reason = ENDSESSION_LOGOFF;
    } cases[] = {
        {"idle", false, [] {}},
        {"scan", true, [&] { form->ScanFolderTree(); }},
        {"listing", true, [&] { form->ListFiles(source.Path()); }},
        {"copy", true, [&] { form->CopyTree(); }},
        // The first end closes the window, which stops the scan before the second end comes.
        {"scan, Restart Manager", false, [&] { form->ScanFolderTree(); }, ENDSESSION_CLOSEAPP},
    };
    for (const auto& c : cases) {
        OpenForm();
        form->SearchFolder = source.Path();
        form->ScanFolderTree();
        form->TargetFolder = target.Path();
        DeleteFileW(IniFile().c_str());
        DeleteFileW(saved.c_str());
        const HWND main = form->Handle();
        // As Windows ends a session: the question, the end, and the end once more, as every
        // top-level window hears it. The process may be gone as soon as the end is answered, so
        // the file must be there then; it is moved aside to see that the second end leaves it.
        std::atomic<bool> done{false};
        bool agreed = false;
        const auto endSession = [&] {
            DWORD_PTR answer = 0;
            SendMessageTimeoutW(main, WM_QUERYENDSESSION, 0, c.reason, SMTO_NORMAL, 10000, &answer);
            agreed = answer == TRUE;
            for (int i = 0; i < 2; ++i) {
                SendMessageTimeoutW(main, WM_ENDSESSION, TRUE, c.reason, SMTO_NORMAL, 10000, &answer);
                MoveFileExW(IniFile().c_str(), saved.c_str(), MOVEFILE_REPLACE_EXISTING);
            }
            done = true;
        };
        std::thread session;
        // The messages are sent from the loop's first reading of the clock, which then jumps so
        // that every check of the queue is due; each later reading waits until the next message
        // is there for that check to answer, until all have been.
        auto now = std::chrono::steady_clock::now();
        form->SetClock([&] {
            if (!session.joinable())
                session = std::thread(endSession);
            while (!done && !(HIWORD(GetQueueStatus(QS_SENDMESSAGE)) & QS_SENDMESSAGE))
                std::this_thread::yield();
            return now += std::chrono::seconds(1);
        });
        c.run();
        form->SetClock(nullptr);
        const bool duringTheLoop = done;
        if (!session.joinable())
            session = std::thread(endSession);
        while (!done)
            Pump();
        session.join();
        EXPECT_TRUE(duringTheLoop || !c.loop) << c.what << ": answered only after the loop";
        EXPECT_TRUE(agreed) << c.what;
        EXPECT_TRUE(FileHolds(saved, target.Path())) << c.what << ": the session's target folder was not saved";
        EXPECT_FALSE(FileExists(IniFile())) << c.what << ": saved twice";
        EXPECT_EQ(IsWindow(main), c.reason != ENDSESSION_CLOSEAPP) << c.what;
        SendMessageW(main, WM_CLOSE, 0, 0);
        EXPECT_FALSE(IsWindow(main)) << c.what << ": a close after the end";
    }
    DeleteFileW(saved.c_str());
}

// Runs `act` at the first reading of the window's clock once the scan has found `at` folders. The
// clock jumps a second a reading, so that every reading is followed by a look at the queue; after
// the act each reading waits until a message is there for that look, or the window has gone off
// the screen, and records how far the scan got.
class ScanWatch {
  public:
    ScanWatch(TForm1& form, std::size_t at, std::function<void()> act)
        : form_(form), main_(form.Handle()), at_(at), act_(std::move(act)) {
        form_.SetClock([this] { return Read(); });
    }
    ~ScanWatch() { form_.SetClock(nullptr); }
    ScanWatch(const ScanWatch&) = delete;
    ScanWatch& operator=(const ScanWatch&) = delete;

    std::size_t foldersAfter = 0;

  private:
    std::chrono::steady_clock::time_point Read() {
        const std::size_t count = form_.Tree().Count();
        if (!acted_ && count >= at_) {
            acted_ = true;
            givenUpAt_ = std::chrono::steady_clock::now() + std::chrono::seconds(10);
            act_();
        }
        if (acted_) {
            foldersAfter = count - at_;
            while (IsWindowVisible(main_) && HIWORD(GetQueueStatus(QS_ALLINPUT)) == 0 &&
                   std::chrono::steady_clock::now() < givenUpAt_)
                std::this_thread::yield();
        }
        return now_ += std::chrono::seconds(1);
    }
    TForm1& form_;
    HWND main_;
    std::size_t at_;
    bool acted_ = false;
    std::function<void()> act_;
    // A close that never comes fails the test's checks rather than hanging it.
    std::chrono::steady_clock::time_point givenUpAt_;
    std::chrono::steady_clock::time_point now_ = std::chrono::steady_clock::now();
};

// The user who closes the window during a scan wants to leave: the scan stops where it is, as at
// Escape, and the window goes at once with the settings saved, also while a server holds up the
// scan's search and however the close comes. A search command that came before the close through
// the scan's event pump never starts a second scan inside the first.
TEST_F(Form1ScanCopy, ACloseDuringAScanStopsItAndTheWindowGoesSaved) {
    // 600 folders in 20 groups, far more than one paced look at the queue takes to come.
    for (int group = 0; group < 20; ++group) {
        const std::wstring name = L"g" + std::to_wstring(group);
        source.MakeFolder(name);
        for (int i = 0; i < 29; ++i)
            source.MakeFolder(name + L"\\f" + std::to_wstring(i));
    }
    source.MakeFolder(L"stall\\below");
    const struct {
        const char* what;
        std::function<void(HWND)> close;
        bool serverHangs;
    } cases[] = {
        {"WM_CLOSE after a search command",
         [](HWND main) {
             PostMessageW(main, WM_COMMAND, IDM_SEARCH_FOLDER, 0);
             PostMessageW(main, WM_CLOSE, 0, 0);
         },
         false},
        {"close box", [](HWND main) { PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0); }, false},
        {"Alt+F4 on the keyboard",
         [](HWND) {
             EXPECT_TRUE(SendAndWaitUntilQueued(KeyStrokes({VK_MENU, VK_F4})));
         },
         false},
        {"WM_CLOSE while a server does not answer", nullptr, true},
    };
    for (const auto& c : cases) {
        OpenForm();
        DeleteFileW(IniFile().c_str());
        form->SearchFolder = source.Path();
        const HWND main = form->Handle();
        ASSERT_TRUE(IsWindowVisible(main));
        // The server closes the window itself, once the scan gets to it.
        std::optional<test::StalledShare> server;
        if (c.serverHangs)
            server.emplace(L"\\stall\\", [main] { PostMessageW(main, WM_CLOSE, 0, 0); });
        ScanWatch watch(*form, c.serverHangs ? SIZE_MAX : 20, [&] { c.close(main); });
        DialogWatcher watcher({});
        form->ScanFolderTree();
        EXPECT_LE(watch.foldersAfter, 1u) << c.what << ": the scan went on";
        EXPECT_EQ(server && server->HeldCalls() > 0, c.serverHangs) << c.what << ": the window waited for the server";
        EXPECT_FALSE(IsWindow(main)) << c.what << ": gone once the scan has stopped";
        EXPECT_EQ(test::KeyValue(L"Set", L"FLD1", IniFile()), source.Path()) << c.what;
        EXPECT_EQ(watcher.Count(), 0u) << c.what;
    }
}

}  // namespace
}  // namespace tavelin::test

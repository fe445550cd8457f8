#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <string>
#include <vector>

#include "platform/settings_storage_win.h"
#include "res/resource.h"
#include "settings/profile_encoding.h"
#include "support/dialog_watcher.h"
#include "support/folder_probe.h"
#include "support/form_fixture.h"
#include "support/import_hook.h"
#include "support/settings_file_bytes.h"
#include "support/temp_dir.h"

namespace tavelin::test {
namespace {

// What the settings place: the window's bounds, the left pane's width and the column widths.
struct Geometry {
    int x, y, width, height, pane;
    std::array<int, 5> columns;
    bool operator==(const Geometry&) const = default;
};

void PrintTo(const Geometry& g, std::ostream* out) {
    *out << "{" << g.x << ", " << g.y << ", " << g.width << "x" << g.height << ", pane " << g.pane << ", columns";
    for (int c : g.columns)
        *out << " " << c;
    *out << "}";
}

constexpr Geometry kDefaults{50, 50, 500, 350, 200, {120, 80, 50, 50, 50}};
// The form's own layout, which shows only when the settings could not be applied.
constexpr Geometry kFormResource{194, 103, 580, 468, 160, {64, 64, 64, 64, 64}};

Geometry Measure(const TForm1& form) {
    RECT window, pane;
    GetWindowRect(form.Handle(), &window);
    GetWindowRect(form.Panel1.Handle(), &pane);
    Geometry g{window.left, window.top, window.right - window.left, window.bottom - window.top, pane.right - pane.left,
               {}};
    for (int c = 0; c < 5; ++c)
        g.columns[c] = form.StringGrid1.ColWidth(c);
    return g;
}

std::wstring ExeDriveRoot() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::wstring(1, path[0]) + L":\\";
}

class Form1Settings : public FormTest {
  protected:
    // Drags the splitter with the mouse until the left pane is `width` pixels wide.
    void DragPaneTo(int width) {
        HWND splitter = form->Splitter1.Handle();
        const int from = 1, to = from + width - Measure(*form).pane;
        SendMessageW(splitter, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from, 10));
        SendMessageW(splitter, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to, 10));
        SendMessageW(splitter, WM_LBUTTONUP, 0, MAKELPARAM(to, 10));
        Pump();
    }
};

TEST_F(Form1Settings, WithoutAFileTheDefaultsApplyAndTheFolderDialogStartsAtTheDriveRoot) {
    EXPECT_FALSE(FileExists(IniFile()));
    EXPECT_EQ(Measure(*form), kDefaults);
    EXPECT_EQ(form->IniPath, IniFile());
    EXPECT_EQ(form->SearchFolder, ExeDriveRoot());
    EXPECT_EQ(form->TargetFolder, L"");

    DialogWatcher watcher({Answer::Cancel()}, 300);
    FolderProbe probe;
    Command(IDM_SEARCH_FOLDER);
    Pump();
    ASSERT_EQ(watcher.Count(), 1u);
    EXPECT_EQ(watcher.Seen(0).caption, L"検索フォルダ指定");
    EXPECT_EQ(probe.Folder(), ExeDriveRoot());
    // Cancelled: nothing chosen, nothing scanned.
    EXPECT_EQ(form->SearchFolder, ExeDriveRoot());
    EXPECT_EQ(WindowText(form->Edit1.Handle()), L"");
}

TEST_F(Form1Settings, AClosedRunWritesItsGeometryAndFoldersAndTheNextRunRestoresThem) {
    TempDir dir;
    const std::wstring search = dir.MakeFolder(L"検索元") + L"\\";
    const std::wstring target = L"D:\\写し先\\";
    const Geometry moved{120, 80, 640, 480, 250, {150, 90, 0, 130, 70}};

    SetWindowPos(form->Handle(), nullptr, moved.x, moved.y, moved.width, moved.height, SWP_NOZORDER);
    DragPaneTo(moved.pane);
    for (int c = 0; c < 5; ++c)
        form->StringGrid1.SetColWidth(c, moved.columns[c]);
    form->SearchFolder = search;
    form->TargetFolder = target;
    ASSERT_EQ(Measure(*form), moved);
    CloseForm();

    // The window's bounds, pane and column widths and both folders, each under its key.
    const wchar_t* const saved[][3] = {
        {L"Form", L"F1_X", L"120"},  {L"Form", L"F1_Y", L"80"},         {L"Form", L"F1_W", L"640"},
        {L"Form", L"F1_H", L"480"},  {L"Comp", L"F1_P1", L"250"},       {L"Comp", L"F1_SG0", L"150"},
        {L"Comp", L"F1_SG1", L"90"}, {L"Comp", L"F1_SG2", L"0"},        {L"Comp", L"F1_SG3", L"130"},
        {L"Comp", L"F1_SG4", L"70"}, {L"Set", L"FLD1", search.c_str()}, {L"Set", L"FLD2", target.c_str()},
    };
    for (const auto& [section, key, value] : saved)
        EXPECT_EQ(KeyValue(section, key, IniFile()), value) << testing::PrintToString(std::wstring(key));

    {
        DialogWatcher errors({});
        OpenForm();
        EXPECT_EQ(errors.Count(), 0u);
    }
    EXPECT_EQ(Measure(*form), moved);
    EXPECT_EQ(form->SearchFolder, search);
    EXPECT_EQ(form->TargetFolder, target);

    // The restored search folder is where the folder dialog opens.
    DialogWatcher watcher({Answer::Cancel()}, 300);
    FolderProbe probe;
    Command(IDM_SEARCH_FOLDER);
    Pump();
    ASSERT_EQ(watcher.Count(), 1u);
    EXPECT_EQ(CompareStringOrdinal(probe.Folder().c_str(), -1, search.substr(0, search.size() - 1).c_str(), -1, TRUE),
              CSTR_EQUAL)
        << testing::PrintToString(probe.Folder());
}

TEST_F(Form1Settings, AnEmptyTargetFolderIsSavedAsAnEmptyValueNotLeftOut) {
    CloseForm();
    EXPECT_EQ(KeyValue(L"Set", L"FLD1", IniFile()), ExeDriveRoot());
    EXPECT_EQ(KeyValue(L"Set", L"FLD2", IniFile()), L"");
    EXPECT_EQ(KeyValue(L"Form", L"F1_W", IniFile()), L"500");
}

TEST_F(Form1Settings, NumbersInEveryFormTheConversionAcceptsAreApplied) {
    struct {
        const wchar_t* file;
        Geometry expected;
    } const cases[] = {
        {L"[Form]\r\nF1_X=$C8\r\nF1_Y=0x64\r\n", {200, 100, 500, 350, 200, {120, 80, 50, 50, 50}}},
        {L"[Form]\r\nF1_X=-5\r\nF1_W=X258\r\nF1_H=0X190\r\n", {-5, 50, 600, 400, 200, {120, 80, 50, 50, 50}}},
        {L"[Comp]\r\nF1_P1=+250\r\nF1_SG2=0\r\nF1_SG3=$0000001E\r\nF1_SG4=x2d\r\n",
         {50, 50, 500, 350, 250, {120, 80, 0, 30, 45}}},
        // 21 characters fit the buffer; a 22nd is cut off before the conversion sees it.
        {L"[Comp]\r\nF1_SG0=0000000000000000001234\r\nF1_SG1=000000000000000000090\r\n",
         {50, 50, 500, 350, 200, {123, 90, 50, 50, 50}}},
        // Empty values, whether blank or spaces only, keep their defaults.
        {L"[Form]\r\nF1_W=\r\nF1_H=   \r\n[Comp]\r\nF1_P1=\r\nF1_SG0=0\r\n",
         {50, 50, 500, 350, 200, {0, 80, 50, 50, 50}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.file)));
        DialogWatcher errors({});
        OpenWith(c.file);
        EXPECT_EQ(errors.Count(), 0u);
        EXPECT_EQ(Measure(*form), c.expected);
        EXPECT_EQ(form->SearchFolder, ExeDriveRoot());
        EXPECT_EQ(form->TargetFolder, L"");
    }
}

// A file that sets all twelve keys to valid values, but for `badKey`, which holds `badValue`.
std::wstring FileWithOneBadValue(const std::wstring& badKey, const std::wstring& badValue) {
    struct {
        const wchar_t* section;
        const wchar_t* key;
        const wchar_t* value;
    } const keys[] = {
        {L"Form", L"F1_X", L"10"},   {L"Form", L"F1_Y", L"20"},        {L"Form", L"F1_W", L"520"},
        {L"Form", L"F1_H", L"400"},  {L"Comp", L"F1_P1", L"180"},      {L"Comp", L"F1_SG0", L"100"},
        {L"Comp", L"F1_SG1", L"70"}, {L"Comp", L"F1_SG2", L"60"},      {L"Comp", L"F1_SG3", L"55"},
        {L"Comp", L"F1_SG4", L"45"}, {L"Set", L"FLD1", L"C:\\検索\\"}, {L"Set", L"FLD2", L"D:\\写し先\\"},
    };
    std::wstring file, section;
    for (const auto& k : keys) {
        if (section != k.section) {
            section = k.section;
            file += L"[" + section + L"]\r\n";
        }
        file += std::wstring(k.key) + L"=" + (k.key == badKey ? badValue : std::wstring(k.value)) + L"\r\n";
    }
    return file;
}

TEST_F(Form1Settings, ANumberThatIsNotAnIntegerIsReportedAndNothingFromTheFileIsApplied) {
    struct {
        const wchar_t* key;
        std::wstring value;
        std::wstring shown;  // the value as the error box quotes it
    } const cases[] = {
        {L"F1_SG1", L"12ab", L"12ab"},
        {L"F1_W", L"2147483648", L"2147483648"},
        {L"F1_H", L"-2147483649", L"-2147483649"},
        {L"F1_P1", L"$123456789", L"$123456789"},
        {L"F1_SG0", L"-$10", L"-$10"},
        {L"F1_SG4", L"12 px", L"12 px"},
        {L"F1_X", L"0x", L"0x"},
        // Quoted to keep its leading spaces: cut to the buffer, nothing but spaces is left.
        {L"F1_SG3", L"\"" + std::wstring(25, L' ') + L"300\"", std::wstring(21, L' ')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.key) + L"=" + c.value));
        DialogWatcher watcher({Answer::Button(IDOK)});
        OpenWith(FileWithOneBadValue(c.key, c.value));
        ASSERT_EQ(watcher.Count(), 1u);
        EXPECT_EQ(watcher.Seen(0).caption, L"Pellarix Ver.1.00");
        ASSERT_FALSE(watcher.Seen(0).staticTexts.empty());
        EXPECT_EQ(watcher.Seen(0).staticTexts.back(), L"'" + c.shown + L"' は整数ではありません.");
        EXPECT_TRUE(IsWindowVisible(form->Handle()));
        EXPECT_EQ(Measure(*form), kFormResource);
        EXPECT_EQ(form->SearchFolder, ExeDriveRoot());
        EXPECT_EQ(form->TargetFolder, L"");
    }
}

TEST_F(Form1Settings, AfterTheConversionErrorTheNextCloseWritesAFileThatLoadsCleanly) {
    {
        DialogWatcher watcher({Answer::Button(IDOK)});
        OpenWith(L"[Comp]\r\nF1_SG1=12ab\r\n[Set]\r\nFLD2=D:\\写し先\\\r\n");
        ASSERT_EQ(watcher.Count(), 1u);
    }
    CloseForm();
    EXPECT_EQ(KeyValue(L"Comp", L"F1_SG1", IniFile()), L"64");

    DialogWatcher errors({});
    OpenForm();
    EXPECT_EQ(errors.Count(), 0u);
    EXPECT_EQ(Measure(*form), kFormResource);
    EXPECT_EQ(form->SearchFolder, ExeDriveRoot());
    EXPECT_EQ(form->TargetFolder, L"");
}

TEST_F(Form1Settings, FoldersAreTakenAsReadInTheSystemCodePage) {
    const std::wstring longFolder = L"C:\\" + std::wstring(600, L'a') + L"\\";
    struct {
        std::wstring lines;
        std::wstring search;
        std::wstring target;
    } const cases[] = {
        // 表 and ソ end in the byte of "\", so only a double-byte aware reader keeps them whole.
        {L"FLD1=D:\\表計算\\ソフト\\日本語フォルダ\\\r\nFLD2=E:\\能力\\\r\n", L"D:\\表計算\\ソフト\\日本語フォルダ\\",
         L"E:\\能力\\"},
        {L"FLD1=" + longFolder + L"\r\n", longFolder.substr(0, 511), L""},
        {L"FLD1=C:\\no separator\r\n", L"C:\\no separator", L""},
        {L"FLD1=\r\nFLD2=\r\n", ExeDriveRoot(), L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.lines));
        DialogWatcher errors({});
        OpenWith(L"[Set]\r\n" + c.lines);
        EXPECT_EQ(errors.Count(), 0u);
        EXPECT_EQ(form->SearchFolder, c.search);
        EXPECT_EQ(form->TargetFolder, c.target);
        EXPECT_EQ(WindowText(form->Edit1.Handle()), L"");
    }
}

TEST_F(Form1Settings, AJapaneseFolderIsWrittenBackInTheSystemCodePage) {
    const std::wstring folder = L"D:\\表計算\\ソフト\\";
    form->SearchFolder = folder;
    CloseForm();
    const std::string bytes = ReadRawFile(IniFile());
    EXPECT_NE(bytes.find("FLD1=" + ToCodePage932(folder)), std::string::npos) << bytes;
    EXPECT_EQ(bytes.find('\0'), std::string::npos);
}

// The folder dialogs open where the folders lead; compared as the file system does, since Wine
// may spell the temporary folder in another case.
void ExpectDialogOpensAt(const std::wstring& folder, const FolderProbe& probe) {
    const std::wstring expected = folder.substr(0, folder.size() - 1);
    EXPECT_EQ(CompareStringOrdinal(probe.Folder().c_str(), -1, expected.c_str(), -1, TRUE), CSTR_EQUAL)
        << testing::PrintToString(probe.Folder()) << " instead of " << testing::PrintToString(expected);
}

TEST_F(Form1Settings, FoldersTheCodePageLacksOrWouldChangeSurviveARestartExactly) {
    TempDir dir;
    // Where "a¥b" would lead if "¥" came back as the look-alike "\".
    dir.MakeFolder(L"a\\b\\写し先");
    dir.MakeFolder(L"a\\b\\sub");
    for (const std::wstring name : {L"한글", L"\U0001F600", L"é", L"a¥b"}) {
        SCOPED_TRACE(testing::PrintToString(name));
        const std::wstring search = dir.Path() + name + L"\\";
        const std::wstring target = dir.MakeFolder(name + L"\\写し先") + L"\\";
        dir.MakeFolder(name + L"\\sub");
        form->SearchFolder = search;
        form->TargetFolder = target;
        CloseForm();
        EXPECT_TRUE(ReadRawFile(IniFile()).starts_with("\xFF\xFE")) << "not UTF-16LE";

        {
            DialogWatcher errors({});
            OpenForm();
            EXPECT_EQ(errors.Count(), 0u);
        }
        EXPECT_EQ(form->SearchFolder, search);
        EXPECT_EQ(form->TargetFolder, target);
        {
            DialogWatcher watcher({Answer::Cancel()}, 300);
            FolderProbe probe;
            Command(IDM_SEARCH_FOLDER);
            Pump();
            ASSERT_EQ(watcher.Count(), 1u);
            ExpectDialogOpensAt(search, probe);
        }
        form->ScanFolderTree();
        ASSERT_TRUE(form->TreeReady);
        {
            DialogWatcher watcher({Answer::Cancel()}, 300);
            FolderProbe probe;
            Command(IDM_PELLARIX);
            Pump();
            ASSERT_EQ(watcher.Count(), 1u);
            ExpectDialogOpensAt(target, probe);
        }
    }
    // Once Unicode, the file stays so when every value would fit the code page again.
    form->SearchFolder = L"C:\\";
    form->TargetFolder = L"";
    CloseForm();
    EXPECT_TRUE(ReadRawFile(IniFile()).starts_with("\xFF\xFE")) << "not UTF-16LE";
    EXPECT_EQ(KeyValue(L"Set", L"FLD1", IniFile()), L"C:\\");
}

TEST_F(Form1Settings, AFileWhoseValuesAllFitKeepsItsBytesAndWhatTheUserAddedToIt) {
    CloseForm();
    const std::string saved = ReadRawFile(IniFile());
    ASSERT_TRUE(saved.starts_with("[Form]")) << saved;
    EXPECT_EQ(saved.find('\0'), std::string::npos);
    const std::string edited = saved + "[User]\r\nNote=" + ToCodePage932(L"手で書いた") + "\r\n";
    WriteRawFile(IniFile(), edited);
    OpenForm();
    CloseForm();
    EXPECT_EQ(ReadRawFile(IniFile()), edited);
}

TEST_F(Form1Settings, AReadOnlyFileIsLeftAsItIsAndTheWindowStillCloses) {
    OpenWith(L"[Form]\r\nF1_X=10\r\nF1_Y=20\r\n");
    const std::string before = ReadRawFile(IniFile());
    ASSERT_TRUE(SetFileAttributesW(IniFile().c_str(), FILE_ATTRIBUTE_READONLY));
    SetWindowPos(form->Handle(), nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    form->TargetFolder = L"D:\\写し先\\";
    CloseForm();
    EXPECT_EQ(ReadRawFile(IniFile()), before);
    EXPECT_EQ(GetFileAttributesW(IniFile().c_str()) & FILE_ATTRIBUTE_READONLY, DWORD{FILE_ATTRIBUTE_READONLY});
}

// A save may wait a few seconds for a file that another program holds open: by then the window
// is off the screen, so that the close never looks stuck.
ImportHook* replaceHook = nullptr;
HWND closingWindow = nullptr;
int replacesWhileShown = 0, replaces = 0;
BOOL WINAPI ReplaceLookingAtTheWindow(LPCWSTR replaced,
                                      LPCWSTR replacement,
                                      LPCWSTR backup,
                                      DWORD flags,
                                      LPVOID exclude,
                                      LPVOID reserved) {
    ++replaces;
    replacesWhileShown += IsWindowVisible(closingWindow) ? 1 : 0;
    using Replace = BOOL(WINAPI*)(LPCWSTR, LPCWSTR, LPCWSTR, DWORD, LPVOID, LPVOID);
    return replaceHook->Original<Replace>()(replaced, replacement, backup, flags, exclude, reserved);
}

TEST_F(Form1Settings, TheWindowIsOffTheScreenBeforeTheSaveReplacesTheFile) {
    OpenWith(L"[Form]\r\nF1_X=10\r\n");
    form->TargetFolder = L"D:\\写し先\\";
    closingWindow = form->Handle();
    ImportHook hook("kernel32.dll", "ReplaceFileW", reinterpret_cast<void*>(&ReplaceLookingAtTheWindow));
    replaceHook = &hook;
    CloseForm();
    EXPECT_EQ(replaces, 1);
    EXPECT_EQ(replacesWhileShown, 0);
    EXPECT_EQ(KeyValue(L"Set", L"FLD2", IniFile()), L"D:\\写し先\\");
}

// A virus scanner or a sync client holding the file open, sharing nothing, while the program
// starts: it waits a moment, then shows the defaults; the close, once the file is free, writes
// what the user changed and leaves every other value of the file as it was.
TEST_F(Form1Settings, AFileHeldOpenAtTheStartKeepsEveryValueTheUserDidNotChange) {
    const std::wstring text =
        L"[Form]\r\nF1_X=300\r\nF1_W=700\r\n[Comp]\r\nF1_SG3=150\r\n[Set]\r\nFLD1=C:\\元\\\r\nFLD2=D:\\写し先\\\r\n"
        L"[User]\r\nNote=kept\r\n";
    WriteRawFile(IniFile(), ToCodePage932(text));
    HANDLE held = CreateFileW(IniFile().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    OpenForm();
    CloseHandle(held);
    EXPECT_EQ(Measure(*form), kDefaults);
    form->SearchFolder = L"E:\\新しい\\";
    CloseForm();
    std::wstring expected = text;
    expected.replace(expected.find(L"C:\\元\\"), 5, L"E:\\新しい\\");
    EXPECT_EQ(ReadRawFile(IniFile()), ToCodePage932(expected));
}

// What editors save: the folders read right, and a close keeps every comment and key of the
// user's, in the file's own encoding.
TEST_F(Form1Settings, EditorsUtf8AndUtf16FilesKeepEveryFolderKeyAndCommentThroughARestart) {
    const std::wstring text =
        L"; メモ\r\n[Set]\r\nFLD1=D:\\日本語フォルダ\\\r\nFLD2=E:\\写し先\\\r\n\r\n"
        L"[User]\r\nimportant=keep me\r\n";
    SettingsStorageWin storage;
    for (ProfileEncoding encoding :
         {ProfileEncoding::kUtf8, ProfileEncoding::kUtf8Mark, ProfileEncoding::kUtf16Le, ProfileEncoding::kUtf16Be}) {
        SCOPED_TRACE(static_cast<int>(encoding));
        WriteRawFile(IniFile(), EncodeProfile(text, encoding, storage).value());
        OpenForm();
        EXPECT_EQ(form->SearchFolder, L"D:\\日本語フォルダ\\");
        EXPECT_EQ(form->TargetFolder, L"E:\\写し先\\");
        SetWindowPos(form->Handle(), nullptr, 70, 80, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        CloseForm();
        const DecodedProfile after = DecodeProfile(ReadRawFile(IniFile()), storage);
        EXPECT_EQ(after.encoding, encoding);
        EXPECT_TRUE(after.text.starts_with(text)) << testing::PrintToString(after.text);
        EXPECT_NE(after.text.find(L"\r\nF1_X=70\r\n"), std::wstring::npos) << testing::PrintToString(after.text);
    }
}

}  // namespace
}  // namespace tavelin::test

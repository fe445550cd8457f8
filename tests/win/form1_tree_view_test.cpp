// The tree view holds only what has been opened; opened everywhere it shows the scanned tree.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/escape_clock.h"
#include "support/form_fixture.h"
#include "support/temp_dir.h"

namespace tavelin::test {
namespace {

// The sub-folders below `folder`, in pre-order and in the order the file system lists them.
void WalkDisk(const std::wstring& folder, std::vector<std::wstring>& out) {
    out.push_back(folder);
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"*").c_str(), &data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE) << folder.size();
    std::vector<std::wstring> children;
    do {
        const std::wstring name = data.cFileName;
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != L"." && name != L"..")
            children.push_back(folder + name + L"\\");
    } while (FindNextFileW(find, &data));
    FindClose(find);
    for (const std::wstring& child : children)
        WalkDisk(child, out);
}

class Form1TreeView : public FormTest {
  protected:
    struct Item {
        std::wstring path;  // the item's own text below its parent items' texts
        NodeId node;
        bool button;
        bool expanded;
    };
    Item Read(HTREEITEM handle) const {
        HWND tree = form->TreeView1.Handle();
        Item item{L"", 0, false, false};
        for (HTREEITEM h = handle; h; h = TreeView_GetParent(tree, h)) {
            wchar_t text[512] = {};
            TVITEMW tv{};
            tv.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN | TVIF_STATE;
            tv.hItem = h;
            tv.pszText = text;
            tv.cchTextMax = 512;
            TreeView_GetItem(tree, &tv);
            const bool root = TreeView_GetParent(tree, h) == nullptr;
            item.path = text + std::wstring(root ? L"" : L"\\") + item.path;
            if (h == handle) {
                item.node = static_cast<NodeId>(tv.lParam);
                item.button = tv.cChildren != 0;
                item.expanded = (tv.state & TVIS_EXPANDED) != 0;
            }
        }
        return item;
    }
    // Opens everything and checks item by item against the model: the path, the node and its
    // absolute index, the button. Returns the paths.
    std::vector<std::wstring> OpenAndCompareWithTheModel() {
        std::vector<std::wstring> paths;
        const std::vector<HTREEITEM> items = OpenEveryItem();
        EXPECT_EQ(items.size(), form->Tree().Count());
        for (std::size_t k = 0; k < items.size(); ++k) {
            const Item item = Read(items[k]);
            EXPECT_EQ(item.path, form->GetNodePath(k)) << k;
            EXPECT_EQ(form->Tree().IndexOf(item.node), k) << k;
            EXPECT_EQ(item.button, form->Tree().FirstChild(item.node) != kNoNode) << k;
            paths.push_back(item.path);
        }
        return paths;
    }
    HTREEITEM Find(const std::wstring& path) {
        for (HTREEITEM item : OpenEveryItem())
            if (Read(item).path == path)
                return item;
        return nullptr;
    }
    void Scan() {
        form->SearchFolder = dir.Path();
        form->ScanFolderTree();
        Pump();
    }
    TempDir dir;
};

TEST_F(Form1TreeView, AfterAScanOnlyTheRootIsAnItemAndOpeningEverythingShowsTheModelAndTheDisk) {
    for (auto path : {L"a\\a1\\a11", L"a\\a2", L"b", L"c\\c1\\c11\\c111", L"c\\c2", L"d\\d1"})
        dir.MakeFolder(path);
    dir.MakeFile(L"a\\file.txt");
    Scan();
    HWND tree = form->TreeView1.Handle();
    ASSERT_EQ(TreeView_GetCount(tree), 1u);
    const Item root = Read(TreeView_GetRoot(tree));
    EXPECT_TRUE(root.button);
    EXPECT_FALSE(root.expanded);

    std::vector<std::wstring> disk;
    WalkDisk(dir.Path(), disk);
    ASSERT_EQ(disk.size(), 13u);
    EXPECT_EQ(OpenAndCompareWithTheModel(), disk);
    EXPECT_EQ(TreeView_GetCount(tree), 13u);
    // Opened again after a collapse, an item keeps its children once.
    HTREEITEM c = Find(dir.Path() + L"c\\");
    TreeView_Expand(tree, c, TVE_COLLAPSE);
    TreeView_Expand(tree, c, TVE_EXPAND);
    EXPECT_EQ(OpenAndCompareWithTheModel(), disk);
}

TEST_F(Form1TreeView, APartialTreeAfterEscapeShowsExactlyItsNodes) {
    for (auto path : {L"a\\x", L"a\\y\\deep", L"b\\z", L"c"})
        dir.MakeFolder(path);
    form->SearchFolder = dir.Path();
    {
        // Root, a, b, c from the root's listing, then x from a's: stopped at y.
        EscapeClock escape(*form, 5);
        form->ScanFolderTree();
        EXPECT_TRUE(escape.Pressed());
    }
    Pump();
    EXPECT_TRUE(form->ScanAborted);
    EXPECT_EQ(TreeOutline(), dir.Path() + L"\n  a\n    x\n  b\n  c\n");
    const std::vector<std::wstring> expected{dir.Path(), dir.Path() + L"a\\", dir.Path() + L"a\\x\\",
                                             dir.Path() + L"b\\", dir.Path() + L"c\\"};
    EXPECT_EQ(OpenAndCompareWithTheModel(), expected);
    EXPECT_FALSE(Read(Find(dir.Path() + L"b\\")).button) << "b was never listed";
}

TEST_F(Form1TreeView, ClicksOnNodesOpenedLateListTheirFolders) {
    // Names wide enough for a click in the middle of the label to land on the text.
    dir.MakeFolder(L"parent\\quarter\\records");
    dir.MakeFolder(L"parent\\second");
    dir.MakeFile(L"parent\\quarter\\records\\one.txt", 1);
    dir.MakeFile(L"parent\\quarter\\records\\two.txt", 2);
    dir.MakeFile(L"parent\\second\\three.txt", 3);
    Scan();
    const struct {
        const wchar_t* folder;
        const wchar_t* status;
        const wchar_t* firstFile;
    } cases[] = {{L"parent\\quarter\\records\\", L"2 Files", L"one.txt"},
                 {L"parent\\second\\", L"1 Files", L"three.txt"}};
    for (const auto& c : cases) {
        HTREEITEM item = Find(dir.Path() + c.folder);
        ASSERT_NE(item, nullptr) << c.status;
        ClickTreeItem(item);
        EXPECT_EQ(Status(), c.status) << Read(TreeView_GetSelection(form->TreeView1.Handle())).path;
        EXPECT_EQ(form->Grid().Cell(0, 1), c.firstFile);
    }
}

TEST_F(Form1TreeView, NothingOpensWhileTheScanRuns) {
    for (auto path : {L"a\\a1", L"b\\b1", L"c"})
        dir.MakeFolder(path);
    HWND tree = form->TreeView1.Handle();
    bool tried = false;
    form->SetClock([&] {
        if (!tried && form->Tree().Count() >= 3) {
            tried = true;
            EXPECT_FALSE(TreeView_Expand(tree, TreeView_GetRoot(tree), TVE_EXPAND));
        }
        return std::chrono::steady_clock::now();
    });
    Scan();
    form->SetClock(nullptr);
    ASSERT_TRUE(tried);
    EXPECT_EQ(TreeView_GetCount(tree), 1u);
    EXPECT_FALSE(Read(TreeView_GetRoot(tree)).expanded);
    EXPECT_EQ(TreeOutline(), dir.Path() + L"\n  a\n    a1\n  b\n    b1\n  c\n");
}

TEST_F(Form1TreeView, EscapeHeldUnderTheRealClockStopsTheScan) {
    // Escape is read at least every 10 ms; the whole tree takes far longer to scan.
    for (int i = 0; i < 300; ++i)
        dir.MakeFolder(L"f" + std::to_wstring(i) + L"\\inner");
    form->SearchFolder = dir.Path();
    {
        EscapeClock escape(*form, 10, EscapeClock::Time::kReal);
        form->ScanFolderTree();
        EXPECT_TRUE(escape.Pressed());
    }
    EXPECT_TRUE(form->ScanAborted);
    EXPECT_EQ(Status(), L"フォルダ検索を中断しました。");
    EXPECT_GE(form->Tree().Count(), 10u);
    EXPECT_LT(form->Tree().Count(), 601u) << "the scan stops once Escape is down";
}

}  // namespace
}  // namespace tavelin::test

// Random trees, scanned whole and stopped at random points, against two independent references:
// a recursive depth-first walk, and the scan's loop re-done with a plain vector into which each
// folder's children are inserted right behind it, stopped after as many folders as the scan added.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "fakes/file_system.h"
#include "fakes/loop_host.h"
#include "fakes/scan_observer.h"
#include "tree/folder_scan.h"
#include "tree/node_path.h"

namespace tavelin {
namespace {

using test::FakeFileSystem;
using test::FakeHost;
using test::FakeWindow;

struct RandomTree {
    FakeFileSystem fs;
    std::vector<std::wstring> folders{L"C:\\A"};
};

RandomTree MakeRandomTree(std::mt19937& rng, int folders) {
    RandomTree t;
    for (int i = 0; i < folders; ++i) {
        // Favour recent folders as parents, so that both deep chains and wide fans appear.
        const std::size_t n = t.folders.size();
        const std::size_t parent = rng() % 3 == 0 ? rng() % n : n - 1 - rng() % std::min<std::size_t>(n, 4);
        const std::wstring path = t.folders[parent] + L"\\f" + std::to_wstring(i);
        t.fs.AddFolder(path);
        t.folders.push_back(path);
        if (rng() % 4 == 0)
            t.fs.AddFile(t.folders[parent] + L"\\file" + std::to_wstring(i));
        if (rng() % 10 == 0)
            t.fs.AddFolder(t.folders[parent] + L"\\h" + std::to_wstring(i), kAttrDirectory | kAttrHidden);
    }
    return t;
}

void Walk(FakeFileSystem& fs, const std::wstring& folder, std::vector<std::wstring>& out) {
    out.push_back(folder);
    auto search = fs.Search(folder);
    DirEntry e;
    while (search && search->Next(e)) {
        if (e.attributes == kAttrDirectory && e.name != L"." && e.name != L"..")
            Walk(fs, folder + e.name + L"\\", out);
    }
}

// The loop with a vector of paths, stopped once `additions` folders have been added.
std::vector<std::wstring> ReferenceScan(FakeFileSystem& fs, std::size_t additions) {
    std::vector<std::wstring> order{L"C:\\A\\"};
    for (std::size_t at = 0; at < order.size(); ++at) {
        auto search = fs.Search(order[at]);
        DirEntry e;
        std::size_t insertAt = at + 1;
        while (search && search->Next(e)) {
            if (!(e.attributes & kAttrHidden) && (e.attributes & kAttrDirectory) && e.name != L"." && e.name != L"..") {
                if (order.size() == additions + 1)
                    return order;
                order.insert(order.begin() + static_cast<std::ptrdiff_t>(insertAt++), order[at] + e.name + L"\\");
            }
        }
    }
    return order;
}

TEST(FolderScanProperty, RandomTreesWholeAndStoppedMatchTheReferences) {
    for (unsigned seed = 1; seed <= 60; ++seed) {
        std::mt19937 rng(seed);
        RandomTree t = MakeRandomTree(rng, 1 + static_cast<int>(rng() % 300));
        std::vector<std::wstring> walked;
        Walk(t.fs, L"C:\\A\\", walked);

        FolderTree tree;
        FakeHost host;
        FakeWindow window;
        ScanFolders(L"C:\\A\\", tree, t.fs, host, window);
        std::vector<std::wstring> scanned;
        for (std::size_t i = 0; i < tree.Count(); ++i)
            scanned.push_back(NodePathAt(tree, i));
        ASSERT_EQ(scanned, walked) << "seed " << seed;

        // Wherever Escape comes, the tree holds the folders added until then, in pre-order.
        const int escapeAt = 1 + static_cast<int>(rng() % static_cast<unsigned>(host.polls + 1));
        FakeHost stopping;
        stopping.escapeFromPoll = escapeAt;
        std::size_t atEscape = 0;
        stopping.onPoll = [&] { atEscape = tree.Count(); };
        ScanFolders(L"C:\\A\\", tree, t.fs, stopping, window);
        std::vector<std::wstring> partial;
        for (std::size_t i = 0; i < tree.Count(); ++i)
            partial.push_back(NodePathAt(tree, i));
        ASSERT_EQ(partial, ReferenceScan(t.fs, tree.Count() - 1)) << "seed " << seed << " escape at " << escapeAt;
        if (window.scanAborted)
            ASSERT_EQ(atEscape, tree.Count()) << "seed " << seed << ": added after Escape";
        else
            ASSERT_EQ(partial, walked) << "seed " << seed;
    }
}

}  // namespace
}  // namespace tavelin

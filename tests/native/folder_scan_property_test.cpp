// Random trees, scanned whole and stopped at random points, against two independent references:
// a recursive depth-first walk, and the scan's loop re-done with a plain vector into which each
// folder's children are inserted right behind it, stopped after as many folders as the scan added.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <iterator>
#include <random>
#include <string>
#include <thread>
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

RandomTree MakeRandomTree(std::mt19937& rng, int folders, int links = 0) {
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
    // Links anywhere to anywhere: some lead back into their own ancestry, others repeat a branch.
    for (int i = 0; i < links; ++i) {
        const std::wstring& holder = t.folders[rng() % t.folders.size()];
        t.fs.AddLink(holder + L"\\link" + std::to_wstring(i), t.folders[rng() % t.folders.size()]);
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

// Every visible folder in pre-order, with the index of its parent; a link that leads to a folder
// on its own path is there but not entered.
struct Walked {
    std::vector<std::wstring> paths;
    std::vector<std::size_t> parents;
};

void WalkFollowingLinks(FakeFileSystem& fs,
                        const std::wstring& folder,
                        std::size_t parent,
                        std::vector<FolderIdentity>& path,
                        Walked& out) {
    const std::size_t self = out.paths.size();
    out.paths.push_back(folder);
    out.parents.push_back(parent);
    const FolderIdentity identity = *fs.Identity(folder);
    if (std::find(path.begin(), path.end(), identity) != path.end())
        return;
    path.push_back(identity);
    auto search = fs.Search(folder);
    DirEntry e;
    while (search && search->Next(e)) {
        if (!(e.attributes & (kAttrHidden | kAttrSystem)) && (e.attributes & kAttrDirectory) && e.name != L"." &&
            e.name != L"..")
            WalkFollowingLinks(fs, folder + e.name + L"\\", self, path, out);
    }
    path.pop_back();
}

// The scan's order of additions over the walked tree, stopped after `additions`.
std::vector<std::wstring> ReferenceAdditions(const Walked& walked, std::size_t additions) {
    std::vector<std::size_t> order{0};
    for (std::size_t at = 0; at < order.size(); ++at) {
        std::size_t insertAt = at + 1;
        for (std::size_t child = 0; child < walked.paths.size(); ++child) {
            if (walked.parents[child] != order[at] || child == 0)
                continue;
            if (order.size() == additions + 1)
                break;
            order.insert(order.begin() + static_cast<std::ptrdiff_t>(insertAt++), child);
        }
    }
    std::vector<std::wstring> paths;
    for (std::size_t index : order)
        paths.push_back(walked.paths[index]);
    return paths;
}

TEST(FolderScanProperty, AtRandomLatencyTheThreadsGiveTheTreeOfASequentialWalk) {
    using std::chrono::microseconds;
    const microseconds latencies[] = {microseconds(0),   microseconds(0),    microseconds(0),
                                      microseconds(200), microseconds(1000), microseconds(2000)};
    for (unsigned seed = 1; seed <= 16; ++seed) {
        std::mt19937 rng(seed);
        const bool allSlow = seed % 2 == 0;
        const int folders = (allSlow ? 400 : 50) + static_cast<int>(rng() % 400);
        RandomTree t = MakeRandomTree(rng, folders, 1 + static_cast<int>(rng() % 3));
        Walked walked;
        std::vector<FolderIdentity> path;
        WalkFollowingLinks(t.fs, L"C:\\A\\", kNoNode, path, walked);
        // Listings slow and quick in turn; or all as slow as a file server's, with a scan that
        // takes longer per folder than the threads, so that they run out of folders within reach.
        for (int i = 0; i < 16; ++i)
            t.fs.searchDelays.push_back(latencies[allSlow ? 4 + rng() % 2 : rng() % std::size(latencies)]);
        const microseconds perFolder(allSlow ? 300 : 0);
        const int escapeAt = rng() % 3 == 0 ? 0 : 1 + static_cast<int>(rng() % static_cast<unsigned>(folders));

        FolderTree tree;
        FakeHost host;
        FakeWindow window;
        host.escapeFromPoll = escapeAt;
        std::size_t atEscape = 0;
        host.onPoll = [&] { atEscape = tree.Count(); };
        // A scan that stops growing for seconds is stuck: it is ended, and the test fails.
        bool stuck = false;
        std::size_t lastCount = 0;
        auto lastGrowth = std::chrono::steady_clock::now();
        host.onPump = [&] {
            std::this_thread::sleep_for(perFolder);
            if (tree.Count() != lastCount) {
                lastCount = tree.Count();
                lastGrowth = std::chrono::steady_clock::now();
            } else if (std::chrono::steady_clock::now() - lastGrowth > std::chrono::seconds(5)) {
                stuck = true;
                host.escapeFromPoll = 1;
            }
        };
        ScanFolders(L"C:\\A\\", tree, t.fs, host, window);
        ASSERT_FALSE(stuck) << "seed " << seed << ": the scan stopped at " << tree.Count() << " folders";
        std::vector<std::wstring> scanned;
        for (std::size_t i = 0; i < tree.Count(); ++i)
            scanned.push_back(NodePathAt(tree, i));
        ASSERT_EQ(window.mirrored.size(), tree.Count()) << "seed " << seed;
        if (window.scanAborted) {
            ASSERT_EQ(atEscape, tree.Count()) << "seed " << seed << ": added after Escape";
            ASSERT_EQ(scanned, ReferenceAdditions(walked, tree.Count() - 1)) << "seed " << seed;
        } else {
            ASSERT_EQ(scanned, walked.paths) << "seed " << seed;
        }
    }
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

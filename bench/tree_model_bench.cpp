// The scan's own code over generated in-memory folders into the folder tree model, without a
// window: what the memory bench measures less the tree view, and portable, so that it also runs
// natively under a profiler. Then the absolute index and path of the last folder, as a click asks.
// Usage: tree_model_bench [fan-out] [depth]   (default 10 and 6: 1,111,110 folders below the root)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/elapsed.h"
#include "support/generated_folders.h"
#include "support/quiet_window.h"
#include "tree/folder_scan.h"
#include "tree/node_path.h"

namespace tavelin::bench {
namespace {

// Its clock moves a microsecond a read, as cheap as the tick count the real window paces by, so
// the scan probes every ten thousand reads.
class MicrosecondWindow final : public QuietWindow {
  public:
    std::chrono::steady_clock::time_point Now() override { return now_ += std::chrono::microseconds(1); }

  private:
    std::chrono::steady_clock::time_point now_;
};

}  // namespace
}  // namespace tavelin::bench

int main(int argc, char** argv) {
    using namespace tavelin;
    const int fanOut = argc > 1 ? std::atoi(argv[1]) : 10;
    const int depth = argc > 2 ? std::atoi(argv[2]) : 6;
    FolderTree tree;
    bench::GeneratedFolders folders(fanOut, depth, 2);
    bench::MicrosecondWindow window;
    auto start = std::chrono::steady_clock::now();
    ScanFolders(L"C:\\bench\\", tree, folders, window, window);
    const double scan = bench::Seconds(start);
    const NodeId last = tree.NodeAt(tree.Count() - 1);
    start = std::chrono::steady_clock::now();
    const std::wstring path = NodePathAt(tree, tree.IndexOf(last));
    const double click = bench::Seconds(start);
    std::printf("%zu folders scanned into the model in %.2f s (%.0f ns a folder)\n", tree.Count() - 1, scan,
                scan / static_cast<double>(tree.Count() - 1) * 1e9);
    std::printf("index and path of the last folder (%zu characters) in %.3f ms\n", path.size(), click * 1e3);
    return 0;
}

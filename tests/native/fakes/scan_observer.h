#pragma once
// The main window as the folder scan sees it, for the portable logic's tests: it keeps the flags
// and records every call.
#include <string>
#include <utility>
#include <vector>

#include "tree/scan_observer.h"

namespace tavelin::test {

class FakeWindow : public ScanObserver {
  public:
    void ClearFileList() override { log.push_back(L"clear list"); }
    void SetTreeReady(bool ready) override {
        treeReady = ready;
        log.push_back(ready ? L"ready" : L"not ready");
    }
    void SetScanAborted(bool aborted) override {
        scanAborted = aborted;
        log.push_back(aborted ? L"aborted" : L"not aborted");
    }
    bool IsScanAborted() const override { return scanAborted; }
    void EnableTree(bool enabled) override {
        treeEnabled = enabled;
        log.push_back(enabled ? L"enable" : L"disable");
    }
    void ClearTree() override {
        mirrored.clear();
        log.push_back(L"clear tree");
    }
    void NodeAdded(NodeId node, NodeId parent) override { mirrored.push_back({node, parent}); }

    bool treeReady = false;
    bool scanAborted = false;
    bool treeEnabled = true;
    std::vector<std::wstring> log;
    std::vector<std::pair<NodeId, NodeId>> mirrored;
};

}  // namespace tavelin::test

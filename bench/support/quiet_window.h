#pragma once
// The window as the loops see it, doing nothing: a benchmark overrides what it needs of it (the
// key, the queue, the clock, the tree view).
#include <chrono>
#include <string>

#include "services/loop_host.h"
#include "tree/scan_observer.h"

namespace tavelin::bench {

class QuietWindow : public ScanObserver, public LoopHost {
  public:
    void ClearFileList() override {}
    void SetTreeReady(bool) override {}
    void SetScanAborted(bool aborted) override { aborted_ = aborted; }
    bool IsScanAborted() const override { return aborted_; }
    void EnableTree(bool) override {}
    void ClearTree() override {}
    void NodeAdded(NodeId, NodeId) override {}

    void SetStatus(const std::wstring&) override {}
    void RepaintStatus() override {}
    bool EscapeDown() override { return false; }
    void PumpEvents() override {}
    void KeepResponsive() override {}
    void Inform(const std::wstring&) override {}
    void ShowError(const std::wstring&) override {}

  private:
    bool aborted_ = false;
};

}  // namespace tavelin::bench

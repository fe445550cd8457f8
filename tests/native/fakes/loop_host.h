#pragma once
// The window around the long loops, for the portable logic's tests: it records every call, holds
// Escape down from a chosen poll on and runs a test's code in the event pump.
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "services/loop_host.h"

namespace tavelin::test {

class FakeHost : public LoopHost {
  public:
    // Escape reads as held from the poll with this number on (counted from 1); 0: never.
    int escapeFromPoll = 0;
    // Escape reads as held from the first poll at which this holds, when set.
    std::function<bool()> escapeOnceTrue;
    std::function<void()> onPump;
    // Runs at every read of Escape, before the answer.
    std::function<void()> onPoll;
    // Each read of the clock moves it on by this much; the default makes every paced check due,
    // zero stops the clock.
    std::chrono::steady_clock::duration tick = std::chrono::seconds(1);

    void SetStatus(const std::wstring& text) override {
        status = text;
        statuses.push_back(text);
        log.push_back(L"status:" + text);
    }
    void RepaintStatus() override {
        painted.push_back(status);
        log.push_back(L"repaint");
    }
    bool EscapeDown() override {
        ++polls;
        if (escapeFromPoll == 0 && escapeOnceTrue && escapeOnceTrue())
            escapeFromPoll = polls;
        if (onPoll)
            onPoll();
        return escapeFromPoll != 0 && polls >= escapeFromPoll;
    }
    void PumpEvents() override {
        ++pumps;
        if (onPump)
            onPump();
    }
    void KeepResponsive() override { ++looks; }
    void Inform(const std::wstring& text) override { log.push_back(L"inform:" + text); }
    void ShowError(const std::wstring& text) override { log.push_back(L"error:" + text); }
    std::chrono::steady_clock::time_point Now() override { return now += tick; }

    std::chrono::steady_clock::time_point now;
    std::wstring status;
    std::vector<std::wstring> statuses;
    std::vector<std::wstring> painted;  // the status text at each repaint
    // The status, repaint and message calls, one line each, so a test can check their order.
    std::vector<std::wstring> log;
    int polls = 0;
    int pumps = 0;
    int looks = 0;  // at the queue
};

}  // namespace tavelin::test

#include "services/loop_pacer.h"

namespace tavelin {

LoopPacer::LoopPacer(LoopHost& host, std::chrono::steady_clock::duration interval)
    : host_(host), interval_(interval), last_(host.Now()) {}

bool LoopPacer::Due() {
    const auto now = host_.Now();
    if (now - last_ < interval_)
        return false;
    last_ = now;
    return true;
}

void LoopPacer::Restart() {
    last_ = host_.Now();
}

}  // namespace tavelin

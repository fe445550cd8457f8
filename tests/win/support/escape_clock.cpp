#include "escape_clock.h"

namespace tavelin::test {

EscapeClock::EscapeClock(TForm1& form, std::size_t nodes, Time time)
    : form_(form), nodes_(nodes), time_(time), stopped_(std::chrono::steady_clock::now()) {
    form_.SetClock([this] { return Read(); });
}

EscapeClock::~EscapeClock() {
    form_.SetClock(nullptr);
}

std::chrono::steady_clock::time_point EscapeClock::Read() {
    if (onReading)
        onReading();
    if (!held_ && form_.Tree().Count() >= nodes_) {
        held_ = std::make_unique<EscapeHeld>();
        stopped_ += std::chrono::hours(1);
    }
    return time_ == Time::kReal ? std::chrono::steady_clock::now() : stopped_;
}

}  // namespace tavelin::test

#include "ui/dpi_scale.h"

#include <cstdint>
#include <limits>

namespace tavelin::ui {

namespace {

std::int64_t ValidDpi(int dpi) {
    return dpi > 0 ? dpi : kDefaultDpi;
}

}  // namespace

// Halves round away from zero, so a length and its negation scale alike; and since every length
// is first scaled up from 96 dpi, scaling back down returns exactly the length that was saved.
int ScaleLength(int length, int fromDpi, int toDpi) {
    const std::int64_t from = ValidDpi(fromDpi);
    const std::int64_t product = static_cast<std::int64_t>(length) * ValidDpi(toDpi);
    const std::int64_t magnitude = (product < 0 ? -product : product) + from / 2;
    const std::int64_t scaled = product < 0 ? -(magnitude / from) : magnitude / from;
    constexpr std::int64_t kMin = std::numeric_limits<int>::min();
    constexpr std::int64_t kMax = std::numeric_limits<int>::max();
    return static_cast<int>(scaled < kMin ? kMin : scaled > kMax ? kMax : scaled);
}

}  // namespace tavelin::ui

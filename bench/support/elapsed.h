#pragma once
// The time a benchmark's piece took, on the steady clock.
#include <chrono>

namespace tavelin::bench {

inline double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

}  // namespace tavelin::bench

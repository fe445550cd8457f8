#include "allocation_hooks.h"

#include <atomic>
#include <cstdlib>
#include <new>
#include <thread>

namespace {
std::atomic<long> allocations{0};
thread_local long threadAllocations = 0;
std::atomic<bool> failing{false};
std::atomic<long> allowed{0};
std::thread::id failingSetBy;
}  // namespace

void* operator new(std::size_t size) {
    ++allocations;
    ++threadAllocations;
    if (failing && std::this_thread::get_id() != failingSetBy && allowed.fetch_sub(1) <= 0)
        throw std::bad_alloc();
    if (void* block = std::malloc(size == 0 ? 1 : size))
        return block;
    throw std::bad_alloc();
}
// The sanitizers' runtime has array forms of its own that would not count.
void* operator new[](std::size_t size) {
    return operator new(size);
}
void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete[](void* block) noexcept {
    std::free(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    std::free(block);
}

namespace tavelin::test {

long AllocationsSoFar() {
    return allocations;
}

long AllocationsOnThisThread() {
    return threadAllocations;
}

void FailOtherThreadsAfter(long count) {
    failingSetBy = std::this_thread::get_id();
    allowed = count;
    failing = true;
}

void StopFailing() {
    failing = false;
}

}  // namespace tavelin::test

#pragma once
// The operator new of the programs that link allocation_hooks.cpp: it counts every allocation on
// every thread, and can be made to fail on every thread but the one that set it up.

namespace tavelin::test {

long AllocationsSoFar();
// Those of the calling thread alone.
long AllocationsOnThisThread();
// From now on, the allocations of other threads fail once `allocations` more have been made.
void FailOtherThreadsAfter(long allocations);
void StopFailing();

}  // namespace tavelin::test

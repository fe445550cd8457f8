#pragma once
// Every allocation of a program that links counted_allocations.cpp, on every thread, is counted,
// so that a test can show how many a piece of work makes.

namespace tavelin::test {

long AllocationsSoFar();

}  // namespace tavelin::test

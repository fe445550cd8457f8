#pragma once
// Builds a folder tree of a given size for the benchmarks: mixed fan-out and depth, some names
// in Japanese.
#include <cstddef>
#include <string>
#include <vector>

namespace tavelin::bench {

// Creates `count` folders below `root` (an existing folder, ending in "\") and returns their
// paths relative to it, parents before children.
std::vector<std::wstring> GenerateTree(const std::wstring& root, std::size_t count, unsigned seed);

// Deletes the folder (ending in "\") with everything in it; the shell's own deletion takes minutes
// for a large tree under Wine.
void RemoveTree(const std::wstring& folder);

}  // namespace tavelin::bench

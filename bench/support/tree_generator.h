#pragma once
// The benchmarks' folders: a tree of a given size (mixed fan-out and depth, some names in
// Japanese), a temporary folder of their own and its removal.
#include <cstddef>
#include <string>
#include <vector>

namespace tavelin::bench {

// Creates `count` folders below `root` (an existing folder, ending in "\") and returns their
// paths relative to it, parents before children.
std::vector<std::wstring> GenerateTree(const std::wstring& root, std::size_t count, unsigned seed);

// Creates a folder in the system's temporary folder named `prefix` and the process id, and
// returns its path, ending in "\", so that benchmarks running at once keep apart.
std::wstring MakeTempFolder(const std::wstring& prefix);

// Deletes the folder (ending in "\") with everything in it; the shell's own deletion takes minutes
// for a large tree under Wine.
void RemoveTree(const std::wstring& folder);

}  // namespace tavelin::bench

#pragma once
// Which of a few folders are there, asked off the window's thread: on a server that has gone
// each answer waits for the network to give up.
#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace tavelin::ui {

// The first of `folders` (deepest first) that is there, asking after all of them at once, each on
// a thread of its own; one that has not answered within `patience` is passed over. The window's
// messages are answered meanwhile. Empty when none is there.
std::optional<std::wstring> NearestExistingFolder(const std::vector<std::wstring>& folders,
                                                  std::chrono::milliseconds patience);

}  // namespace tavelin::ui

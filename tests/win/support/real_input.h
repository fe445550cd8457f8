#pragma once
// Keys and clicks through the real input path, as the user's keyboard and mouse make them, so that
// whatever handles them (Tab, Alt+F4, a double-click, the key state) sees them as it sees the
// user's. Each waits for the input to arrive rather than for a time; ten seconds without it fail.
#include <windows.h>

#include <functional>
#include <initializer_list>
#include <vector>

namespace tavelin::test {

// `keys` pressed in turn and released in the opposite order.
std::vector<INPUT> KeyStrokes(std::initializer_list<WORD> keys);

// Sends `inputs` and calls `run`, which takes every message waiting, whenever messages wait, until
// it has taken the messages of the last input (a key's or the left button's release) and left the
// queue empty; false when they did not come.
bool SendAndRun(const std::vector<INPUT>& inputs, const std::function<void()>& run);

// Sends `inputs`, keys, and returns once the message of each is in this thread's queue, taking
// nothing off it and answering nothing sent to it: the code under test does. False when one did
// not come.
bool SendAndWaitUntilQueued(const std::vector<INPUT>& inputs);

}  // namespace tavelin::test

#pragma once
// Keys and clicks through the real input path, as the user's keyboard and mouse make them, so that
// whatever handles them (Tab, Alt+F4, a double-click, the key state) sees them as it sees the
// user's.
#include <windows.h>

#include <initializer_list>
#include <vector>

namespace tavelin::test {

// A press of `key`, or with KEYEVENTF_KEYUP its release.
INPUT KeyInput(WORD key, DWORD flags = 0);
// `keys` pressed in turn and released in the opposite order.
std::vector<INPUT> KeyStrokes(std::initializer_list<WORD> keys);

// Sends `inputs`, keys or mouse buttons, and returns once the message of each is in this thread's
// queue, taking nothing off it and answering nothing sent to it: the code under test does. It
// waits for the messages rather than for a time; false when one has not come in ten seconds.
bool SendAndWaitUntilQueued(const std::vector<INPUT>& inputs);

}  // namespace tavelin::test

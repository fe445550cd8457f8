#pragma once

namespace tavelin::ui {

// Runs every pending message of this thread's queue and returns when none is left. A WM_QUIT
// met on the way is put back so that the message loop still sees it.
void PumpEvents();

// Looks at this thread's queue and leaves every message in it. Messages that other threads send
// are answered on the way, and the system counts the thread as alive.
void LookAtQueue();

// True while Escape is held at this moment; a press that has ended does not count.
bool EscapeDown();

}  // namespace tavelin::ui

#pragma once

namespace tavelin::ui {

// Runs every pending message of this thread's queue as the main loop does (Tab and Shift+Tab
// move the focus) and returns when none is left. A WM_QUIT met on the way is put back so that
// the message loop still sees it.
void PumpEvents();

// Answers what other threads and programs send, lets the windows paint, delivers a close, and
// takes the user's clicks and keys off the queue without acting on them; every other message stays
// queued. The system counts the thread as alive, and no input waits for the loop that calls it to
// end.
void AnswerQueueDroppingInput();

// True while Escape is held at this moment in one of this program's windows (the main window,
// its dialogs and message boxes); a press that has ended, or one in another program, does not
// count.
bool EscapeDown();

}  // namespace tavelin::ui

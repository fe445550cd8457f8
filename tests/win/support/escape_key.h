#pragma once
// Holds the Escape key down for the life of the object, through the real input path, and always
// lets it go again: the key state belongs to the whole Wine session, not to one test.
namespace tavelin::test {

class EscapeHeld {
  public:
    EscapeHeld();
    ~EscapeHeld();
    EscapeHeld(const EscapeHeld&) = delete;
    EscapeHeld& operator=(const EscapeHeld&) = delete;
};

}  // namespace tavelin::test

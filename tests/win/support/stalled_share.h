#pragma once
// A file server that has stopped answering, for every path that holds a marker: this
// executable's looks at such a path's attributes and its searches of it wait until the object is
// destroyed, as they would wait for the network to give up.
#include <memory>
#include <string>

#include "import_hook.h"

namespace tavelin::test {

class StalledShare {
  public:
    // Which of the calls the executable makes: one that has no folder searches imports no search.
    enum class Calls { kAttributes, kAttributesAndSearches };
    explicit StalledShare(std::wstring marker, Calls calls = Calls::kAttributesAndSearches);
    // The server answers again: the calls held up go on, and later calls are not held.
    ~StalledShare();
    StalledShare(const StalledShare&) = delete;
    StalledShare& operator=(const StalledShare&) = delete;

    // Calls held up right now.
    int HeldCalls() const;
    // Waits, five seconds at most, until a call is held up; false when none came.
    bool WaitForAHeldCall() const;

  private:
    std::unique_ptr<ImportHook> attributes_;
    std::unique_ptr<ImportHook> search_;
};

}  // namespace tavelin::test

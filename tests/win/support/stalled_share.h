#pragma once
// A file server that has stopped answering, for every path that holds a marker: this
// executable's looks at such a path's attributes, and its searches of it, wait until the object
// is destroyed, as they would wait for the network to give up.
#include <functional>
#include <memory>
#include <string>

#include "import_hook.h"

namespace tavelin::test {

class StalledShare {
  public:
    // `onHeld`, when given, runs on the calling thread each time a call is held up: the user who
    // closes the window while the server keeps it waiting, say.
    explicit StalledShare(std::wstring marker, std::function<void()> onHeld = nullptr);
    // The server answers again: the calls held up go on, and later calls are not held.
    ~StalledShare();
    StalledShare(const StalledShare&) = delete;
    StalledShare& operator=(const StalledShare&) = delete;

    // Calls held up right now.
    int HeldCalls() const;

  private:
    std::unique_ptr<ImportHook> attributes_;
    std::unique_ptr<ImportHook> searches_;
};

}  // namespace tavelin::test

#pragma once
// A file server that has stopped answering, for every path that holds a marker: this
// executable's looks at such a path's attributes wait until the object is destroyed, as they
// would wait for the network to give up.
#include <memory>
#include <string>

#include "import_hook.h"

namespace tavelin::test {

class StalledShare {
  public:
    explicit StalledShare(std::wstring marker);
    // The server answers again: the calls held up go on, and later calls are not held.
    ~StalledShare();
    StalledShare(const StalledShare&) = delete;
    StalledShare& operator=(const StalledShare&) = delete;

  private:
    std::unique_ptr<ImportHook> attributes_;
};

}  // namespace tavelin::test

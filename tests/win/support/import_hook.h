#pragma once
// Sends this executable's calls to one imported function through a replacement for the hook's
// lifetime, so that a test sees every call the program's code makes to it.
#include <windows.h>

namespace tavelin::test {

class ImportHook {
  public:
    // `module` as the executable names it ("user32.dll"); fails the test when it imports no such
    // function.
    ImportHook(const char* module, const char* function, void* replacement);
    ~ImportHook();
    ImportHook(const ImportHook&) = delete;
    ImportHook& operator=(const ImportHook&) = delete;

    template <class F>
    F Original() const {
        return reinterpret_cast<F>(original_);
    }

  private:
    void Write(void* value);

    void** slot_ = nullptr;
    void* original_ = nullptr;
};

}  // namespace tavelin::test

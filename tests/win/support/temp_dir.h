#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it at the end.
#include <string>

namespace tavelin::test {

class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder's path, ending in "\".
    const std::wstring& Path() const { return path_; }

    // Creates a folder (and its missing parents) or a file of `size` bytes below Path().
    std::wstring MakeFolder(const std::wstring& relative) const;
    std::wstring MakeFile(const std::wstring& relative, unsigned long long size = 0) const;

  private:
    std::wstring path_;
};

// Removes a folder tree, clearing read-only, hidden and system attributes on the way.
void RemoveTree(const std::wstring& folder);

}  // namespace tavelin::test

#pragma once
// Reading and writing one value of a private-profile ("INI") file, and replacing the whole file
// in one step. PrivateProfileWin goes to the platform's functions; the settings tests fake it.
#include <cstddef>
#include <optional>
#include <string>

namespace tavelin {

class PrivateProfile {
  public:
    virtual ~PrivateProfile() = default;
    // Reads into a buffer of `bufferSize` characters, so a value comes back cut to bufferSize - 1
    // characters. `value` receives the text (empty when missing); true when it is not empty.
    virtual bool Read(const std::wstring& section,
                      const std::wstring& key,
                      std::wstring& value,
                      const std::wstring& path,
                      std::size_t bufferSize) = 0;
    // Writes one value, creating the file, section and key as needed; false when it failed.
    virtual bool Write(const std::wstring& section,
                       const std::wstring& key,
                       const std::wstring& value,
                       const std::wstring& path) = 0;
    // True when the text comes back unchanged from a file kept in the system code page.
    virtual bool FitsCodePage(const std::wstring& text) = 0;
    // A new file of this process holding what `path` holds (nothing when it does not exist), to
    // write into and then put in its place. It is in Unicode when `unicode` is set or the file
    // already is, and in the file's own bytes otherwise. Its path, or nullopt when the file could
    // not be read or the copy not be made.
    virtual std::optional<std::wstring> CopyForUpdate(const std::wstring& path, bool unicode) = 0;
    // Puts the copy in the place of `path` in one step; false, with `path` as it was, on failure.
    virtual bool Replace(const std::wstring& copy, const std::wstring& path) = 0;
    // Deletes a copy that will not be used.
    virtual void Discard(const std::wstring& copy) = 0;
};

}  // namespace tavelin

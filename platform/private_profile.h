#pragma once
// Reading and writing one value of a private-profile ("INI") file. PrivateProfileWin goes to the
// platform's functions; the settings tests fake it.
#include <cstddef>
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
};

}  // namespace tavelin

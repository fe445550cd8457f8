#pragma once
// The platform's private-profile functions, and the copy of the file that a save writes into.
#include <cstddef>
#include <string>

#include "platform/private_profile.h"

namespace tavelin {

// Reads one value into a buffer of `bufferSize` characters (the text comes back cut to
// bufferSize - 1), the empty string as the default; true when at least one character came back.
bool ReadIniString(const std::wstring& section,
                   const std::wstring& key,
                   std::wstring& value,
                   const std::wstring& path,
                   std::size_t bufferSize);

// Writes one value; the platform's success flag.
bool WriteIniString(const std::wstring& section,
                    const std::wstring& key,
                    const std::wstring& value,
                    const std::wstring& path);

class PrivateProfileWin : public PrivateProfile {
  public:
    bool Read(const std::wstring& section,
              const std::wstring& key,
              std::wstring& value,
              const std::wstring& path,
              std::size_t bufferSize) override;
    bool Write(const std::wstring& section,
               const std::wstring& key,
               const std::wstring& value,
               const std::wstring& path) override;
    bool FitsCodePage(const std::wstring& text) override;
    std::optional<std::wstring> CopyForUpdate(const std::wstring& path, bool unicode) override;
    bool Replace(const std::wstring& copy, const std::wstring& path) override;
    void Discard(const std::wstring& copy) override;
};

}  // namespace tavelin

#include "platform/private_profile_win.h"

#include <windows.h>

#include <vector>

namespace tavelin {

bool ReadIniString(const std::wstring& section,
                   const std::wstring& key,
                   std::wstring& value,
                   const std::wstring& path,
                   std::size_t bufferSize) {
    if (bufferSize == 0) {
        value.clear();
        return false;
    }
    std::vector<wchar_t> buffer(bufferSize, L'\0');
    DWORD length = GetPrivateProfileStringW(section.c_str(), key.c_str(), L"", buffer.data(),
                                            static_cast<DWORD>(bufferSize), path.c_str());
    value.assign(buffer.data(), length);
    return length > 0;
}

bool WriteIniString(const std::wstring& section,
                    const std::wstring& key,
                    const std::wstring& value,
                    const std::wstring& path) {
    return WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), path.c_str()) != FALSE;
}

bool PrivateProfileWin::Read(const std::wstring& section,
                             const std::wstring& key,
                             std::wstring& value,
                             const std::wstring& path,
                             std::size_t bufferSize) {
    return ReadIniString(section, key, value, path, bufferSize);
}

bool PrivateProfileWin::Write(const std::wstring& section,
                              const std::wstring& key,
                              const std::wstring& value,
                              const std::wstring& path) {
    return WriteIniString(section, key, value, path);
}

}  // namespace tavelin

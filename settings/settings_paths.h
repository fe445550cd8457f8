#pragma once
// Where the settings file lives and which folder the search starts from before one was chosen.
#include <string>

namespace tavelin {

// The root the search folder starts at: the drive of `exeDir` ("C:\"), or for a network path
// without a drive letter its share ("\\server\share\").
std::wstring DefaultSearchFolder(const std::wstring& exeDir);

struct SettingsPaths {
    std::wstring exeDir;               // the executable's folder, ending in "\"
    std::wstring iniPath;              // exeDir + "Tavelin.ini"
    std::wstring defaultSearchFolder;  // DefaultSearchFolder(exeDir)
};

SettingsPaths SettingsPathsFor(const std::wstring& exePath);

}  // namespace tavelin

#include "settings/settings_paths.h"

#include "base/directory_part.h"
#include "settings/settings_table.h"

namespace tavelin {

// A drive letter followed by ":\" names nothing when the program runs from "\\server\share\...":
// that would give "\:\". The share's root is the nearest thing to a drive root there.
std::wstring DefaultSearchFolder(const std::wstring& exeDir) {
    if (exeDir.empty())
        return std::wstring();
    if (exeDir.starts_with(L"\\\\")) {
        std::size_t serverEnd = exeDir.find(L'\\', 2);
        if (serverEnd != std::wstring::npos && serverEnd > 2) {
            std::size_t shareEnd = exeDir.find(L'\\', serverEnd + 1);
            if (shareEnd != std::wstring::npos && shareEnd > serverEnd + 1)
                return exeDir.substr(0, shareEnd + 1);
        }
    }
    return std::wstring(1, exeDir.front()) + L":\\";
}

SettingsPaths SettingsPathsFor(const std::wstring& exePath) {
    SettingsPaths paths;
    paths.exeDir = DirectoryPart(exePath);
    paths.iniPath = paths.exeDir + kIniFileName;
    paths.defaultSearchFolder = DefaultSearchFolder(paths.exeDir);
    return paths;
}

}  // namespace tavelin

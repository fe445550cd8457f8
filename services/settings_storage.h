#pragma once
// What the settings file needs from the machine: its bytes, a way to replace them whole, and the
// system code page that files of earlier versions are written in. The reading and writing of
// the text itself is portable (settings/), so it behaves the same on Windows and under Wine.
#include <optional>
#include <string>
#include <string_view>

namespace tavelin {

class SettingsStorage {
  public:
    virtual ~SettingsStorage() = default;
    // The file's bytes: empty when there is no file, nullopt when it is there but cannot be read
    // (a save must not then replace what the user keeps in it).
    virtual std::optional<std::string> ReadBytes(const std::wstring& path) = 0;
    // Puts exactly these bytes in the file's place, whole or not at all: on false the file is as
    // it was, and absent when it was absent. A read-only file is left alone.
    virtual bool ReplaceBytes(const std::wstring& path, const std::string& bytes) = 0;
    // Text in the system code page and back; ToCodePage gives nullopt when the code page would
    // change any character (a "?" for one it lacks, a look-alike such as "\" for "¥").
    virtual std::wstring FromCodePage(std::string_view bytes) = 0;
    virtual std::optional<std::string> ToCodePage(std::wstring_view text) = 0;
};

}  // namespace tavelin

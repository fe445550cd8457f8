#pragma once
// What the settings file needs from the machine: its bytes, a way to replace them whole, and the
// code page that files of earlier versions are written in. The reading and writing of
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
    // it was, and absent when it was absent. A read-only file is left alone; a link stays one.
    virtual bool ReplaceBytes(const std::wstring& path, const std::string& bytes) = 0;
    // Text in the code page and back, both strict: FromCodePage gives nullopt for bytes that are
    // not all characters of it, ToCodePage for text it would change (a "?" for a character it
    // lacks, a look-alike such as "\" for "¥").
    virtual std::optional<std::wstring> FromCodePage(std::string_view bytes) = 0;
    virtual std::optional<std::string> ToCodePage(std::wstring_view text) = 0;
    // True when the system code page is UTF-8 (a choice Windows offers): the code page above is
    // then the one of the user's locale, which older files were written in.
    virtual bool SystemCodePageIsUtf8() = 0;
};

}  // namespace tavelin

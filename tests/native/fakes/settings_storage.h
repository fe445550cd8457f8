#pragma once
// The settings file in memory. Its code page holds ASCII, Latin-1 as single bytes, and every
// other character of the Basic Multilingual Plane but `lacking` as three bytes after 0x81, a
// byte that starts no UTF-8 sequence, as Shift-JIS text mostly is not UTF-8 either.
#include <optional>
#include <string>

#include "services/settings_storage.h"

namespace tavelin::test {

class FakeSettingsStorage : public SettingsStorage {
  public:
    std::optional<std::string> file;  // nullopt: there is no file
    bool unreadable = false;
    bool refuseReplace = false;
    int replaces = 0;
    std::wstring lacking = L"¥한";
    bool systemUtf8 = false;

    std::optional<std::string> ReadBytes(const std::wstring&) override {
        if (unreadable)
            return std::nullopt;
        return file.value_or(std::string());
    }
    bool ReplaceBytes(const std::wstring&, const std::string& bytes) override {
        ++replaces;
        if (refuseReplace)
            return false;
        file = bytes;
        return true;
    }
    // Strict, as the system's own with its flag for invalid bytes: 0x81 must lead a whole
    // character. Some characters have two spellings, as in Shift-JIS: the three-byte forms of
    // U+0000 to U+00FF read, but are written as single bytes.
    std::optional<std::wstring> FromCodePage(std::string_view bytes) override {
        std::wstring text;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            const auto b = static_cast<unsigned char>(bytes[i]);
            if (b != 0x81) {
                text.push_back(static_cast<wchar_t>(b));
                continue;
            }
            if (i + 3 >= bytes.size())
                return std::nullopt;
            const auto part = [&](std::size_t k, unsigned bits) -> std::optional<unsigned> {
                const auto trail = static_cast<unsigned char>(bytes[i + k]);
                if (trail < 0x80 || trail >= 0x80 + (1u << bits))
                    return std::nullopt;
                return trail & ((1u << bits) - 1);
            };
            const auto high = part(1, 6), middle = part(2, 5), low = part(3, 5);
            if (!high || !middle || !low)
                return std::nullopt;
            text.push_back(static_cast<wchar_t>((*high << 10) | (*middle << 5) | *low));
            i += 3;
        }
        return text;
    }
    std::optional<std::string> ToCodePage(std::wstring_view text) override {
        std::string bytes;
        for (wchar_t c : text) {
            if (lacking.find(c) != std::wstring::npos || c > 0xFFFF || (c >= 0xD800 && c <= 0xDFFF) || c == 0x81)
                return std::nullopt;
            if (c <= 0xFF) {
                bytes.push_back(static_cast<char>(c));
            } else {
                bytes.push_back('\x81');
                bytes.push_back(static_cast<char>(0x80 | (c >> 10)));
                bytes.push_back(static_cast<char>(0x80 | ((c >> 5) & 0x1F)));
                bytes.push_back(static_cast<char>(0x80 | (c & 0x1F)));
            }
        }
        return bytes;
    }
    bool SystemCodePageIsUtf8() override { return systemUtf8; }
};

}  // namespace tavelin::test

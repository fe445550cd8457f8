#pragma once
// The settings file on disk: read whole, replaced whole through a verified copy beside it.
#include "services/settings_storage.h"

namespace tavelin {

class SettingsStorageWin : public SettingsStorage {
  public:
    SettingsStorageWin();
    // A system code page other than the machine's, and how long a replace waits for a file that
    // another program holds open: for the tests.
    SettingsStorageWin(unsigned systemCodePage, unsigned long replaceWaitMs);

    std::optional<std::string> ReadBytes(const std::wstring& path) override;
    bool ReplaceBytes(const std::wstring& path, const std::string& bytes) override;
    std::optional<std::wstring> FromCodePage(std::string_view bytes) override;
    std::optional<std::string> ToCodePage(std::wstring_view text) override;
    bool SystemCodePageIsUtf8() override;

  private:
    bool systemUtf8_;
    unsigned codePage_;
    unsigned long replaceWaitMs_;
};

}  // namespace tavelin

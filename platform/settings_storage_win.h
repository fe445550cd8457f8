#pragma once
// The settings file on disk: read whole, replaced whole through a verified copy beside it.
#include "services/settings_storage.h"

namespace tavelin {

class SettingsStorageWin : public SettingsStorage {
  public:
    // How long a read, and then a replace, waits for a file that another program holds open.
    explicit SettingsStorageWin(unsigned long waitMs = 5000);
    // A system code page other than the machine's: for the tests.
    SettingsStorageWin(unsigned systemCodePage, unsigned long waitMs);

    std::optional<std::string> ReadBytes(const std::wstring& path) override;
    bool ReplaceBytes(const std::wstring& path, const std::string& bytes) override;
    std::optional<std::wstring> FromCodePage(std::string_view bytes) override;
    std::optional<std::string> ToCodePage(std::wstring_view text) override;
    bool SystemCodePageIsUtf8() override;

  private:
    bool systemUtf8_;
    unsigned codePage_;
    unsigned long waitMs_;
};

}  // namespace tavelin

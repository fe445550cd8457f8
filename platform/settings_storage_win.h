#pragma once
// The settings file on disk: read whole, replaced whole through a verified copy beside it.
#include "services/settings_storage.h"

namespace tavelin {

class SettingsStorageWin : public SettingsStorage {
  public:
    std::optional<std::string> ReadBytes(const std::wstring& path) override;
    bool ReplaceBytes(const std::wstring& path, const std::string& bytes) override;
    std::wstring FromCodePage(std::string_view bytes) override;
    std::optional<std::string> ToCodePage(std::wstring_view text) override;
};

}  // namespace tavelin

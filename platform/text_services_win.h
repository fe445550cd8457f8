#pragma once
// The text services over the user's locale, the system code page and the system clock.
#include <cstdint>
#include <optional>

#include "services/text_services.h"

namespace tavelin {

class TextServicesWin : public TextServices {
  public:
    std::wstring UpperCase(const std::wstring& text) override;
    std::string CodePageBytes(const std::wstring& text) override;
    std::string SortKey(const std::wstring& text) override;
    StampTime LocalStamp(std::uint64_t fileTime) override;
    wchar_t DateSeparator() override;
    wchar_t TimeSeparator() override;

  private:
    std::optional<std::int64_t> LocalBias();

    std::optional<std::int64_t> bias_;
    unsigned long long biasSecond_ = 0;
};

}  // namespace tavelin

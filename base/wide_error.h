#pragma once
// An exception whose message is meant for the user, in UTF-16 so that no character is lost.
#include <stdexcept>
#include <string>

namespace tavelin {

class WideError : public std::runtime_error {
  public:
    explicit WideError(std::wstring message) : std::runtime_error("error"), message_(std::move(message)) {}
    const std::wstring& Message() const { return message_; }

  private:
    std::wstring message_;
};

}  // namespace tavelin

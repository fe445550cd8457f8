#pragma once
// Owns one handle and releases it through Traits::Close; Traits::Invalid() is the empty value.
#include <utility>

namespace tavelin {

template <class Traits>
class Unique {
  public:
    using Handle = typename Traits::Handle;
    Unique() = default;
    explicit Unique(Handle h) : handle_(h) {}
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    Unique(Unique&& other) noexcept : handle_(std::exchange(other.handle_, Traits::Invalid())) {}
    Unique& operator=(Unique&& other) noexcept {
        if (this != &other)
            Reset(std::exchange(other.handle_, Traits::Invalid()));
        return *this;
    }
    ~Unique() { Reset(); }

    Handle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != Traits::Invalid(); }
    void Reset(Handle h = Traits::Invalid()) {
        if (handle_ != Traits::Invalid())
            Traits::Close(handle_);
        handle_ = h;
    }

  private:
    Handle handle_ = Traits::Invalid();
};

}  // namespace tavelin

#pragma once
// An array that grows at the end in fixed blocks: growing never copies what it holds, so a
// million elements never need room for two million while they move, and a block's memory is
// only touched as it fills.
#include <cstddef>
#include <memory>
#include <vector>

namespace tavelin {

template <typename T>
class BlockArray {
  public:
    std::size_t size() const { return size_; }
    T& operator[](std::size_t index) { return blocks_[index >> kShift][index & kMask]; }
    const T& operator[](std::size_t index) const { return blocks_[index >> kShift][index & kMask]; }

    void push_back(const T& value) {
        if ((size_ >> kShift) == blocks_.size())
            blocks_.push_back(std::unique_ptr<T[]>(new T[kMask + 1]));
        (*this)[size_++] = value;
    }
    // Gives the memory back.
    void clear() {
        std::vector<std::unique_ptr<T[]>>().swap(blocks_);
        size_ = 0;
    }

  private:
    static constexpr unsigned kShift = 16;
    static constexpr std::size_t kMask = (std::size_t{1} << kShift) - 1;

    std::vector<std::unique_ptr<T[]>> blocks_;
    std::size_t size_ = 0;
};

}  // namespace tavelin

#pragma once
// Folder names, each distinct name kept once: a tree of a million folders repeats a few thousand
// names ("新しいフォルダー", "src", "2024", ...), so its nodes refer to shared text instead of each
// holding a copy.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace tavelin {

using NameId = std::uint32_t;

class NameStore {
  public:
    // The id of the name, the same for every equal name until Clear(). Any text is a name: empty,
    // with unpaired surrogates, or longer than a folder name can be.
    NameId Intern(std::wstring_view name);
    // Valid until Clear().
    std::wstring_view Text(NameId id) const;
    // Forgets every name and gives the memory back.
    void Clear();

  private:
    // Names live in blocks that never move, so growing the store never copies what it holds. A
    // name is its length (one unit, or two from 0x8000 on) followed by its units; its id is its
    // block and its position there.
    static constexpr unsigned kBlockShift = 16;
    static constexpr std::size_t kBlockUnits = std::size_t{1} << kBlockShift;
    static constexpr NameId kNoName = 0xFFFFFFFFu;

    NameId Store(std::wstring_view name);
    std::size_t SlotOf(std::wstring_view name) const;
    void Grow();

    std::vector<std::unique_ptr<wchar_t[]>> blocks_;
    std::size_t used_ = kBlockUnits;  // units taken in the last regular block
    std::size_t current_ = 0;         // that block
    // Open addressing over the ids, at most half full.
    std::vector<NameId> slots_;
    std::size_t count_ = 0;
};

}  // namespace tavelin

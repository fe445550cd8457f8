#pragma once
// Text kept in a few large chunks that never move, handed out as views: a listing of any size
// stores its cells' texts with a handful of allocations instead of one or more per cell.
#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

namespace tavelin {

class TextArena {
  public:
    // A copy of `text` that stays where it is until Reset(); `text` may itself be a view into
    // this arena.
    std::wstring_view Keep(std::wstring_view text);
    // The units kept since the last Reset().
    std::size_t Used() const { return used_; }
    // Forgets every text. The largest chunk stays for the texts that follow, so that the next
    // listing of a similar size needs no new memory.
    void Reset();

  private:
    struct Chunk {
        std::unique_ptr<wchar_t[]> units;
        std::size_t size = 0;
    };

    std::vector<Chunk> chunks_;
    std::size_t free_ = 0;  // units left at the end of the last chunk
    std::size_t used_ = 0;
};

}  // namespace tavelin

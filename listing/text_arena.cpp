#include "listing/text_arena.h"

#include <algorithm>
#include <utility>

namespace tavelin {

namespace {
constexpr std::size_t kFirstChunkUnits = 4096;
}  // namespace

std::wstring_view TextArena::Keep(std::wstring_view text) {
    if (text.empty())
        return {};
    if (text.size() > free_) {
        // Each chunk twice the last, so the number of chunks grows with the logarithm of the text.
        const std::size_t last = chunks_.empty() ? kFirstChunkUnits / 2 : chunks_.back().size;
        const std::size_t size = std::max(last * 2, text.size());
        chunks_.push_back({std::make_unique_for_overwrite<wchar_t[]>(size), size});
        free_ = size;
    }
    Chunk& chunk = chunks_.back();
    wchar_t* at = chunk.units.get() + (chunk.size - free_);
    std::copy(text.begin(), text.end(), at);
    free_ -= text.size();
    used_ += text.size();
    return {at, text.size()};
}

void TextArena::Reset() {
    if (!chunks_.empty()) {
        auto largest = std::max_element(chunks_.begin(), chunks_.end(),
                                        [](const Chunk& a, const Chunk& b) { return a.size < b.size; });
        Chunk kept = std::move(*largest);
        chunks_.clear();
        free_ = kept.size;
        chunks_.push_back(std::move(kept));
    }
    used_ = 0;
}

}  // namespace tavelin

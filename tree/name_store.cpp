#include "tree/name_store.h"

#include <algorithm>
#include <stdexcept>

namespace tavelin {

namespace {

constexpr wchar_t kLongLength = 0x8000;

std::uint64_t Hash(std::wstring_view name) {
    std::uint64_t hash = 0xCBF29CE484222325u;
    for (const wchar_t unit : name)
        hash = (hash ^ static_cast<std::uint16_t>(unit)) * 0x100000001B3u;
    return hash ^ (hash >> 29);
}

std::size_t HeaderUnits(std::size_t length) {
    return length < kLongLength ? 1 : 2;
}

}  // namespace

NameId NameStore::Intern(std::wstring_view name) {
    if (slots_.empty() || (count_ + 1) * 2 > slots_.size())
        Grow();
    const std::size_t slot = SlotOf(name);
    if (slots_[slot] == kNoName) {
        slots_[slot] = Store(name);
        ++count_;
    }
    return slots_[slot];
}

std::wstring_view NameStore::Text(NameId id) const {
    const wchar_t* at = blocks_[id >> kBlockShift].get() + (id & (kBlockUnits - 1));
    std::size_t length = static_cast<std::uint16_t>(at[0]);
    if (length & kLongLength)
        length = ((length & (kLongLength - 1)) << 16) | static_cast<std::uint16_t>(at[1]);
    return std::wstring_view(at + HeaderUnits(length), length);
}

void NameStore::Clear() {
    std::vector<std::unique_ptr<wchar_t[]>>().swap(blocks_);
    std::vector<NameId>().swap(slots_);
    used_ = kBlockUnits;
    current_ = 0;
    count_ = 0;
}

// The slot holding the name, or the empty slot where it belongs.
std::size_t NameStore::SlotOf(std::wstring_view name) const {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t slot = Hash(name) & mask;; slot = (slot + 1) & mask) {
        if (slots_[slot] == kNoName || Text(slots_[slot]) == name)
            return slot;
    }
}

NameId NameStore::Store(std::wstring_view name) {
    if (name.size() >= (std::size_t{kLongLength} << 16))
        throw std::length_error("folder name too long");
    const std::size_t units = HeaderUnits(name.size()) + name.size();
    std::size_t block = current_;
    std::size_t at = used_;
    if (units > kBlockUnits - used_) {
        // A name longer than a block gets one of its own; the regular block goes on filling.
        if (blocks_.size() >= (std::size_t{1} << (32 - kBlockShift)) - 1)
            throw std::length_error("folder name store is full");
        blocks_.push_back(std::unique_ptr<wchar_t[]>(new wchar_t[std::max(units, kBlockUnits)]));
        block = blocks_.size() - 1;
        at = 0;
        if (units <= kBlockUnits) {
            current_ = block;
            used_ = 0;
        }
    }
    wchar_t* out = blocks_[block].get() + at;
    if (units <= kBlockUnits && block == current_)
        used_ += units;
    if (name.size() < kLongLength) {
        *out++ = static_cast<wchar_t>(name.size());
    } else {
        *out++ = static_cast<wchar_t>(kLongLength | (name.size() >> 16));
        *out++ = static_cast<wchar_t>(name.size() & 0xFFFF);
    }
    std::copy(name.begin(), name.end(), out);
    return static_cast<NameId>((block << kBlockShift) | at);
}

void NameStore::Grow() {
    std::vector<NameId> old(std::max<std::size_t>(64, slots_.size() * 2), kNoName);
    old.swap(slots_);
    for (const NameId id : old) {
        if (id != kNoName)
            slots_[SlotOf(Text(id))] = id;
    }
}

}  // namespace tavelin

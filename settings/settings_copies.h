#pragma once
// The copies a save writes beside the settings file: their names, and which of them still hold
// settings worth keeping. A save writes the new text into a copy and then swaps it in; a crash or
// a power cut between the swap's two renames leaves no settings file, only copies, and those are
// then all there is of the user's settings.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavelin {

// CRC-32 (the polynomial of zip and PNG).
std::uint32_t Checksum(std::string_view bytes);

// "<file name>.<tag>.<checksum>.tmp": the tag keeps every instance's copies apart, on any machine
// that shares the folder; the checksum of the bytes the copy is to hold tells a whole copy from
// one a crash cut short.
std::wstring CopyFileName(std::wstring_view fileName, std::wstring_view tag, std::uint32_t checksum);

struct CopyNameParts {
    // Absent in the copies of earlier versions, whose names carried no checksum: never restored.
    std::optional<std::uint32_t> checksum;
};
// What a name in the settings file's folder says of itself; nullopt when it is not a copy's name
// (a file of the user's that only looks alike). File names compare as Windows compares them,
// ignoring case.
std::optional<CopyNameParts> ParseCopyName(std::wstring_view name, std::wstring_view fileName);

struct FoundCopy {
    std::wstring name;
    std::uint64_t lastWrite = 0;       // in the file system's own time, 100 ns units
    std::optional<std::string> bytes;  // nullopt when it could not be read
};

// True when the copy's bytes are those its name promises.
bool IsWholeCopy(const FoundCopy& copy, std::wstring_view fileName);

// The copy to put back when the settings file is gone: the newest whole one. Nullopt when none is
// whole.
std::optional<std::size_t> CopyToRestore(const std::vector<FoundCopy>& copies, std::wstring_view fileName);

// How old a copy must be before a save that left the settings file whole removes it: far older
// than any save takes, so that no instance is still about to swap it in, whatever its machine.
inline constexpr std::uint64_t kLeftCopyAge = 10ull * 60 * 10'000'000;  // ten minutes

// The copies to remove, given the time of a copy written just now on the same file system.
std::vector<std::size_t> LeftCopies(const std::vector<FoundCopy>& copies, std::uint64_t now);

}  // namespace tavelin

#pragma once
// The file system as the scan, the listing and the copy see it. FileSystemWin implements it
// over the wide Windows APIs; the portable logic's tests fake it. The scan and the copy call it
// from several threads at once; one search is used by one thread at a time.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace tavelin {

// Attribute bits, with the values Windows gives them.
enum FileAttribute : std::uint32_t {
    kAttrReadOnly = 0x01,
    kAttrHidden = 0x02,
    kAttrSystem = 0x04,
    kAttrVolumeLabel = 0x08,
    kAttrDirectory = 0x10,
    kAttrArchive = 0x20,
    kAttrReparsePoint = 0x400,
};

struct DirEntry {
    std::wstring name;
    std::uint32_t attributes = 0;
    std::uint64_t size = 0;
    std::uint64_t lastWriteTime = 0;  // FILETIME: 100 ns ticks since 1601-01-01 UTC
};

// One open directory search; closes itself when destroyed.
class DirectorySearch {
  public:
    virtual ~DirectorySearch() = default;
    // Fills `entry` with the next raw entry (".", ".." and every attribute included) and
    // returns true, or returns false at the end or on a read error.
    virtual bool Next(DirEntry& entry) = 0;
    // After Next has returned false: true when a read failed rather than the folder ended.
    virtual bool Failed() const { return false; }
};

// What tells two paths to the same folder apart from two folders: the volume serial number
// and the file index.
struct FolderIdentity {
    std::uint32_t volumeSerial = 0;
    std::uint64_t fileIndex = 0;
    bool operator==(const FolderIdentity&) const = default;
};

class FileSystem {
  public:
    virtual ~FileSystem() = default;
    // Starts a search for every entry of `folder` (a path ending in "\", as shown to the user);
    // nullptr when the folder cannot be read (missing, or access denied). Any other failure to
    // open comes as a search whose first Next fails.
    virtual std::unique_ptr<DirectorySearch> Search(const std::wstring& folder) = 0;
    // True when the path's attributes can be read and include the directory bit.
    virtual bool IsDirectory(const std::wstring& path) = 0;
    // Creates one directory (never its parents); false on any failure.
    virtual bool MakeDirectory(const std::wstring& path) = 0;
    // The identity of the folder a path leads to, links followed; nullopt when it cannot be read.
    virtual std::optional<FolderIdentity> Identity(const std::wstring& path) = 0;
};

}  // namespace tavelin

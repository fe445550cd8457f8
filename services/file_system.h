#pragma once
// The file system as the scan, the listing and the copy see it. FileSystemWin implements it
// over the wide Windows APIs; the portable logic's tests fake it. The scan and the copy call it
// from several threads at once; one search is used by one thread at a time.
#include <array>
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

// The reparse tags of the folder links, with the values Windows gives them.
enum ReparseTag : std::uint32_t {
    kTagMountPoint = 0xA0000003,
    kTagSymbolicLink = 0xA000000C,
};

struct DirEntry {
    std::wstring name;
    std::uint32_t attributes = 0;
    std::uint64_t size = 0;
    std::uint64_t lastWriteTime = 0;  // FILETIME: 100 ns ticks since 1601-01-01 UTC
    std::uint32_t reparseTag = 0;     // what kind of reparse point it is, when kAttrReparsePoint is set
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
// and the 128-bit file id, which a 64-bit index cannot be on every file system.
struct FolderIdentity {
    std::uint64_t volumeSerial = 0;
    std::array<std::uint8_t, 16> fileId{};
    // A file system without ids gives zeros, which would make every folder on it the same one.
    bool Known() const { return fileId != std::array<std::uint8_t, 16>{}; }
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
    // The folder (ending in "\") made full by the platform's path rules, for the names to be
    // appended to it: those rules would drop a trailing dot or space of any name they saw. A file
    // system without such rules takes every path as it comes.
    virtual std::wstring FullPath(const std::wstring& folder) { return folder; }
    // The same file system, for threads that may outlive this object: a call that a file server
    // holds up returns when the server answers, whoever has gone meanwhile. They hold what this
    // returns for as long as they run.
    virtual std::shared_ptr<FileSystem> Share() = 0;
};

}  // namespace tavelin

#pragma once
// Reads the plain files of one folder at a time on a worker thread of its own, so that a file
// server that stops answering holds up that thread and never the window. The thread waits for the
// next folder once it is done with one.
#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "services/file_system.h"

namespace tavelin {

// Files in enumeration order: the first `count` entries. The entries after them keep their
// buffers for the names read next.
struct FileBatch {
    std::vector<DirEntry> entries;
    std::size_t count = 0;
};

class FolderFileReader {
  public:
    explicit FolderFileReader(std::shared_ptr<FileSystem> fs);
    // A thread still held up by the file system is left to end on its own.
    ~FolderFileReader();
    FolderFileReader(const FolderFileReader&) = delete;
    FolderFileReader& operator=(const FolderFileReader&) = delete;

    // Starts reading `folder` (ending in "\"). A folder still being read is given up: its thread
    // stops at its next entry, or ends on its own when the file system lets it go, and a new
    // thread reads this one, as soon as the process's limit of worker threads allows one.
    void Start(const std::wstring& folder);
    // Gives up the folder being read.
    void Stop();

    enum class Taken { kFiles, kEnded, kWaiting };
    // kFiles: Files() holds the files read since the last call. kEnded: the folder has ended and
    // every file has been taken. kWaiting: neither came within `wait`, or no thread was allowed.
    Taken Take(std::chrono::milliseconds wait);
    const FileBatch& Files() const { return taken_; }
    // After kEnded: a read failed, once more after opening the folder again, before it ended.
    bool Failed() const { return failed_; }

  private:
    struct Shared;
    // Lets the thread end on its own once it is done with what it reads.
    void Leave();
    // False while the process runs as many worker threads as it allows.
    bool StartThread();

    std::shared_ptr<FileSystem> fs_;
    std::shared_ptr<Shared> shared_;
    bool threadRefused_ = false;
    FileBatch taken_;
    bool failed_ = false;
};

}  // namespace tavelin

#pragma once
// A file system whose folders are generated: each entry is written into the caller's, as a real
// directory search does, so that the search object is the file system's one allocation a folder.
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "services/file_system.h"

namespace tavelin::test {

class GeneratedEntries final : public FileSystem {
  public:
    // How many entries a folder holds, and how the n-th of them (from 1) is written.
    using Count = std::function<int(const std::wstring& folder)>;
    using Fill = std::function<void(int n, DirEntry& entry)>;

    GeneratedEntries(Count count, Fill fill) : count_(std::move(count)), fill_(std::move(fill)) {}

    std::unique_ptr<DirectorySearch> Search(const std::wstring& folder) override {
        return std::make_unique<Entries>(count_(folder), fill_);
    }
    bool IsDirectory(const std::wstring&) override { return true; }
    bool MakeDirectory(const std::wstring&) override { return false; }
    std::optional<FolderIdentity> Identity(const std::wstring&) override { return std::nullopt; }
    std::shared_ptr<FileSystem> Share() override { return std::make_shared<GeneratedEntries>(*this); }

  private:
    class Entries final : public DirectorySearch {
      public:
        Entries(int count, const Fill& fill) : count_(count), fill_(fill) {}
        bool Next(DirEntry& entry) override {
            if (next_ == count_)
                return false;
            fill_(++next_, entry);
            return true;
        }

      private:
        int count_;
        const Fill& fill_;
        int next_ = 0;
    };

    Count count_;
    Fill fill_;
};

}  // namespace tavelin::test

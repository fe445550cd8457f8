#include "support/generated_folders.h"

namespace tavelin::bench {

namespace {
class Listing final : public DirectorySearch {
  public:
    Listing(std::size_t children, const std::vector<std::wstring>& names) : children_(children), names_(names) {}
    bool Next(DirEntry& entry) override {
        entry.attributes = kAttrDirectory;
        if (next_ < 2)
            entry.name = next_ == 0 ? L"." : L"..";
        else if (next_ - 2 < children_)
            entry.name = names_[next_ - 2];
        else
            return false;
        ++next_;
        return true;
    }

  private:
    std::size_t children_;
    const std::vector<std::wstring>& names_;
    std::size_t next_ = 0;
};
}  // namespace

GeneratedFolders::GeneratedFolders(int fanOut, int depth, int rootDepth) : maxDepth_(rootDepth + depth) {
    for (int i = 0; i < fanOut; ++i)
        names_.push_back(L"フォルダ" + std::to_wstring(i));
}

std::unique_ptr<DirectorySearch> GeneratedFolders::Search(const std::wstring& folder) {
    int depth = 0;
    for (wchar_t c : folder)
        depth += c == L'\\';
    return std::make_unique<Listing>(depth < maxDepth_ ? names_.size() : 0, names_);
}

}  // namespace tavelin::bench

#include "support/tree_generator.h"

#include <windows.h>

#include <random>
#include <stdexcept>

#include "base/long_path.h"

namespace tavelin::bench {

std::wstring MakeTempFolder(const std::wstring& prefix) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + prefix + std::to_wstring(GetCurrentProcessId()) + L"\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

std::vector<std::wstring> GenerateTree(const std::wstring& root, std::size_t count, unsigned seed) {
    static const wchar_t* const kStems[] = {
        L"data", L"\u5199\u771F", L"src", L"\u8CC7\u6599", L"archive", L"\u30D5\u30A9\u30EB\u30C0", L"2001", L"docs"};
    std::mt19937 rng(seed);
    std::vector<std::wstring> folders;
    folders.reserve(count);
    while (folders.size() < count) {
        // Parent: mostly one of the recent folders (depth), sometimes an older one or the root
        // (fan-out), so both wide and deep stretches appear.
        std::wstring parent;
        const unsigned pick = rng() % 10;
        if (!folders.empty() && pick < 6)
            parent = folders[folders.size() - 1 - rng() % std::min<std::size_t>(folders.size(), 8)] + L"\\";
        else if (!folders.empty() && pick < 9)
            parent = folders[rng() % folders.size()] + L"\\";
        if (parent.size() > 180)
            parent.clear();
        const std::wstring name = parent + kStems[rng() % std::size(kStems)] + std::to_wstring(folders.size());
        if (!CreateDirectoryW(ToExtendedPath(root + name).c_str(), nullptr))
            throw std::runtime_error("cannot create a benchmark folder");
        folders.push_back(name);
    }
    return folders;
}

void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..")
                continue;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(folder + name + L"\\");
            else
                DeleteFileW((folder + name).c_str());
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(folder.c_str());
}

}  // namespace tavelin::bench

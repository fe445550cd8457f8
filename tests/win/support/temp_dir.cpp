#include "temp_dir.h"

#include <windows.h>

#include <stdexcept>

#include "base/long_path.h"

namespace tavelin::test {

TempDir::TempDir() {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    static unsigned counter = 0;
    for (;;) {
        path_ = std::wstring(base) + L"tavelin-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(++counter) + L"\\";
        if (CreateDirectoryW(path_.c_str(), nullptr))
            break;
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            throw std::runtime_error("cannot create a temporary folder");
    }
}

TempDir::~TempDir() {
    RemoveTree(path_);
}

std::wstring TempDir::MakeFolder(const std::wstring& relative) const {
    std::wstring full = path_ + relative;
    for (size_t pos = path_.size(); pos != std::wstring::npos; pos = full.find(L'\\', pos + 1)) {
        if (pos > path_.size())
            CreateDirectoryW(ToExtendedPath(full.substr(0, pos)).c_str(), nullptr);
    }
    CreateDirectoryW(ToExtendedPath(full).c_str(), nullptr);
    if (!(GetFileAttributesW(ToExtendedPath(full).c_str()) & FILE_ATTRIBUTE_DIRECTORY))
        throw std::runtime_error("cannot create a test folder");
    return full;
}

std::wstring TempDir::MakeFile(const std::wstring& relative, unsigned long long size) const {
    std::wstring full = path_ + relative;
    HANDLE h = CreateFileW(ToExtendedPath(full).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot create a test file");
    if (size) {
        LARGE_INTEGER li;
        li.QuadPart = static_cast<LONGLONG>(size);
        SetFilePointerEx(h, li, nullptr, FILE_BEGIN);
        SetEndOfFile(h);
    }
    CloseHandle(h);
    return full;
}

void RemoveTree(const std::wstring& folder) {
    std::wstring base = ToExtendedPath(folder.ends_with(L'\\') ? folder : folder + L'\\');
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((base + L"*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = data.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring child = base + name;
            SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            bool isLink = data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT;
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !isLink)
                RemoveTree(child);
            else if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveDirectoryW(child.c_str());
            else
                DeleteFileW(child.c_str());
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    SetFileAttributesW(base.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(base.c_str());
}

}  // namespace tavelin::test

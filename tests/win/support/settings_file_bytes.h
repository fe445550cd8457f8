#pragma once
// The settings file as bytes and as the private-profile functions read it, for the tests that
// write one by hand or look at what a save left.
#include <string>

namespace tavelin::test {

std::string ToCodePage932(const std::wstring& text);
// Creates or truncates the file with exactly these bytes.
void WriteRawFile(const std::wstring& path, const std::string& bytes);
// The file's bytes; empty when it cannot be read.
std::string ReadRawFile(const std::wstring& path);
// A key's value; "<missing>" tells a missing key from an empty value.
std::wstring KeyValue(const wchar_t* section, const wchar_t* key, const std::wstring& path);

}  // namespace tavelin::test

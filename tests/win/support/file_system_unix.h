#pragma once
// The Unix side of the Wine machine, for what Windows cannot do there on demand: directory
// symlinks (CreateSymbolicLinkW is a no-op under Wine 8) and folders nothing can be written into.
#include <string>

namespace tavelin::test {

// The Unix path of a Windows path; empty when not running under Wine.
std::string UnixPath(const std::wstring& path);

// Runs a command line in the Unix shell and waits for it; its exit code, or -1 when it could not
// be started or did not finish within ten seconds.
int RunUnix(const std::wstring& shellCommand);

// The Unix path of an existing folder or file, with `leaf` (a name that need not exist yet)
// appended, as one argument of a Unix command line (so without spaces).
std::wstring UnixPathArgument(const std::wstring& existing, const std::wstring& leaf = {});

// Makes a folder one that nothing can be created in, as an access-denied folder is on Windows, or
// writable again; true when the Unix command succeeded.
bool SetUnwritable(const std::wstring& path, bool on);

}  // namespace tavelin::test

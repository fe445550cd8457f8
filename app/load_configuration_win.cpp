#include <windows.h>

#include <cstddef>
#include <cstdint>

// The executable's load configuration, which the linker points the image at when this symbol
// exists. Its one setting: the DLLs the executable imports, and the DLLs those import in turn,
// are looked for in System32 only, never beside the executable. MSVC's runtime brings its own
// load configuration; the linker option /DEPENDENTLOADFLAG sets the same there.
//
// The 64-bit layout as far as DependentLoadFlags and the fields of that first version, declared
// here because older headers still call the field Reserved1. The loader reads no further than
// the size given in the structure itself.
namespace tavelin {

struct LoadConfiguration {
    std::uint32_t size;
    std::uint32_t timeDateStamp;
    std::uint16_t majorVersion;
    std::uint16_t minorVersion;
    std::uint32_t globalFlagsClear;
    std::uint32_t globalFlagsSet;
    std::uint32_t criticalSectionDefaultTimeout;
    std::uint64_t deCommitFreeBlockThreshold;
    std::uint64_t deCommitTotalFreeThreshold;
    std::uint64_t lockPrefixTable;
    std::uint64_t maximumAllocationSize;
    std::uint64_t virtualMemoryThreshold;
    std::uint64_t processAffinityMask;
    std::uint32_t processHeapFlags;
    std::uint16_t csdVersion;
    std::uint16_t dependentLoadFlags;
    std::uint64_t editList;
    std::uint64_t securityCookie;
    std::uint64_t seHandlerTable;
    std::uint64_t seHandlerCount;
};
static_assert(offsetof(LoadConfiguration, dependentLoadFlags) == 78);
static_assert(sizeof(LoadConfiguration) == 112);

constexpr LoadConfiguration SearchSystem32Only() {
    LoadConfiguration configuration{};
    configuration.size = sizeof configuration;
    configuration.dependentLoadFlags = LOAD_LIBRARY_SEARCH_SYSTEM32;
    return configuration;
}

}  // namespace tavelin

extern "C" const tavelin::LoadConfiguration _load_config_used = tavelin::SearchSystem32Only();

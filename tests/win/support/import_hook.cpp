#include "support/import_hook.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace tavelin::test {

namespace {

template <class T>
T* At(std::uintptr_t base, DWORD offset) {
    return reinterpret_cast<T*>(base + offset);
}

// The import address table entry of `function` from `module` in the running executable.
void** FindSlot(const char* module, const char* function) {
    const auto base = reinterpret_cast<std::uintptr_t>(GetModuleHandleW(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = At<const IMAGE_NT_HEADERS>(base, static_cast<DWORD>(dos->e_lfanew));
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* d = At<const IMAGE_IMPORT_DESCRIPTOR>(base, imports.VirtualAddress); d->Name; ++d) {
        if (lstrcmpiA(At<const char>(base, d->Name), module) != 0)
            continue;
        auto* names = At<const IMAGE_THUNK_DATA>(base, d->OriginalFirstThunk);
        auto* slots = At<IMAGE_THUNK_DATA>(base, d->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            const auto* byName = At<const IMAGE_IMPORT_BY_NAME>(base, static_cast<DWORD>(names->u1.AddressOfData));
            if (lstrcmpA(reinterpret_cast<const char*>(byName->Name), function) == 0)
                return reinterpret_cast<void**>(&slots->u1.Function);
        }
    }
    return nullptr;
}

}  // namespace

ImportHook::ImportHook(const char* module, const char* function, void* replacement)
    : slot_(FindSlot(module, function)) {
    if (!slot_) {
        ADD_FAILURE() << "the executable does not import " << function << " from " << module;
        return;
    }
    original_ = *slot_;
    Write(replacement);
}

ImportHook::~ImportHook() {
    if (slot_)
        Write(original_);
}

void ImportHook::Write(void* value) {
    DWORD old = 0;
    VirtualProtect(slot_, sizeof *slot_, PAGE_READWRITE, &old);
    *slot_ = value;
    VirtualProtect(slot_, sizeof *slot_, old, &old);
}

}  // namespace tavelin::test

#pragma once
// Puts a test's own function in place of one that a loaded module imports, by
// rewriting the module's import address table, and puts the original back
// when it goes: a test sees what a plug-in asks of the system.
#include <windows.h>

#include <cstring>

namespace host {

class ImportHook {
public:
    ImportHook(HMODULE module, const char* dll, const char* function, const void* replacement)
    {
        m_slot = FindSlot(module, dll, function);
        if (!m_slot) return;
        m_original = *m_slot;
        Write(const_cast<void*>(replacement));
    }
    ~ImportHook()
    {
        if (m_slot) Write(m_original);
    }
    ImportHook(const ImportHook&) = delete;
    ImportHook& operator=(const ImportHook&) = delete;

    bool Installed() const { return m_slot != nullptr; }
    void* Original() const { return m_original; }

private:
    static void** FindSlot(HMODULE module, const char* dll, const char* function)
    {
        if (!module) return nullptr;
        const BYTE* base = reinterpret_cast<const BYTE*>(module);
        const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
        const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
        const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        if (!imports.VirtualAddress) return nullptr;
        for (auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name; ++d) {
            if (_stricmp(reinterpret_cast<const char*>(base + d->Name), dll) != 0 || !d->OriginalFirstThunk) continue;
            auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
            auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(const_cast<BYTE*>(base) + d->FirstThunk);
            for (; names->u1.AddressOfData; ++names, ++slots) {
                if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
                const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
                if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) == 0)
                    return reinterpret_cast<void**>(&slots->u1.Function);
            }
        }
        return nullptr;
    }

    void Write(void* value)
    {
        DWORD old = 0;
        VirtualProtect(m_slot, sizeof *m_slot, PAGE_READWRITE, &old);
        *m_slot = value;
        VirtualProtect(m_slot, sizeof *m_slot, old, &old);
        FlushInstructionCache(GetCurrentProcess(), m_slot, sizeof *m_slot);
    }

    void** m_slot = nullptr;
    void* m_original = nullptr;
};

}  // namespace host

#pragma once
// A test's own function in place of one a module imports, while it lives.
#include <windows.h>

#include <cstring>
#include <utility>

namespace host {

class ImportHook {
public:
    ImportHook(HMODULE module, const char* dll, const char* function, const void* replacement)
        : m_slot(module ? FindSlot(reinterpret_cast<BYTE*>(module), dll, function) : nullptr)
    {
        if (m_slot) m_original = Write(const_cast<void*>(replacement));
    }
    ~ImportHook() { if (m_slot) Write(m_original); }
    ImportHook(const ImportHook&) = delete;
    ImportHook& operator=(const ImportHook&) = delete;

    bool Installed() const { return m_slot != nullptr; }

private:
    static void** FindSlot(BYTE* base, const char* dll, const char* function)
    {
        const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
        const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
        const DWORD imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
        for (auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports); imports && d->Name; ++d) {
            if (_stricmp(reinterpret_cast<const char*>(base + d->Name), dll) != 0 || !d->OriginalFirstThunk) continue;
            auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
            auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
            for (; names->u1.AddressOfData; ++names, ++slots) {
                const auto* named = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
                if (!IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal) && std::strcmp(named->Name, function) == 0)
                    return reinterpret_cast<void**>(&slots->u1.Function);
            }
        }
        return nullptr;
    }

    // Writes the slot; gives what it held.
    void* Write(void* value)
    {
        DWORD old = 0;
        VirtualProtect(m_slot, sizeof *m_slot, PAGE_READWRITE, &old);
        void* was = std::exchange(*m_slot, value);
        VirtualProtect(m_slot, sizeof *m_slot, old, &old);
        FlushInstructionCache(GetCurrentProcess(), m_slot, sizeof *m_slot);
        return was;
    }

    void** m_slot;
    void* m_original = nullptr;
};

}  // namespace host

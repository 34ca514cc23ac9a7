#pragma once
#include <windows.h>

#include "common/PluginResult.h"

// The plug-in's own module, set once at process attach.
extern HINSTANCE g_hInstance;

// The revision of the host contract that every plug-in implements.
constexpr int kPluginRevision = 2;

// Exports run inside the host's process: an exception that escaped would end
// it. Every export body runs through this, the one catch-all. Nothing between
// it and the readers and builders below is noexcept, since a noexcept
// function that an exception leaves calls std::terminate before the catch
// is reached; only leaves that cannot throw (byte readers, formatters, heap
// and file calls) are.
template <typename Result, typename Body>
Result GuardExport(Result onException, Body&& body) noexcept
{
    try {
        return body();
    } catch (...) {
        return onException;
    }
}

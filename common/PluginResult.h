#pragma once
#include <cstdint>

// Result codes of the host contract. Every export that reports success or
// failure returns one of these as a 32-bit integer.
enum PluginResult : int32_t {
    Ok = 0,
    Unsupported = 1,   // not one of this plug-in's files
    ReadError = 2,     // unreadable, or a needed section is missing or malformed
    // 3 is never returned: a lower step that reports 3 is answered with Failure.
    OutOfMemory = 4,
    Failure = 5,       // null output pointer, failed copy, anything else
};

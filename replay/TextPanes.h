#pragma once
#include <cstdint>

#include "common/HostMemory.h"
#include "common/PluginResult.h"
#include "replay/CReplayReader.h"

// The two text panes of a replay: its information text
// (GetFileInfoText1) and its comment (GetFileInfoText2).
enum class TextKind { Information = 1, Comment = 2 };

// Hands the host the payload of the information or comment section. The
// block is exactly the payload, plus one zero byte when the payload holds no
// NUL of its own, so that the host always receives a terminated text.
PluginResult MakeInfoText(const CReplayReader& reader, TextKind kind, const char* image,
                          uint32_t size, HLOCAL* text);

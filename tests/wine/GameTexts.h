#pragma once
// What a plug-in says of itself by the rules its texts are made by, from the
// facts of its Description.h (UTF-8 there): Shift-JIS as the host reads it,
// converted here by the system where the plug-ins are converted by the
// compiler.
#include <windows.h>

#include <cstdio>
#include <string>

#include "tools/games/Games.h"

namespace host {

inline std::string ShiftJis(const std::string& utf8)
{
    const int wide = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring text(size_t(wide), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), int(utf8.size()), &text[0], wide);
    const int narrow = WideCharToMultiByte(932, 0, text.data(), wide, nullptr, 0, nullptr, nullptr);
    std::string out(size_t(narrow), '\0');
    WideCharToMultiByte(932, 0, text.data(), wide, &out[0], narrow, nullptr, nullptr);
    return out;
}

// "1.02": the minor number always shows two digits.
inline std::string VersionText(const games::Game& game)
{
    char text[32];
    std::snprintf(text, sizeof text, "%d.%02d", game.versionMajor, game.versionMinor);
    return text;
}

// String 0 up to the author notice, which follows it behind a space.
inline std::string DescriptionHead(const games::Game& game)
{
    return "KARVO Plug-in For " + ShiftJis(game.kind) + " Ver" + VersionText(game);
}

}  // namespace host

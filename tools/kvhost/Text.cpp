#include "Text.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

namespace {

constexpr UINT kShiftJis = 932;

std::wstring ToWide(UINT codePage, std::string_view text)
{
    if (text.empty()) return {};
    const int length = MultiByteToWideChar(codePage, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring wide(size_t(length > 0 ? length : 0), L'\0');
    if (length > 0) MultiByteToWideChar(codePage, 0, text.data(), int(text.size()), wide.data(), length);
    return wide;
}

std::string FromWide(UINT codePage, std::wstring_view wide)
{
    if (wide.empty()) return {};
    const int length = WideCharToMultiByte(codePage, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string text(size_t(length > 0 ? length : 0), '\0');
    if (length > 0)
        WideCharToMultiByte(codePage, 0, wide.data(), int(wide.size()), text.data(), length, nullptr, nullptr);
    return text;
}

// A character outside the basic plane (a surrogate pair) counts as wide on
// its first half.
bool IsWide(wchar_t c)
{
    return (c >= 0xD800 && c <= 0xDBFF) || (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) ||
           (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) ||
           (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6);
}

}  // namespace

std::string SjisToUtf8(std::string_view sjis) { return FromWide(CP_UTF8, ToWide(kShiftJis, sjis)); }
std::string WideToUtf8(std::wstring_view wide) { return FromWide(CP_UTF8, wide); }
std::wstring Utf8ToWide(std::string_view utf8) { return ToWide(CP_UTF8, utf8); }

bool Utf8ToAnsiExactly(std::string_view utf8, std::string& ansi)
{
    ansi.clear();
    const std::wstring wide = ToWide(CP_UTF8, utf8);
    if (wide.empty()) return utf8.empty();
    // Where UTF-8 is the ANSI code page, the flags are refused; nothing would
    // be replaced there anyway, and the comparison below still holds.
    const bool utf8Ansi = GetACP() == CP_UTF8;
    const DWORD flags = utf8Ansi ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* used = utf8Ansi ? nullptr : &usedDefault;
    const int length = WideCharToMultiByte(CP_ACP, flags, wide.data(), int(wide.size()), nullptr, 0, nullptr, used);
    if (length <= 0 || usedDefault) return false;
    ansi.assign(size_t(length), '\0');
    WideCharToMultiByte(CP_ACP, flags, wide.data(), int(wide.size()), ansi.data(), length, nullptr, used);
    if (!usedDefault && ToWide(CP_ACP, ansi) == wide) return true;
    ansi.clear();
    return false;
}

std::string CharactersOutsideAnsi(std::string_view utf8)
{
    const std::wstring wide = ToWide(CP_UTF8, utf8);
    std::string outside;
    for (size_t i = 0; i < wide.size(); ++i) {
        const size_t length = wide[i] >= 0xD800 && wide[i] <= 0xDBFF && i + 1 < wide.size() ? 2 : 1;
        const std::string character = FromWide(CP_UTF8, std::wstring_view(wide).substr(i, length));
        std::string ansi;
        if (!Utf8ToAnsiExactly(character, ansi) && outside.find(character) == std::string::npos) outside += character;
        i += length - 1;
    }
    return outside;
}

size_t DisplayWidth(std::string_view utf8)
{
    size_t width = 0;
    for (wchar_t c : ToWide(CP_UTF8, utf8)) width += IsWide(c) ? 2 : c >= 0xDC00 && c <= 0xDFFF ? 0 : 1;
    return width;
}

std::string CutToWidth(std::string_view utf8, size_t width)
{
    if (DisplayWidth(utf8) <= width) return std::string(utf8);
    if (width < 2) return std::string(width, '.');
    const std::wstring wide = ToWide(CP_UTF8, utf8);
    size_t used = 0, kept = 0;
    while (kept < wide.size()) {
        const wchar_t c = wide[kept];
        const size_t length = c >= 0xD800 && c <= 0xDBFF && kept + 1 < wide.size() ? 2 : 1;
        const size_t columns = IsWide(c) ? 2 : 1;
        if (used + columns > width - 2) break;
        used += columns;
        kept += length;
    }
    return FromWide(CP_UTF8, std::wstring_view(wide).substr(0, kept)) + "..";
}

std::string JsonString(std::string_view utf8)
{
    std::string out = "\"";
    for (char c : utf8) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (u < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", u);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + '"';
}

std::string CsvField(std::string_view utf8)
{
    if (utf8.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(utf8);
    std::string out = "\"";
    for (char c : utf8) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + '"';
}

std::string OneLine(std::string text)
{
    std::replace(text.begin(), text.end(), '\r', ' ');
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}

std::string Joined(const std::vector<std::string>& parts, const std::string& separator)
{
    std::string text;
    for (const std::string& part : parts) text += (text.empty() ? "" : separator) + part;
    return text;
}

std::string Count(size_t count, const std::string& thing)
{
    return std::to_string(count) + " " + thing + (count == 1 ? "" : "s");
}

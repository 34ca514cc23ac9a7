#pragma once
#include <string>
#include <string_view>
#include <vector>

// Conversions between the code pages kvhost meets: the plug-ins' Shift-JIS,
// the system's ANSI code page (paths for the plug-ins) and the UTF-8 that
// kvhost works in and prints.
std::string SjisToUtf8(std::string_view sjis);
std::string WideToUtf8(std::wstring_view wide);
std::wstring Utf8ToWide(std::string_view utf8);

// The ANSI form of a UTF-8 text, only when it turns back into the same
// text: no character is replaced by a default or a look-alike ("é" by "e").
bool Utf8ToAnsiExactly(std::string_view utf8, std::string& ansi);
// The characters of a UTF-8 text that the ANSI code page lacks, each once.
std::string CharactersOutsideAnsi(std::string_view utf8);

// Terminal columns of a UTF-8 text: East Asian wide characters take two.
size_t DisplayWidth(std::string_view utf8);
// The text cut to at most `width` columns, ending in ".." when it was cut.
std::string CutToWidth(std::string_view utf8, size_t width);

std::string JsonString(std::string_view utf8);
std::string CsvField(std::string_view utf8);

// The text with its line breaks as spaces.
std::string OneLine(std::string text);
// The parts with `separator` between them.
std::string Joined(const std::vector<std::string>& parts, const std::string& separator);
// "1 file", "2 files".
std::string Count(size_t count, const std::string& thing);

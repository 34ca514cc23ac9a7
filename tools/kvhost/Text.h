#pragma once
#include <string>
#include <string_view>

// Conversions between the code pages kvhost meets: the plug-ins' Shift-JIS,
// the system's ANSI code page (file names, paths for the plug-ins) and the
// UTF-8 that kvhost prints.
std::string SjisToUtf8(std::string_view sjis);
std::string AnsiToUtf8(std::string_view ansi);
std::string Utf8ToAnsi(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);
std::wstring Utf8ToWide(std::string_view utf8);

// Terminal columns of a UTF-8 text: East Asian wide characters take two.
size_t DisplayWidth(std::string_view utf8);

std::string JsonString(std::string_view utf8);
std::string CsvField(std::string_view utf8);

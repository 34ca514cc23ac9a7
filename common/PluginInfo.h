#pragma once

// The four description strings that GetPluginInfo serves, indexed 0 to 3:
// description with version and author notice, kind of file, file-name
// pattern, filter text. All Shift-JIS.
struct PluginStrings {
    const char* text[4];
};

// GetPluginInfo's answer: the string's length, or 0 for an index out of range
// or a buffer without room for the terminator (the buffer is then untouched).
// A null buffer asks for the length only.
int CopyPluginInfo(const PluginStrings& strings, int index, char* buffer, int bufferSize) noexcept;

// This plug-in's strings (common/PluginStrings.cpp, from the Description.h in
// its folder).
extern const PluginStrings kPluginStrings;

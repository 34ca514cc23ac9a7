#pragma once
// Paths as the host hands them over: bytes in the process's ANSI code page.
// In a double-byte code page (932 among them) a lead byte begins a
// character whose trail byte may be a backslash; in a single-byte one
// (1252) no byte does.

using LeadByteRule = bool (*)(unsigned char) noexcept;

// Whether c begins a double-byte character in the process's ANSI code page.
// The portable build, which has no process code page, takes code page 932.
bool IsAnsiLeadByte(unsigned char c) noexcept;

// Position just after the last path separator ('\\' or '/'), the path
// walked a character at a time; path itself if there is none.
const char* FileNamePart(const char* path, LeadByteRule isLead = IsAnsiLeadByte) noexcept;

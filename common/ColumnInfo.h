#pragma once
#include <cstddef>
#include <cstdint>

// One column of the host's list, 128 bytes as the host reads it.
struct ColumnInfo {
    char title[116];       // Shift-JIS, NUL-terminated, rest zero
    int32_t right_align;   // 1: plain numbers
    int32_t sort_kind;     // 0 text, 1 whole number, 2 decimal
    int32_t host_field;    // 0: the plug-in fills it; else the host's own column
};
static_assert(sizeof(ColumnInfo) == 128, "the host reads 128-byte column records");

// One record at compile time, the title copied into its zero-filled field.
constexpr ColumnInfo MakeColumnInfo(const char* title, int32_t rightAlign, int32_t sortKind,
                                    int32_t hostField) noexcept
{
    ColumnInfo info{};
    for (size_t c = 0; title[c] && c + 1 < sizeof info.title; ++c) info.title[c] = title[c];
    info.right_align = rightAlign;
    info.sort_kind = sortKind;
    info.host_field = hostField;
    return info;
}

// Columns the host fills itself from the file system.
enum HostField : int32_t {
    kPluginFills = 0,
    kHostDirectory = 2,
    kHostFileName = 3,
    kHostUpdateTime = 7,
    kHostFileSize = 8,
};

// Every text field of a list row is 512 bytes: at most 511 bytes of text and
// the terminating NUL.
constexpr size_t kFieldSize = 512;

// Writes one field with printf-style formatting. The text never runs past the
// field: a longer text is cut to 511 bytes without splitting a double-byte
// character, and the field is always terminated. Returns the formatter's
// result (negative after a cut).
int FormatField(char* field, const char* format, ...) noexcept;

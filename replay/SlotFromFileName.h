#pragma once
#include <cstddef>
#include <cstdint>
#include <regex>

// Games save replays into numbered slots (prefix "_07.rpy") or under a short
// user-chosen name (prefix "_udNAME.rpy"); the list's "No." column shows which.
enum SlotKind : int32_t {
    Numbered = 0,
    User = 1,
    Other = 2,
};

constexpr int kMaxSlot = 25;

enum SlotResult : int {
    kSlotDone = 0,
    kSlotBadCall = 1,
    kSlotNoMemory = 4,
};

// The two file-name patterns of one game, compiled with the ECMAScript
// grammar, case-insensitive, matched against the whole name. The '.' before
// "rpy" is the any-character wildcard, as the games' own filters have it.
class SlotPatterns {
public:
    explicit SlotPatterns(const char* prefix);
    std::regex numbered;
    std::regex user;
};

// Patterns are compiled once per process, on first use; the compiled objects
// are never changed afterwards, so concurrent callers share them safely.
template <const char* Prefix>
const SlotPatterns& CachedSlotPatterns()
{
    static const SlotPatterns patterns(Prefix);
    return patterns;
}

// Sets kind from the file-name part of name (after the last '\' or '/',
// Shift-JIS aware) and, for Numbered and User, copies the slot text into
// buffer. Returns kSlotBadCall on a null argument (nothing written) and
// kSlotNoMemory if the patterns cannot be compiled (kind set to Other).
int GetSlotFromFileName(const SlotPatterns& (*patterns)(), const char* name, SlotKind* kind,
                        char* buffer, size_t bufferSize) noexcept;

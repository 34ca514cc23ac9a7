#pragma once
#include <cstddef>
#include <cstdint>

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
};

// The two shapes of a game's replay names, each matched against a whole
// name part of `length` bytes, byte by byte (a Shift-JIS name is not
// decoded), ignoring the case of ASCII letters only:
//   numbered: prefix "_", two digits 0-9, any character, "rpy"
//   user:     prefix "_ud", zero to four characters, any character, "rpy"
// "Any character" is any byte but the line terminators CR and LF, so
// "kvora_07xrpy" is a numbered name, as the games' own filters have it. On a
// match, `capture` is where the two digits or the user's characters lie in
// name; otherwise it is left alone.
struct SlotCapture {
    size_t start;
    size_t length;
};
bool MatchNumberedName(const char* prefix, const char* name, size_t length, SlotCapture& capture) noexcept;
bool MatchUserName(const char* prefix, const char* name, size_t length, SlotCapture& capture) noexcept;

// Sets kind from the file-name part of name (after the last '\' or '/',
// Shift-JIS aware) and the game's prefix and, for Numbered and User, copies
// the slot text into buffer. A numbered name outside slots 1 to kMaxSlot,
// or a slot text that does not fit the buffer, is Other. Returns
// kSlotBadCall on a null argument (nothing written), else kSlotDone.
int GetSlotFromFileName(const char* prefix, const char* name, SlotKind* kind, char* buffer,
                        size_t bufferSize) noexcept;

#include "replay/SlotFromFileName.h"

#include <cstring>

#include "common/PathName.h"

namespace {

// Case is folded for ASCII letters only: a byte of a double-byte character
// (or any byte above 0x7F) must equal itself.
char FoldCase(char c) noexcept
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualIgnoringCase(const char* text, const char* literal, size_t length) noexcept
{
    for (size_t i = 0; i < length; ++i)
        if (FoldCase(text[i]) != FoldCase(literal[i])) return false;
    return true;
}

bool IsAnyCharacter(char c) noexcept
{
    return c != '\n' && c != '\r';
}

bool IsDigit(char c) noexcept
{
    return c >= '0' && c <= '9';
}

// Both shapes end in any character and "rpy": the last 4 bytes.
bool EndsAsReplay(const char* name, size_t length) noexcept
{
    return length >= 4 && IsAnyCharacter(name[length - 4]) && EqualIgnoringCase(name + length - 3, "rpy", 3);
}

bool CopySlotText(const char* text, size_t length, char* buffer, size_t bufferSize) noexcept
{
    if (length >= bufferSize) return false;
    std::memcpy(buffer, text, length);
    buffer[length] = '\0';
    return true;
}

}  // namespace

bool MatchNumberedName(const char* prefix, const char* name, size_t length, SlotCapture& capture) noexcept
{
    const size_t prefixLength = std::strlen(prefix);
    // prefix, "_", two digits, any character, "rpy"
    if (length != prefixLength + 7) return false;
    const char* digits = name + prefixLength + 1;
    if (!EqualIgnoringCase(name, prefix, prefixLength) || name[prefixLength] != '_' || !IsDigit(digits[0]) ||
        !IsDigit(digits[1]) || !EndsAsReplay(name, length))
        return false;
    capture = {prefixLength + 1, 2};
    return true;
}

bool MatchUserName(const char* prefix, const char* name, size_t length, SlotCapture& capture) noexcept
{
    const size_t prefixLength = std::strlen(prefix);
    // prefix, "_ud", 0 to 4 characters, any character, "rpy": the length
    // alone says how many characters the user's part has.
    const size_t fixedLength = prefixLength + 3 + 4;
    if (length < fixedLength || length > fixedLength + 4) return false;
    if (!EqualIgnoringCase(name, prefix, prefixLength) || !EqualIgnoringCase(name + prefixLength, "_ud", 3) ||
        !EndsAsReplay(name, length))
        return false;
    const size_t start = prefixLength + 3;
    const size_t userLength = length - fixedLength;
    for (size_t i = 0; i < userLength; ++i)
        if (!IsAnyCharacter(name[start + i])) return false;
    capture = {start, userLength};
    return true;
}

int GetSlotFromFileName(const char* prefix, const char* name, SlotKind* kind, char* buffer,
                        size_t bufferSize) noexcept
{
    if (!prefix || !name || !kind || !buffer) return kSlotBadCall;
    *kind = Other;
    const char* part = FileNamePart(name);
    const size_t length = std::strlen(part);
    SlotCapture slot{};
    if (MatchNumberedName(prefix, part, length, slot)) {
        const char* digits = part + slot.start;
        const int number = (digits[0] - '0') * 10 + (digits[1] - '0');
        if (number >= 1 && number <= kMaxSlot && CopySlotText(digits, slot.length, buffer, bufferSize))
            *kind = Numbered;
    } else if (MatchUserName(prefix, part, length, slot)) {
        if (CopySlotText(part + slot.start, slot.length, buffer, bufferSize)) *kind = User;
    }
    return kSlotDone;
}

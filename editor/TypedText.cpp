#include "editor/TypedText.h"

#include <algorithm>

#include "common/ShiftJis.h"

namespace {

size_t CharacterLength(std::string_view text, size_t at) noexcept
{
    return sjis::IsLeadByte(static_cast<unsigned char>(text[at])) && at + 1 < text.size() ? 2 : 1;
}

// The bytes at the start that both texts share, whole characters only.
size_t SharedStart(std::string_view a, std::string_view b) noexcept
{
    size_t i = 0;
    while (i < a.size() && i < b.size()) {
        const size_t length = CharacterLength(a, i);
        if (CharacterLength(b, i) != length || a[i] != b[i] || (length == 2 && a[i + 1] != b[i + 1])) break;
        i += length;
    }
    return i;
}

// The bytes at the end that both texts share behind `start`, beginning on a
// character in both (characters counted from `start`).
size_t SharedEnd(std::string_view a, std::string_view b, size_t start) noexcept
{
    const size_t most = std::min(a.size(), b.size()) - start;
    size_t equal = 0;
    while (equal < most && a[a.size() - 1 - equal] == b[b.size() - 1 - equal]) ++equal;
    // The longest end of at most `equal` bytes that begins on a character in
    // both: walk both texts a character at a time, always the one whose rest
    // is longer, until the rests are as long. Both walks end at their text's
    // end, where the rest is empty.
    size_t inA = start;
    size_t inB = start;
    for (;;) {
        const size_t restA = a.size() - inA;
        const size_t restB = b.size() - inB;
        if (restA == restB && restA <= equal) return restA;
        if (restA > restB || restA > equal)
            inA += CharacterLength(a, inA);
        else
            inB += CharacterLength(b, inB);
    }
}

}  // namespace

FittedText FitTypedChange(std::string_view before, std::string_view now, size_t limit) noexcept
{
    FittedText fitted;
    if (now.size() <= limit) return fitted;
    const size_t start = SharedStart(before, now);
    const size_t end = SharedEnd(before, now, start);
    const size_t put = now.size() - end - start;   // what the change put in
    const size_t left = start + end;                // what it left alone
    const size_t room = limit > left ? limit - left : 0;
    const size_t kept = sjis::FitLength(now.data() + start, put, room);
    if (kept == put) return fitted;
    fitted.cut = true;
    fitted.caret = start + kept;
    fitted.dropped = put - kept;
    return fitted;
}

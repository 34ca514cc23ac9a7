#include "editor/TypedText.h"

#include <algorithm>
#include <vector>

#include "common/ShiftJis.h"

namespace {

size_t CharacterLength(const std::string& text, size_t at)
{
    return sjis::IsLeadByte(static_cast<unsigned char>(text[at])) && at + 1 < text.size() ? 2 : 1;
}

// The bytes at the start that both texts share, whole characters only.
size_t SharedStart(const std::string& a, const std::string& b)
{
    size_t i = 0;
    while (i < a.size() && i < b.size()) {
        const size_t length = CharacterLength(a, i);
        if (CharacterLength(b, i) != length || a.compare(i, length, b, i, length) != 0) break;
        i += length;
    }
    return i;
}

// Which offsets from `from` on begin a character.
std::vector<bool> CharacterStarts(const std::string& text, size_t from)
{
    std::vector<bool> starts(text.size() + 1, false);
    for (size_t i = from; i < text.size(); i += CharacterLength(text, i)) starts[i] = true;
    starts[text.size()] = true;
    return starts;
}

// The bytes at the end that both texts share behind `start`, beginning on a
// character in both.
size_t SharedEnd(const std::string& a, const std::string& b, size_t start)
{
    const size_t most = std::min(a.size(), b.size()) - start;
    size_t n = 0;
    while (n < most && a[a.size() - 1 - n] == b[b.size() - 1 - n]) ++n;
    const std::vector<bool> startsA = CharacterStarts(a, start), startsB = CharacterStarts(b, start);
    while (n > 0 && !(startsA[a.size() - n] && startsB[b.size() - n])) --n;
    return n;
}

}  // namespace

FittedText FitTypedChange(const std::string& before, const std::string& now, size_t limit)
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
    fitted.text = now.substr(0, start + kept) + now.substr(now.size() - end);
    fitted.caret = start + kept;
    return fitted;
}

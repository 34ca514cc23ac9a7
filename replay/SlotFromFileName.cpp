#include "replay/SlotFromFileName.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "common/ShiftJis.h"

namespace {

constexpr auto kSyntax = std::regex::ECMAScript | std::regex::icase;

bool CopySlotText(const std::csub_match& capture, char* buffer, size_t bufferSize) noexcept
{
    const size_t length = static_cast<size_t>(capture.length());
    if (length >= bufferSize) return false;
    std::memcpy(buffer, &*capture.first, length);
    buffer[length] = '\0';
    return true;
}

}  // namespace

SlotPatterns::SlotPatterns(const char* prefix)
    : numbered(std::string(prefix) + "_([[:digit:]]{2}).rpy", kSyntax),
      user(std::string(prefix) + "_ud(.{0,4}).rpy", kSyntax)
{
}

int GetSlotFromFileName(const SlotPatterns& (*patterns)(), const char* name, SlotKind* kind,
                        char* buffer, size_t bufferSize) noexcept
{
    if (!patterns || !name || !kind || !buffer) return kSlotBadCall;
    *kind = Other;
    try {
        const SlotPatterns& compiled = patterns();
        const char* part = sjis::FileNamePart(name);
        const char* end = part + std::strlen(part);
        std::cmatch match;
        if (std::regex_match(part, end, match, compiled.numbered)) {
            const int number = std::atoi(match[1].str().c_str());
            if (number >= 1 && number <= kMaxSlot && CopySlotText(match[1], buffer, bufferSize))
                *kind = Numbered;
        } else if (std::regex_match(part, end, match, compiled.user)) {
            if (CopySlotText(match[1], buffer, bufferSize)) *kind = User;
        }
    } catch (...) {
        return kSlotNoMemory;
    }
    return kSlotDone;
}

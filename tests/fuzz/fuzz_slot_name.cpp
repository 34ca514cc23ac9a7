// Slot recognition from a file name. The first four bytes pick the game
// (FuzzCheck.h), the next the size of the slot buffer; the rest, cut at its
// first NUL, is the name. The two shapes match as their regular expressions
// do.
#include <cctype>
#include <map>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "common/PathName.h"
#include "replay/CReplayReader.h"
#include "support/SlotRegex.h"

namespace {

void RequireSameAsRegex(const char* prefix, const std::string& name)
{
    // Compiled once per game: compiling on every input would slow the run
    // down several times over.
    static std::map<std::string, testing_support::SlotRegex> oracles;
    const auto known = oracles.find(prefix);
    const testing_support::SlotRegex& oracle =
        known != oracles.end() ? known->second : oracles.emplace(prefix, testing_support::SlotRegex(prefix)).first->second;
    SlotCapture expected{};
    SlotCapture found{};
    const bool numbered = oracle.Numbered(name, expected);
    FUZZ_REQUIRE(MatchNumberedName(prefix, name.data(), name.size(), found) == numbered);
    FUZZ_REQUIRE(!numbered || (found.start == expected.start && found.length == expected.length));
    const bool user = oracle.User(name, expected);
    FUZZ_REQUIRE(MatchUserName(prefix, name.data(), name.size(), found) == user);
    FUZZ_REQUIRE(!user || (found.start == expected.start && found.length == expected.length));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t length)
{
    const auto picked = fuzz::PickReplayGame(bytes, length);
    if (!picked.game || picked.restSize < 1) return 0;
    const ReplayProfile& game = *picked.game;
    const size_t bufferSize = 1 + picked.rest[0] % 8;   // 1 to 8: short ones must refuse long slots
    const std::string name(reinterpret_cast<const char*>(picked.rest + 1), picked.restSize - 1);
    const CReplayReader reader(game);
    RequireSameAsRegex(game.prefix, name.c_str());

    // An exact-size buffer: the sanitizer sees any write past it.
    std::vector<char> buffer(bufferSize, 'x');
    SlotKind kind = SlotKind(-1);
    const int result = reader.GetSlotFromFileName(name.c_str(), &kind, buffer.data(), bufferSize);
    FUZZ_REQUIRE(result == kSlotDone);
    FUZZ_REQUIRE(kind == Numbered || kind == User || kind == Other);
    if (kind == Other) return 0;

    const size_t slotLength = strnlen(buffer.data(), bufferSize);
    FUZZ_REQUIRE(slotLength < bufferSize);
    // The slot is taken from the name's last part, which starts with
    // "<prefix>_" in any case.
    const std::string part = FileNamePart(name.c_str());
    const std::string prefix = std::string(game.prefix) + "_";
    FUZZ_REQUIRE(part.size() >= prefix.size() + slotLength);
    for (size_t i = 0; i < prefix.size(); ++i)
        FUZZ_REQUIRE(std::tolower(static_cast<unsigned char>(part[i])) == prefix[i]);
    if (kind == Numbered) {
        FUZZ_REQUIRE(slotLength == 2 && std::isdigit(static_cast<unsigned char>(buffer[0])) &&
                     std::isdigit(static_cast<unsigned char>(buffer[1])));
        const int number = (buffer[0] - '0') * 10 + (buffer[1] - '0');
        FUZZ_REQUIRE(number >= 1 && number <= kMaxSlot);
    } else {
        FUZZ_REQUIRE(slotLength <= 4);
    }
    FUZZ_REQUIRE(part.find(buffer.data(), prefix.size()) != std::string::npos);
    return 0;
}

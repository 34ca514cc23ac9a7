// A replay and its file name through everything that reads them. After the
// game's four bytes (FuzzCheck.h), bit 0 of one byte says whether a name
// (up to a NUL) comes before the replay, bits 1-3 the slot buffer's size.
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "common/PathName.h"
#include "replay/ReplayContainer.h"
#include "replay/ReplayRows.h"
#include "replay/TextPanes.h"

using fuzz::LoadU32;

namespace {

struct Found {
    int result;
    const char* text;
    uint32_t size;
};

// A found payload lies behind its "USER" header at U or behind the section
// at U; a missing one leaves the outputs alone.
Found CheckFound(uint32_t type, const char* data, uint32_t size)
{
    const char* const sentinel = reinterpret_cast<const char*>(&size);
    Found f{0, sentinel, 0xDEADBEEF};
    f.result = FindUserSection(type, data, size, &f.text, &f.size);
    FUZZ_REQUIRE(f.result == kSectionFound || f.result == kSectionMissing);
    if (f.result != kSectionFound) {
        FUZZ_REQUIRE(f.text == sentinel && f.size == 0xDEADBEEF);
        return f;
    }
    FUZZ_REQUIRE(fuzz::Inside(f.text, f.size, data, size));
    const uint32_t offset = uint32_t(f.text - data) - kSectionHeaderSize;
    FUZZ_REQUIRE(std::memcmp(data + offset, "USER", 4) == 0);
    FUZZ_REQUIRE(LoadU32(data + offset + 4) == f.size + kSectionHeaderSize);
    FUZZ_REQUIRE(LoadU32(data + offset + 8) == type);
    const uint32_t u = LoadU32(data + kUserDataOffsetField);
    FUZZ_REQUIRE(offset == u || uint64_t(offset) == uint64_t(u) + LoadU32(data + u + 4));
    return f;
}

void CheckPair(const char* data, uint32_t size)
{
    SectionPlace first{}, second{};
    if (!ReadSectionPair(data, size, first, second)) return;
    FUZZ_REQUIRE(first.offset == LoadU32(data + kUserDataOffsetField));
    FUZZ_REQUIRE(uint64_t(second.offset) == uint64_t(first.offset) + first.length);
    for (const SectionPlace* s : {&first, &second})
        FUZZ_REQUIRE(s->length >= kSectionHeaderSize && uint64_t(s->offset) + s->length <= size);
}

// Every value is one line of the parsed copy, ends inside it and holds the
// payload's own bytes.
void CheckInfo(const ReplayProfile& game, const Found& info)
{
    ReplayInfo parsed;
    FUZZ_REQUIRE(parsed.Parse(info.size ? info.text : nullptr, info.size, game.keys));
    const char* copy = parsed.text.get();
    for (size_t f = 0; f < size_t(InfoField::Count); ++f) {
        const char* value = parsed.Get(InfoField(f));
        FUZZ_REQUIRE(value != nullptr);
        if (*value == '\0') continue;   // an empty value may be the shared empty text
        FUZZ_REQUIRE(value >= copy && value < copy + info.size);
        const size_t n = strnlen(value, size_t(copy + info.size - value) + 1);
        FUZZ_REQUIRE(value + n <= copy + info.size);
        FUZZ_REQUIRE(!std::memchr(value, '\r', n) && !std::memchr(value, '\n', n));
        FUZZ_REQUIRE(std::memcmp(value, info.text + (value - copy), n) == 0);
    }
}

// The slot, from the name's last part, fits any buffer or is not taken.
void CheckSlot(const CReplayReader& reader, const std::string& name, size_t bufferSize)
{
    const char* prefix = reader.Profile().prefix;
    std::vector<char> buffer(bufferSize, 'x');   // exact size: a write past it shows
    SlotKind kind = SlotKind(-1);
    FUZZ_REQUIRE(reader.GetSlotFromFileName(name.c_str(), &kind, buffer.data(), bufferSize) == kSlotDone);
    FUZZ_REQUIRE(kind == Numbered || kind == User || kind == Other);
    if (kind == Other) return;
    const size_t slotLength = strnlen(buffer.data(), bufferSize);
    FUZZ_REQUIRE(slotLength < bufferSize && slotLength <= (kind == Numbered ? 2u : 4u));
    FUZZ_REQUIRE(std::string(FileNamePart(name.c_str())).find(buffer.data(), std::strlen(prefix) + 1) !=
                 std::string::npos);
    if (kind == Numbered) {
        const int number = (buffer[0] - '0') * 10 + (buffer[1] - '0');
        FUZZ_REQUIRE(slotLength == 2 && number >= 1 && number <= kMaxSlot);
    }
}

void CheckRow(const CReplayReader& reader, const char* image, uint32_t size, const char* name, const Found& comment)
{
    HLOCAL row = nullptr;
    const PluginResult result = MakeListInfo(reader, image, size, &row, name);
    FUZZ_REQUIRE(result == Ok || result == Unsupported || result == ReadError);
    FUZZ_REQUIRE((result == Unsupported) == !reader.CheckMagic(image, size));
    if (result == Unsupported) {
        FUZZ_REQUIRE(row == nullptr);
        return;
    }
    FUZZ_REQUIRE(row != nullptr);   // the allocator does not fail here
    const ReplayProfile& game = reader.Profile();
    const char* fields = static_cast<const char*>(row);
    fuzz::RequireTerminatedFields(fields, game.columnCount);
    for (uint32_t i = 0; i < game.columnCount; ++i) {
        const char* field = fields + size_t(i) * kFieldSize;
        if (game.columns[i].source == ColumnSource::Host) FUZZ_REQUIRE(*field == '\0');
        if (result == ReadError) FUZZ_REQUIRE(*field == '\0');   // a replay without its sections: an empty row
        if (result == Ok && game.columns[i].source == ColumnSource::Comment) {
            // The comment's first bytes, never more than the section holds.
            const size_t n = std::strlen(field);
            FUZZ_REQUIRE(comment.result == kSectionFound && n <= comment.size &&
                         std::memcmp(field, comment.text, n) == 0);
        }
    }
    HostFree(row);
}

// Exactly the payload, then a NUL of its own when it has none.
void CheckText(const CReplayReader& reader, TextKind kind, const char* image, uint32_t size, const Found& section)
{
    HLOCAL text = reinterpret_cast<HLOCAL>(&size);
    const PluginResult result = MakeInfoText(reader, kind, image, size, &text);
    FUZZ_REQUIRE(result == (section.result == kSectionFound ? Ok : ReadError));
    if (result != Ok) {
        FUZZ_REQUIRE(text == reinterpret_cast<HLOCAL>(&size));
        return;
    }
    const char* block = static_cast<const char*>(text);
    const bool terminated = section.size && std::memchr(section.text, '\0', section.size);
    const size_t blockSize = section.size + (terminated ? 0 : 1);
    FUZZ_REQUIRE(std::memcmp(block, section.text, section.size) == 0);
    FUZZ_REQUIRE(strnlen(block, blockSize) < blockSize);
    HostFree(text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t length)
{
    const auto picked = fuzz::PickReplayGame(bytes, length);
    if (!picked.game || picked.restSize < 1 || length > UINT32_MAX) return 0;
    const CReplayReader reader(*picked.game);
    const char* rest = reinterpret_cast<const char*>(picked.rest + 1);
    size_t restSize = picked.restSize - 1;
    const char* name = nullptr;
    if (picked.rest[0] & 1) {
        const char* end = static_cast<const char*>(std::memchr(rest, '\0', restSize));
        if (!end) return 0;
        name = rest;
        restSize -= size_t(end + 1 - rest);
        rest = end + 1;
    }
    if (name) CheckSlot(reader, name, 1 + (picked.rest[0] >> 1) % 8);
    // An exact-size copy, so that a read past the replay is seen.
    char* image = static_cast<char*>(std::malloc(restSize));
    if (restSize) std::memcpy(image, rest, restSize);
    const uint32_t size = uint32_t(restSize);

    const Found info = CheckFound(kInfoSection, image, size);
    const Found comment = CheckFound(kCommentSection, image, size);
    const char* text = nullptr;
    uint32_t textSize = 0;
    FUZZ_REQUIRE(FindUserSection(2, image, size, &text, &textSize) == kSectionBadCall);
    CheckPair(image, size);
    if (info.result == kSectionFound) CheckInfo(*picked.game, info);

    ReplayInfo parsed;
    FUZZ_REQUIRE(reader.GetInfo(image, size, parsed) == (info.result == kSectionFound ? Ok : ReadError));
    CheckRow(reader, image, size, name, comment);
    CheckText(reader, TextKind::Information, image, size, info);
    CheckText(reader, TextKind::Comment, image, size, comment);
    std::free(image);
    return 0;
}

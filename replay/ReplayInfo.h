#pragma once
#include <cstdint>
#include <memory>

// Fields of the game's information text. Which of them a game has is given by
// its key list; the others stay empty.
enum class InfoField : uint8_t {
    Version, Name, Date, Chara, Route, Rank, Stage, Scene, Score, SlowRate,
    Count
};

// One entry of a game's key list. The value starts `skip` bytes from where
// the key was found: the key's length for an ordinary "Key " line, or a
// negative distance for a value that stands before its key (the scene of
// one game ends right before its "Score " line).
struct InfoKey {
    InfoField field;
    const char* key;
    int skip;
};

struct InfoKeyList {
    const InfoKey* keys;
    uint32_t count;
};

// The parsed information section: one pointer per field into the record's
// own line-split copy of the section. Every field is a NUL-terminated text;
// a key that does not occur gives the empty text.
struct ReplayInfo {
    const char* fields[static_cast<size_t>(InfoField::Count)];
    std::unique_ptr<char[]> text;

    const char* Get(InfoField field) const noexcept { return fields[static_cast<size_t>(field)]; }

    // Copies the payload (plus one NUL behind it, so that every search and
    // every value stays inside the copy), finds every key, then cuts the
    // copy into lines. Returns false if the copy cannot be allocated.
    bool Parse(const char* payload, uint32_t payloadSize, const InfoKeyList& keys) noexcept;
};

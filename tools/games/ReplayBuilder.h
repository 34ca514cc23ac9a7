#pragma once
// Builds replay files for tests: head, body, and user sections in any order.
#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

using Bytes = std::string;

inline void PutU32(Bytes& out, uint32_t value)
{
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

inline void SetU32(Bytes& out, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

inline Bytes Section(uint32_t type, const Bytes& payload, const char* tag = "USER")
{
    Bytes s(tag, 4);
    PutU32(s, static_cast<uint32_t>(payload.size() + 12));
    PutU32(s, type);
    return s + payload;
}

// magic, 8 header bytes, user-data offset, body of bodySize bytes, then the
// sections as given.
inline Bytes Replay(const char* magic, const std::vector<Bytes>& sections, uint32_t bodySize = 0)
{
    Bytes out(magic, 4);
    out += Bytes("\x01\x02\x03\x04\x05\x06\x07\x08", 8);
    PutU32(out, 16 + bodySize);
    for (uint32_t i = 0; i < bodySize; ++i) out.push_back(static_cast<char>(i * 7 + 1));
    for (const Bytes& s : sections) out += s;
    return out;
}

inline Bytes Comment(const Bytes& text) { return Section(1, text + Bytes(1, '\0')); }

inline const char* kSampleInfo =
    "Version 1.00a\r\n"
    "Name Alice\r\n"
    "Date 2026/01/02 03:04\r\n"
    "Chara PilotA\r\n"
    "Route Bad\r\n"
    "Rank Expert\r\n"
    "Stage All Clear\r\n"
    "Score 123456780\r\n"
    "Slow Rate 0.52\r\n";

inline Bytes Info(const Bytes& text = kSampleInfo) { return Section(0, text + Bytes(1, '\0')); }

}  // namespace testing_support

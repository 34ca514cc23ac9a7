#pragma once
#include <cstdint>
#include <cstring>

// Bounded little-endian reads from untrusted bytes. Every read is checked
// against the buffer's size; a read that would leave the buffer fails.
class ByteReader {
public:
    ByteReader(const void* data, uint32_t size) noexcept
        : m_data(static_cast<const unsigned char*>(data)), m_size(data ? size : 0) {}

    // True when [offset, offset + length) lies inside the buffer.
    bool Holds(uint32_t offset, uint32_t length) const noexcept
    {
        return offset <= m_size && length <= m_size - offset;
    }

    bool ReadU32(uint32_t offset, uint32_t& value) const noexcept
    {
        if (!Holds(offset, 4)) return false;
        const unsigned char* p = m_data + offset;
        value = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
        return true;
    }

    bool ReadI16(uint32_t offset, int16_t& value) const noexcept
    {
        if (!Holds(offset, 2)) return false;
        const unsigned char* p = m_data + offset;
        value = static_cast<int16_t>(uint16_t(p[0] | p[1] << 8));
        return true;
    }

    const char* At(uint32_t offset) const noexcept
    {
        return reinterpret_cast<const char*>(m_data) + offset;
    }

private:
    const unsigned char* m_data;
    uint32_t m_size;
};

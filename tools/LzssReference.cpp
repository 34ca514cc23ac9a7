#include "tools/LzssReference.h"

namespace {

class BitSource {
public:
    BitSource(const unsigned char* source, uint32_t length) noexcept : m_source(source), m_length(length) {}

    uint32_t Bit() noexcept
    {
        if (m_mask == 0x80) {
            // A fetch past the end yields 0 and reads nothing.
            m_current = m_position < m_length ? m_source[m_position++] : 0;
        }
        const uint32_t bit = (m_current & m_mask) ? 1 : 0;
        m_mask >>= 1;
        if (m_mask == 0) m_mask = 0x80;
        return bit;
    }

    uint32_t Bits(int count) noexcept
    {
        uint32_t value = 0;
        while (count-- > 0) value = value << 1 | Bit();
        return value;
    }

private:
    const unsigned char* m_source;
    uint32_t m_length;
    uint32_t m_position = 0;
    unsigned char m_current = 0;
    unsigned char m_mask = 0x80;
};

}  // namespace

void DecodeLzssReference(const void* source, uint32_t sourceLength, void* destination,
                         uint32_t destinationLength) noexcept
{
    unsigned char* const out = static_cast<unsigned char*>(destination);
    if (!out || destinationLength == 0) return;
    if (!source || sourceLength == 0) {
        for (uint32_t i = 0; i < destinationLength; ++i) out[i] = 0xFF;
        return;
    }

    BitSource in(static_cast<const unsigned char*>(source), sourceLength);
    unsigned char window[8192] = {};
    uint32_t writePosition = 1;
    uint32_t outPosition = 0;
    for (;;) {
        if (in.Bit()) {
            const unsigned char byte = static_cast<unsigned char>(in.Bits(8));
            out[outPosition++] = byte;
            if (outPosition == destinationLength) return;
            window[writePosition] = byte;
            writePosition = (writePosition + 1) % 8192;
            continue;
        }
        const uint32_t position = in.Bits(13);
        if (position == 0) return;
        const uint32_t length = in.Bits(4);
        for (uint32_t j = 0; j <= length + 2; ++j) {
            const unsigned char byte = window[(position + j) % 8192];
            out[outPosition++] = byte;
            if (outPosition == destinationLength) return;
            window[writePosition] = byte;
            writePosition = (writePosition + 1) % 8192;
        }
    }
}

#include "image/Lzss.h"

#include <cstring>

namespace {

constexpr uint32_t kWindowMask = kLzssWindowSize - 1;
constexpr unsigned kLiteralBits = 9;  // flag, byte
constexpr unsigned kCopyBits = 18;    // flag, position, length

// The machine's word, for reading bits and copying: in the 32-bit plug-ins a
// 64-bit shift or move takes two registers and several instructions.
using Word = uintptr_t;
constexpr unsigned kWordBits = sizeof(Word) * 8;

inline Word LoadWord(const unsigned char* from) noexcept
{
    Word word;
    std::memcpy(&word, from, sizeof word);
    return word;
}

inline void StoreWord(unsigned char* to, Word word) noexcept
{
    std::memcpy(to, &word, sizeof word);
}

inline void CopyWord(unsigned char* to, const unsigned char* from) noexcept
{
    StoreWord(to, LoadWord(from));
}

inline void Copy4(unsigned char* to, const unsigned char* from) noexcept
{
    uint32_t word;
    std::memcpy(&word, from, sizeof word);
    std::memcpy(to, &word, sizeof word);
}

// Tokens straight from the source: the next one starts m_bit bits (0 to 7)
// into the byte at m_next, and one unaligned load of a word holds the next
// kValidBits: room for a copy (18 bits) or two literals in 32-bit code, six
// literals in 64-bit. No buffer to refill, and only a pointer and a count to
// keep in registers, of which 32-bit x86 has few. The last bytes are read
// from a copy with zeros behind them, so that bits past the source read as 0.
class BitReader {
public:
    static constexpr unsigned kValidBits = kWordBits - 7;
    using Tail = unsigned char[3 * sizeof(Word)];

    BitReader(const unsigned char* source, uint32_t length, Tail& tail) noexcept
        : m_next(source), m_end(source + length),
          m_last(length >= sizeof(Word) ? uintptr_t(source + length - sizeof(Word)) : 0), m_tail(tail)
    {}

    // Whether Peek may load at m_next. When it may not, MoveToTail moves to
    // the copy of the last bytes, and answers false once that has been read
    // up to where only zeros (an end marker) are left.
    bool Ready() const noexcept { return uintptr_t(m_next) <= m_last; }
    bool MoveToTail() noexcept
    {
        if (!m_end) return false;
        std::memcpy(m_tail, m_next, size_t(m_end - m_next));  // fewer than a word
        m_next = m_tail;
        m_end = nullptr;
        m_last = uintptr_t(m_tail + sizeof(Tail) - sizeof(Word));
        return true;
    }

    // The next bits, the first at the top.
    Word Peek() const noexcept { return BigEndian(LoadWord(m_next)) << m_bit; }

    void Skip(unsigned count) noexcept
    {
        m_bit += count;
        m_next += m_bit >> 3;
        m_bit &= 7;
    }

private:
    static Word BigEndian(Word word) noexcept
    {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
        return word;
#else
        if constexpr (sizeof(Word) == 8) {
            return Word(__builtin_bswap64(word));
        } else {
            return Word(__builtin_bswap32(uint32_t(word)));
        }
#endif
    }

    const unsigned char* m_next;
    const unsigned char* m_end;  // null once in the tail
    uintptr_t m_last;            // the last address Peek may load from
    unsigned m_bit = 0;
    unsigned char* const m_tail;
};

// Copies 3 to 18 bytes from a range that ends at or before the destination,
// in words that may overlap each other; nothing outside [to, to + length)
// is written.
inline void CopyDisjoint(unsigned char* to, const unsigned char* from, uint32_t length) noexcept
{
    if (sizeof(Word) == 8 && length >= 8) {
        CopyWord(to, from);
        CopyWord(to + length - 8, from + length - 8);
        if (length > 16) CopyWord(to + 8, from + 8);
    } else if (length >= 4) {
        Copy4(to, from);
        Copy4(to + length - 4, from + length - 4);
        if (length > 8) {
            Copy4(to + 4, from + 4);
            Copy4(to + length - 8, from + length - 8);
            if (length > 16) Copy4(to + 8, from + 8);
        }
    } else {
        to[0] = from[0];
        to[1] = from[1];
        to[2] = from[2];
    }
}

// Copies 3 to 18 bytes from `distance` (2 or more, less than the length)
// back, where the range reaches into the bytes being written: they repeat
// with a period of distance. Chunks no longer than the distance read only
// bytes written before them; so does the last one, which ends at the end.
inline void CopyOverlapping(unsigned char* to, uint32_t distance, uint32_t length) noexcept
{
    const unsigned char* from = to - distance;
    if (sizeof(Word) == 8 && distance >= 8) {
        for (uint32_t j = 0; j + 8 < length; j += 8) CopyWord(to + j, from + j);
        CopyWord(to + length - 8, from + length - 8);
    } else if (distance >= 4) {
        for (uint32_t j = 0; j + 4 < length; j += 4) Copy4(to + j, from + j);
        Copy4(to + length - 4, from + length - 4);
    } else {
        for (uint32_t j = 0; j < length; ++j) to[j] = from[j];
    }
}

// Fills 3 to 18 bytes with one byte, a word at a time.
inline void Fill(unsigned char* to, unsigned char byte, uint32_t length) noexcept
{
    if (length < sizeof(Word)) {
        for (uint32_t j = 0; j < length; ++j) to[j] = byte;
        return;
    }
    const Word word = Word(byte) * (~Word(0) / 0xFF);
    for (uint32_t j = 0; j + sizeof(Word) < length; j += sizeof(Word)) StoreWord(to + j, word);
    StoreWord(to + length - sizeof(Word), word);
}

// Where the next output byte goes, before the end of its row.
struct Place {
    unsigned char* at;
    unsigned char* end;
};

// The rows as the decoder walks them.
class Rows {
public:
    explicit Rows(const LzssRows& rows) noexcept
        : first(rows.first), step(rows.step), length(rows.length), jump(ptrdiff_t(rows.length) - rows.step),
          reciprocal(0xFFFFFFFFu / rows.length + (rows.length > 1)), m_rowsLeft(rows.count - 1),
          m_bias(rows.length - uintptr_t(rows.first + rows.length))
    {}

    unsigned char* const first;
    const ptrdiff_t step;
    const uint32_t length;
    // From a byte to the byte of the same column in the row before.
    const ptrdiff_t jump;
    // n / length is (n * reciprocal) >> 32 for every n below length + 8192
    // when length is 2 to 65536; in rows of 1 byte every copy goes byte by
    // byte.
    const uint32_t reciprocal;

    // The output bytes before `at`.
    size_t Produced(const unsigned char* at) const noexcept { return uintptr_t(at) + m_bias; }

    // At the end of a row: moves to the next one, or answers false after
    // the last.
    bool Next(Place& place) noexcept
    {
        if (m_rowsLeft == 0) return false;
        --m_rowsLeft;
        place.at = place.end - length + step;
        place.end = place.at + length;
        m_bias += length - step;
        return true;
    }

private:
    uint32_t m_rowsLeft;
    uintptr_t m_bias;  // the output bytes up to the row's end, less the end's address
};

// A copy byte by byte, for what the fast path leaves: a copy that starts
// before the first output byte, or whose source or destination runs over the
// end of a row. Answers a null place once the rows are full.
Place CopyAcrossRows(Rows& rows, Place place, uint32_t distance, uint32_t length) noexcept
{
    const size_t produced = rows.Produced(place.at);
    const uint32_t column = uint32_t(rows.length - size_t(place.end - place.at));

    // The source: zeros while it lies before the first output byte, then
    // the output from sourceRow + sourceColumn on.
    size_t zeros = 0;
    unsigned char* sourceRow = place.at - column;
    uint32_t sourceColumn;
    if (distance > produced) {
        zeros = distance - produced;
        sourceRow = rows.first;
        sourceColumn = 0;
    } else if (distance <= column) {
        sourceColumn = column - distance;
    } else {
        uint32_t back = distance - column;  // from the end of the row before
        sourceRow -= rows.step;
        for (; back > rows.length; back -= rows.length) sourceRow -= rows.step;
        sourceColumn = rows.length - back;
    }

    for (uint32_t j = 0; j < length; ++j) {
        unsigned char byte = 0;
        if (zeros > 0) {
            --zeros;
        } else {
            byte = sourceRow[sourceColumn];
            if (++sourceColumn == rows.length) {
                sourceRow += rows.step;
                sourceColumn = 0;
            }
        }
        *place.at++ = byte;
        if (place.at == place.end && !rows.Next(place)) return {nullptr, nullptr};
    }
    return place;
}

// How a copy finds the row its source starts in.
enum class RowKind {
    kOne,    // one row, which holds every byte back to the source
    kShort,  // rows shorter than the window: the rows back by a multiplication
    kLong,   // longer rows: this row or the one before
};

template <RowKind kKind>
void DecodeInto(const unsigned char* source, uint32_t sourceLength, Rows& rows) noexcept
{
    BitReader::Tail tail = {};
    BitReader in(source, sourceLength, tail);
    Place place{rows.first, rows.first + rows.length};
    for (;;) {
        if (!in.Ready() && !in.MoveToTail()) return;
        Word bits = in.Peek();
        if (bits >> (kWordBits - 1)) {
            // As many literals in a row as the bits loaded hold.
            unsigned used = 0;
            do {
                *place.at = static_cast<unsigned char>(bits >> (kWordBits - kLiteralBits));
                bits <<= kLiteralBits;
                used += kLiteralBits;
                if (++place.at == place.end && !rows.Next(place)) return;
            } while (used + kLiteralBits <= BitReader::kValidBits && (bits >> (kWordBits - 1)));
            in.Skip(used);
            continue;
        }
        const uint32_t token = uint32_t(bits >> (kWordBits - kCopyBits));
        const uint32_t position = token >> 4;
        if (position == 0) return;
        in.Skip(kCopyBits);

        const uint32_t length = (token & 15) + 3;
        const size_t room = size_t(place.end - place.at);
        const size_t produced = rows.Produced(place.at);
        const uint32_t distance = 1 + ((uint32_t(produced) - position) & kWindowMask);
        // The source starts `back` rows before the destination's, and must
        // end in that row. Found by arithmetic alone: a branch on it would be
        // as unpredictable as the noise in a picture.
        size_t back = 0;
        bool sourceInOneRow = true;
        if (kKind != RowKind::kOne) {
            const size_t reach = distance + room;  // from the source to the end of this row
            if (kKind == RowKind::kShort) {
                back = size_t((uint64_t(reach - 1) * rows.reciprocal) >> 32);
            } else {
                back = reach > rows.length;
            }
            sourceInOneRow = back * rows.length + length <= reach;
        }
        if (length < room && sourceInOneRow && distance <= produced) {
            unsigned char* const to = place.at;
            if (distance >= length) {
                CopyDisjoint(to, to + (ptrdiff_t(back) * rows.jump - ptrdiff_t(distance)), length);
            } else if (distance == 1) {
                Fill(to, to[-1], length);
            } else {
                CopyOverlapping(to, distance, length);
            }
            place.at = to + length;
        } else {
            place = CopyAcrossRows(rows, place, distance, length);
            if (!place.at) return;
        }
    }
}

}  // namespace

void DecodeLzssRows(const void* source, uint32_t sourceLength, const LzssRows& rows) noexcept
{
    if (!rows.first || rows.length == 0 || rows.count == 0) return;
    if (!source || sourceLength == 0) {
        for (uint32_t i = 0; i < rows.count; ++i) std::memset(rows.first + ptrdiff_t(i) * rows.step, 0xFF, rows.length);
        return;
    }
    const unsigned char* const bytes = static_cast<const unsigned char*>(source);
    Rows walk(rows);
    if (rows.count == 1) {
        DecodeInto<RowKind::kOne>(bytes, sourceLength, walk);
    } else if (rows.length < kLzssWindowSize) {
        DecodeInto<RowKind::kShort>(bytes, sourceLength, walk);
    } else {
        DecodeInto<RowKind::kLong>(bytes, sourceLength, walk);
    }
}

void DecodeLzss(const void* source, uint32_t sourceLength, void* destination, uint32_t destinationLength) noexcept
{
    DecodeLzssRows(source, sourceLength, {static_cast<unsigned char*>(destination), 0, destinationLength, 1});
}

#pragma once
// Bytes in a heap block of exactly their size, so that the sanitizers see a
// read or write just past the end.
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

namespace testing_support {

class ExactBytes {
public:
    explicit ExactBytes(const std::string& bytes) : m_size(bytes.size()), m_data(new char[bytes.size()])
    {
        if (m_size) std::memcpy(m_data.get(), bytes.data(), m_size);
    }
    // size bytes of room, each set to fill.
    ExactBytes(size_t size, char fill) : m_size(size), m_data(new char[size]) { std::memset(m_data.get(), fill, size); }

    char* data() { return m_data.get(); }
    const char* data() const { return m_data.get(); }
    uint32_t size() const { return uint32_t(m_size); }
    std::string str() const { return std::string(m_data.get(), m_size); }

private:
    size_t m_size;
    std::unique_ptr<char[]> m_data;
};

}  // namespace testing_support

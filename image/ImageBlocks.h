#pragma once
#include <cstddef>

#include "common/HostMemory.h"

// Where GetImage takes its blocks from. The plug-ins use the host's heap
// (HostBlocks); tests put in one that fails on demand and counts what is
// still outstanding.
class IBlockSource {
public:
    // A zero-filled block of n bytes, or null.
    virtual HLOCAL Alloc(size_t n) noexcept = 0;
    virtual void Free(HLOCAL block) noexcept = 0;

protected:
    ~IBlockSource() = default;
};

// HostAlloc and HostFree.
IBlockSource& HostBlocks() noexcept;

// Owns one block until it is handed over with Release.
class OwnedBlock {
public:
    OwnedBlock(IBlockSource& source, size_t n) noexcept : m_source(source), m_block(source.Alloc(n)) {}
    ~OwnedBlock()
    {
        if (m_block) m_source.Free(m_block);
    }
    OwnedBlock(const OwnedBlock&) = delete;
    OwnedBlock& operator=(const OwnedBlock&) = delete;

    explicit operator bool() const noexcept { return m_block != nullptr; }
    unsigned char* Bytes() const noexcept { return static_cast<unsigned char*>(m_block); }

    HLOCAL Release() noexcept
    {
        HLOCAL block = m_block;
        m_block = nullptr;
        return block;
    }

private:
    IBlockSource& m_source;
    HLOCAL m_block;
};

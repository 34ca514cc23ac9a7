#pragma once
// The reader of the throwing replay plug-in: Kvoradan's, except that finding
// a section throws, and so does the magic check of a "thrw" file.
#include "plugins/kvorarec/KvoraRec.h"
#include "wine/throwing/ThrowingReader.h"

class CThrowingRec final : public CReplayReader {
public:
    CThrowingRec() noexcept : CReplayReader(kKvoraProfile) {}

    bool CheckMagic(const char* data, uint32_t size) const override
    {
        throwing::ThrowOnThrowingMagic(data, size);
        return CReplayReader::CheckMagic(data, size);
    }
    int GetInfoSection(const char*, uint32_t, const char**, uint32_t*) const override { throw std::bad_alloc(); }
    int GetCommentSection(const char*, uint32_t, const char**, uint32_t*) const override { throw std::bad_alloc(); }
};

using CPluginReader = CThrowingRec;

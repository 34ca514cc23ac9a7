#pragma once
// The reader of the throwing picture plug-in: Bryssdan's, except that
// decoding a picture throws, and so does the magic check of a "thrw" file.
#include "plugins/brysspic/BryssPic.h"
#include "wine/throwing/ThrowingReader.h"

class CThrowingPic final : public CImageReader {
public:
    CThrowingPic() noexcept : CImageReader(kBryssProfile) {}

    bool CheckMagic(const char* data, uint32_t size) const override
    {
        throwing::ThrowOnThrowingMagic(data, size);
        return CImageReader::CheckMagic(data, size);
    }
    int GetImage(const char*, uint32_t, HLOCAL*, HLOCAL*) const override { throw std::bad_alloc(); }
};

using CPluginReader = CThrowingPic;

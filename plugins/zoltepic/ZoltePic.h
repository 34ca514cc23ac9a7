#pragma once
#include "image/CImageReader.h"

extern const ImageProfile kZolteProfile;

// Reader of the game's best shots ("BSTS", bs_*.dat): 24-bit pictures.
class CZoltePic final : public CImageReader {
public:
    CZoltePic() noexcept : CImageReader(kZolteProfile) {}
};

#pragma once
#include "image/CImageReader.h"

extern const ImageProfile kBryssProfile;

// Reader of the game's screenshots ("BST3", sc*.dat): 32-bit pictures.
class CBryssPic final : public CImageReader {
public:
    CBryssPic() noexcept : CImageReader(kBryssProfile) {}
};

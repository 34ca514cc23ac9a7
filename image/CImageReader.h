#pragma once
#include <cstdint>

#include "image/IImage.h"
#include "image/ImageBlocks.h"
#include "image/ImageProfile.h"

// The reader every picture game uses; the game enters only through its
// profile. Each game's reader (CBryssPic, CZoltePic) is this bound to the
// game's profile (common/GameReader.h).
class CImageReader : public IImage {
public:
    using GameProfile = ImageProfile;

    // Blocks come from the host's heap unless a test passes its own source.
    explicit CImageReader(const ImageProfile& profile, IBlockSource& blocks = HostBlocks()) noexcept
        : m_profile(profile), m_blocks(blocks) {}

    bool CheckMagic(const char* data, uint32_t size) const override;

    // Decodes the stream after the header and hands over a bottom-up bitmap
    // of the profile's depth; rows are padded with zeros to 4 bytes. A width
    // or height of 0 or below or above kMaxShotSide, or a pixel block above
    // kMaxShotBlock (ShotHeader.h), gives 4 before anything is allocated.
    // On result 4 both out-arguments are set to null and every block made on
    // the way has been released; on 1 and 2 they are untouched.
    int GetImage(const char* data, uint32_t size, HLOCAL* bits, HLOCAL* info) const override;

    const ImageProfile& Profile() const noexcept { return m_profile; }

private:
    const ImageProfile& m_profile;
    IBlockSource& m_blocks;
};

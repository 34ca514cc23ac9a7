#pragma once
#include <cstdint>
#include <string>

// A picture like a game screenshot, for tests and benchmarks: a shaded scene
// with photographic noise (few repeats), flat panels, and small glyphs
// repeated like text. width x height pixels of bytesPerPixel bytes (blue,
// green, red, then 0xFF for a fourth byte), rows top to bottom, no padding.
// The same arguments give the same picture.
std::string MakeSamplePicture(uint32_t width, uint32_t height, uint32_t bytesPerPixel, uint32_t seed);

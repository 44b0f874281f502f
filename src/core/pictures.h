#pragma once
// Pictures as 32-bit pixels, and what is done to them before they are shown: fitted into a box
// with their proportions kept, and laid over a checkerboard so that their transparent parts show.
#include <cstdint>
#include <vector>

#include "core/window_layout.h"

// The largest side of a picture this program decodes.
inline constexpr int MaxPictureSide = 4096;

// Pixels row by row from the top, each 0xAARRGGBB: in memory the bytes B, G, R, A, as a 32-bit
// device-independent bitmap has them.
struct TPicture {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;
  bool operator==(const TPicture&) const = default;
};

// The largest size of the picture's proportions that fits the box, at least one pixel each way;
// never larger than the picture unless enlarge.
TPixelSize FitInside(TPixelSize picture, TPixelSize box, bool enlarge);

// The picture at another size: each new pixel the average of the pixels it covers (weighted by
// their alpha, so that transparent pixels lend no colour), or the one it falls in when enlarged.
TPicture ScaledPicture(const TPicture& picture, TPixelSize size);

// Lays the picture over a checkerboard of light and darker grey squares; every pixel is opaque then.
void LayOverCheckerboard(TPicture& picture);

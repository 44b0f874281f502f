#include "core/pictures.h"

#include <algorithm>

namespace {

constexpr int CheckerSquare = 8;
constexpr uint32_t CheckerLight = 0xFFFFFF, CheckerDark = 0xC8C8C8;

uint32_t Channel(uint32_t pixel, int shift) { return pixel >> shift & 0xFF; }

// Where the pixels a new pixel covers begin and end along one side; at least one.
std::pair<int, int> Covered(int index, int from, int to) {
  const int begin = static_cast<int>(int64_t{index} * from / to);
  const int end = static_cast<int>((int64_t{index} + 1) * from / to);
  return {begin, std::max(end, begin + 1)};
}

uint32_t AveragePixel(const TPicture& picture, std::pair<int, int> xs, std::pair<int, int> ys) {
  uint64_t alpha = 0, red = 0, green = 0, blue = 0;
  for (int y = ys.first; y < ys.second; ++y)
    for (int x = xs.first; x < xs.second; ++x) {
      const uint32_t pixel = picture.pixels[static_cast<size_t>(y) * picture.width + x];
      const uint32_t a = Channel(pixel, 24);
      alpha += a;
      red += Channel(pixel, 16) * a;
      green += Channel(pixel, 8) * a;
      blue += Channel(pixel, 0) * a;
    }
  if (alpha == 0) return 0;
  const uint64_t count = static_cast<uint64_t>(xs.second - xs.first) * (ys.second - ys.first);
  return static_cast<uint32_t>((alpha / count) << 24 | (red / alpha) << 16 | (green / alpha) << 8 | blue / alpha);
}

}  // namespace

TPixelSize FitInside(TPixelSize picture, TPixelSize box, bool enlarge) {
  if (picture.Width <= 0 || picture.Height <= 0) return {0, 0};
  if (!enlarge && picture.Width <= box.Width && picture.Height <= box.Height) return picture;
  // Width-bound when the picture is wider than the box, in proportion.
  if (int64_t{picture.Width} * box.Height >= int64_t{picture.Height} * box.Width)
    return {box.Width, std::max(1, static_cast<int>(int64_t{picture.Height} * box.Width / picture.Width))};
  return {std::max(1, static_cast<int>(int64_t{picture.Width} * box.Height / picture.Height)), box.Height};
}

TPicture ScaledPicture(const TPicture& picture, TPixelSize size) {
  TPicture scaled{size.Width, size.Height, {}};
  scaled.pixels.reserve(static_cast<size_t>(size.Width) * size.Height);
  for (int y = 0; y < size.Height; ++y) {
    const auto ys = Covered(y, picture.height, size.Height);
    for (int x = 0; x < size.Width; ++x)
      scaled.pixels.push_back(AveragePixel(picture, Covered(x, picture.width, size.Width), ys));
  }
  return scaled;
}

void LayOverCheckerboard(TPicture& picture) {
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x) {
      uint32_t& pixel = picture.pixels[static_cast<size_t>(y) * picture.width + x];
      const uint32_t ground = (x / CheckerSquare + y / CheckerSquare) % 2 ? CheckerDark : CheckerLight;
      const uint32_t a = Channel(pixel, 24);
      uint32_t laid = 0xFF000000;
      for (int shift : {0, 8, 16})
        laid |= (Channel(pixel, shift) * a + Channel(ground, shift) * (255 - a) + 127) / 255 << shift;
      pixel = laid;
    }
}

#include "core/texture_decode.h"

#include "core/little_endian.h"

namespace {

constexpr uint32_t Opaque = 0xFF000000;

uint32_t Expand565(uint16_t colour) {
  const uint32_t red = colour >> 11 & 31, green = colour >> 5 & 63, blue = colour & 31;
  return Opaque | (red << 3 | red >> 2) << 16 | (green << 2 | green >> 4) << 8 | (blue << 3 | blue >> 2);
}

// weightA parts of a and weightB parts of b, channel by channel, the sum of weights dividing.
uint32_t Blend(uint32_t a, uint32_t b, uint32_t weightA, uint32_t weightB) {
  uint32_t mixed = Opaque;
  for (int shift : {0, 8, 16})
    mixed |= ((a >> shift & 0xFF) * weightA + (b >> shift & 0xFF) * weightB) / (weightA + weightB) << shift;
  return mixed;
}

// A 4 by 4 colour block: two 5:6:5 colours and sixteen 2-bit indexes. The lesser first colour
// means three colours and transparent black, unless the block always has four (DXT3 and DXT5).
std::array<uint32_t, 16> ColourBlock(const char* block, bool alwaysFourColours) {
  const uint16_t first = LoadLe16(block), second = LoadLe16(block + 2);
  std::array<uint32_t, 4> colours = {Expand565(first), Expand565(second), 0, 0};
  if (first > second || alwaysFourColours) {
    colours[2] = Blend(colours[0], colours[1], 2, 1);
    colours[3] = Blend(colours[0], colours[1], 1, 2);
  } else {
    colours[2] = Blend(colours[0], colours[1], 1, 1);
    colours[3] = 0;  // transparent black
  }
  const uint32_t indexes = LoadLe32(block + 4);
  std::array<uint32_t, 16> texels;
  for (int i = 0; i < 16; ++i) texels[i] = colours[indexes >> (2 * i) & 3];
  return texels;
}

// Sixteen 4-bit alphas.
std::array<uint32_t, 16> ExplicitAlphas(const char* block) {
  const uint64_t bits = LoadLe32(block) | uint64_t{LoadLe32(block + 4)} << 32;
  std::array<uint32_t, 16> alphas;
  for (int i = 0; i < 16; ++i) alphas[i] = (bits >> (4 * i) & 15) * 17;
  return alphas;
}

// Two alphas and sixteen 3-bit indexes: between them in seven steps, or in five steps with
// fully transparent and fully opaque as the last two.
std::array<uint32_t, 16> InterpolatedAlphas(const char* block) {
  const uint32_t first = static_cast<uint8_t>(block[0]), second = static_cast<uint8_t>(block[1]);
  std::array<uint32_t, 8> levels = {first, second, 0, 0, 0, 0, 0, 255};
  const uint32_t steps = first > second ? 7 : 5;
  for (uint32_t i = 1; i < steps; ++i) levels[i + 1] = (first * (steps - i) + second * i) / steps;
  uint64_t bits = 0;
  for (int i = 7; i >= 2; --i) bits = bits << 8 | static_cast<uint8_t>(block[i]);
  std::array<uint32_t, 16> alphas;
  for (int i = 0; i < 16; ++i) alphas[i] = levels[bits >> (3 * i) & 7];
  return alphas;
}

void DecodeBlocks(const TEncodedPicture& encoded, TPicture& picture) {
  const auto format = static_cast<TTextureFormat>(encoded.format);
  const size_t blockBytes = format == TTextureFormat::DXT1 ? 8 : 16;
  const int blocksWide = (picture.width + 3) / 4;
  for (int blockY = 0; blockY < (picture.height + 3) / 4; ++blockY)
    for (int blockX = 0; blockX < blocksWide; ++blockX) {
      const char* block = encoded.data.data() + (static_cast<size_t>(blockY) * blocksWide + blockX) * blockBytes;
      std::array<uint32_t, 16> texels = ColourBlock(block + blockBytes - 8, format != TTextureFormat::DXT1);
      if (format != TTextureFormat::DXT1) {
        const auto alphas = format == TTextureFormat::DXT3 ? ExplicitAlphas(block) : InterpolatedAlphas(block);
        for (int i = 0; i < 16; ++i) texels[i] = (texels[i] & 0xFFFFFF) | alphas[i] << 24;
      }
      for (int i = 0; i < 16; ++i) {
        const int x = blockX * 4 + i % 4, y = blockY * 4 + i / 4;
        if (x < picture.width && y < picture.height)
          picture.pixels[static_cast<size_t>(y) * picture.width + x] = texels[i];
      }
    }
}

}  // namespace

std::optional<uint64_t> PictureBytes(uint8_t format, uint32_t width, uint32_t height) {
  const uint64_t pixels = uint64_t{width} * height;
  const uint64_t blocks = ((uint64_t{width} + 3) / 4) * ((uint64_t{height} + 3) / 4);
  switch (static_cast<TTextureFormat>(format)) {
    case TTextureFormat::P8:
    case TTextureFormat::L8: return pixels;
    case TTextureFormat::RGBA8: return pixels * 4;
    case TTextureFormat::DXT1: return blocks * 8;
    case TTextureFormat::DXT3:
    case TTextureFormat::DXT5: return blocks * 16;
  }
  return std::nullopt;
}

std::string_view TextureFormatName(uint8_t format) {
  static constexpr std::string_view Names[] = {"P8",   "RGBA7", "RGB16", "DXT1", "RGB8", "RGBA8",
                                               "NODATA", "DXT3", "DXT5", "L8", "G16", "RRRGGGBBB"};
  return format < std::size(Names) ? Names[format] : "unknown";
}

TPicture DecodePicture(const TEncodedPicture& encoded) {
  TPicture picture{encoded.width, encoded.height, {}};
  const size_t count = static_cast<size_t>(encoded.width) * encoded.height;
  picture.pixels.resize(count);
  const auto* bytes = reinterpret_cast<const unsigned char*>(encoded.data.data());
  switch (static_cast<TTextureFormat>(encoded.format)) {
    case TTextureFormat::P8:
      for (size_t i = 0; i < count; ++i) {
        const uint32_t colour = (*encoded.palette)[bytes[i]];
        picture.pixels[i] = encoded.masked && bytes[i] == 0 ? 0 : encoded.alphaShown ? colour : colour | Opaque;
      }
      return picture;
    case TTextureFormat::L8:
      for (size_t i = 0; i < count; ++i) picture.pixels[i] = Opaque | bytes[i] * 0x010101u;
      return picture;
    case TTextureFormat::RGBA8:  // stored B, G, R, A: a pixel as it is in memory
      for (size_t i = 0; i < count; ++i) picture.pixels[i] = LoadLe32(encoded.data.data() + 4 * i);
      break;
    default:
      DecodeBlocks(encoded, picture);
      break;
  }
  if (!encoded.alphaShown)
    for (uint32_t& pixel : picture.pixels) pixel |= Opaque;
  return picture;
}

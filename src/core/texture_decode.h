#pragma once
// The game's texture formats: how many bytes a picture of each takes, and its pixels decoded to
// 32-bit ones. Palette pictures, the three block-compressed formats, 32-bit colour and 8-bit grey
// are decoded; the others are only named.
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "core/pictures.h"

enum class TTextureFormat : uint8_t { P8 = 0, DXT1 = 3, RGBA8 = 5, DXT3 = 7, DXT5 = 8, L8 = 9 };

// A palette's 256 colours as pixels (0xAARRGGBB).
using TPalette = std::array<uint32_t, 256>;

// The bytes a width by height picture of the format takes (a block-compressed one at least one
// 4 by 4 block, however small); nothing for a format that is not decoded.
std::optional<uint64_t> PictureBytes(uint8_t format, uint32_t width, uint32_t height);

// The format's name, for the reason a picture is not shown.
std::string_view TextureFormatName(uint8_t format);

struct TEncodedPicture {
  uint8_t format = 0;
  int width = 0, height = 0;
  std::string_view data;             // at least PictureBytes of the format and size
  const TPalette* palette = nullptr;  // for P8
  // The texture's own alpha is shown only for a texture flagged as having it: others often hold
  // nothing meaningful there. A masked palette picture's colour 0 is transparent.
  bool alphaShown = false;
  bool masked = false;
};

TPicture DecodePicture(const TEncodedPicture& encoded);

#include "core/package_pictures.h"

#include <optional>
#include <vector>

#include "core/texture_decode.h"
#include "core/text_rules.h"

namespace {

// Eleven for a 1024 by 1024 texture; a longer list is no list of mips.
constexpr int32_t MaxMips = 16;

struct TMip {
  uint64_t dataOffset = 0;
  uint32_t length = 0;
  int width = 0, height = 0;
};

struct TTexture {
  uint8_t format = 0;  // P8 when the property is left out, as the class's default is
  int32_t palette = 0;
  bool masked = false, alphaTexture = false;
  std::vector<TMip> mips;
};

TPictureReading Absent(TPictureAbsence absence, std::string_view detail = {}) {
  return {{}, absence, std::string(detail)};
}

// The texture's properties, then its mips: each the absolute offset just past its data, the
// data's length, the data, its width and height and their logarithms.
TTexture ReadTexture(const TPackageObjects& objects, const TPackageExport& object) {
  TFileCursor cursor = objects.OpenObject(object);
  const TPropertyTags tags = objects.ReadProperties(cursor, {"Format", "Palette", "bMasked", "bAlphaTexture"});
  TTexture texture;
  if (const TPropertyTag* tag = tags.Find("Format", TPropertyType::Byte)) texture.format = objects.ByteValue(*tag);
  if (const TPropertyTag* tag = tags.Find("Palette", TPropertyType::Object))
    texture.palette = objects.ObjectValue(*tag);
  if (const TPropertyTag* tag = tags.Find("bMasked", TPropertyType::Bool)) texture.masked = tag->boolValue;
  if (const TPropertyTag* tag = tags.Find("bAlphaTexture", TPropertyType::Bool)) texture.alphaTexture = tag->boolValue;
  const int32_t count = cursor.CompactIndex();
  if (count < 0 || count > MaxMips) Refuse(TPackageFault::BadMips);
  for (int32_t i = 0; i < count; ++i) {
    const uint32_t end = cursor.Word();
    const int32_t length = cursor.CompactIndex();
    if (length < 0) Refuse(TPackageFault::BadMips);
    TMip& mip = texture.mips.emplace_back(TMip{cursor.Position(), static_cast<uint32_t>(length)});
    cursor.Skip(mip.length);
    if (end != cursor.Position()) Refuse(TPackageFault::BadMips);
    mip.width = static_cast<int32_t>(cursor.Word());
    mip.height = static_cast<int32_t>(cursor.Word());
    cursor.Skip(2);  // their logarithms
  }
  return texture;
}

// The smallest mip that still fills the picture's place in the box, or the largest there is;
// mips too large or shorter than their size are passed over.
const TMip* ChooseMip(const TTexture& texture, const TPictureBox& box, bool& tooLarge) {
  std::vector<const TMip*> usable;
  for (const TMip& mip : texture.mips) {
    if (mip.width < 1 || mip.height < 1) continue;
    if (mip.width > MaxPictureSide || mip.height > MaxPictureSide) {
      tooLarge = true;
      continue;
    }
    if (mip.length >= *PictureBytes(texture.format, mip.width, mip.height)) usable.push_back(&mip);
  }
  const TMip* largest = nullptr;
  for (const TMip* mip : usable)
    if (!largest || int64_t{mip->width} * mip->height > int64_t{largest->width} * largest->height) largest = mip;
  if (!largest) return nullptr;
  const TPixelSize shown = FitInside({largest->width, largest->height}, box.size, box.enlarge);
  const TMip* chosen = largest;
  for (const TMip* mip : usable)
    if (mip->width >= shown.Width && mip->height >= shown.Height &&
        int64_t{mip->width} * mip->height < int64_t{chosen->width} * chosen->height)
      chosen = mip;
  return chosen;
}

TPalette ReadPalette(const TPackageObjects& objects, int32_t reference) {
  const TPackageExport& object = objects.ExportOf(reference);
  if (!EqualsIgnoringAsciiCase(objects.ClassNameOf(object), "Palette")) Refuse(TPackageFault::BadProperty);
  TFileCursor cursor = objects.OpenObject(object);
  objects.ReadProperties(cursor, {});
  const int32_t count = cursor.CompactIndex();
  if (count < 1 || count > 256) Refuse(TPackageFault::BadProperty);
  TPalette palette;
  palette.fill(0xFF000000);
  for (int32_t i = 0; i < count; ++i) {
    const uint32_t red = cursor.Byte(), green = cursor.Byte(), blue = cursor.Byte(), alpha = cursor.Byte();
    palette[static_cast<size_t>(i)] = alpha << 24 | red << 16 | green << 8 | blue;
  }
  return palette;
}

TPictureReading DecodeTexture(const TPackageObjects& objects, const TPackageExport& object, const TPictureBox& box) {
  const TTexture texture = ReadTexture(objects, object);
  if (!PictureBytes(texture.format, 1, 1))
    return Absent(TPictureAbsence::NotDecoded, TextureFormatName(texture.format));
  bool tooLarge = false;
  const TMip* mip = ChooseMip(texture, box, tooLarge);
  if (!mip && tooLarge) return Absent(TPictureAbsence::TooLarge);
  if (!mip) Refuse(TPackageFault::BadMips);
  TPalette palette{};
  if (static_cast<TTextureFormat>(texture.format) == TTextureFormat::P8) {
    if (texture.palette < 0) return Absent(TPictureAbsence::OtherPackage, objects.OuterPackageOf(texture.palette));
    palette = ReadPalette(objects, texture.palette);
  }
  std::string data(static_cast<size_t>(*PictureBytes(texture.format, mip->width, mip->height)), '\0');
  if (ReadAtFully(objects.Source(), mip->dataOffset, data.data(), data.size()) != data.size())
    Refuse(TPackageFault::Truncated);
  const bool alphaShown = texture.alphaTexture || texture.masked;
  TPicture picture =
      DecodePicture({texture.format, mip->width, mip->height, data, &palette, alphaShown, texture.masked});
  const TPixelSize size = FitInside({picture.width, picture.height}, box.size, box.enlarge);
  if (size.Width != picture.width || size.Height != picture.height) picture = ScaledPicture(picture, size);
  LayOverCheckerboard(picture);
  return {std::move(picture), TPictureAbsence::None, {}};
}

std::optional<int32_t> ObjectProperty(const TPackageObjects& objects, const TPropertyTags& tags,
                                      std::string_view name) {
  const TPropertyTag* tag = tags.Find(name, TPropertyType::Object);
  return tag ? std::optional(objects.ObjectValue(*tag)) : std::nullopt;
}

// The material a material without pixels of its own shows (0 for none), or nothing for a class
// that is no such material.
std::optional<int32_t> WrappedMaterial(const TPackageObjects& objects, const TPackageExport& material,
                                       std::string_view className) {
  TFileCursor cursor = objects.OpenObject(material);
  const auto is = [&](std::string_view name) { return EqualsIgnoringAsciiCase(className, name); };
  if (is("MaterialSequence")) {
    const TPropertyTags tags = objects.ReadProperties(cursor, {"SequenceItems"});
    const TPropertyTag* items = tags.Find("SequenceItems", TPropertyType::Array);
    const std::optional<TPropertyTags> first = items ? objects.FirstStructOf(*items, {"Material"}) : std::nullopt;
    return first ? ObjectProperty(objects, *first, "Material").value_or(0) : 0;
  }
  if (is("Shader")) return ObjectProperty(objects, objects.ReadProperties(cursor, {"Diffuse"}), "Diffuse").value_or(0);
  if (is("Combiner")) {
    const TPropertyTags tags = objects.ReadProperties(cursor, {"Material1", "Material2"});
    return ObjectProperty(objects, tags, "Material1").value_or(ObjectProperty(objects, tags, "Material2").value_or(0));
  }
  // The blend and the texture modifiers (panner, rotator, scaler, environment map...) work on one.
  const bool modifier =
      BeginsWith(UpperCaseAscii(className), "TEX") && !BeginsWith(UpperCaseAscii(className), "TEXTURE");
  if (is("FinalBlend") || modifier)
    return ObjectProperty(objects, objects.ReadProperties(cursor, {"Material"}), "Material").value_or(0);
  return std::nullopt;
}

}  // namespace

TPictureReading ReadTexturePicture(const TPackageObjects& objects, const TPackageExport& texture,
                                   const TPictureBox& box) {
  try {
    return DecodeTexture(objects, texture, box);
  } catch (const TFaultFound& found) {
    return Absent(TPictureAbsence::Malformed, PackageFaultText(found.fault));
  }
}

TPictureReading ReadMaterialPicture(const TPackageObjects& objects, int32_t reference, const TPictureBox& box) {
  try {
    for (int step = 0; step < MaxMaterialSteps; ++step) {
      if (reference == 0) return Absent(TPictureAbsence::NoPicture);
      if (reference < 0) return Absent(TPictureAbsence::OtherPackage, objects.OuterPackageOf(reference));
      const TPackageExport& material = objects.ExportOf(reference);
      const std::string_view className = objects.ClassNameOf(material);
      if (EqualsIgnoringAsciiCase(className, "Texture")) return ReadTexturePicture(objects, material, box);
      const std::optional<int32_t> next = WrappedMaterial(objects, material, className);
      if (!next) return Absent(TPictureAbsence::NotDecoded, className);
      reference = *next;
    }
    return Absent(TPictureAbsence::ChainTooLong);
  } catch (const TFaultFound& found) {
    return Absent(TPictureAbsence::Malformed, PackageFaultText(found.fault));
  }
}

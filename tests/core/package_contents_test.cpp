#include <gtest/gtest.h>

#include "core/object_package_writer.h"
#include "core/package_contents.h"

namespace {

using TPixels = std::vector<std::pair<int, uint32_t>>;  // index in the picture, pixel 0xAARRGGBB
constexpr uint32_t Checker = 0xFFFFFFFF;                 // the checkerboard's top-left square
constexpr const char* BadMips = "A texture of the package has a malformed list of pictures.";
constexpr TContentsLimits Limits{{{512, 256}, false}, {{64, 64}, false}, 200};

TPackageContents Contents(const TObjectPackageWriter& package, TPackageKind kind, uint64_t* bytesRead = nullptr) {
  TMemoryByteSource source(package.Build());
  TPackageContents contents = ReadPackageContents(source, kind, Limits);
  if (bytesRead) *bytesRead = source.bytesRead;
  return contents;
}

const std::string Red4Colours = Bytes({0x00, 0xF8, 0x1F, 0x00, 0xE4, 0, 0, 0});  // red > blue; texels 0,1,2,3
const std::string Blue3Colours = Bytes({0x1F, 0x00, 0x00, 0xF8, 0xE4, 0, 0, 0});  // blue < red: 3 colours

TEST(PackageContents, DecodesEachTextureFormatAtKnownPixels) {
  const struct {
    const char* what;
    uint8_t format;
    int width, height;
    std::string data;
    bool masked, alpha;
    TPixels pixels;
    std::string absence;
  } cases[] = {
      {"P8, masked: colour 0 transparent", 0, 2, 1, Bytes({0, 1}), true, false, {{0, Checker}, {1, 0xFFC86432}}, ""},
      {"P8", 0, 2, 1, Bytes({0, 1}), false, false, {{0, 0xFF0A141E}, {1, 0xFFC86432}}, ""},
      {"DXT1, four colours", 3, 4, 4, Red4Colours, false, false,
       {{0, 0xFFFF0000}, {1, 0xFF0000FF}, {2, 0xFFAA0055}, {3, 0xFF5500AA}, {15, 0xFFFF0000}}, ""},
      {"DXT1, three colours and transparent", 3, 4, 4, Blue3Colours, true, false,
       {{0, 0xFF0000FF}, {1, 0xFFFF0000}, {2, 0xFF7F007F}, {3, Checker}}, ""},
      {"DXT1, three colours, not masked: black", 3, 4, 4, Blue3Colours, false, false, {{3, 0xFF000000}}, ""},
      {"DXT1 of 2x2 in one block", 3, 2, 2, Red4Colours, false, false, {{1, 0xFF0000FF}, {3, 0xFFFF0000}}, ""},
      {"DXT3, alpha shown", 7, 4, 4,
       Bytes({0x0F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0xF8, 0x1F, 0, 0, 0, 0, 0}), false, true,
       {{0, 0xFFFF0000}, {1, Checker}, {2, 0xFFFF0000}}, ""},
      {"DXT3, alpha ignored", 7, 4, 4, Bytes({0x0F, 0, 0, 0, 0, 0, 0, 0, 0, 0xF8, 0x1F, 0, 0, 0, 0, 0}), false, false,
       {{1, 0xFFFF0000}}, ""},
      {"DXT5, eight alphas", 8, 4, 4, Bytes({255, 0, 0x88, 0x0E, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), false, true,
       {{0, 0xFF000000}, {1, Checker}, {2, 0xFF252525}, {3, 0xFFDBDBDB}}, ""},
      {"DXT5, six alphas and both ends", 8, 4, 4, Bytes({0, 255, 0xBE, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), false,
       true, {{0, Checker}, {1, 0xFF000000}, {2, 0xFFCCCCCC}}, ""},
      {"RGBA8, stored B G R A", 5, 1, 1, Bytes({0x10, 0x20, 0x30, 0xFF}), false, true, {{0, 0xFF302010}}, ""},
      {"L8", 9, 1, 1, Bytes({0x80}), false, false, {{0, 0xFF808080}}, ""},
      {"RGB16", 2, 1, 1, Bytes({0, 0}), false, false, {}, "A picture of the form RGB16 is not shown here."},
  };
  for (const auto& c : cases) {
    TObjectPackageWriter package;
    const int32_t palette = package.Palette("Colours", {0xFF1E140A, 0xFF3264C8});
    TPropertyWriter properties(package);
    if (c.format != 0) properties.Byte("Format", c.format);
    properties.Object("Palette", palette).Bool("bMasked", c.masked).Bool("bAlphaTexture", c.alpha);
    package.Texture("Tex", properties, {{c.width, c.height, c.data}});
    const TPackageContents contents = Contents(package, pkTexture);
    ASSERT_EQ(contents.thumbnails.size(), 1u) << c.what << contents.failure;
    const TPictureReading& shown = contents.thumbnails[0].picture;
    EXPECT_EQ(contents.thumbnails[0].name, "Tex");
    EXPECT_EQ(PictureAbsenceText(shown), c.absence) << c.what;
    if (!c.absence.empty()) continue;
    EXPECT_EQ(shown.picture.width * 1000 + shown.picture.height, c.width * 1000 + c.height) << c.what;
    for (const auto& [index, pixel] : c.pixels)
      EXPECT_EQ(shown.picture.pixels.at(index), pixel) << c.what << " " << index;
  }
}

TEST(PackageContents, ChoosesAMipThatFitsAndRefusesMipListsThatLie) {
  const auto grey = [](int side, int value, std::optional<int64_t> length = std::nullopt) {
    return TWrittenMip{side, side, std::string(side * side, static_cast<char>(value)), length};
  };
  const struct {
    const char* what;
    std::vector<TWrittenMip> mips;
    std::optional<int64_t> count;
    int side, value;
    std::string absence;
  } cases[] = {
      {"the smallest that fills 64 by 64", {grey(128, 1), grey(64, 2), grey(32, 3)}, {}, 64, 2, ""},
      {"a mip shorter than its size is passed over", {{64, 64, "short"}, grey(32, 3)}, {}, 32, 3, ""},
      {"more than 4096 by 4096", {{8192, 8192, "x"}}, {}, 0, 0, "The picture is larger than 4096 by 4096 pixels."},
      {"a length past the object", {grey(8, 1, 1 << 20)}, {}, 0, 0, "An object of the package runs past its own end."},
      {"a length short of its data", {grey(8, 1, 10)}, {}, 0, 0, BadMips},
      {"no mip fit to show", {{8, 8, ""}}, {}, 0, 0, BadMips},
      {"a mip count of 2^31 - 1", {grey(8, 1)}, 0x7FFFFFFF, 0, 0, BadMips},
      {"a mip count of 2^31", {grey(8, 1)}, int64_t{1} << 31, 0, 0, "The package holds a malformed compact index."},
  };
  for (const auto& c : cases) {
    TObjectPackageWriter package;
    package.Texture("Grey", TPropertyWriter(package).Byte("Format", 9), c.mips, c.count);
    const TPictureReading shown = Contents(package, pkTexture).thumbnails.at(0).picture;
    EXPECT_EQ(PictureAbsenceText(shown), c.absence) << c.what;
    EXPECT_EQ(shown.picture.width, c.side) << c.what;
    if (c.side) {
      EXPECT_EQ(shown.picture.pixels[0], 0xFF000000 | c.value * 0x010101u) << c.what;
    }
  }
}

// Makes a map's screenshot and gives its reference.
using TMaker = std::function<int32_t(TObjectPackageWriter&)>;

int32_t Shot(TObjectPackageWriter& p) {
  return p.Texture("Shot", TPropertyWriter(p).Byte("Format", 3), {{8, 4, Red4Colours + Red4Colours}});
}

TMaker Wrapped(const std::string& className, const std::string& property, TMaker inner) {
  return [=](TObjectPackageWriter& p) {
    const int32_t wrapped = inner(p);
    return p.Export(className, className + "1", TPropertyWriter(p).Object(property, wrapped).Text());
  };
}

TMaker InSequence(bool ended, TMaker inner) {
  return [=](TObjectPackageWriter& p) {
    TPropertyWriter item(p);
    item.Object("Material", inner(p)).Raw("Colour", "Color", "\x01\x02\x03\x04");
    return p.Export("MaterialSequence", "Sequence",
                    TPropertyWriter(p).StructArray("SequenceItems", {ended ? item.Text() : item.Unended()}).Text());
  };
}

// A map's summary: its texts, and its screenshot wherever it leads.
TEST(PackageContents, ReadsAMapsSummaryAndFollowsItsScreenshot) {
  const TMaker chain = Wrapped("FinalBlend", "Material",
                               Wrapped("Shader", "Diffuse",
                                       Wrapped("TexRotator", "Material", Wrapped("Combiner", "Material1", Shot))));
  const struct {
    const char* what;
    TMaker screenshot;  // none when empty
    std::string absence;
    bool levelInfo = false;
  } cases[] = {
      {"a texture", Shot, ""},
      {"no screenshot", {}, "This map has no screenshot."},
      {"behind a sequence", InSequence(true, Shot), ""},
      {"behind a blend, a shader, a rotator and a combiner", chain, ""},
      {"in another package",
       [](auto& p) { return p.Import("Engine", "Texture", p.Import("Core", "Package", 0, "Shots"), "S"); },
       "The picture is in another package, Shots."},
      {"a blend of itself", Wrapped("FinalBlend", "Material", [](TObjectPackageWriter&) { return 1; }),
       "The picture lies too many materials deep."},
      {"a sequence whose item has no end", InSequence(false, Shot),
       "A property of an object of the package is malformed."},
      {"a material without pixels", Wrapped("ConstantColor", "Material", Shot),
       "A picture of the form ConstantColor is not shown here."},
      {"on the level's actor", Shot, "", true},
  };
  for (const auto& c : cases) {
    TObjectPackageWriter package;
    package.nameIndexForm = TIndexForm::FiveBytes;
    const int32_t screenshot = c.screenshot ? c.screenshot(package) : 0;
    TPropertyWriter summary(package);
    summary.Str("Title", "Shadow\tTemple\x01").Str("Author", "Krow").Int("IdealPlayerCountMin", 6);
    summary.Element("IdealPlayerCountMin", 1, 99).Int("IdealPlayerCountMax", 10);
    summary.Str("Description", std::string(700, 'd'));
    if (screenshot) summary.Object("Screenshot", screenshot);
    if (c.levelInfo)  // an actor: its state frame first (no state: node 0, no code offset)
      package.Export("LevelInfo", "LevelInfo0", std::string(2, '\0') + std::string(12, '\xFF') + summary.Text(),
                     0x02070001);
    else
      package.Export("LevelSummary", "LevelSummary", summary.Text(), 0x00070004);
    const TPackageContents contents = Contents(package, pkMap);
    const std::vector<std::string> lines = {"Title: Shadow Temple", "Author: Krow", "Players: 6-10",
                                            "Description: " + std::string(600, 'd') + "..."};
    EXPECT_EQ(contents.lines, lines) << c.what << contents.failure;
    EXPECT_EQ(PictureAbsenceText(contents.screenshot), c.absence) << c.what;
    if (c.absence.empty()) {
      EXPECT_EQ(contents.screenshot.picture.pixels.size(), 32u) << c.what;
    }
  }
}

TEST(PackageContents, CountsOtherPackagesObjectsAndRefusesHostileTables) {
  TObjectPackageWriter code;
  for (const char* name : {"A", "B", "C"}) code.Export(0, name, [](uint32_t) { return std::string(); });
  for (int i = 0; i < 12; ++i) code.Export("Texture", std::string("T").append(std::to_string(i)), "");
  code.Export("StaticMesh", "M1", "");
  code.Export("Package", "Group", "");
  code.Export("StaticMesh", "M2", "");
  EXPECT_EQ(Contents(code, pkStaticMesh).lines, std::vector<std::string>{"3 classes, 12 textures, 2 static meshes"});
  for (int i = 0; i < 191; ++i) code.Texture("Dot", TPropertyWriter(code).Byte("Format", 9), {{1, 1, "\x80"}});
  const TPackageContents textures = Contents(code, pkTexture);
  EXPECT_EQ(textures.thumbnails.size(), 200u);
  EXPECT_EQ(textures.moreTextures, 3u);

  TObjectPackageWriter outside = code;
  outside.MoveLastExport(1 << 20, 10);
  const TPackageContents refused = Contents(outside, pkStaticMesh);
  EXPECT_EQ(refused.failure, "An object of the package lies beyond the end of the file.");
  EXPECT_TRUE(refused.headerRead && refused.lines.empty());
  EXPECT_EQ(Contents(TObjectPackageWriter(), pkMap).screenshot.absence, TPictureAbsence::NoPicture);
  TMemoryByteSource noise(std::string(100, '\x9E'));
  const TPackageContents notAPackage = ReadPackageContents(noise, pkMap, Limits);
  EXPECT_EQ(notAPackage.failure, "The file is not a package of the game.");
  EXPECT_FALSE(notAPackage.headerRead);

  TObjectPackageWriter large;  // a map of 4 MiB, whose summary and screenshot alone are read
  large.Export("StaticMesh", "Big", std::string(4 << 20, 'x'));
  large.Export("LevelSummary", "LevelSummary", TPropertyWriter(large).Str("Title", "Big").Text());
  uint64_t bytesRead = 0;
  EXPECT_EQ(Contents(large, pkMap, &bytesRead).lines, std::vector<std::string>{"Title: Big"});
  EXPECT_LT(bytesRead, 32768u);
}

}  // namespace

#include "core/package_contents.h"

#include <algorithm>
#include <optional>

#include "core/exceptions.h"
#include "core/package_texts.h"
#include "core/text_rules.h"

namespace {

// How much of each text from a package is shown.
constexpr size_t MaxLineBytes = 100;
constexpr size_t MaxDescriptionBytes = 600;
constexpr size_t MaxNameBytes = 48;
constexpr size_t MaxClassesCounted = 30;

bool IsClass(const TPackageObjects& objects, const TPackageExport& object, std::string_view name) {
  return EqualsIgnoringAsciiCase(objects.ClassNameOf(object), name);
}

const TPackageExport* FirstOfClass(const TPackageObjects& objects, std::string_view name) {
  for (const TPackageExport& object : objects.Exports())
    if (IsClass(objects, object, name)) return &object;
  return nullptr;
}

bool IsLower(char c) { return c >= 'a' && c <= 'z'; }
bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }

// A class name in words, the last one plural unless there is one object: "StaticMesh", 2 ->
// "static meshes".
std::string ClassWords(std::string_view className, size_t count) {
  std::string words;
  for (size_t i = 0; i < className.size(); ++i) {
    const char c = className[i];
    const bool wordStarts = i > 0 && IsUpper(c) &&
                            (IsLower(className[i - 1]) || (i + 1 < className.size() && IsLower(className[i + 1])));
    if (wordStarts) words += ' ';
    words += IsUpper(c) ? static_cast<char>(c - 'A' + 'a') : c;
  }
  if (count == 1 || words.empty()) return words;
  const auto endsIn = [&words](std::string_view end) { return words.ends_with(end); };
  if (endsIn("s") || endsIn("x") || endsIn("z") || endsIn("ch") || endsIn("sh")) return words + "es";
  if (endsIn("y") && words.size() > 1 &&
      std::string_view("aeiou").find(words[words.size() - 2]) == std::string_view::npos)
    return words.substr(0, words.size() - 1) + "ies";
  return words + "s";
}

// "3 classes, 12 textures, 2 static meshes", classes in the order of their first export; groups
// (exports of class Package) are the package's folders, not its objects.
std::string ObjectCountsText(const TPackageObjects& objects) {
  std::vector<std::pair<std::string_view, size_t>> counts;
  for (const TPackageExport& object : objects.Exports()) {
    const std::string_view className = objects.ClassNameOf(object);
    if (EqualsIgnoringAsciiCase(className, "Package")) continue;
    const auto found = std::find_if(counts.begin(), counts.end(), [&](const auto& c) { return c.first == className; });
    if (found != counts.end()) ++found->second;
    else counts.emplace_back(className, 1);
  }
  if (counts.empty()) return NoObjectsText;
  std::string text;
  for (size_t i = 0; i < std::min(counts.size(), MaxClassesCounted); ++i) {
    const std::string words = ClassWords(ShownPackageText(counts[i].first, MaxNameBytes), counts[i].second);
    text += (text.empty() ? "" : ", ") +
            FormatText(ObjectCountText, static_cast<unsigned>(counts[i].second), words.c_str());
  }
  if (counts.size() > MaxClassesCounted)
    text += ", " + FormatText(MoreClassesText, static_cast<unsigned>(counts.size() - MaxClassesCounted));
  return text;
}

std::optional<int32_t> IntProperty(const TPackageObjects& objects, const TPropertyTags& tags, std::string_view name) {
  const TPropertyTag* tag = tags.Find(name, TPropertyType::Int);
  return tag ? std::optional(objects.IntValue(*tag)) : std::nullopt;
}

void AddTextLine(const TPackageObjects& objects, const TPropertyTags& tags, std::string_view name, const char* format,
                 size_t maxBytes, std::vector<std::string>& lines) {
  const TPropertyTag* tag = tags.Find(name, TPropertyType::Str);
  if (!tag) return;
  const std::string shown = ShownPackageText(objects.StringValue(*tag), maxBytes);
  if (!shown.empty()) lines.push_back(FormatText(format, shown.c_str()));
}

// A map keeps its summary in a LevelSummary object, made for quick reading; a map without one
// has the same properties on its LevelInfo.
void ReadMapSummary(const TPackageObjects& objects, const TContentsLimits& limits, TPackageContents& contents) {
  const TPackageExport* summary = FirstOfClass(objects, "LevelSummary");
  if (!summary) summary = FirstOfClass(objects, "LevelInfo");
  if (!summary) {
    contents.screenshot.absence = TPictureAbsence::NoPicture;
    return;
  }
  TFileCursor cursor = objects.OpenObject(*summary);
  const TPropertyTags tags = objects.ReadProperties(
      cursor, {"Title", "Author", "IdealPlayerCountMin", "IdealPlayerCountMax", "Description", "Screenshot"});
  AddTextLine(objects, tags, "Title", MapTitleText, MaxLineBytes, contents.lines);
  AddTextLine(objects, tags, "Author", MapAuthorText, MaxLineBytes, contents.lines);
  const int32_t fewest = std::max(IntProperty(objects, tags, "IdealPlayerCountMin").value_or(0), 0);
  const int32_t most = std::max(IntProperty(objects, tags, "IdealPlayerCountMax").value_or(0), 0);
  if (fewest > 0 && most > fewest) contents.lines.push_back(FormatText(MapPlayerRangeText, fewest, most));
  else if (fewest > 0 || most > 0) contents.lines.push_back(FormatText(MapPlayerCountText, std::max(fewest, most)));
  AddTextLine(objects, tags, "Description", MapDescriptionText, MaxDescriptionBytes, contents.lines);
  const TPropertyTag* screenshot = tags.Find("Screenshot", TPropertyType::Object);
  contents.screenshot =
      ReadMaterialPicture(objects, screenshot ? objects.ObjectValue(*screenshot) : 0, limits.screenshot);
}

void ReadThumbnails(const TPackageObjects& objects, const TContentsLimits& limits, TPackageContents& contents) {
  for (const TPackageExport& object : objects.Exports()) {
    if (!IsClass(objects, object, "Texture")) continue;
    if (contents.thumbnails.size() >= limits.thumbnails) {
      ++contents.moreTextures;
      continue;
    }
    contents.thumbnails.push_back({ShownPackageText(objects.Names()[object.name], MaxNameBytes),
                                   ReadTexturePicture(objects, object, limits.thumbnail)});
  }
}

}  // namespace

TPackageContents ReadPackageContents(IRandomAccessSource& source, TPackageKind kind, const TContentsLimits& limits) {
  TPackageContents contents;
  contents.isMap = kind == pkMap;
  contents.isTexturePackage = kind == pkTexture;
  try {
    TPackageObjects objects(source);
    contents.headerRead = true;
    objects.ReadExportTable();
    if (contents.isMap)
      ReadMapSummary(objects, limits, contents);
    else if (contents.isTexturePackage)
      ReadThumbnails(objects, limits, contents);
    else
      contents.lines.push_back(ObjectCountsText(objects));
  } catch (const TFaultFound& found) {
    contents.failure = PackageFaultText(found.fault);
    contents.lines.clear();  // a summary read in part is not shown as if it were whole
    contents.screenshot = {{}, TPictureAbsence::Malformed, contents.failure};
  }
  return contents;
}

std::string PictureAbsenceText(const TPictureReading& reading, bool brief) {
  const std::string detail = ShownPackageText(reading.detail, MaxNameBytes);
  if (brief && reading.absence != TPictureAbsence::None)
    return reading.absence == TPictureAbsence::NotDecoded ? detail
           : reading.absence == TPictureAbsence::OtherPackage ? FormatText(BriefOtherPackageText, detail.c_str())
                                                              : BriefNoPictureText;
  switch (reading.absence) {
    case TPictureAbsence::None: return {};
    case TPictureAbsence::NoPicture: return NoScreenshotText;
    case TPictureAbsence::OtherPackage: return FormatText(PictureInOtherPackageText, detail.c_str());
    case TPictureAbsence::NotDecoded: return FormatText(PictureNotDecodedText, detail.c_str());
    case TPictureAbsence::TooLarge: return PictureTooLargeText;
    case TPictureAbsence::ChainTooLong: return PictureChainTooLongText;
    case TPictureAbsence::Malformed: break;
  }
  return ShownPackageText(reading.detail, MaxLineBytes);
}

std::string ShownPackageText(std::string_view text, size_t maxBytes) {
  std::string shown;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\t' || c == '\r' || c == '\n') {
      if (!shown.empty() && shown.back() != ' ') shown += ' ';
    } else if (byte >= 32 && byte != 127) {
      shown += c;
    }
    if (shown.size() > maxBytes) {
      shown.resize(maxBytes);
      return shown + "...";
    }
  }
  return shown;
}

#include "job/package_details.h"

#include <vector>

#include "core/exceptions.h"
#include "core/safe_names.h"
#include "job/cache_index.h"
#include "job/package_check.h"
#include "job/package_check_texts.h"
#include "win/files.h"

using namespace PackageCheckTexts;

namespace {

const char* PlaceText(TPackagePlace place) {
  switch (place) {
    case TPackagePlace::Installed: return PlaceInstalled;
    case TPackagePlace::Cached: return PlaceCached;
    case TPackagePlace::CachedPayloadMissing: return PlaceCachedPayloadMissing;
    case TPackagePlace::CachedNotAPackage: return PlaceCachedNotAPackage;
    case TPackagePlace::Missing: break;
  }
  return PlaceMissing;
}

void AddHeaderLines(const TPackageHeader& header, const std::string& key, std::vector<std::string>& lines) {
  lines.push_back(FormatText(DetailVersion, unsigned{header.version}, unsigned{header.licensee}));
  if (!header.guid) {
    lines.push_back(DetailNoGuid);
  } else {
    const std::string guid = GuidKeyText(*header.guid);
    const char* match = CacheKeyMatchesGuid(key, *header.guid) ? DetailGuidMatches : DetailGuidDiffers;
    lines.push_back(FormatText(match, guid.c_str()));
  }
  if (header.generationCount == 0) {
    lines.push_back(DetailNoGenerations);
  } else {
    const TPackageGeneration& latest = header.latestGeneration;
    lines.push_back(FormatText(DetailLatestGeneration, unsigned{header.generationCount}, unsigned{latest.exportCount},
                               unsigned{latest.nameCount}));
  }
}

void AddNeedLines(const TPackageHeader& header, TPackageCheck& check, std::vector<std::string>& lines) {
  if (header.neededPackages.empty()) {
    lines.push_back(DetailNeedsNothing);
    return;
  }
  lines.push_back(DetailNeeds);
  for (const std::string& name : header.neededPackages) {
    // A name that could lead out of the game folders is looked up nowhere: the game cannot load it.
    const TPackagePlace place =
        IsSafeFileName(name, "", SystemLeadByte) ? check.Locate(name).place : TPackagePlace::Missing;
    lines.push_back(FormatText(DetailNeed, ShownName(name).c_str(), PlaceText(place)));
  }
}

}  // namespace

std::string PackageDetailsText(const TCacheIndex& index, const TAppliedPrefs& prefs, const std::string& realName) {
  const int line = index.FindCacheEntry(realName);
  if (line < 0) return {};
  const std::string key = ExtractField(1, index.CacheList()[line], "=");
  TPackageCheck check(index, prefs);
  const TPayloadReading payload = check.ReadPayload(key);
  std::vector<std::string> lines = {FormatText(DetailName, ShownName(realName).c_str()),
                                    FormatText(DetailKey, ShownName(key).c_str()),
                                    FormatText(DetailSize, static_cast<long long>(payload.size))};
  if (!payload.failure.empty())
    lines.push_back(FormatText(DetailNotAPackage, payload.failure.c_str()));
  else {
    AddHeaderLines(payload.header, key, lines);
    AddNeedLines(payload.header, check, lines);
  }
  std::string text;
  for (const std::string& detail : lines) text += (text.empty() ? "" : "\r\n") + detail;
  return text;
}

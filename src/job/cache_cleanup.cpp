#include "job/cache_cleanup.h"

#include <windows.h>

#include <unordered_map>
#include <unordered_set>

#include "core/applied_prefs.h"
#include "core/exceptions.h"
#include "core/game_ini.h"
#include "core/index_lines.h"
#include "core/package_kinds.h"
#include "core/safe_names.h"
#include "core/text_rules.h"
#include "job/cache_index.h"
#include "job/cache_tidy_texts.h"
#include "job/game_search.h"
#include "job/package_transfer_texts.h"
#include "job/transfer_plan.h"
#include "win/files.h"
#include "win/handles.h"

namespace {

// The files of the cache folder by upper-cased name, with their sizes, read in one listing.
std::unordered_map<std::string, TCacheSurvey::TPayloadFile> ListCacheFolder(const std::string& folder) {
  std::unordered_map<std::string, TCacheSurvey::TPayloadFile> files;
  WIN32_FIND_DATAA entry;
  TFindHandle search(::FindFirstFileA((folder + "*").c_str(), &entry));
  for (bool found = search.Valid(); found; found = ::FindNextFileA(search.Get(), &entry)) {
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    const std::uint64_t size = static_cast<std::uint64_t>(entry.nFileSizeHigh) << 32 | entry.nFileSizeLow;
    files.emplace(UpperCaseAscii(entry.cFileName), TCacheSurvey::TPayloadFile{entry.cFileName, size});
  }
  return files;
}

bool IsPayloadName(const std::string& name) {
  const std::string_view extension = PayloadExtension;
  return name.size() > extension.size() &&
         EqualsIgnoringAsciiCase(std::string_view(name).substr(name.size() - extension.size()), extension);
}

// The index's entry lines against the folder's payloads: totals, lines without a payload, and the
// payloads no line names.
void SurveyLines(const TCacheIndex& index, TCacheSurvey& survey) {
  auto files = ListCacheFolder(index.CacheDir());
  std::unordered_set<std::string> named;  // upper-cased payload names that a line names
  const std::vector<std::string>& lines = index.CacheList();
  for (size_t i = 1; i < lines.size(); ++i) {  // line 0 is the header
    if (TrimBlanks(lines[i]).empty() || lines[i][0] == ';') continue;
    const std::string key = ExtractField(1, lines[i], "=");
    ++survey.packages;
    if (GetPackageKind(ExtractField(2, lines[i], "=")) == pkMap) ++survey.maps;
    const std::string payloadName = UpperCaseAscii(key + PayloadExtension);
    const auto payload = files.find(payloadName);
    if (payload != files.end()) {
      if (named.insert(payloadName).second) survey.bytes += payload->second.size;
    } else if (!IsSafeCacheKey(key, index.CacheDir(), SystemLeadByte)) {
      ++survey.unsafeNames;
    } else {
      survey.missingPayloadLines.push_back(static_cast<int>(i));
    }
  }
  for (auto& [upper, file] : files) {
    if (named.count(upper) > 0 || !IsPayloadName(file.name)) continue;
    if (!IsSafeFileName(file.name, index.CacheDir(), SystemLeadByte)) {
      ++survey.unsafeNames;
      continue;
    }
    survey.orphanBytes += file.size;
    survey.orphans.push_back(std::move(file));
  }
}

// The cached packages installed already in the same version, as the run plan decides.
bool SurveyInstalled(const TCacheIndex& index, const TAppliedPrefs& prefs, const TSurveyProgress& progress,
                     TCacheSurvey& survey) {
  TTransferPlan plan;
  std::unordered_set<int> missing(survey.missingPayloadLines.begin(), survey.missingPayloadLines.end());
  for (size_t line = 1; line < index.CacheList().size(); ++line) {
    TTransferItem item;
    if (missing.count(static_cast<int>(line)) == 0 && PlanCachedPackage(index, prefs, static_cast<int>(line), item))
      plan.push_back({{}, {}, {}, {}, {std::move(item)}});
  }
  TStagingFolders listings;  // only the targets' listings: nothing is written
  if (!ReviewGameFolderTargets(plan, listings, progress)) return false;
  for (const TTransferGroup& group : plan) {
    const TTransferItem& item = group.items.front();
    survey.bytesRead += item.conflict.bytesRead;
    if (item.outcome != TTransferOutcome::AlreadyInPlace) continue;
    survey.installedLines.push_back(item.line);
    survey.installedBytes += item.conflict.incoming.size;
  }
  return true;
}

TPurgeSetting ReadPurgeSetting(const std::string& settingsFile) {
  TPurgeSetting purge{settingsFile, false, std::nullopt};
  if (settingsFile.empty()) return purge;
  if (const std::optional<std::string> text = ReadSmallFile(settingsFile)) {
    purge.known = true;
    purge.days = ReadPurgeCacheDays(*text);
  }
  return purge;
}

std::string PurgeText(const TPurgeSetting& purge) {
  using namespace CacheTidyTexts;
  if (!purge.known) return PurgeUnknown;
  if (!purge.days) return FormatText(PurgeNotSet, std::to_string(GamePurgeDaysDefault).c_str());
  if (*purge.days == 0) return PurgeNever;
  return FormatText(PurgeAfter, std::to_string(*purge.days).c_str());
}

}  // namespace

TSurveyTexts DescribeSurvey(const TCacheSurvey& survey) {
  using namespace CacheTidyTexts;
  const char separator = SystemDecimalSeparator();
  const auto sized = [separator](const std::string& count, std::uint64_t bytes) {
    return FormatText(CountAndSize, count.c_str(), FormatByteCount(bytes, separator).c_str());
  };
  TSurveyTexts texts;
  texts.orphans = sized(TransferTexts::CountText(survey.orphans.size(), OneFile, Files), survey.orphanBytes);
  texts.missingPayloads = TransferTexts::CountText(survey.missingPayloadLines.size(), OneLine, Lines);
  texts.installed = sized(TransferTexts::CountText(survey.installedLines.size(), OnePackage, Packages), survey.installedBytes);
  texts.totals = FormatText(Totals, TransferTexts::CountText(survey.packages, OnePackage, Packages).c_str(),
                            FormatByteCount(survey.bytes, separator).c_str(), std::to_string(survey.maps).c_str());
  if (survey.unsafeNames > 0) texts.totals += FormatText(UnsafeLeftAlone, std::to_string(survey.unsafeNames).c_str());
  texts.purge = PurgeText(survey.purge);
  return texts;
}

bool SurveyCache(const TCacheIndex& index, const TAppliedPrefs& prefs, const std::string& settingsFile,
                 const TSurveyProgress& progress, TCacheSurvey& survey) {
  survey = {};
  survey.purge = ReadPurgeSetting(settingsFile);
  if (index.CacheDir().empty() && !index.Loaded()) return true;  // no cache opened yet
  SurveyLines(index, survey);
  return SurveyInstalled(index, prefs, progress, survey);
}

void KeepCachedPackages(const std::string& settingsFile) {
  ReplaceFileBytes(settingsFile, WithPurgeCacheDays(ReadWholeFile(settingsFile), 0));
}

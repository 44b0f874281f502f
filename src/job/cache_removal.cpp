// Taking packages out of the cache: their lines leave the index first, then their payloads.
#include <windows.h>

#include "core/applied_prefs.h"
#include "core/exceptions.h"
#include "core/index_lines.h"
#include "core/package_kinds.h"
#include "core/safe_names.h"
#include "core/text_rules.h"
#include "job/cache_cleanup.h"
#include "job/cache_index.h"
#include "job/cache_tidy_texts.h"
#include "job/job_texts.h"
#include "job/open_cache.h"
#include "job/package_transfer_texts.h"
#include "win/files.h"

namespace {

// Beyond this many packages the confirmation names only how many more there are.
constexpr size_t MaxListedPackages = 20;

std::uint64_t FileBytes(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return static_cast<std::uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

// Deletes the files of these names in folder, each named on status as it goes and the messages
// handled on a clock; returns the bytes of those deleted.
std::uint64_t DeleteFiles(const std::string& folder, const std::vector<std::string>& names, const TCopyIo& io,
                          IStatusLine* status, IProgress* pump) {
  TMessageClock messages{0, 40000, {}};
  std::uint64_t deleted = 0;
  for (const std::string& name : names) {
    if (status) status->SetStatusText(FormatText(JobTexts::DeletingFile, name.c_str()));
    const std::uint64_t size = FileBytes(folder + name);
    if (io.Delete(folder + name)) deleted += size;  // a failure leaves the file, listed nowhere
    if (pump) LookAtMessagesOnTime(*pump, messages);
  }
  return deleted;
}

std::string PackagesText(size_t count) {
  return TransferTexts::CountText(count, CacheTidyTexts::OnePackage, CacheTidyTexts::Packages);
}

// The lines of the rows to remove, each once; the rows whose key is no safe file name are named.
std::vector<int> LinesToRemove(TCacheTidyContext& c, int selectedRow, std::vector<std::string>& leftAlone) {
  std::vector<int> rows;
  for (int row = 0; row < c.Rows.RowCount(); ++row)
    if (c.Rows.RowTicked(row)) rows.push_back(row);
  if (rows.empty() && selectedRow >= 0 && selectedRow < c.Rows.RowCount()) rows.push_back(selectedRow);
  std::vector<int> lines;
  for (const int row : rows) {
    const std::string caption = c.Rows.RowCaption(row);
    const int line = c.CacheIndex.FindCacheEntry(caption);
    if (line < 0 || std::find(lines.begin(), lines.end(), line) != lines.end()) continue;
    if (IsSafeCacheKey(ExtractField(1, c.CacheIndex.CacheList()[line], "="), c.CacheIndex.CacheDir(), SystemLeadByte))
      lines.push_back(line);
    else
      leftAlone.push_back(caption);
  }
  return lines;
}

std::string ConfirmationText(const TCacheIndex& index, const std::vector<int>& lines, std::uint64_t bytes) {
  using namespace CacheTidyTexts;
  const std::string size = FormatByteCount(bytes, SystemDecimalSeparator());
  std::string text = FormatText(ConfirmRemoval, PackagesText(lines.size()).c_str(), size.c_str());
  for (size_t i = 0; i < lines.size() && i < MaxListedPackages; ++i) {
    const std::string name = ShownName(ExtractField(2, index.CacheList()[lines[i]], "="));
    text += FormatText(ConfirmRemovalLine, name.c_str());
  }
  if (lines.size() > MaxListedPackages)
    text += FormatText(TransferTexts::ListedMore, std::to_string(lines.size() - MaxListedPackages).c_str());
  return text + ConfirmRemovalEnd;
}

void ListAgain(TCacheTidyContext& c) {
  LoadCacheIndexOrWarn(c.CacheIndex, c.CacheIndex.CacheDir() + c.CacheIndex.CacheFileName(), c.Boxes);
  FillCacheList(c.Rows, c.CacheIndex, c.Prefs());
}

}  // namespace

std::uint64_t DropIndexLines(TCacheIndex& index, const std::vector<int>& lines, const TCopyIo& io, IStatusLine* status,
                             IProgress* pump) {
  const std::vector<std::string> before = index.CacheList();
  std::vector<std::string> keys;
  for (const int line : lines) {
    keys.push_back(ExtractField(1, before[static_cast<size_t>(line)], "="));
    index.MarkCacheEntry(line);
  }
  std::vector<std::string> remaining;
  try {
    remaining = index.SaveCacheIndex(index.CacheDir() + index.CacheFileName());
  } catch (...) {
    index.MutableLines() = before;
    throw;
  }
  std::vector<std::string> payloads;
  for (const std::string& key : KeysNamedByNone(keys, remaining)) payloads.push_back(key + PayloadExtension);
  return DeleteFiles(index.CacheDir(), payloads, io, status, pump);
}

void RemoveFromCache(TCacheTidyContext& context, int selectedRow) {
  std::vector<std::string> leftAlone;
  const std::vector<int> lines = LinesToRemove(context, selectedRow, leftAlone);
  if (lines.empty()) {
    context.Boxes.ShowWarning(leftAlone.empty() ? CacheTidyTexts::NothingToRemove
                                                : FormatText(CacheTidyTexts::NothingRemovable, TransferTexts::NameList(leftAlone).c_str()));
    return;
  }
  std::uint64_t bytes = 0;
  for (const int line : lines)
    bytes += FileBytes(context.CacheIndex.CacheDir() + ExtractField(1, context.CacheIndex.CacheList()[line], "=") + PayloadExtension);
  if (context.Boxes.AskConfirmation(ConfirmationText(context.CacheIndex, lines, bytes)) != TModalResult::Yes) return;
  const std::uint64_t deleted = DropIndexLines(context.CacheIndex, lines, context.Io, nullptr, &context.Progress);
  ListAgain(context);
  const std::string size = FormatByteCount(deleted, SystemDecimalSeparator());
  context.Status.SetStatusText(FormatText(CacheTidyTexts::Removed, PackagesText(lines.size()).c_str(), size.c_str()));
}

bool CleanUpCache(TCacheTidyContext& context, ICleanUpDialog& dialog, const std::string& settingsFile,
                  const TSurveyProgress& progress) {
  TCacheSurvey survey;
  if (!SurveyCache(context.CacheIndex, context.Prefs(), settingsFile, progress, survey)) return false;
  context.Status.SetStatusText("");
  const std::optional<TCleanUpChoice> choice = dialog.ChooseCleanUp(survey);
  if (!choice) return true;
  std::vector<int> lines;
  if (choice->missingPayloads) lines = survey.missingPayloadLines;
  if (choice->installed) lines.insert(lines.end(), survey.installedLines.begin(), survey.installedLines.end());
  std::uint64_t deleted = 0;
  if (!lines.empty()) deleted += DropIndexLines(context.CacheIndex, lines, context.Io, nullptr, &context.Progress);
  if (choice->neverPurge && survey.purge.known) KeepCachedPackages(settingsFile);
  std::vector<std::string> orphans;
  if (choice->orphans && !survey.orphans.empty()) {
    // Against the index as it stands now: the game may have named one of them meanwhile.
    ListAgain(context);
    std::vector<std::string> keys;
    for (const TCacheSurvey::TPayloadFile& orphan : survey.orphans)
      keys.push_back(orphan.name.substr(0, orphan.name.size() - std::string_view(PayloadExtension).size()));
    for (const std::string& key : KeysNamedByNone(keys, context.CacheIndex.CacheList())) orphans.push_back(key + PayloadExtension);
    deleted += DeleteFiles(context.CacheIndex.CacheDir(), orphans, context.Io, nullptr, &context.Progress);
  } else if (!lines.empty()) {
    ListAgain(context);
  }
  const std::string size = FormatByteCount(deleted, SystemDecimalSeparator());
  context.Status.SetStatusText(FormatText(CacheTidyTexts::CleanedUp, std::to_string(lines.size()).c_str(),
                                          std::to_string(orphans.size()).c_str(), size.c_str()));
  return true;
}

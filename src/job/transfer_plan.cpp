#include "job/transfer_plan.h"

#include <unordered_set>

#include "core/archive_error.h"
#include "core/exceptions.h"
#include "core/safe_names.h"
#include "core/text_rules.h"
#include "core/stock_packages.h"
#include "core/zip_archive.h"
#include "job/cache_index.h"
#include "job/package_transfer_texts.h"
#include "job/staged_output.h"
#include "job/version_check.h"
#include "win/file_streams.h"
#include "win/files.h"

namespace {

// Beyond this many packages the question names only how many more there are.
constexpr size_t MaxListedConflicts = 20;

bool IsEmptySource(const TTransferGroup& group, const TTransferItem& item, TStagingFolders& staging) {
  switch (item.form) {
    case TSourceForm::ArchiveMember: return group.archive->reader->Members()[item.member].size == 0;
    case TSourceForm::File:
    case TSourceForm::Uz2File:  // an empty .uz2 restores to nothing
    case TSourceForm::Uz2OfFile: break;
  }
  return staging.Listings().SizeOf(FolderOf(item.source), FileNameOf(item.source)) == 0;
}

bool IsStockCodePackage(const TTransferItem& item) {
  static const std::vector<std::string> stock = [] {
    std::vector<std::string> names;
    FillStockList(names);
    return names;
  }();
  return item.kind == pkMutator && IsStockPackage(stock, item.name);
}

// The rules of one file for the game's folders; a faulty chosen file refuses its whole group.
void ReviewItem(TTransferGroup& group, TTransferItem& item, TStagingFolders& staging) {
  if (IsEmptySource(group, item, staging)) {
    item.outcome = TTransferOutcome::Empty;
  } else if (IsStockCodePackage(item)) {
    item.outcome = TTransferOutcome::StockPackage;
  } else if (staging.Listings().IsFilePresent(FolderOf(item.target), FileNameOf(item.target))) {
    if (IsSameVersion(group, item, staging.Listings(), item.conflict))
      item.outcome = TTransferOutcome::AlreadyInPlace;
    else if (item.conflict.incomingRead || !item.conflict.installedRead)
      item.outcome = TTransferOutcome::Replace;  // asked about before the run
    // A file that cannot be read is left to its writing, which reports it; nothing replaces the
    // installed one on its account.
  }
}

std::string VersionText(bool read, const TFileVersion& version) {
  using namespace TransferTexts;
  if (!read) return VersionUnread;
  const std::string size = std::to_string(version.size);
  if (!version.guid) return FormatText(VersionWithoutGuid, size.c_str());
  return FormatText(VersionWithGuid, GuidKeyText(*version.guid).c_str(), size.c_str());
}

std::string QuestionText(const std::vector<const TTransferItem*>& conflicts, const char* incomingWord) {
  using namespace TransferTexts;
  std::string text = ConflictIntro;
  for (size_t i = 0; i < conflicts.size() && i < MaxListedConflicts; ++i) {
    const TTransferItem& item = *conflicts[i];
    const std::string installed = VersionText(item.conflict.installedRead, item.conflict.installed);
    const std::string incoming = VersionText(item.conflict.incomingRead, item.conflict.incoming);
    text += FormatText(ConflictLine, item.name.c_str(), installed.c_str(), incomingWord, incoming.c_str());
  }
  if (conflicts.size() > MaxListedConflicts)
    text += FormatText(ListedMore, std::to_string(conflicts.size() - MaxListedConflicts).c_str());
  return text + ConflictQuestion;
}

}  // namespace

TOpenArchive::TOpenArchive(const std::string& path)
    : file(std::make_unique<TFileSource>(OpenSourceFile(path))),
      reader(std::make_unique<TZipReader>(*file, SystemLeadByte)) {}

TOpenArchive::~TOpenArchive() = default;

bool PlanCachedPackage(const TCacheIndex& index, const TAppliedPrefs& prefs, int line, TTransferItem& item) {
  const std::string& text = index.CacheList()[static_cast<size_t>(line)];
  const std::string key = ExtractField(1, text, "="), name = ExtractField(2, text, "=");
  const TPackageKind kind = GetPackageKind(name);
  if (kind == pkOther) return false;
  const std::string folder = GetDestinationFolder(kind, prefs);
  const std::string& cacheDir = index.CacheDir();
  if (!IsSafeFileName(name, folder, SystemLeadByte) || !IsSafeCacheKey(key, cacheDir, SystemLeadByte)) return false;
  item.name = name;
  item.target = FullPathOf(folder + name);
  item.kind = kind;
  item.source = cacheDir + key + PayloadExtension;
  item.line = line;
  return true;
}

void PassOverCaseTwins(TTransferPlan& plan) {
  std::unordered_set<std::string> targets;
  for (TTransferGroup& group : plan)
    for (TTransferItem& item : group.items) {
      if (item.outcome != TTransferOutcome::Write && item.outcome != TTransferOutcome::AlreadyInPlace) continue;
      if (!targets.insert(FileSystemCase(group.archiveTarget + "|" + item.target)).second)
        item.outcome = TTransferOutcome::CaseTwin;
    }
}

bool ReviewGameFolderTargets(TTransferPlan& plan, TStagingFolders& staging, const TPlanProgress& keepGoing) {
  size_t total = 0, done = 0;
  for (const TTransferGroup& group : plan) total += group.items.size();
  for (TTransferGroup& group : plan) {
    try {
      for (TTransferItem& item : group.items) {
        if (keepGoing && !keepGoing(done++, total)) return false;
        if (!group.refusal && item.outcome == TTransferOutcome::Write) ReviewItem(group, item, staging);
      }
    } catch (const EArchiveError&) {
      group.refusal = std::current_exception();
    }
  }
  return true;
}

bool AskAboutConflicts(TTransferPlan& plan, IMessageBoxes& boxes, const char* incomingWord) {
  std::vector<const TTransferItem*> conflicts;
  for (const TTransferGroup& group : plan)
    for (const TTransferItem& item : group.items)
      if (!group.refusal && item.outcome == TTransferOutcome::Replace) conflicts.push_back(&item);
  if (conflicts.empty()) return true;
  const TModalResult answer = boxes.AskConfirmation(QuestionText(conflicts, incomingWord));
  if (answer == TModalResult::None) return false;
  if (answer != TModalResult::Yes)
    for (TTransferGroup& group : plan)
      for (TTransferItem& item : group.items)
        if (item.outcome == TTransferOutcome::Replace) item.outcome = TTransferOutcome::OtherVersionKept;
  return true;
}

std::vector<std::string> NamesWith(const TTransferPlan& plan, TTransferOutcome outcome) {
  std::vector<std::string> names;
  for (const TTransferGroup& group : plan)
    for (const TTransferItem& item : group.items)
      if (item.outcome == outcome) names.push_back(item.name);
  return names;
}

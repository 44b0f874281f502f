#include "job/transfer_run.h"

#include "core/archive_error.h"
#include "core/archive_texts.h"
#include "core/exceptions.h"
#include "core/uz2.h"
#include "core/zip_archive.h"
#include "job/job_texts.h"
#include "job/package_transfer_texts.h"
#include "job/transfer_sources.h"
#include "job/version_check.h"

namespace {

bool IsWritten(const TTransferItem& item) {
  return item.outcome == TTransferOutcome::Write || item.outcome == TTransferOutcome::Replace;
}

TDosDateTime ModifiedOf(TFileSource& source) {
  const std::uint32_t written = source.LastWriteDosTime();
  if (written == 0) return {};
  return {static_cast<std::uint16_t>(written >> 16), static_cast<std::uint16_t>(written)};
}

}  // namespace

TTransferRun::TTransferRun(TTransferContext& context, const TRunStyle& style)
    : c_(context), style_(style), messages_{0, style.lookIntervalMicroseconds, {}}, status_(context.Status, messages_) {}

bool TTransferRun::Run(TTransferPlan& plan, const std::function<void(const TTransferItem&)>& placed) {
  c_.Progress.SetProgressVisible(true);
  bool finished = true;
  try {
    for (TTransferGroup& group : plan) {
      finished = !c_.StopRequested() && RunGroup(group, placed);
      if (!finished) break;
    }
  } catch (...) {
    status_.Show();
    c_.Progress.SetProgressVisible(false);
    throw;
  }
  c_.Progress.SetProgressVisible(false);
  return finished;
}

bool TTransferRun::RunGroup(TTransferGroup& group, const std::function<void(const TTransferItem&)>& placed) {
  if (!group.archiveTarget.empty()) return WriteArchive(group);
  try {
    if (group.refusal) std::rethrow_exception(group.refusal);
    std::vector<std::unique_ptr<TStagedFile>> staged(group.items.size());
    for (size_t i = 0; i < group.items.size(); ++i)
      if (IsWritten(group.items[i])) staged[i] = Stage(group, group.items[i]);
    for (size_t i = 0; i < group.items.size(); ++i) {
      TTransferItem& item = group.items[i];
      if (staged[i]) Commit(*staged[i], item);
      if (staged[i] || item.outcome == TTransferOutcome::AlreadyInPlace) placed(item);
    }
  } catch (const EArchiveError&) {
    if (!style_.refusalsPerFile) throw;
    refused_.push_back(group.chosenFile);
    c_.ReportError(std::current_exception());
  }
  return true;
}

std::unique_ptr<TStagedFile> TTransferRun::Stage(const TTransferGroup& group, const TTransferItem& item) {
  Announce(item.name);
  if (style_.lookAtEachFile) messages_.NextMicroseconds = 0;
  if (item.form == TSourceForm::File)
    return StageCopy(item.source, item.target, staging_, c_.Io, c_.Progress, messages_);
  if (item.form == TSourceForm::Uz2OfFile) {
    TFileSource source = OpenSourceFile(item.source);
    TProgressClock clock(c_.Progress, static_cast<int64_t>(source.Size()), messages_);
    TProgressSource counted(source, clock);
    auto staged = std::make_unique<TStagedFile>(item.target, staging_, c_.Io);
    WriteUz2(counted, *staged);
    clock.Finish();
    return staged;
  }
  auto staged = std::make_unique<TStagedFile>(item.target, staging_, c_.Io);
  const TShownProgress shown{c_.Progress, messages_};
  WritePackedPackage(group, item, *staged, &shown);
  return staged;
}

void TTransferRun::Commit(TStagedFile& staged, TTransferItem& item) {
  if (!style_.gameFolders) return staged.Commit();
  if (item.outcome == TTransferOutcome::Replace) {
    item.keptAt = KeptPlaceOf(item.target, item.conflict);
    if (item.keptAt.empty()) throw Exception(JobTexts::ErrorCreatingOutputFile);
  }
  staged.CommitKeeping(item.keptAt);
  if (!item.keptAt.empty()) kept_.push_back(item.keptAt);
}

// A close request stops the archive between two members, and no archive is written.
bool TTransferRun::WriteArchive(TTransferGroup& group) {
  TStagedFile archive(group.archiveTarget, staging_, c_.Io);
  try {
    TZipWriter zip(archive);
    for (const TTransferItem& item : group.items) {
      if (!IsWritten(item)) continue;
      if (c_.StopRequested()) return false;
      Announce(item.name);
      TFileSource source = OpenSourceFile(item.source);
      const TDosDateTime modified = ModifiedOf(source);
      TProgressClock clock(c_.Progress, static_cast<int64_t>(source.Size()), messages_);
      TProgressSource counted(source, clock);
      zip.Add(Utf8OfAnsi(item.target), counted, modified);
      clock.Finish();
    }
    zip.Finish();
  } catch (const EArchiveError& error) {
    const std::string quoted = FormatText(TransferTexts::QuotedName, group.archiveTarget.c_str());
    throw Exception(FormatText(ArchiveTexts::ErrorWritingArchive, quoted.c_str(), error.what()));
  }
  archive.Commit();
  return true;
}

void TTransferRun::Announce(const std::string& name) { status_.Announce(FormatText(style_.statusText, name.c_str())); }

std::string PassedOverNotes(const TTransferPlan& plan, const std::vector<std::string>& kept) {
  using namespace TransferTexts;
  const struct {
    TTransferOutcome outcome;
    const char* note;
  } notes[] = {{TTransferOutcome::CaseTwin, CaseTwinsPassedOver},
               {TTransferOutcome::StockPackage, StockPassedOver},
               {TTransferOutcome::Empty, EmptyPassedOver},
               {TTransferOutcome::OtherVersionKept, OtherVersionsPassedOver}};
  std::string text;
  for (const auto& note : notes) {
    const std::vector<std::string> names = NamesWith(plan, note.outcome);
    if (!names.empty()) text += FormatText(note.note, NameList(names).c_str());
  }
  if (!kept.empty()) text += CountText(kept.size(), KeptOneVersion, KeptVersions, kept.front());
  return text;
}

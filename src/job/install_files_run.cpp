#include "job/install_files_run.h"

#include <windows.h>

#include "core/applied_prefs.h"
#include "core/archive_error.h"
#include "core/archive_texts.h"
#include "core/exceptions.h"
#include "core/package_kinds.h"
#include "core/safe_names.h"
#include "core/text_rules.h"
#include "core/uz2.h"
#include "core/zip_archive.h"
#include "job/job_texts.h"
#include "job/package_transfer_texts.h"
#include "job/transfer_sources.h"
#include "win/files.h"

namespace {

constexpr std::string_view ArchiveExtension = ".zip";
// Between two looks lies (de)compression, not a bare copy: a look every 40 ms keeps the window
// answering at the rate the bar is repainted, where a look every 12 ms cost a fifth of the run.
constexpr TRunStyle InstallStyle{JobTexts::CopyingFile, 40000, false, true, true};

class TInstall {
public:
  explicit TInstall(TTransferContext& context) : c_(context), run_(context, InstallStyle) {}

  // Every chosen file's packages and the look at their targets; false when the question about
  // other installed versions was closed by its close box.
  bool Plan(const std::vector<std::string>& files) {
    for (const std::string& file : files) PlanFile(file);
    PassOverCaseTwins(plan_);
    ReviewGameFolderTargets(plan_, run_.Staging());
    return AskAboutConflicts(plan_, c_.Boxes, TransferTexts::NewVersion);
  }

  // False when stopped on request.
  bool Run() {
    return run_.Run(plan_, [this](const TTransferItem& item) { Placed(item); });
  }

  std::string Summary() const {
    using namespace TransferTexts;
    std::string text = CountText(installed_, InstalledFile, InstalledFiles);
    if (!run_.Refused().empty()) text += FormatText(FailedFiles, NameList(run_.Refused()).c_str());
    if (!inPlace_.empty()) text += FormatText(AlreadyInPlace, NameList(inPlace_).c_str());
    if (!ignored_.empty()) text += FormatText(IgnoredFiles, NameList(ignored_).c_str());
    if (!unsafe_.empty()) text += FormatText(UnsafeFilesIgnored, NameList(unsafe_).c_str());
    return text + PassedOverNotes(plan_, run_.Kept());
  }

private:
  void PlanFile(const std::string& path) {
    const std::string name = FileNameOf(path);
    if (EqualsIgnoringAsciiCase(FileExtOf(name), ArchiveExtension)) return PlanArchive(path, name);
    const std::string original = OriginalNameOfUz2(name);
    TTransferItem item;
    switch (PlanPackage(original.empty() ? name : original, item)) {
      case TNameCheck::UnknownKind: return ignored_.push_back(name);
      case TNameCheck::Unsafe: return unsafe_.push_back(name);
      case TNameCheck::Package: break;
    }
    item.form = original.empty() ? TSourceForm::File : TSourceForm::Uz2File;
    item.source = path;
    // A chosen file that already is the target is not copied onto itself.
    if (original.empty() && ::lstrcmpiA(FullPathOf(path).c_str(), item.target.c_str()) == 0)
      item.outcome = TTransferOutcome::AlreadyInPlace;
    plan_.push_back({name, {}, {}, {}, {std::move(item)}});
  }

  // The archive's members of known kinds. An archive whose directory is faulty, or that names a
  // member by no safe file name, is damaged and installs nothing.
  void PlanArchive(const std::string& path, const std::string& name) {
    TTransferGroup group{name, {}, {}, {}, {}};
    try {
      try {
        group.archive = std::make_shared<TOpenArchive>(path);
        PlanMembers(group, path);
      } catch (const EArchiveError& error) {
        RefuseChosenFile(name, ArchiveTexts::ErrorReadingArchive, error);
      }
    } catch (const EArchiveError&) {
      group.refusal = std::current_exception();
      group.items.clear();
    }
    plan_.push_back(std::move(group));
  }

  void PlanMembers(TTransferGroup& group, const std::string& path) {
    std::vector<std::string> unknown;
    const std::vector<TZipMember>& members = group.archive->reader->Members();
    for (size_t i = 0; i < members.size(); ++i) {
      const TZipMember& member = members[i];
      const std::string shown = (member.folder.empty() ? "" : member.folder + "/") + member.fileName;
      const std::optional<std::string> package = member.utf8Name ? AnsiOfUtf8(member.fileName) : member.fileName;
      TTransferItem item;
      const TNameCheck check = package ? PlanPackage(*package, item) : TNameCheck::Unsafe;
      if (check == TNameCheck::Unsafe) RefuseArchive(ArchiveTexts::UnsafeMemberFileName, {shown});
      if (check == TNameCheck::UnknownKind) {
        unknown.push_back(group.chosenFile + ": " + shown);
        continue;
      }
      item.form = TSourceForm::ArchiveMember;
      item.source = path;
      item.member = i;
      group.items.push_back(std::move(item));
    }
    ignored_.insert(ignored_.end(), unknown.begin(), unknown.end());
  }

  // A file on disk is of a kind by its extension in any letter case, as Windows names are; its
  // name must be a safe file name in its kind's folder.
  enum class TNameCheck { Package, UnknownKind, Unsafe };
  TNameCheck PlanPackage(const std::string& package, TTransferItem& item) const {
    const TPackageKind kind = GetFileKind(package, SystemLeadByte);
    const std::string folder = GetDestinationFolder(kind, c_.Prefs());
    if (!IsSafeFileName(package, folder, SystemLeadByte)) return TNameCheck::Unsafe;
    if (kind == pkOther) return TNameCheck::UnknownKind;
    item.name = package;
    item.kind = kind;
    item.target = FullPathOf(folder + package);
    return TNameCheck::Package;
  }

  void Placed(const TTransferItem& item) {
    if (item.outcome == TTransferOutcome::AlreadyInPlace) return inPlace_.push_back(item.name);
    ++installed_;
    if (item.kind == pkMutator) c_.InstallMutator(item.name);
  }

  TTransferContext& c_;
  TTransferRun run_;
  TTransferPlan plan_;
  int installed_ = 0;
  std::vector<std::string> ignored_, unsafe_, inPlace_;
};

}  // namespace

void InstallPackageFiles(TTransferContext& context, const std::vector<std::string>& files) {
  TInstall run(context);
  if (!run.Plan(files) || !run.Run()) return;
  context.Status.SetStatusText(JobTexts::Done);
  context.Boxes.ShowInformation(run.Summary());
}

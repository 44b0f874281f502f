#include "job/install_files_run.h"

#include <windows.h>

#include <memory>

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
#include "job/staged_output.h"
#include "win/files.h"

namespace {

constexpr std::string_view ArchiveExtension = ".zip";
// A .uz2 is read in pieces of this size rather than chunk header by chunk header.
constexpr size_t ReadPiece = 256 * 1024;

// The archive's refusal headed by the chosen file's name, still telling the refusals apart.
[[noreturn]] void RefuseFile(const char* headline, const std::string& name, const EArchiveError& error) {
  const std::string quoted = FormatText(TransferTexts::QuotedName, name.c_str());
  throw EArchiveError(error.Reason(), FormatText(headline, quoted.c_str(), error.what()));
}

class TInstall {
public:
  explicit TInstall(TInstallContext& context) : c_(context) {}

  void InstallFile(const std::string& path) {
    const std::string name = FileNameOf(path);
    if (EqualsIgnoringAsciiCase(FileExtOf(name), ArchiveExtension)) return InstallArchive(path, name);
    const std::string original = OriginalNameOfUz2(name);
    const std::string package = original.empty() ? name : original;
    std::string dest;
    if (!Destination(package, dest)) return ignored_.push_back(name);
    if (original.empty() && ::lstrcmpiA(FullPathOf(path).c_str(), FullPathOf(dest).c_str()) == 0)
      return inPlace_.push_back(name);
    Announce(package);
    if (original.empty()) {
      status_.Show();  // the copy looks at the queue on its own clock
      CopyFileWithProgress(path, dest, c_.Progress, c_.Io, staging_);
    } else {
      TFileSource source = OpenSourceFile(path);
      TBufferedSource buffered(source, ReadPiece);
      TProgressClock clock(c_.Progress, static_cast<int64_t>(source.Size()), messages_);
      TProgressSource counted(buffered, clock);
      TStagedSink restored(dest, staging_, c_.Io);
      try {
        ReadUz2(counted, restored);
      } catch (const EArchiveError& error) {
        RefuseFile(ArchiveTexts::ErrorReadingCompressedFile, name, error);
      }
      restored.Commit();
      clock.Finish();
    }
    Installed(package);
  }

  void Failed(const std::string& path) { failed_.push_back(FileNameOf(path)); }
  // The package in hand stays named on the status line when an error ends the run.
  void ShowStatus() { status_.Show(); }

  std::string Summary() const {
    using namespace TransferTexts;
    std::string text = CountText(installed_, InstalledFile, InstalledFiles);
    if (!failed_.empty()) text += FormatText(FailedFiles, NameList(failed_).c_str());
    if (!inPlace_.empty()) text += FormatText(AlreadyInPlace, NameList(inPlace_).c_str());
    if (!ignored_.empty()) text += FormatText(IgnoredFiles, NameList(ignored_).c_str());
    return text;
  }

private:
  // False for a name of no known kind or no safe file name in its kind's folder.
  bool Destination(const std::string& package, std::string& dest) const {
    const TPackageKind kind = GetPackageKind(package);
    const std::string folder = GetDestinationFolder(kind, c_.Prefs());
    if (package.empty() || kind == pkOther || !IsSafeFileName(package, folder, SystemLeadByte)) return false;
    dest = folder + package;
    return true;
  }

  // Every member is extracted to its staging file before any takes its place: an archive whose
  // bytes are faulty installs nothing.
  void InstallArchive(const std::string& path, const std::string& name) {
    TFileSource file = OpenSourceFile(path);
    struct TStaged {
      std::string Name;
      std::unique_ptr<TStagedSink> File;
    };
    std::vector<TStaged> staged;
    try {
      TZipReader reader(file, SystemLeadByte);
      for (size_t i = 0; i < reader.Members().size(); ++i) {
        const TZipMember& member = reader.Members()[i];
        const std::string package = member.utf8Name ? AnsiOfUtf8(member.fileName).value_or("") : member.fileName;
        std::string dest;
        if (!Destination(package, dest)) {
          ignored_.push_back(name + ": " + (member.folder.empty() ? "" : member.folder + "/") + member.fileName);
          continue;
        }
        Announce(package);
        TProgressClock clock(c_.Progress, member.size, messages_);
        staged.push_back({package, std::make_unique<TStagedSink>(dest, staging_, c_.Io)});
        TProgressSink counted(*staged.back().File, clock);
        reader.Extract(i, counted);
        clock.Finish();
      }
    } catch (const EArchiveError& error) {
      RefuseFile(ArchiveTexts::ErrorReadingArchive, name, error);
    }
    for (TStaged& package : staged) {
      package.File->Commit();
      Installed(package.Name);
    }
  }

  void Installed(const std::string& package) {
    ++installed_;
    if (GetPackageKind(package) == pkMutator) c_.InstallMutator(package);
  }
  // The integration's own status: the package is copied into its game folder as there.
  void Announce(const std::string& name) { status_.Announce(FormatText(JobTexts::CopyingFile, name.c_str())); }

  TInstallContext& c_;
  TStagingFolders staging_;
  // Between two looks lies (de)compression, not a bare copy: a look every 40 ms keeps the window
  // answering at the rate the bar is repainted, where a look every 12 ms cost a fifth of the run.
  TMessageClock messages_{0, 40000, {}};
  TDeferredStatus status_{c_.Status, messages_};
  int installed_ = 0;
  std::vector<std::string> failed_, ignored_, inPlace_;
};

}  // namespace

void InstallPackageFiles(TInstallContext& context, const std::vector<std::string>& files) {
  TInstall run(context);
  context.Progress.SetProgressVisible(true);
  try {
    for (const std::string& file : files) {
      if (context.StopRequested()) {
        context.Progress.SetProgressVisible(false);
        return;
      }
      try {
        run.InstallFile(file);
      } catch (const EArchiveError&) {
        run.Failed(file);
        context.ReportError(std::current_exception());
      }
    }
  } catch (...) {
    run.ShowStatus();
    context.Progress.SetProgressVisible(false);
    throw;
  }
  context.Progress.SetProgressVisible(false);
  context.Status.SetStatusText(JobTexts::Done);
  context.Boxes.ShowInformation(run.Summary());
}

#include "job/mutator_registration.h"

#include <windows.h>

#include <vector>

#include "core/applied_prefs.h"
#include "core/exceptions.h"
#include "core/stock_packages.h"
#include "job/job_texts.h"
#include "win/files.h"
#include "win/handles.h"
#include "win/launcher.h"

void ConfigureGameToolLauncher(TLauncher& launcher) {
  launcher.Action = "Open";
  launcher.ShowMode = TShowMode::smHide;
  launcher.Timeout = -1;
  launcher.WaitType = TWaitType::wtProcessMessages;
  launcher.WaitUntilFinished = true;
}

void RunGameTool(const std::string& packageFile, const TAppliedPrefs& prefs, TLauncher& launcher) {
  launcher.StartDir = prefs.SystemPath;
  launcher.FileName = prefs.SystemPath + JobTexts::GameToolFileName;
  launcher.Parameters = FormatText(JobTexts::ExportCacheParameters, packageFile.c_str());
  launcher.Launch();
}

void InstallMutator(const std::string& Name, const TAppliedPrefs& prefs, IMessageBoxes& boxes, IStatusLine& status, TLauncher& launcher) {
  if (!prefs.AutoRegMutators) return;
  if (prefs.PromptMutReg &&
      boxes.AskConfirmation(FormatText(JobTexts::ConfirmInstallMutator, Name.c_str())) != TModalResult::Yes)
    return;
  status.SetStatusText(FormatText(JobTexts::InstallingMutator, Name.c_str()));
  RunGameTool(Name, prefs, launcher);
}

void RegisterUninstalledMutators(const TAppliedPrefs& prefs, IMessageBoxes& boxes, IStatusLine& status, TLauncher& launcher,
                                 const std::function<bool()>& stopRequested) {
  // Only No ends the command; the close box gives no answer and goes on.
  if (boxes.AskWarning(JobTexts::RegisterWarning) == TModalResult::No) return;
  std::vector<std::string> StockPackages;
  FillStockList(StockPackages);

  // Every entry is admitted, folders included, as the game's own search does.
  WIN32_FIND_DATAA entry;
  TFindHandle search(::FindFirstFileA((prefs.SystemPath + "*.u").c_str(), &entry));
  if (search) {
    do {
      const std::string Name = entry.cFileName;
      if (IsStockPackage(StockPackages, Name)) continue;
      if (IsFilePresent(prefs.SystemPath + PackageBaseName(Name) + ".ucl")) continue;
      status.SetStatusText(FormatText(JobTexts::RegisteringMutator, Name.c_str()));
      RunGameTool(Name, prefs, launcher);
    } while (!stopRequested() && ::FindNextFileA(search.Get(), &entry));
  }
  status.SetStatusText(JobTexts::Done);
}

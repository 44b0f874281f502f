// The main window's file commands: Export selected and Install package files.
#include "ui/pn_mainform.h"

#include <commdlg.h>

#include "core/file_dialog_text.h"
#include "win/application.h"

namespace {

// Room for the names of many files chosen at once.
constexpr DWORD ChosenFilesBufferSize = 65536;

}  // namespace

void TMainForm::Export1Click() { commands_.Export1Click(exportDialog_); }

void TMainForm::InstallFiles1Click() { commands_.InstallFiles1Click(*this); }

std::optional<std::vector<std::string>> TMainForm::PickPackageFiles(const std::string& title, const std::string& filter) {
  const std::optional<std::string> chosen =
      RunOpenDialog(Handle(), title, filter, OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST, ChosenFilesBufferSize);
  if (!chosen) return std::nullopt;
  return ChosenFiles(chosen->c_str());
}

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
  const std::string filterPairs = OpenDialogFilter(filter);
  std::string chosen(ChosenFilesBufferSize, '\0');
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = Handle();
  dialog.lpstrFilter = filterPairs.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = chosen.data();
  dialog.nMaxFile = ChosenFilesBufferSize;
  dialog.lpstrTitle = title.c_str();
  dialog.Flags = OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_ENABLESIZING;
  if (!::GetOpenFileNameA(&dialog)) return std::nullopt;
  return ChosenFiles(chosen.c_str());
}

// The main window's file commands: Export selected and Install package files, and the file-open
// dialog they and Open cache share.
#include "ui/pn_mainform.h"

#include <commdlg.h>

#include "core/exceptions.h"
#include "core/file_dialog_text.h"
#include "ui/main_window_texts.h"
#include "win/application.h"

namespace {

// Room for the names of many files chosen at once.
constexpr DWORD ChosenFilesBufferSize = 65536;

}  // namespace

std::optional<std::string> TMainForm::RunOpenDialog(HWND owner, const std::string& title, const std::string& filter,
                                                     DWORD flags, size_t bufferSize) {
  const std::string filterPairs = OpenDialogFilter(filter);
  std::string chosen(bufferSize, '\0');
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filterPairs.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = chosen.data();
  dialog.nMaxFile = static_cast<DWORD>(bufferSize);
  dialog.lpstrTitle = title.c_str();
  dialog.Flags = flags | OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING;
  if (::GetOpenFileNameA(&dialog)) return chosen;
  // Cancelled, or failed: a failure (a buffer too small for the names chosen) is no answer of the user's.
  if (const DWORD error = ::CommDlgExtendedError()) throw Exception(FormatText(MainWindowTexts::FileDialogFailed, error));
  return std::nullopt;
}

void TMainForm::Export1Click() { commands_.Export1Click(exportDialog_); }

void TMainForm::InstallFiles1Click() { commands_.InstallFiles1Click(*this); }

std::optional<std::vector<std::string>> TMainForm::PickPackageFiles(const std::string& title, const std::string& filter) {
  // The process's current folder stays where it is: relative folder preferences resolve against it.
  const std::optional<std::string> chosen = RunOpenDialog(
      Handle(), title, filter, OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR, ChosenFilesBufferSize);
  if (!chosen) return std::nullopt;
  return ChosenFiles(chosen->c_str());
}

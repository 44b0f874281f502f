#pragma once
// Exporting the ticked packages for friends or a redirect server: into a folder laid out like the
// game's, one zip archive laid out alike, or flat .uz2 files. The cache, its payloads and its index
// are only read.
#include <functional>
#include <optional>
#include <string>

#include "job/transfer_run.h"

enum class TExportForm { GameLayout, ZipArchive, RedirectUz2 };

struct TExportChoice {
  TExportForm Form = TExportForm::GameLayout;
  std::string Folder;  // where the export goes; made when missing, with every level above it
  bool operator==(const TExportChoice&) const = default;
};

// The small dialog that asks for the form and the folder.
class IExportDialog {
public:
  virtual ~IExportDialog() = default;
  // Nothing when the user cancels.
  virtual std::optional<TExportChoice> ChooseExport() = 0;
};

// Warns when no row is ticked; otherwise asks the dialog for the form and folder (nothing happens
// when the user cancels) and writes every ticked row's payload under its real file name: in the game layout, each in its
// kind's folder below choice.Folder ("Maps\", "System\", ... as the default folders name them), a
// package of unknown kind at the top; in the archive choice.Folder + "Packages.zip" the same layout
// as members; as .uz2 files, flat in choice.Folder, packages of unknown kind left out. A row
// without an index line, or whose name or key is no safe file name, is left out; of two rows for
// one file (letter case ignored) the first goes. Every file is written complete, flushed and only
// then put in the place of a file of its name. Errors end the export and leave the files written
// before them; an archive is written whole or not at all. A close request (StopRequested) ends it
// between two packages, without its end box.
void ExportSelected(TTransferContext& context, IExportDialog& dialog);

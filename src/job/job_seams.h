#pragma once
// What the program's work needs of the main window, as narrow seams: each operation takes only
// the ones it uses (the copy only the progress, the busy guard only the status line). TMainForm
// implements them with its real controls; tests script them.
#include <optional>
#include <string>
#include <vector>

#include "core/listing_rows.h"
#include "job/message_boxes.h"

// The progress bar of a long operation, and the message handling that keeps the window answering
// while it runs.
class IProgress {
public:
  virtual ~IProgress() = default;
  virtual void SetProgressVisible(bool visible) = 0;  // hidden outside a run
  virtual void SetProgressRange(int maximum) = 0;     // minimum is 0
  virtual void SetProgressPosition(int position) = 0;
  // Handles every window message that is waiting, then returns.
  virtual void ProcessPendingMessages() = 0;
};

// The one-line status bar.
class IStatusLine {
public:
  virtual ~IStatusLine() = default;
  virtual void SetStatusText(const std::string& text) = 0;
};

// The package list: rows by position, their captions and ticks.
class IPackageRows {
public:
  virtual ~IPackageRows() = default;
  virtual int RowCount() const = 0;
  virtual std::string RowCaption(int row) const = 0;
  virtual bool RowTicked(int row) const = 0;
  virtual void SetRowTicked(int row, bool ticked) = 0;
  // Replaces every row at once, with repainting suspended for the whole rebuild.
  virtual void ReplaceRows(std::vector<TListingRow> rows) = 0;
};

// The file-open dialog of the cache index.
class ICacheFilePicker {
public:
  virtual ~ICacheFilePicker() = default;
  // Its title and its filter ("UT2K4 Cache files|*.ini"); the chosen file's full path, or nothing
  // when the user cancels.
  virtual std::optional<std::string> PickCacheIndexFile(const std::string& title, const std::string& filter) = 0;
};

// Every seam of the main window, for the commands that use several.
struct TJobSeams {
  IPackageRows& Rows;
  IStatusLine& Status;
  IProgress& Progress;
  IMessageBoxes& Boxes;
  ICacheFilePicker& Picker;
};

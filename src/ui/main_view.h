#pragma once
// The narrow seam through which the main job (opening the cache, the integration run, the
// mutator registration) reaches the main window. TMainForm implements it with its real controls;
// tests script it. Nothing else of the window is visible to the logic.
#include <optional>
#include <string>
#include <vector>

#include "catalogue/listing_rows.h"
#include "framework/message_boxes.h"

class IMainView : public IMessageBoxes {
public:
  // The one-line status bar.
  virtual void SetStatusText(const std::string& text) = 0;

  // The progress bar, hidden outside a run.
  virtual void SetProgressVisible(bool visible) = 0;
  virtual void SetProgressRange(int maximum) = 0;  // minimum is 0
  virtual void SetProgressPosition(int position) = 0;

  // The package list: rows by position, their captions and ticks.
  virtual int RowCount() const = 0;
  virtual std::string RowCaption(int row) const = 0;
  virtual bool RowTicked(int row) const = 0;
  virtual void SetRowTicked(int row, bool ticked) = 0;
  // Replaces every row at once, with repainting suspended for the whole rebuild.
  virtual void ReplaceRows(std::vector<TListingRow> rows) = 0;

  // The file-open dialog of the cache index: its title and its filter ("UT2K4 Cache files|*.ini").
  // Returns the chosen file's full path, or nothing when the user cancels.
  virtual std::optional<std::string> PickCacheIndexFile(const std::string& title, const std::string& filter) = 0;

  // Handles every window message that is waiting, then returns.
  virtual void ProcessPendingMessages() = 0;
};

#pragma once
// The modal dialog that shows the details of one cached package: what the package holds (a map's
// screenshot, a texture package's thumbnails) above a read-only text (made by the job layer, see
// job/package_details.h, led by a map's summary or a package's count of objects) and a Close button.
#include <windows.h>

#include <memory>
#include <string>

#include "core/package_contents.h"
#include "ui/thumbnail_grid_view.h"
#include "win/window_base.h"

// What the details read of a package: a screenshot up to 512 by 256, at most 200 thumbnails.
inline constexpr TContentsLimits DetailsContentsLimits{{{512, 256}, false}, {{64, 64}, true}, 200};

class TPackageDetailsDialog : private TWindowBase {
public:
  explicit TPackageDetailsDialog(std::string text, TPackageContents contents = {})
      : text_(std::move(text)), contents_(std::move(contents)) {}

  // Shows the text modally over owner until Close, Enter, Esc or the close box ends the dialog.
  // Raises Exception when the dialog cannot be made.
  void ShowModal(HINSTANCE instance, HWND owner);

private:
  LRESULT HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) override;
  bool TakesMessagesOf(HWND) const override { return true; }  // one object, one dialog
  std::string ShownText() const;
  // Makes room above the text for the screenshot or the thumbnails, and puts them there.
  void PlaceContents(HWND dialog);

  std::string text_;
  TPackageContents contents_;
  HINSTANCE instance_ = nullptr;
  std::unique_ptr<TThumbnailGridView> thumbnails_;
};

#pragma once
// A scrollable grid of thumbnails with their names: the textures of a texture package in its
// details. The thumbnails belong to the caller and must outlive the view.
#include <windows.h>

#include <vector>

#include "core/package_contents.h"
#include "ui/picture_paint.h"
#include "win/handles.h"
#include "win/window_base.h"

class TThumbnailGridView : private TWindowBase {
public:
  // A child of parent at place, in the font given. Raises Exception when it cannot be made.
  TThumbnailGridView(HINSTANCE instance, HWND parent, const RECT& place, HFONT font, TPixelSize thumbnail,
                     const std::vector<TNamedPicture>& thumbnails, size_t more);
  HWND Handle() const { return window_.Get(); }

private:
  // The grid's height in pixels.
  int ContentHeight() const { return cells_.Height(thumbnails_.size(), more_ != 0 || thumbnails_.empty()); }
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  bool TakesMessagesOf(HWND window) const override { return !window_ || window_.Get() == window; }
  void ScrollTo(int top);
  int ScrollTarget(WORD request) const;

  HFONT font_;
  const std::vector<TNamedPicture>& thumbnails_;
  size_t more_;
  TThumbnailCells cells_;
  int scrollTop_ = 0;
  int pageHeight_ = 0;
  TWindowHandle window_;
};

#pragma once
// The preview pane beside the package list: the selected package's screenshot and, for a map, its
// title, author and players; its first thumbnails; or its count of objects. The payload is read on
// the pane's own thread when its row is selected, so the window goes on working meanwhile; a
// selection made before the reading ends wins, and the older reading is dropped.
#include <windows.h>

#include <cstdint>
#include <mutex>
#include <optional>

#include "job/package_preview.h"
#include "win/handles.h"
#include "win/task_thread.h"
#include "win/window_base.h"

// What the pane reads of a package: a screenshot up to 256 by 128, at most 12 thumbnails.
inline constexpr TContentsLimits PaneContentsLimits{{{256, 128}, false}, {{64, 64}, true}, 12};

class TPreviewPane : private TWindowBase {
public:
  // A child of parent, hidden until placed. Raises Exception when the window or its thread cannot
  // be made.
  TPreviewPane(HINSTANCE instance, HWND parent, HFONT font);
  ~TPreviewPane() override;
  TPreviewPane(const TPreviewPane&) = delete;
  TPreviewPane& operator=(const TPreviewPane&) = delete;

  HWND Handle() const { return window_.Get(); }
  // Shows the package of the request (nothing: the pane says to select one). The request shown
  // or being read already is not read again.
  void ShowPackage(const std::optional<TPreviewRequest>& request);

  // What the pane shows: the request, and its contents once read.
  const std::optional<TPreviewRequest>& Request() const { return request_; }
  const std::optional<TPackageContents>& Contents() const { return contents_; }

private:
  // Posted by the reading thread: a reading has ended.
  static constexpr UINT ReadingEndedMessage = WM_APP + 1;
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  bool TakesMessagesOf(HWND window) const override { return !window_ || window_.Get() == window; }
  void TakeReading();
  void Paint(HDC dc, const RECT& client);
  int PaintLines(HDC dc, RECT place, const std::vector<std::string>& lines);

  HFONT font_;
  std::optional<TPreviewRequest> request_;
  std::optional<TPackageContents> contents_;  // of request_, once read
  uint64_t readingNumber_ = 0;                // of the latest request
  // Handed over from the reading thread.
  struct TReadingEnded {
    std::mutex mutex;
    uint64_t number = 0;
    std::optional<TPackageContents> contents;
  } ended_;
  TWindowHandle window_;
  TLatestTaskThread reader_;  // last: stopped before the rest goes
};

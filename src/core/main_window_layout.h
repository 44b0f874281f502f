#pragma once
// Where the main window's controls go for a given client area, computed without a window. At the
// design size (520 x 323) this is the window as drawn; a resize gives all height changes to the
// list, keeps the buttons at their distance from the bottom-left corner and docks the progress
// bar and the status bar at the bottom. The progress bar's place is kept whether it is shown or
// not, so showing it moves nothing.
#include "core/window_layout.h"

inline constexpr TPixelSize MainDesignClient{520, 323};
inline constexpr int MainDesignStatusHeight = 19;
inline constexpr int MainProgressHeight = 17;
inline constexpr int MainListBottomGap = 95;     // from the list's bottom edge to the client's
inline constexpr int MainButtonsBottomGap = 85;  // from the buttons' top edge to the client's

struct TMainLayout {
  TPixelRect List;
  TPixelRect OpenCache;
  TPixelRect CopySelected;
  TPixelRect Progress;
  TPixelRect Status;
};

// statusHeight is the height the status bar gives itself for the window's font.
TMainLayout LayOutMainWindow(TPixelSize client, int statusHeight);

// The preview pane, when the user shows it, stands at the right of the list's place and takes
// this much of it (half the place at most); the window grows by as much when it is turned on.
inline constexpr int PreviewPaneWidth = 276;

struct TListAndPreview {
  TPixelRect List;
  TPixelRect Preview;
};

TListAndPreview SplitForPreview(const TPixelRect& listPlace);

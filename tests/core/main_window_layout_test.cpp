// Where the main window's controls go: the drawn design at its size, and what a resize moves.
#include "core/main_window_layout.h"

#include <gtest/gtest.h>

namespace {

TEST(MainWindowLayout, DesignSizeGivesTheDrawnPlaces) {
  const TMainLayout layout = LayOutMainWindow(MainDesignClient, MainDesignStatusHeight);
  EXPECT_EQ(layout.List, (TPixelRect{0, 0, 520, 228}));
  EXPECT_EQ(layout.OpenCache, (TPixelRect{8, 238, 113, 41}));
  EXPECT_EQ(layout.CopySelected, (TPixelRect{128, 238, 153, 41}));
  EXPECT_EQ(layout.Progress, (TPixelRect{0, 287, 520, 17}));
  EXPECT_EQ(layout.Status, (TPixelRect{0, 304, 520, 19}));
}

TEST(MainWindowLayout, ResizingMovesOnlyWhatIsAnchoredToTheChangedEdges) {
  const struct {
    TPixelSize Client;
    int StatusHeight;
    int ListHeight, ButtonsTop, ProgressTop, StatusTop;
  } cases[] = {
      {{800, 600}, 19, 505, 515, 564, 581},
      {{300, 200}, 22, 105, 115, 161, 178},  // a taller status bar lifts only the progress bar
      {{100, 60}, 19, 0, -25, 24, 41},       // too low for the list: it keeps no height, never less
  };
  for (const auto& each : cases) {
    const TMainLayout layout = LayOutMainWindow(each.Client, each.StatusHeight);
    SCOPED_TRACE(each.Client.Height);
    EXPECT_EQ(layout.List, (TPixelRect{0, 0, each.Client.Width, each.ListHeight}));
    EXPECT_EQ(layout.OpenCache, (TPixelRect{8, each.ButtonsTop, 113, 41}));
    EXPECT_EQ(layout.CopySelected, (TPixelRect{128, each.ButtonsTop, 153, 41}));
    EXPECT_EQ(layout.Progress, (TPixelRect{0, each.ProgressTop, each.Client.Width, 17}));
    EXPECT_EQ(layout.Status, (TPixelRect{0, each.StatusTop, each.Client.Width, each.StatusHeight}));
  }
}

}  // namespace

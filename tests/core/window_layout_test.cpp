#include "core/window_layout.h"

#include <gtest/gtest.h>

namespace {

struct TCentreCase {
  TPixelRect Outer;
  TPixelSize Size;
  TPixelRect Expected;
};

class CentredInCases : public testing::TestWithParam<TCentreCase> {};

TEST_P(CentredInCases, Places) {
  EXPECT_EQ(CentredIn(GetParam().Outer, GetParam().Size), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CentredInCases,
    testing::Values(TCentreCase{{0, 0, 1280, 1024}, {300, 200}, {490, 412, 300, 200}},
                    TCentreCase{{100, 50, 528, 377}, {471, 437}, {128, 50, 471, 437}},  // taller: top kept
                    TCentreCase{{0, 0, 1280, 1024}, {1500, 100}, {0, 462, 1500, 100}}));

TEST(LayOutMessage, ShortTextIsCentredOnTheIconAndButtonsSitBelow) {
  const TMessageLayout layout = LayOutMessage({32, 32}, {100, 13}, {75, 23}, 1);
  EXPECT_EQ(layout.Text.Top, layout.Icon.Top + (32 - 13) / 2);
  EXPECT_GT(layout.Text.Left, layout.Icon.Right());
  EXPECT_GT(layout.Buttons[0].Top, layout.Icon.Bottom());
  EXPECT_EQ(layout.Client.Height, layout.Buttons[0].Bottom() + MessageMargin);
  // The one button is centred.
  EXPECT_NEAR(layout.Buttons[0].Left, layout.Client.Width - layout.Buttons[0].Right(), 1);
}

TEST(LayOutMessage, TallTextPushesTheButtonsDown) {
  const TMessageLayout layout = LayOutMessage({32, 32}, {200, 90}, {75, 23}, 2);
  EXPECT_EQ(layout.Text.Top, layout.Icon.Top);
  EXPECT_GT(layout.Buttons[0].Top, layout.Text.Bottom());
  EXPECT_EQ(layout.Buttons[1].Top, layout.Buttons[0].Top);
  EXPECT_EQ(layout.Buttons[1].Left, layout.Buttons[0].Right() + MessageButtonGap);
  EXPECT_GE(layout.Client.Width, layout.Text.Right() + MessageMargin);
}

}  // namespace

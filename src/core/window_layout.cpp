#include "core/window_layout.h"

#include <algorithm>

TPixelRect CentredIn(const TPixelRect& outer, TPixelSize size) {
  TPixelRect placed{outer.Left + (outer.Width - size.Width) / 2, outer.Top + (outer.Height - size.Height) / 2,
                    size.Width, size.Height};
  // A box larger than outer keeps its top left corner (and so its title bar) visible.
  placed.Left = std::max(placed.Left, outer.Left);
  placed.Top = std::max(placed.Top, outer.Top);
  return placed;
}

TMessageLayout LayOutMessage(TPixelSize icon, TPixelSize text, TPixelSize button, int buttonCount) {
  buttonCount = std::clamp(buttonCount, 1, 2);
  TMessageLayout layout;
  layout.Icon = {MessageMargin, MessageMargin, icon.Width, icon.Height};
  const int textTop = MessageMargin + std::max(0, (icon.Height - text.Height) / 2);
  layout.Text = {layout.Icon.Right() + MessageMargin, textTop, text.Width, text.Height};

  const int rowWidth = buttonCount * button.Width + (buttonCount - 1) * MessageButtonGap;
  const int clientWidth = std::max(layout.Text.Right() + MessageMargin, rowWidth + 2 * MessageMargin);
  const int buttonTop = std::max(layout.Icon.Bottom(), layout.Text.Bottom()) + MessageMargin + 4;
  const int rowLeft = (clientWidth - rowWidth) / 2;
  for (int i = 0; i < buttonCount; ++i)
    layout.Buttons[i] = {rowLeft + i * (button.Width + MessageButtonGap), buttonTop, button.Width, button.Height};
  layout.Client = {clientWidth, buttonTop + button.Height + MessageMargin};
  return layout;
}

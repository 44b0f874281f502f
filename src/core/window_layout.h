#pragma once
// Pixel layout of the program's message box, and centring, computed without a window so that
// the rules can be checked on their own.
struct TPixelRect {
  int Left = 0, Top = 0, Width = 0, Height = 0;
  int Right() const { return Left + Width; }
  int Bottom() const { return Top + Height; }
  bool operator==(const TPixelRect&) const = default;
};

struct TPixelSize {
  int Width = 0, Height = 0;
};

// Places a box of the given size with its centre on the centre of outer (rounding towards the
// top left) and keeps it inside outer where it fits.
TPixelRect CentredIn(const TPixelRect& outer, TPixelSize size);

// A message box's client area: the icon at the top left, the text to its right (centred on the
// icon when it is shorter), the buttons centred in a row below both.
struct TMessageLayout {
  TPixelSize Client;
  TPixelRect Icon;
  TPixelRect Text;
  TPixelRect Buttons[2];  // only the first buttonCount are used
};

inline constexpr int MessageMargin = 12;
inline constexpr int MessageButtonGap = 8;

TMessageLayout LayOutMessage(TPixelSize icon, TPixelSize text, TPixelSize button, int buttonCount);

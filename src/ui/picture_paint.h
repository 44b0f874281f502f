#pragma once
// Drawing what a package holds: a picture's pixels, a picture in its place or the plain frame that
// says why there is none, and a grid of named thumbnails. Texts from packages are drawn as text
// only (no access-key prefixes).
#include <windows.h>

#include <functional>
#include <span>
#include <string>

#include "core/package_contents.h"

// The picture centred in place, or a frame around place with the reason it is not there (in
// brief for a thumbnail).
void PaintShownPicture(HDC dc, const RECT& place, const TPictureReading& reading, bool brief = false);

// Where the cells of a grid of thumbnails stand: as many columns as fit the width, each cell
// a thumbnail's box with its name below.
struct TThumbnailCells {
  int columns = 1;
  int cellWidth = 0, cellHeight = 0;
  TThumbnailCells(int width, TPixelSize thumbnail, int textHeight);
  RECT Cell(size_t index, POINT origin) const;  // origin: the first cell's top left
  int Height(size_t count, bool moreLine) const;
  int textHeight;
  TPixelSize thumbnail;
};

// The thumbnails from origin on, then "and N more" when more is not 0 (or that there are none);
// cells outside the device context's clipping are passed over.
void PaintThumbnails(HDC dc, const TThumbnailCells& cells, POINT origin, std::span<const TNamedPicture> thumbnails,
                     size_t more);

// The text's height in the device context's font, in pixels; or in font on the window.
int LineHeight(HDC dc);
int LineHeight(HWND window, HFONT font);

// A window's WM_PAINT: paint draws into its client area in font, text of the window text colour
// on the background the class has erased.
void PaintWindow(HWND window, HFONT font, const std::function<void(HDC dc, const RECT& client)>& paint);

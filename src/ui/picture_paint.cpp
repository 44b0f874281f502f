#include "ui/picture_paint.h"

#include <algorithm>

#include "core/exceptions.h"
#include "ui/preview_texts.h"

namespace {

constexpr int CellGap = 6;
constexpr UINT TextOnly = DT_NOPREFIX | DT_NOCLIP;

// Text wrapped into place and centred in it both ways.
void PaintCentredText(HDC dc, const RECT& place, const std::string& text) {
  RECT measured = place;
  ::DrawTextA(dc, text.c_str(), -1, &measured, TextOnly | DT_WORDBREAK | DT_CENTER | DT_CALCRECT);
  RECT shown = place;
  shown.top =
      place.top + std::max(0, static_cast<int>((place.bottom - place.top) - (measured.bottom - measured.top)) / 2);
  ::DrawTextA(dc, text.c_str(), -1, &shown, TextOnly | DT_WORDBREAK | DT_CENTER | DT_END_ELLIPSIS);
}

void PaintPicture(HDC dc, const TPicture& picture, int left, int top) {
  if (picture.pixels.empty()) return;
  BITMAPINFO info{};
  // A negative height: rows from the top, as the pixels are.
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), picture.width, -picture.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  ::SetDIBitsToDevice(dc, left, top, static_cast<DWORD>(picture.width), static_cast<DWORD>(picture.height), 0, 0, 0,
                      static_cast<UINT>(picture.height), picture.pixels.data(), &info, DIB_RGB_COLORS);
}

}  // namespace

void PaintShownPicture(HDC dc, const RECT& place, const TPictureReading& reading, bool brief) {
  const TPicture& picture = reading.picture;
  if (reading.absence == TPictureAbsence::None) {
    PaintPicture(dc, picture, (place.left + place.right - picture.width) / 2,
                 (place.top + place.bottom - picture.height) / 2);
    return;
  }
  ::FrameRect(dc, &place, ::GetSysColorBrush(COLOR_BTNSHADOW));
  RECT inside = place;
  ::InflateRect(&inside, -4, -4);
  PaintCentredText(dc, inside, PictureAbsenceText(reading, brief));
}

TThumbnailCells::TThumbnailCells(int width, TPixelSize thumbnail, int textHeight)
    : columns(std::max(1, width / (thumbnail.Width + CellGap))),
      cellWidth(thumbnail.Width + CellGap),
      cellHeight(thumbnail.Height + textHeight + CellGap),
      textHeight(textHeight),
      thumbnail(thumbnail) {}

RECT TThumbnailCells::Cell(size_t index, POINT origin) const {
  const int column = static_cast<int>(index % static_cast<size_t>(columns));
  const int row = static_cast<int>(index / static_cast<size_t>(columns));
  const int left = origin.x + column * cellWidth, cellTop = origin.y + row * cellHeight;
  return {left, cellTop, left + cellWidth, cellTop + cellHeight};
}

int TThumbnailCells::Height(size_t count, bool moreLine) const {
  const int rows = static_cast<int>((count + static_cast<size_t>(columns) - 1) / static_cast<size_t>(columns));
  return rows * cellHeight + (moreLine ? textHeight + CellGap : 0);
}

void PaintThumbnails(HDC dc, const TThumbnailCells& cells, POINT origin, std::span<const TNamedPicture> thumbnails,
                     size_t more) {
  RECT clip{};
  ::GetClipBox(dc, &clip);
  for (size_t i = 0; i < thumbnails.size(); ++i) {
    const RECT cell = cells.Cell(i, origin);
    RECT visible{};
    if (!::IntersectRect(&visible, &cell, &clip)) continue;
    const int left = cell.left + CellGap / 2, pictureTop = cell.top + CellGap / 2;
    const RECT box{left, pictureTop, left + cells.thumbnail.Width, pictureTop + cells.thumbnail.Height};
    PaintShownPicture(dc, box, thumbnails[i].picture, true);
    RECT name{cell.left, box.bottom + 1, cell.right, box.bottom + 1 + cells.textHeight};
    ::DrawTextA(dc, thumbnails[i].name.c_str(), -1, &name, TextOnly | DT_CENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
  }
  if (more == 0 && !thumbnails.empty()) return;
  const std::string text = thumbnails.empty() ? PreviewTexts::NoTextures
                                              : FormatText(PreviewTexts::MoreTextures, static_cast<unsigned>(more));
  const int textTop = origin.y + cells.Height(thumbnails.size(), false) + CellGap / 2;
  RECT line{origin.x + CellGap / 2, textTop, clip.right, textTop + cells.textHeight};
  ::DrawTextA(dc, text.c_str(), -1, &line, TextOnly | DT_SINGLELINE);
}

void PaintWindow(HWND window, HFONT font, const std::function<void(HDC dc, const RECT& client)>& paint) {
  PAINTSTRUCT painting{};
  HDC dc = ::BeginPaint(window, &painting);
  RECT client{};
  ::GetClientRect(window, &client);
  // The font is put back and the painting ended also when paint raises.
  struct TPaintEnd {
    HWND window;
    PAINTSTRUCT& painting;
    HGDIOBJ oldFont;
    ~TPaintEnd() {
      ::SelectObject(painting.hdc, oldFont);
      ::EndPaint(window, &painting);
    }
  } end{window, painting, ::SelectObject(dc, font)};
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
  paint(dc, client);
}

int LineHeight(HDC dc) {
  TEXTMETRICA metrics{};
  ::GetTextMetricsA(dc, &metrics);
  return metrics.tmHeight;
}

int LineHeight(HWND window, HFONT font) {
  HDC dc = ::GetDC(window);
  const HGDIOBJ old = ::SelectObject(dc, font);
  const int height = LineHeight(dc);
  ::SelectObject(dc, old);
  ::ReleaseDC(window, dc);
  return height;
}

#include "ui/preview_pane.h"

#include <algorithm>

#include "core/exceptions.h"
#include "ui/picture_paint.h"
#include "ui/preview_texts.h"

namespace {

constexpr int Margin = 8;
constexpr int Gap = 6;
constexpr UINT TextOnly = DT_NOPREFIX | DT_WORDBREAK | DT_END_ELLIPSIS;

}  // namespace

TPreviewPane::TPreviewPane(HINSTANCE instance, HWND parent, HFONT font) : font_(font) {
  TWindowPlace place{WS_EX_CLIENTEDGE, WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent, nullptr};
  HWND window = CreateObjectWindow(
      instance, {PreviewTexts::PaneClass, CS_HREDRAW | CS_VREDRAW, nullptr, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)},
      "", place);
  if (!window) throw Exception(SystemErrorText(::GetLastError()));
  window_.Reset(window);
}

TPreviewPane::~TPreviewPane() = default;

void TPreviewPane::ShowPackage(const std::optional<TPreviewRequest>& request) {
  if (request == request_) return;
  request_ = request;
  contents_.reset();
  ++readingNumber_;
  if (request_) {
    reader_.Post([this, request = *request_, number = readingNumber_, window = Handle()] {
      TPackageContents contents = ReadPreview(request, PaneContentsLimits);
      {
        std::lock_guard lock(ended_.mutex);
        ended_.number = number;
        ended_.contents = std::move(contents);
      }
      ::PostMessageA(window, ReadingEndedMessage, 0, 0);
    });
  }
  ::InvalidateRect(Handle(), nullptr, TRUE);
}

void TPreviewPane::TakeReading() {
  std::optional<TPackageContents> contents;
  {
    std::lock_guard lock(ended_.mutex);
    if (ended_.number != readingNumber_) return;  // an earlier selection's: a later one is read
    contents.swap(ended_.contents);
  }
  if (!contents) return;
  contents_ = std::move(contents);
  ::InvalidateRect(Handle(), nullptr, TRUE);
}

LRESULT TPreviewPane::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case ReadingEndedMessage:
      TakeReading();
      return 0;
    case WM_NCDESTROY:
      window_.Release();  // gone with the main window
      break;
    case WM_PAINT:
      PaintWindow(window, font_, [this](HDC dc, const RECT& client) { Paint(dc, client); });
      return 0;
    default:
      break;
  }
  return ::DefWindowProcA(window, message, wParam, lParam);
}

int TPreviewPane::PaintLines(HDC dc, RECT place, const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    if (place.top >= place.bottom) break;
    RECT measured = place;
    ::DrawTextA(dc, line.c_str(), -1, &measured, TextOnly | DT_CALCRECT);
    ::DrawTextA(dc, line.c_str(), -1, &place, TextOnly);
    place.top += measured.bottom - measured.top;
  }
  return place.top;
}

void TPreviewPane::Paint(HDC dc, const RECT& client) {
  RECT place{Margin, Margin, client.right - Margin, client.bottom - Margin};
  if (!request_) {
    PaintLines(dc, place, {PreviewTexts::NothingSelected});
    return;
  }
  place.top = PaintLines(dc, place, {request_->realName}) + Gap;
  if (!contents_) {
    PaintLines(dc, place, {PreviewTexts::Reading});
    return;
  }
  if (contents_->isMap) {
    const TPixelSize box = PaneContentsLimits.screenshot.size;
    const RECT picture{place.left, place.top, place.left + box.Width, place.top + box.Height};
    PaintShownPicture(dc, picture, contents_->screenshot);
    place.top = picture.bottom + Gap;
  }
  if (contents_->isTexturePackage && contents_->failure.empty()) {
    const TThumbnailCells cells(place.right - place.left, PaneContentsLimits.thumbnail.size, LineHeight(dc));
    // Only whole rows, with room for the line that says how many more there are.
    const int height = static_cast<int>(place.bottom - place.top) - cells.textHeight;
    const size_t rows = static_cast<size_t>(std::max(0, height / cells.cellHeight));
    const size_t shown = std::min(contents_->thumbnails.size(), rows * static_cast<size_t>(cells.columns));
    PaintThumbnails(dc, cells, {place.left, place.top}, std::span(contents_->thumbnails).first(shown),
                    contents_->thumbnails.size() - shown + contents_->moreTextures);
    return;
  }
  place.top = PaintLines(dc, place, contents_->lines);
  if (!contents_->failure.empty()) PaintLines(dc, place, {contents_->failure});
}

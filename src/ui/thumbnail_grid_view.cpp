#include "ui/thumbnail_grid_view.h"

#include <windowsx.h>

#include <algorithm>

#include "core/exceptions.h"
#include "ui/preview_texts.h"

namespace {

constexpr int WheelStepRows = 1;

}  // namespace

TThumbnailGridView::TThumbnailGridView(HINSTANCE instance, HWND parent, const RECT& place, HFONT font,
                                       TPixelSize thumbnail, const std::vector<TNamedPicture>& thumbnails, size_t more)
    : font_(font),
      thumbnails_(thumbnails),
      more_(more),
      cells_(place.right - place.left - ::GetSystemMetrics(SM_CXVSCROLL) - 2 * ::GetSystemMetrics(SM_CXEDGE), thumbnail,
             LineHeight(parent, font)) {
  TWindowPlace at{WS_EX_CLIENTEDGE, WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP, place.left, place.top,
                  place.right - place.left, place.bottom - place.top, parent, nullptr};
  HWND window = CreateObjectWindow(instance, {PreviewTexts::ThumbnailGridClass, 0, nullptr,
                                              reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)}, "", at);
  if (!window) throw Exception(SystemErrorText(::GetLastError()));
  window_.Reset(window);
  RECT client{};
  ::GetClientRect(window, &client);
  pageHeight_ = client.bottom;
  SCROLLINFO scroll{sizeof scroll, SIF_RANGE | SIF_PAGE | SIF_POS, 0, ContentHeight() - 1,
                    static_cast<UINT>(pageHeight_), 0, 0};
  ::SetScrollInfo(window, SB_VERT, &scroll, TRUE);
}

LRESULT TThumbnailGridView::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      PaintWindow(window, font_, [this](HDC dc, const RECT&) {
        PaintThumbnails(dc, cells_, {0, -scrollTop_}, thumbnails_, more_);
      });
      return 0;
    case WM_VSCROLL:
      ScrollTo(ScrollTarget(LOWORD(wParam)));
      return 0;
    case WM_MOUSEWHEEL:
      ScrollTo(scrollTop_ - GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA * WheelStepRows * cells_.cellHeight);
      return 0;
    case WM_LBUTTONDOWN:
      ::SetFocus(window);  // so that the wheel scrolls it
      return 0;
    case WM_NCDESTROY:
      window_.Release();  // gone with the dialog
      return ::DefWindowProcA(window, message, wParam, lParam);
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_KEYDOWN:
      if (wParam == VK_DOWN || wParam == VK_UP)
        ScrollTo(scrollTop_ + (wParam == VK_DOWN ? cells_.cellHeight : -cells_.cellHeight));
      else if (wParam == VK_NEXT || wParam == VK_PRIOR)
        ScrollTo(scrollTop_ + (wParam == VK_NEXT ? pageHeight_ : -pageHeight_));
      return 0;
    default:
      return ::DefWindowProcA(window, message, wParam, lParam);
  }
}

int TThumbnailGridView::ScrollTarget(WORD request) const {
  SCROLLINFO scroll{sizeof scroll, SIF_ALL, 0, 0, 0, 0, 0};
  ::GetScrollInfo(Handle(), SB_VERT, &scroll);
  switch (request) {
    case SB_LINEUP: return scrollTop_ - cells_.cellHeight;
    case SB_LINEDOWN: return scrollTop_ + cells_.cellHeight;
    case SB_PAGEUP: return scrollTop_ - pageHeight_;
    case SB_PAGEDOWN: return scrollTop_ + pageHeight_;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: return scroll.nTrackPos;
    case SB_TOP: return 0;
    case SB_BOTTOM: return ContentHeight();
    default: return scrollTop_;
  }
}

void TThumbnailGridView::ScrollTo(int top) {
  top = std::clamp(top, 0, std::max(0, ContentHeight() - pageHeight_));
  if (top == scrollTop_) return;
  ::ScrollWindowEx(Handle(), 0, scrollTop_ - top, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE | SW_ERASE);
  scrollTop_ = top;
  SCROLLINFO scroll{sizeof scroll, SIF_POS, 0, 0, 0, top, 0};
  ::SetScrollInfo(Handle(), SB_VERT, &scroll, TRUE);
}

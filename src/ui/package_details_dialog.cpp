#include "ui/package_details_dialog.h"

#include <algorithm>

#include "core/exceptions.h"
#include "ui/preview_texts.h"
#include "ui/resource.h"

namespace {

constexpr int ThumbnailRowsShown = 3;
// A longer line of the summary (a description) is broken at spaces.
constexpr size_t WrapBytes = 90;

void AppendWrapped(const std::string& line, std::string& text) {
  size_t start = 0;
  while (line.size() - start > WrapBytes) {
    size_t cut = line.rfind(' ', start + WrapBytes);
    if (cut == std::string::npos || cut <= start) cut = start + WrapBytes;
    text += line.substr(start, cut - start) + "\r\n    ";
    start = line[cut] == ' ' ? cut + 1 : cut;
  }
  text += line.substr(start) + "\r\n";
}

void MoveBy(HWND control, HWND dialog, int right, int down, int wider) {
  RECT place{};
  ::GetWindowRect(control, &place);
  ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
  ::MoveWindow(control, place.left + right, place.top + down, place.right - place.left + wider,
               place.bottom - place.top, FALSE);
}

}  // namespace

void TPackageDetailsDialog::ShowModal(HINSTANCE instance, HWND owner) {
  instance_ = instance;
  ShowModalDialog(instance, MAKEINTRESOURCEA(IDD_PACKAGE_DETAILS), owner);
}

std::string TPackageDetailsDialog::ShownText() const {
  std::string text;
  for (const std::string& line : contents_.lines) AppendWrapped(line, text);
  if (contents_.headerRead && !contents_.failure.empty())
    AppendWrapped(FormatText(PreviewTexts::ContentsUnreadable, contents_.failure.c_str()), text);
  return text + (text.empty() ? "" : "\r\n") + text_;
}

void TPackageDetailsDialog::PlaceContents(HWND dialog) {
  const bool picture = contents_.isMap, grid = contents_.isTexturePackage && contents_.failure.empty();
  if (!picture && !grid) return;
  RECT margin{7, 7, 0, 0};
  ::MapDialogRect(dialog, &margin);
  const HFONT font = reinterpret_cast<HFONT>(::SendMessageA(dialog, WM_GETFONT, 0, 0));
  const TThumbnailCells cells(0, DetailsContentsLimits.thumbnail.size, LineHeight(dialog, font));
  const TPixelSize area{DetailsContentsLimits.screenshot.size.Width + 2,
                        picture ? DetailsContentsLimits.screenshot.size.Height + 2
                                : ThumbnailRowsShown * cells.cellHeight + 2 * ::GetSystemMetrics(SM_CYEDGE)};
  RECT client{};
  ::GetClientRect(dialog, &client);
  const int wider = std::max(0, area.Width + 2 * static_cast<int>(margin.left) - static_cast<int>(client.right));
  const int down = area.Height + static_cast<int>(margin.top);
  MoveBy(::GetDlgItem(dialog, IDC_DETAILS_TEXT), dialog, 0, down, wider);
  MoveBy(::GetDlgItem(dialog, IDOK), dialog, wider, down, 0);
  RECT frame{};
  ::GetWindowRect(dialog, &frame);
  const int width = frame.right - frame.left + wider, height = frame.bottom - frame.top + down;
  // Centred again, as the template centres it, at the new size.
  ::MoveWindow(dialog, frame.left - wider / 2, frame.top - down / 2, width, height, FALSE);
  const RECT place{(client.right + wider - area.Width) / 2, margin.top, (client.right + wider + area.Width) / 2,
                   margin.top + area.Height};
  if (grid) {
    thumbnails_ =
        std::make_unique<TThumbnailGridView>(instance_, dialog, place, font, DetailsContentsLimits.thumbnail.size,
                                             contents_.thumbnails, contents_.moreTextures);
    return;
  }
  HWND shown = ::CreateWindowExA(
      0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_OWNERDRAW, place.left, place.top, area.Width, area.Height, dialog,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_DETAILS_PICTURE)), instance_, nullptr);
  if (!shown) throw Exception(SystemErrorText(::GetLastError()));
}

LRESULT TPackageDetailsDialog::HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      ::SetDlgItemTextA(dialog, IDC_DETAILS_TEXT, ShownText().c_str());
      PlaceContents(dialog);
      // On the button, so that the text is not shown selected and Enter closes the dialog.
      ::SetFocus(::GetDlgItem(dialog, IDOK));
      return FALSE;
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item.CtlID != IDC_DETAILS_PICTURE) return FALSE;
      ::FillRect(item.hDC, &item.rcItem, ::GetSysColorBrush(COLOR_BTNFACE));
      ::SetBkMode(item.hDC, TRANSPARENT);
      PaintShownPicture(item.hDC, item.rcItem, contents_.screenshot);
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) != IDOK && LOWORD(wParam) != IDCANCEL) return FALSE;
      ::EndDialog(dialog, LOWORD(wParam));
      return TRUE;
    case WM_CLOSE:
      ::EndDialog(dialog, IDCANCEL);
      return TRUE;
    default:
      return FALSE;
  }
}

// The main window's preview pane: View > "Preview Pane" turns it on and off, the choice is kept in
// the settings, and the pane follows the selected row.
#include "ui/pn_mainform.h"

#include <commctrl.h>

#include <algorithm>

#include "core/main_window_layout.h"
#include "core/preview_setting.h"
#include "ui/resource.h"

void TMainForm::PreviewPane1Click() {
  ShowPreviewPane(!previewPane_);
  if (services_.Settings) SavePreviewPaneShown(*services_.Settings, previewPane_ != nullptr);
}

void TMainForm::RestorePreviewPane() {
  if (!services_.Settings || !LoadPreviewPaneShown(*services_.Settings)) return;
  ShowPreviewPane(true);
  // Not shown yet: centred at its new width, as it would have been made.
  RECT frame{};
  ::GetWindowRect(Handle(), &frame);
  ::SetWindowPos(Handle(), nullptr, frame.left - PreviewPaneWidth / 2, frame.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TMainForm::ShowPreviewPane(bool shown) {
  if (shown == (previewPane_ != nullptr)) return;
  if (shown)
    previewPane_ = std::make_unique<TPreviewPane>(instance_, Handle(), static_cast<HFONT>(font_.Get()));
  else
    previewPane_.reset();
  ::CheckMenuItem(::GetMenu(Handle()), IDM_PREVIEWPANE1, MF_BYCOMMAND | (shown ? MF_CHECKED : MF_UNCHECKED));
  // The window grows by the pane and shrinks by it again, so that the list keeps its width.
  RECT frame{};
  ::GetWindowRect(Handle(), &frame);
  const int width = frame.right - frame.left;
  ::SetWindowPos(Handle(), nullptr, 0, 0,
                 shown ? width + PreviewPaneWidth : std::max(width - PreviewPaneWidth, PreviewPaneWidth),
                 frame.bottom - frame.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  LayOutControls();
  if (!previewPane_) return;
  ::ShowWindow(previewPane_->Handle(), SW_SHOWNA);
  FollowSelection();
}

TPixelRect TMainForm::PlacePreviewPane(const TPixelRect& listPlace) {
  if (!previewPane_) return listPlace;
  const TListAndPreview split = SplitForPreview(listPlace);
  PlaceWindow(previewPane_->Handle(), split.Preview);
  return split.List;
}

void TMainForm::FollowSelection() {
  if (!previewPane_) return;
  const int row = NextRowWith(LVNI_SELECTED);
  previewPane_->ShowPackage(rows_.Contains(row) ? PreviewRequestOf(commands_.OpenedCache().Index, RowCaption(row))
                                                : std::nullopt);
}

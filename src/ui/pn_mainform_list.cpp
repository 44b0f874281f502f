// The main window's package list: the rows it shows, its context menu, ticking by mouse and by
// Space, and the list view's own questions about row states and the type-ahead search.
#include "ui/pn_mainform.h"

#include <commctrl.h>

#include "win/application.h"

void TMainForm::SupplyRowData(NMLVDISPINFOA& info) const {
  LVITEMA& item = info.item;
  if (!rows_.Contains(item.iItem)) return;
  if (item.mask & LVIF_TEXT) CopyToBuffer(rows_.ColumnText(item.iItem, item.iSubItem), item.pszText, item.cchTextMax);
  if (item.mask & LVIF_IMAGE) item.iImage = rows_.Row(item.iItem).ImageIndex;
  if (item.mask & LVIF_STATE) {
    item.state = (item.state & ~LVIS_STATEIMAGEMASK) | INDEXTOSTATEIMAGEMASK(rows_.StateImageOf(item.iItem));
    item.stateMask |= LVIS_STATEIMAGEMASK;
  }
}

LRESULT TMainForm::FindRow(UINT flags, const std::string& text, int start) const {
  if (!(flags & (LVFI_STRING | LVFI_PARTIAL))) return -1;
  return rows_.FindCaption(text, start, (flags & LVFI_PARTIAL) != 0, (flags & LVFI_WRAP) != 0);
}

void TMainForm::SetRowTicked(int row, bool ticked) {
  rows_.SetTicked(row, ticked);
  ScheduleListRepaint();
}

void TMainForm::ReplaceRows(std::vector<TListingRow> rows) {
  ::SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
  // As when every row of a list is deleted: no row stays selected or focused.
  LVITEMA cleared{};
  cleared.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  ::SendMessageA(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&cleared));
  rows_.Replace(std::move(rows));
  ::SendMessageA(list_, LVM_SETITEMCOUNT, rows_.Count(), 0);
  ::SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
  ::InvalidateRect(list_, nullptr, TRUE);
}

void TMainForm::ShowPopupMenu(LPARAM screenPoint) {
  POINT at{static_cast<short>(LOWORD(screenPoint)), static_cast<short>(HIWORD(screenPoint))};
  if (screenPoint == -1) {
    // From the keyboard (menu key, Shift+F10): at the list's top-left corner.
    at = {0, 0};
    ::ClientToScreen(list_, &at);
  }
  popupRow_ = RowAtMenuPoint(screenPoint);
  ::TrackPopupMenu(PopupMenu(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, Handle(), nullptr);
}

void TMainForm::MeasureMenuPicture(MEASUREITEMSTRUCT& item) const {
  item.itemWidth = SmallPicture;
  item.itemHeight = SmallPicture;
}

void TMainForm::DrawMenuPicture(const DRAWITEMSTRUCT& item) const {
  if (item.CtlType != ODT_MENU) return;
  const int top = item.rcItem.top + (item.rcItem.bottom - item.rcItem.top - SmallPicture) / 2;
  ::ImageList_Draw(imageList1_.Get(), SelectAllImage, item.hDC, item.rcItem.left, top, ILD_TRANSPARENT);
}

// --- the list -------------------------------------------------------------------------------

LRESULT CALLBACK TMainForm::ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                     DWORD_PTR form) {
  auto* self = reinterpret_cast<TMainForm*>(form);
  if (message == WM_NCDESTROY) {
    ::RemoveWindowSubclass(list, &TMainForm::ListProc, ListSubclassId);
    return ::DefSubclassProc(list, message, wParam, lParam);
  }
  return GuardedDispatch([&] { return self->HandleListMessage(message, wParam, lParam); }, LRESULT{0});
}

LRESULT TMainForm::HandleListMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (TickAtPoint(lParam)) return 0;
      break;
    case WM_KEYDOWN:
      if (wParam == VK_DELETE) {
        lvCacheItemsDeleteKey();
        return 0;
      }
      if (wParam != VK_SPACE) break;
      ToggleFocusedRow();
      return 0;
    case WM_CHAR:
      if (wParam == ' ') return 0;  // Space ticks; it does not take part in the type-ahead search
      break;
    case LVM_SETITEMSTATE:
      return SetItemState(wParam, reinterpret_cast<const LVITEMA*>(lParam));
    case LVM_GETITEMSTATE:
      return GetItemState(wParam, lParam);
    default:
      break;
  }
  return ::DefSubclassProc(list_, message, wParam, lParam);
}

bool TMainForm::TickAtPoint(LPARAM clientPoint) {
  LVHITTESTINFO hit{};
  hit.pt = {static_cast<short>(LOWORD(clientPoint)), static_cast<short>(HIWORD(clientPoint))};
  const int row = static_cast<int>(::SendMessageA(list_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  if (!rows_.Contains(row) || !(hit.flags & LVHT_ONITEMSTATEICON)) return false;
  ::SetFocus(list_);
  rows_.Toggle(row);
  ScheduleListRepaint();
  return true;
}

void TMainForm::ToggleFocusedRow() {
  const int row = NextRowWith(LVNI_FOCUSED);
  if (!rows_.Contains(row)) return;
  rows_.Toggle(row);
  ScheduleListRepaint();
}

LRESULT TMainForm::SetItemState(WPARAM item, const LVITEMA* state) {
  if (!state) return FALSE;
  const int row = static_cast<int>(item);
  bool done = true;
  if (state->stateMask & LVIS_STATEIMAGEMASK) {
    done = rows_.ApplyStateImage(row, (state->state & LVIS_STATEIMAGEMASK) >> 12);
    if (done) {
      ScheduleListRepaint();
    }
  }
  // Selection, focus and the other states stay with the list view.
  LVITEMA rest = *state;
  rest.stateMask &= ~LVIS_STATEIMAGEMASK;
  if (rest.stateMask == 0) return done;
  const LRESULT restDone = ::DefSubclassProc(list_, LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(&rest));
  return done && restDone;
}

LRESULT TMainForm::GetItemState(WPARAM item, LPARAM mask) {
  const int row = static_cast<int>(item);
  LRESULT state = ::DefSubclassProc(list_, LVM_GETITEMSTATE, item, mask & ~LVIS_STATEIMAGEMASK);
  if ((mask & LVIS_STATEIMAGEMASK) && rows_.Contains(row)) state |= INDEXTOSTATEIMAGEMASK(rows_.StateImageOf(row));
  return state;
}

void TMainForm::ScheduleListRepaint() {
  // One repaint of the list for any number of ticks made before the next message: Select All
  // over 100,000 rows then costs one repaint, not one per row.
  if (repaintPending_) return;
  repaintPending_ = true;
  ::PostMessageA(Handle(), RepaintListMessage, 0, 0);
}

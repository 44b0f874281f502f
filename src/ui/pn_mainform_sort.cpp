// The package list's order and its choices by kind: a click on a column's header sorts the rows
// by it (a second click turns the order round, the header shows which way with the system's
// arrow), and the context menu ticks every row of the kind of the row it was opened on.
#include "ui/pn_mainform.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>

#include "job/row_selection.h"
#include "win/files.h"

namespace {

// The list's columns, left to right.
constexpr TListingSortColumn SortColumns[] = {TListingSortColumn::Filename, TListingSortColumn::Size,
                                              TListingSortColumn::Type};

}  // namespace

void TMainForm::lvCacheItemsColumnClick(int column) {
  // A running integration walks the rows by position: their order holds until it ends.
  if (commands_.Busy()) return;
  if (column < 0 || column >= static_cast<int>(std::size(SortColumns))) return;
  const TListingSort sort = SortAfterHeaderClick(rows_.Sort(), SortColumns[column]);
  // The focused row moves with its package, and stays selected when it was. Only the rows that
  // hold a state are cleared: clearing every row of a large owner-data list costs more than the sort.
  const int focused = NextRowWith(LVNI_FOCUSED);
  const int selected = NextRowWith(LVNI_SELECTED);
  const int moved = rows_.SortBy(sort, SystemLeadByte, focused);
  LVITEMA state{};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  for (const int row : {focused, selected})
    if (row >= 0) ::SendMessageA(list_, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
  if (moved >= 0) {
    state.state = LVIS_FOCUSED | (selected == focused ? LVIS_SELECTED : 0);
    ::SendMessageA(list_, LVM_SETITEMSTATE, moved, reinterpret_cast<LPARAM>(&state));
    ::SendMessageA(list_, LVM_ENSUREVISIBLE, moved, FALSE);
  }
  ShowSortArrow();
  ::InvalidateRect(list_, nullptr, FALSE);
}

void TMainForm::ShowSortArrow() {
  HWND header = reinterpret_cast<HWND>(::SendMessageA(list_, LVM_GETHEADER, 0, 0));
  const std::optional<TListingSort>& sort = rows_.Sort();
  for (int column = 0; column < static_cast<int>(std::size(SortColumns)); ++column) {
    HDITEMA item{};
    item.mask = HDI_FORMAT;
    ::SendMessageA(header, HDM_GETITEMA, column, reinterpret_cast<LPARAM>(&item));
    item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
    if (sort && sort->Column == SortColumns[column]) item.fmt |= sort->Descending ? HDF_SORTDOWN : HDF_SORTUP;
    ::SendMessageA(header, HDM_SETITEMA, column, reinterpret_cast<LPARAM>(&item));
  }
}

int TMainForm::NextRowWith(UINT state) const {
  return static_cast<int>(::SendMessageA(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), state));
}

int TMainForm::RowAtMenuPoint(LPARAM screenPoint) const {
  // From the keyboard the menu belongs to the focused row.
  if (screenPoint == -1) return NextRowWith(LVNI_FOCUSED);
  LVHITTESTINFO hit{};
  hit.pt = {static_cast<short>(LOWORD(screenPoint)), static_cast<short>(HIWORD(screenPoint))};
  ::ScreenToClient(list_, &hit.pt);
  return static_cast<int>(::SendMessageA(list_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
}

void TMainForm::SelectAllOfType1Click() { SelectAllOfKind(*this, popupRow_); }

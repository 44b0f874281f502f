#include "ui/pn_preferences.h"

#include <commctrl.h>

#include "core/exceptions.h"
#include "core/prefs_dialog_layout.h"
#include "ui/prefs_dialog_texts.h"
#include "ui/resource.h"
#include "win/application.h"

TPrefsForm* PrefsForm = nullptr;

namespace {

// The dialog template's identifier of a control the layout places.
int ControlId(const TControlPlace& place) {
  switch (place.Control) {
    case TPrefsControl::PathsPanel: return IDC_PREFS_PATHS_PANEL;
    case TPrefsControl::OptionsPanel: return IDC_PREFS_OPTIONS_PANEL;
    case TPrefsControl::RegMutators: return IDC_CBREGMUTS;
    case TPrefsControl::PromptMutators: return IDC_CBPROMPTMUTS;
    case TPrefsControl::QuickPath: return IDC_TBQUICKPATH;
    case TPrefsControl::Save: return IDC_TBSAVE;
    case TPrefsControl::Cancel: return IDC_TBCANCEL;
    case TPrefsControl::FolderLabel: return IDC_PREFS_LABEL_FIRST + place.Row;
    case TPrefsControl::FolderEdit: return IDC_PREFS_EDIT_FIRST + place.Row;
    case TPrefsControl::FolderButton: return IDC_PREFS_BROWSE_FIRST + place.Row;
  }
  return 0;
}
constexpr COLORREF PathsColour = RGB(192, 220, 192);

// A window's device context, released on every path.
class TWindowDC {
public:
  explicit TWindowDC(HWND window) : window_(window), dc_(::GetDC(window)) {}
  ~TWindowDC() {
    if (dc_) ::ReleaseDC(window_, dc_);
  }
  TWindowDC(const TWindowDC&) = delete;
  TWindowDC& operator=(const TWindowDC&) = delete;
  HDC Get() const { return dc_; }

private:
  HWND window_;
  HDC dc_;
};

// The places were drawn for the classic 8-point dialog font; where a wider stand-in font is in
// use (as under emulation), a check box whose caption would be cut is widened to fit it.
void WidenToFitCaption(HWND checkBox) {
  char caption[128];
  const int length = ::GetWindowTextA(checkBox, caption, sizeof caption);
  SIZE text{};
  {
    TWindowDC dc(checkBox);
    if (!dc.Get()) return;
    const HGDIOBJ former = ::SelectObject(dc.Get(), reinterpret_cast<HFONT>(::SendMessageA(checkBox, WM_GETFONT, 0, 0)));
    ::GetTextExtentPoint32A(dc.Get(), caption, length, &text);
    ::SelectObject(dc.Get(), former);
  }
  RECT place;
  ::GetWindowRect(checkBox, &place);
  const int needed = text.cx + ::GetSystemMetrics(SM_CXMENUCHECK) + 8;
  if (needed > place.right - place.left)
    ::SetWindowPos(checkBox, nullptr, 0, 0, needed, place.bottom - place.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

constexpr COLORREF OptionsColour = RGB(166, 202, 240);
constexpr COLORREF PictureTransparent = RGB(255, 0, 255);
constexpr int PictureSize = 16;
constexpr int BrowseButtonRoom = 22;  // the edit's text stops short of its folder button

bool InRange(int id, int first, int& row) {
  row = id - first;
  return row >= 0 && row < static_cast<int>(FolderPrefCount);
}

TImageList LoadButtonPicture(int bitmapId) {
  TGdiObject bitmap(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(bitmapId), IMAGE_BITMAP, 0, 0,
                                 LR_CREATEDIBSECTION));
  if (!bitmap) return TImageList();
  TImageList list(::ImageList_Create(PictureSize, PictureSize, ILC_COLOR24 | ILC_MASK, 1, 0));
  if (list) ::ImageList_AddMasked(list.Get(), static_cast<HBITMAP>(bitmap.Get()), PictureTransparent);
  return list;
}
}  // namespace

TPrefsForm::TPrefsForm(IPrefsStore& store, IPrefsHost& host, IMessageBoxes& messages, IFolderPicker& folderDialog)
    : prefs_(store), host_(host), messages_(messages), folderDialog_(folderDialog) {
  PrefsForm = this;
}

TPrefsForm::~TPrefsForm() {
  if (PrefsForm == this) PrefsForm = nullptr;
}

void TPrefsForm::Create() {
  GuardedCall([this] { FormCreate(); });
}

template <class F>
auto TPrefsForm::Operate(F&& operation) {
  struct TRefreshOnExit {
    TPrefsForm& Form;
    ~TRefreshOnExit() { Form.RefreshControls(); }
  } refresh{*this};
  return operation();
}

// ---- Handlers ----

void TPrefsForm::FormCreate() {
  Operate([this] { LoadPrefsOrSetUpFirstRun(prefs_, host_, messages_); });
}

void TPrefsForm::PathButtonClick(int row) {
  if (row < 0 || row >= static_cast<int>(FolderPrefCount)) return;
  const std::optional<std::string> picked = folderDialog_.PickFolder(window_);
  if (picked) Operate([&] { prefs_.Editable.FolderTexts[static_cast<size_t>(row)] = *picked; });
}

void TPrefsForm::tbQuickPathClick() {
  Operate([this] { FillDefaultPathsFromGame(prefs_, host_); });
}

void TPrefsForm::tbSaveClick() {
  prefs_.SavePrefs();
  Operate([this] { return prefs_.LoadPrefs(); });
  Close();
  // The packages of the list are looked for in the folders just applied, or the list is opened
  // again from a cache folder that changed; the dialog closes also when that fails.
  host_.RelistPackages();
}

void TPrefsForm::tbCancelClick() {
  Operate([this] { return prefs_.LoadPrefs(); });
  Close();
}

void TPrefsForm::AutoRegMutsClick(bool checked) {
  Operate([&] { prefs_.Editable.SetRegMutsChecked(checked); });
}

void TPrefsForm::PromptMutsClick(bool checked) {
  Operate([&] { prefs_.Editable.SetPromptMutsChecked(checked); });
}

void TPrefsForm::EditChanged(int row, const std::string& text) {
  if (!refreshing_ && row >= 0 && row < static_cast<int>(FolderPrefCount))
    prefs_.Editable.FolderTexts[static_cast<size_t>(row)] = text;
}

void TPrefsForm::Close() {
  if (window_) ::EndDialog(window_, 0);
}

// ---- The window ----

void TPrefsForm::ShowModal(HWND owner) {
  if (window_) return;  // already shown
  ShowModalDialog(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_PREFERENCES), owner);
  window_ = nullptr;
}

LRESULT TPrefsForm::HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      window_ = dialog;
      FormShow(dialog);
      return TRUE;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_CLOSE:
      Close();
      return TRUE;
    case WM_DRAWITEM:
      DrawPanel(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      if (HBRUSH brush = PanelBrushFor(reinterpret_cast<HWND>(lParam))) {
        ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return reinterpret_cast<INT_PTR>(brush);
      }
      return FALSE;
    case WM_DESTROY: {
      RECT frame;
      if (::GetWindowRect(window_, &frame)) lastPosition_ = POINT{frame.left, frame.top};
      return FALSE;
    }
  }
  return FALSE;
}

void TPrefsForm::OnCommand(int id, int notification) {
  int row = 0;
  if (InRange(id, IDC_PREFS_EDIT_FIRST, row)) {
    if (notification == EN_CHANGE) EditChanged(row, ControlText(::GetDlgItem(window_, id)));
    return;
  }
  if (notification != BN_CLICKED) return;
  if (InRange(id, IDC_PREFS_BROWSE_FIRST, row)) return PathButtonClick(row);
  switch (id) {
    case IDC_CBREGMUTS: return AutoRegMutsClick(::IsDlgButtonChecked(window_, id) == BST_CHECKED);
    case IDC_CBPROMPTMUTS: return PromptMutsClick(::IsDlgButtonChecked(window_, id) == BST_CHECKED);
    case IDC_TBQUICKPATH: return tbQuickPathClick();
    case IDC_TBSAVE: return tbSaveClick();
    case IDC_TBCANCEL: return tbCancelClick();
  }
  // Enter (IDOK) and Esc (IDCANCEL) are bound to no button: they do nothing here.
}

void TPrefsForm::FormShow(HWND dialog) {
  if (!pathsBrush_) {
    pathsBrush_.Reset(::CreateSolidBrush(PathsColour));
    optionsBrush_.Reset(::CreateSolidBrush(OptionsColour));
    LOGFONTA font{};
    ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(dialog, WM_GETFONT, 0, 0)), sizeof font, &font);
    font.lfWeight = FW_BOLD;
    headingFont_.Reset(::CreateFontIndirectA(&font));
    LoadPictures();
  }

  for (const TControlPlace& place : PrefsControlPlaces())
    ::SetWindowPos(::GetDlgItem(dialog, ControlId(place)), nullptr, place.Rect.Left, place.Rect.Top, place.Rect.Width,
                   place.Rect.Height, SWP_NOZORDER | SWP_NOACTIVATE);
  for (const int checkBox : {IDC_CBREGMUTS, IDC_CBPROMPTMUTS}) WidenToFitCaption(::GetDlgItem(dialog, checkBox));
  for (int row = 0; row < static_cast<int>(FolderPrefCount); ++row) {
    HWND edit = ::GetDlgItem(dialog, IDC_PREFS_EDIT_FIRST + row);
    ::SendMessageA(edit, EM_SETMARGINS, EC_RIGHTMARGIN, MAKELONG(0, BrowseButtonRoom));
    ::SetWindowSubclass(edit, EditSubclass, static_cast<UINT_PTR>(row), reinterpret_cast<DWORD_PTR>(this));
  }
  const std::pair<int, const TImageList*> pictures[] = {
      {IDC_TBQUICKPATH, &quickPathImage_}, {IDC_TBSAVE, &saveImage_}, {IDC_TBCANCEL, &cancelImage_}};
  for (const auto& [id, list] : pictures) {
    if (!*list) continue;
    BUTTON_IMAGELIST picture{list->Get(), {4, 0, 0, 0}, BUTTON_IMAGELIST_ALIGN_LEFT};
    ::SendDlgItemMessageA(dialog, id, BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&picture));
  }

  const DWORD style = static_cast<DWORD>(::GetWindowLongA(dialog, GWL_STYLE));
  const DWORD exStyle = static_cast<DWORD>(::GetWindowLongA(dialog, GWL_EXSTYLE));
  RECT frame{0, 0, PrefsClientSize.Width, PrefsClientSize.Height};
  ::AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  const TPixelSize size{static_cast<int>(frame.right - frame.left), static_cast<int>(frame.bottom - frame.top)};
  POINT topLeft;
  if (lastPosition_) {
    topLeft = *lastPosition_;
  } else {
    // First showing: centred over the main window (the screen when there is none).
    TPixelRect over{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    RECT ownerFrame;
    if (HWND owner = ::GetWindow(dialog, GW_OWNER); owner && ::GetWindowRect(owner, &ownerFrame))
      over = {static_cast<int>(ownerFrame.left), static_cast<int>(ownerFrame.top),
              static_cast<int>(ownerFrame.right - ownerFrame.left), static_cast<int>(ownerFrame.bottom - ownerFrame.top)};
    const TPixelRect placed = CentredIn(over, size);
    topLeft = POINT{placed.Left, placed.Top};
  }
  ::SetWindowPos(dialog, nullptr, topLeft.x, topLeft.y, size.Width, size.Height, SWP_NOZORDER | SWP_NOACTIVATE);
  RefreshControls();
}

void TPrefsForm::LoadPictures() {
  quickPathImage_ = LoadButtonPicture(IDB_DEFAULT_PATHS);
  saveImage_ = LoadButtonPicture(IDB_SAVE);
  cancelImage_ = LoadButtonPicture(IDB_CANCEL);
}

LRESULT CALLBACK TPrefsForm::EditSubclass(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR row,
                                          DWORD_PTR form) {
  if (message == WM_KEYDOWN && wParam == VK_F4) {
    // F4 does what the edit's folder button does.
    GuardedCall([&] { reinterpret_cast<TPrefsForm*>(form)->PathButtonClick(static_cast<int>(row)); });
    return 0;
  }
  if (message == WM_NCDESTROY) ::RemoveWindowSubclass(edit, EditSubclass, row);
  return ::DefSubclassProc(edit, message, wParam, lParam);
}

HBRUSH TPrefsForm::PanelBrushFor(HWND control) const {
  const int id = ::GetDlgCtrlID(control);
  int row = 0;
  if (InRange(id, IDC_PREFS_LABEL_FIRST, row)) return static_cast<HBRUSH>(pathsBrush_.Get());
  if (id == IDC_CBREGMUTS || id == IDC_CBPROMPTMUTS) return static_cast<HBRUSH>(optionsBrush_.Get());
  return nullptr;
}

void TPrefsForm::DrawPanel(const DRAWITEMSTRUCT& item) {
  const bool paths = item.CtlID == IDC_PREFS_PATHS_PANEL;
  HDC dc = item.hDC;
  const RECT area = item.rcItem;
  ::FillRect(dc, &area, static_cast<HBRUSH>((paths ? pathsBrush_ : optionsBrush_).Get()));
  auto black = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
  ::FrameRect(dc, &area, black);

  RECT heading{area.left + 6, area.top + 1, area.right - 6, area.top + PanelHeadingHeight};
  const std::string caption = ControlText(item.hwndItem);
  HGDIOBJ oldFont = ::SelectObject(dc, headingFont_.Get());
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, RGB(0, 0, 0));
  ::DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &heading,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  ::SelectObject(dc, oldFont);
  const RECT line{area.left, area.top + PanelHeadingHeight, area.right, area.top + PanelHeadingHeight + 1};
  ::FillRect(dc, &line, black);
}

void TPrefsForm::RefreshControls() {
  if (!window_) return;
  refreshing_ = true;
  for (size_t row = 0; row < FolderPrefCount; ++row) {
    HWND edit = ::GetDlgItem(window_, IDC_PREFS_EDIT_FIRST + static_cast<int>(row));
    const std::string& text = prefs_.Editable.FolderTexts[row];
    if (ControlText(edit) != text) ::SetWindowTextA(edit, text.c_str());
  }
  ::CheckDlgButton(window_, IDC_CBREGMUTS, prefs_.Editable.RegMutsChecked() ? BST_CHECKED : BST_UNCHECKED);
  ::CheckDlgButton(window_, IDC_CBPROMPTMUTS, prefs_.Editable.PromptMutsChecked() ? BST_CHECKED : BST_UNCHECKED);
  ::EnableWindow(::GetDlgItem(window_, IDC_CBPROMPTMUTS), prefs_.Editable.PromptMutsEnabled());
  refreshing_ = false;
}

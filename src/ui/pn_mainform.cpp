#include "ui/pn_mainform.h"

#include <commctrl.h>

#include <algorithm>
#include <initializer_list>

#include "core/exceptions.h"
#include "core/main_window_layout.h"
#include "core/window_layout.h"
#include "job/folder_listing.h"
#include "job/mutator_registration.h"
#include "job/open_cache.h"
#include "ui/main_window_texts.h"
#include "ui/resource.h"
#include "win/application.h"

TMainForm* MainForm = nullptr;

namespace {

constexpr const char* MainWindowClass = "TMainForm";
constexpr int MainOuterWidth = 528;
constexpr int MainOuterHeight = 377;
constexpr int FontPoints = 8;
constexpr COLORREF PictureTransparency = RGB(255, 0, 255);
constexpr int ButtonPicture = 24;
constexpr int ButtonPictureMargin = 4;
// Resizable frame, system menu and minimise box; no maximise box.
constexpr DWORD MainWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

enum TControlId : int { ListId = 10, OpenCacheId, CopySelectedId, ProgressId, StatusId };

struct TColumn {
  const char* Caption;
  int Width;
};
constexpr TColumn Columns[] = {
    {MainWindowTexts::FilenameColumn, 275}, {MainWindowTexts::SizeColumn, 75}, {MainWindowTexts::TypeColumn, 100}};

[[noreturn]] void RaiseCreateFailed() {
  throw Exception(FormatText("%s. %s", MainWindowTexts::CreateWindowFailed, SystemErrorText(::GetLastError()).c_str()));
}

HWND MakeChild(const char* className, const char* text, DWORD style, HWND parent, int id, HINSTANCE instance) {
  HWND child = ::CreateWindowExA(0, className, text, WS_CHILD | WS_CLIPSIBLINGS | style, 0, 0, 0, 0, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  if (!child) RaiseCreateFailed();
  return child;
}

TImageList PictureList(HINSTANCE instance, int size, std::initializer_list<int> bitmaps) {
  TImageList list(::ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, static_cast<int>(bitmaps.size()), 0));
  if (!list) RaiseCreateFailed();
  for (int id : bitmaps) {
    TGdiObject bitmap(::LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
    if (!bitmap || ::ImageList_AddMasked(list.Get(), static_cast<HBITMAP>(bitmap.Get()), PictureTransparency) < 0)
      throw Exception(FormatText("%s %d", MainWindowTexts::LoadPictureFailed, id));
  }
  return list;
}

void SetButtonPicture(HWND button, const TImageList& picture) {
  BUTTON_IMAGELIST images{};
  images.himl = picture.Get();
  images.margin = {ButtonPictureMargin, 0, 0, 0};
  images.uAlign = BUTTON_IMAGELIST_ALIGN_LEFT;
  ::SendMessageA(button, BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&images));
}

std::string AnsiOf(const wchar_t* text) {
  const int size = ::WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return {};
  std::string ansi(static_cast<size_t>(size), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, text, -1, ansi.data(), size, nullptr, nullptr);
  ansi.resize(static_cast<size_t>(size - 1));
  return ansi;
}

}  // namespace

TMainForm::TMainForm(HINSTANCE instance, TMainFormServices services)
    : instance_(instance),
      services_(std::move(services)),
      boxes_(services_.Boxes ? services_.Boxes : &ownBoxes_),
      commands_(TJobSeams{*this, *this, *this, *this, *this}, services_.Prefs, launcher_) {
  MainForm = this;
  ConfigureGameToolLauncher(launcher_);
  launcher_.ProcessMessages = [] { Application.ProcessMessages(); };
  // A close chosen during a long operation waits for it; the window then closes as usual.
  commands_.OnCloseReady = [this] { ::PostMessageA(Handle(), WM_CLOSE, 0, 0); };

  LoadPictures();
  TWindowPlace place{0, MainWindowStyle, (::GetSystemMetrics(SM_CXSCREEN) - MainOuterWidth) / 2,
                     (::GetSystemMetrics(SM_CYSCREEN) - MainOuterHeight) / 2, MainOuterWidth, MainOuterHeight,
                     Application.Handle(), ::LoadMenuA(instance_, MAKEINTRESOURCEA(IDM_MAINMENU1))};
  HWND window = CreateObjectWindow(
      instance_,
      {MainWindowClass, CS_HREDRAW | CS_VREDRAW, ::LoadIconA(instance_, IDI_MAINICON_NAME),
       reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)},
      MainWindowTexts::Caption, place);
  if (!window) {
    if (place.Menu) ::DestroyMenu(place.Menu);
    RaiseCreateFailed();
  }
  window_.Reset(window);
  // Owned by the application window, which carries the taskbar button in its stead.
  Application.SetMainWindow(window);
  CreateControls();
  LayOutControls();
  RestorePreviewPane();
}

TMainForm::~TMainForm() {
  window_.Reset();
  if (MainForm == this) MainForm = nullptr;
}

HMENU TMainForm::PopupMenu() const { return ::GetSubMenu(popupMenu1_.Get(), 0); }

void TMainForm::LoadPictures() {
  imageList1_ = PictureList(instance_, SmallPicture, {IDB_BULB_LIT, IDB_BULB_UNLIT, IDB_PLUS, IDB_BULB_OTHER});
  openCachePicture_ = PictureList(instance_, ButtonPicture, {IDB_OPEN_CACHE});
  integratePicture_ = PictureList(instance_, ButtonPicture, {IDB_INTEGRATE});
  accelerators_ = ::LoadAcceleratorsA(instance_, MAKEINTRESOURCEA(IDA_MAINACCELERATORS));
  popupMenu1_.Reset(::LoadMenuA(instance_, MAKEINTRESOURCEA(IDM_POPUPMENU1)));
  if (!popupMenu1_) RaiseCreateFailed();
  // The item's picture is drawn by the window (WM_MEASUREITEM / WM_DRAWITEM), from ImageList1.
  MENUITEMINFOA picture{};
  picture.cbSize = sizeof picture;
  picture.fMask = MIIM_BITMAP;
  picture.hbmpItem = HBMMENU_CALLBACK;
  ::SetMenuItemInfoA(PopupMenu(), IDM_SELECTALL1, FALSE, &picture);
}

void TMainForm::CreateControls() {
  HWND window = Handle();
  HDC screen = ::GetDC(nullptr);
  const int pixelsPerInch = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  font_.Reset(::CreateFontA(-::MulDiv(FontPoints, pixelsPerInch, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                            DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                            DEFAULT_PITCH | FF_DONTCARE, MainWindowTexts::FontName));

  // Owner data: the rows live in rows_, the list asks for them as it draws.
  list_ = MakeChild(WC_LISTVIEWA, "",
                    WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_OWNERDATA |
                        LVS_SHAREIMAGELISTS,
                    window, ListId, instance_);
  ::SetWindowLongPtrA(list_, GWL_EXSTYLE, ::GetWindowLongPtrA(list_, GWL_EXSTYLE) | WS_EX_CLIENTEDGE);
  ::SendMessageA(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT,
                 LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  ::SendMessageA(list_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(imageList1_.Get()));
  // The check box images, like the texts, come from the rows.
  ::SendMessageA(list_, LVM_SETCALLBACKMASK, LVIS_STATEIMAGEMASK, 0);
  for (int index = 0; index < static_cast<int>(std::size(Columns)); ++index) {
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = Columns[index].Width;
    column.pszText = const_cast<char*>(Columns[index].Caption);
    column.iSubItem = index;
    ::SendMessageA(list_, LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column));
  }
  ::SetWindowSubclass(list_, &TMainForm::ListProc, ListSubclassId, reinterpret_cast<DWORD_PTR>(this));

  tbOpenCache_ = MakeChild(WC_BUTTONA, MainWindowTexts::OpenCacheButton, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                           window, OpenCacheId, instance_);
  tbCopySelected_ = MakeChild(WC_BUTTONA, MainWindowTexts::CopySelectedButton,
                              WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, window, CopySelectedId, instance_);
  SetButtonPicture(tbOpenCache_, openCachePicture_);
  SetButtonPicture(tbCopySelected_, integratePicture_);

  progressBar_ = MakeChild(PROGRESS_CLASSA, "", 0, window, ProgressId, instance_);
  statusBar_ = MakeChild(STATUSCLASSNAMEA, "", WS_VISIBLE | SBARS_SIZEGRIP, window, StatusId, instance_);
  ::SendMessageA(statusBar_, SB_SIMPLE, TRUE, 0);

  for (HWND control : {list_, tbOpenCache_, tbCopySelected_, progressBar_, statusBar_})
    ::SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
  // The status bar sizes itself to its font; its height is then kept for the layout.
  ::SendMessageA(statusBar_, WM_SIZE, 0, 0);
  RECT statusRect{};
  ::GetWindowRect(statusBar_, &statusRect);
  statusHeight_ = statusRect.bottom > statusRect.top ? statusRect.bottom - statusRect.top : MainDesignStatusHeight;
  SetStatusText(MainWindowTexts::InitialStatus);
}

void TMainForm::LayOutControls() {
  RECT client{};
  ::GetClientRect(Handle(), &client);
  const TMainLayout layout = LayOutMainWindow({client.right, client.bottom}, statusHeight_);
  PlaceWindow(list_, PlacePreviewPane(layout.List));
  PlaceWindow(tbOpenCache_, layout.OpenCache);
  PlaceWindow(tbCopySelected_, layout.CopySelected);
  PlaceWindow(progressBar_, layout.Progress);
  PlaceWindow(statusBar_, layout.Status);
}

void TMainForm::Show(int showCommand) {
  ::ShowWindow(Handle(), showCommand);
  ::UpdateWindow(Handle());
  ::SetFocus(list_);
}

// --- commands -------------------------------------------------------------------------------

void TMainForm::tbOpenCacheClick() { commands_.tbOpenCacheClick(); }
void TMainForm::tbCopySelectedClick() { commands_.tbCopySelectedClick(); }
void TMainForm::tbRegisterUninstalledClick() { commands_.tbRegisterUninstalledClick(); }
void TMainForm::SelectAll1Click() { commands_.SelectAll1Click(); }

void TMainForm::Preferences1Click() {
  if (!commands_.CanShowPreferences()) return;
  if (services_.ShowPreferences) services_.ShowPreferences(Handle());
}

void TMainForm::Exit1Click() {
  if (commands_.RequestClose()) window_.Reset();
}

void TMainForm::RelistPackages() { commands_.RelistPackages(); }

// --- The seams of the program's work ------------------------------------------------------

void TMainForm::SetStatusText(const std::string& text) {
  ::SendMessageA(statusBar_, SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(text.c_str()));
}

std::optional<std::string> TMainForm::PickCacheIndexFile(const std::string& title, const std::string& filter) {
  // Over the preferences dialog when its "Default paths" asks, so that none of its buttons can be
  // pressed behind the file dialog.
  const std::optional<std::string> chosen = RunOpenDialog(Application.ModalOwner(), title, filter, 0, MAX_PATH);
  if (!chosen) return std::nullopt;
  return std::string(chosen->c_str());
}

void TMainForm::ProcessPendingMessages() { Application.ProcessMessages(); }

// --- messages -------------------------------------------------------------------------------

LRESULT TMainForm::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      // Minimised by the shell (the taskbar button belongs to the application window): the whole
      // program is minimised, so that restoring it brings this window back.
      if (wParam == SIZE_MINIMIZED && Application.Handle()) {
        Application.Minimize();
        return 0;
      }
      LayOutControls();
      return 0;
    case WM_COMMAND:
      HandleCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_NOTIFY:
      return HandleNotify(*reinterpret_cast<const NMHDR*>(lParam), lParam);
    case WM_NOTIFYFORMAT:
      return NFR_ANSI;
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wParam) != list_) break;
      ShowPopupMenu(lParam);
      return 0;
    case WM_MEASUREITEM:
      if (wParam != 0) break;
      MeasureMenuPicture(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_DRAWITEM:
      if (wParam != 0) break;
      DrawMenuPicture(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_SYSCOMMAND:
      if (SysCommandHandled(wParam)) return 0;
      break;
    case WM_NCLBUTTONDBLCLK:
      if (wParam == HTCAPTION) return 0;
      break;
    case WM_CLOSE:
      Exit1Click();
      return 0;
    case WM_ACTIVATE:
      FormActivate(LOWORD(wParam) != WA_INACTIVE);
      return 0;
    case WM_TIMER:
      if (wParam != ProgressTimerId) break;
      ApplyProgress();
      return 0;
    case RepaintListMessage:
      repaintPending_ = false;
      ::InvalidateRect(list_, nullptr, FALSE);
      return 0;
    default:
      break;
  }
  return ::DefWindowProcA(window, message, wParam, lParam);
}

bool TMainForm::SysCommandHandled(WPARAM command) {
  // No maximise box, so no maximise by any other way either (title-bar double click, keys).
  if ((command & 0xFFF0) == SC_MAXIMIZE) return true;
  // The minimise box minimises the program as a whole, as its taskbar button does.
  if ((command & 0xFFF0) == SC_MINIMIZE && Application.Handle()) {
    Application.Minimize();
    return true;
  }
  return false;
}

void TMainForm::FormActivate(bool active) {
  // The keyboard focus goes back to the control that had it (the list at first) whenever the
  // window is active again, after a message box or the preferences dialog as after a switch.
  if (!active) {
    HWND focused = ::GetFocus();
    if (focused && ::IsChild(Handle(), focused)) focusedControl_ = focused;
  } else {
    ::SetFocus(focusedControl_ && ::IsWindow(focusedControl_) ? focusedControl_ : list_);
  }
}

void TMainForm::HandleCommand(WORD id, WORD code) {
  constexpr WORD FromAccelerator = 1;
  switch (id) {
    case OpenCacheId:
    case IDM_OPENCACHE1:
      tbOpenCacheClick();
      break;
    case CopySelectedId:
    case IDM_INTEGRATE1:
      tbCopySelectedClick();
      break;
    case IDM_REGISTERUNINSTALLEDMUTATORS1:
      tbRegisterUninstalledClick();
      break;
    case IDM_SELECTALL1:
      // Ctrl+A is the list's shortcut: it works while the list has the keyboard focus.
      if (code != FromAccelerator || ::GetFocus() == list_) SelectAll1Click();
      break;
    case IDM_SELECTALLOFTYPE1:
      SelectAllOfType1Click();
      break;
    case IDM_SELECTNEEDED1:
      SelectNeeded1Click();
      break;
    case IDM_DETAILS1:
      Details1Click();
      break;
    case IDM_PREVIEWPANE1:
      PreviewPane1Click();
      break;
    case IDM_PREFERENCES1:
      Preferences1Click();
      break;
    case IDM_EXPORTSELECTED1:
      Export1Click();
      break;
    case IDM_INSTALLFILES1:
      InstallFiles1Click();
      break;
    case IDM_REMOVEFROMCACHE1:
      RemoveFromCache1Click();
      break;
    case IDM_CLEANUPCACHE1:
      CleanUpCache1Click();
      break;
    case IDM_EXIT1:
      Exit1Click();
      break;
    case IDOK: {
      // Enter, through the dialog navigation: this window has no default button, so Enter
      // presses the button that has the focus, as in any dialog, and does nothing elsewhere.
      HWND focused = ::GetFocus();
      if (focused == tbOpenCache_ || focused == tbCopySelected_) ::SendMessageA(focused, BM_CLICK, 0, 0);
      else if (focused == list_) lvCacheItemsDblClick();  // on a row, as a double click does
      break;
    }
    default:
      break;
  }
}

LRESULT TMainForm::HandleNotify(const NMHDR& header, LPARAM lParam) {
  if (header.hwndFrom != list_) return 0;
  switch (header.code) {
    case LVN_GETDISPINFOA:
      SupplyRowData(*reinterpret_cast<NMLVDISPINFOA*>(lParam));
      return 0;
    case LVN_ITEMACTIVATE:
      lvCacheItemsDblClick();
      return 0;
    case LVN_ITEMCHANGED:
      FollowSelection();
      return 0;
    case LVN_COLUMNCLICK:
      lvCacheItemsColumnClick(reinterpret_cast<const NMLISTVIEW*>(lParam)->iSubItem);
      return 0;
    case LVN_ODFINDITEMA: {
      const auto& find = *reinterpret_cast<const NMLVFINDITEMA*>(lParam);
      return FindRow(find.lvfi.flags, find.lvfi.psz ? find.lvfi.psz : "", find.iStart);
    }
    case LVN_ODFINDITEMW: {
      // Some list views search in wide characters whatever the parent's notification format.
      const auto& find = *reinterpret_cast<const NMLVFINDITEMW*>(lParam);
      return FindRow(find.lvfi.flags, find.lvfi.psz ? AnsiOf(find.lvfi.psz) : std::string(), find.iStart);
    }
    default:
      return 0;
  }
}

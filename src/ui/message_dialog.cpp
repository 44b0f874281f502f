#include "ui/message_dialog.h"

#include <cstring>
#include <vector>

#include "core/exceptions.h"
#include "core/window_layout.h"
#include "ui/resource.h"
#include "win/application.h"
#include "win/handles.h"
#include "win/window_base.h"
#include "win/window_texts.h"

namespace {

constexpr TPixelSize ButtonSize{75, 23};
// Lines longer than this wrap.
constexpr int MaxTextWidth = 480;

struct TBoxSpec {
  const char* Title;
  LPCSTR Icon;
  bool YesNo;
};

TBoxSpec SpecOf(TMessageDialogs::TKind kind) {
  switch (kind) {
    case TMessageDialogs::TKind::Warning: return {WindowTexts::WarningTitle, IDI_WARNING, false};
    case TMessageDialogs::TKind::WarningYesNo: return {WindowTexts::WarningTitle, IDI_WARNING, true};
    case TMessageDialogs::TKind::Confirmation: return {WindowTexts::ConfirmTitle, IDI_QUESTION, true};
    case TMessageDialogs::TKind::Information: break;
  }
  return {WindowTexts::InformationTitle, IDI_INFORMATION, false};
}

// An in-memory dialog template: the frame and its four controls, all placed in pixels once the
// dialog exists. Texts are set then too, so every title in the template is empty.
class TTemplateWriter {
public:
  const DLGTEMPLATE* Build(bool twoButtons) {
    words_.clear();
    DLGTEMPLATE frame{};
    frame.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    frame.cdit = twoButtons ? 4 : 3;
    Append(&frame, sizeof frame);
    words_.insert(words_.end(), {0, 0, 0});  // no menu, the standard class, no title
    AddItem(IDC_MESSAGE_ICON, 0x0082, WS_CHILD | WS_VISIBLE | SS_ICON);
    AddItem(IDC_MESSAGE_TEXT, 0x0082, WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX);
    AddItem(IDC_MESSAGE_BUTTON1, 0x0080, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON);
    if (twoButtons) AddItem(IDC_MESSAGE_BUTTON2, 0x0080, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON);
    return reinterpret_cast<const DLGTEMPLATE*>(words_.data());
  }

private:
  void Append(const void* data, size_t bytes) {
    const size_t at = words_.size();
    words_.resize(at + (bytes + 1) / 2);
    std::memcpy(words_.data() + at, data, bytes);
  }
  void AddItem(WORD id, WORD classAtom, DWORD style) {
    if (words_.size() % 2) words_.push_back(0);  // items start on a DWORD boundary
    DLGITEMTEMPLATE item{};
    item.style = style;
    item.cx = item.cy = 1;
    item.id = id;
    Append(&item, sizeof item);
    words_.insert(words_.end(), {0xFFFF, classAtom, 0, 0});  // class by atom, no title, no data
  }
  std::vector<WORD> words_;  // WORD storage keeps the template WORD aligned
};

// One box while it is shown: what it says, and the font its controls use.
class TBoxDialog : private TWindowBase {
public:
  TBoxDialog(TBoxSpec spec, const std::string& text) : Spec(spec), Text(&text) {}

  INT_PTR Run(const TMessageDialogs::TDialogRunner& runDialog, const DLGTEMPLATE* dialogTemplate, HWND owner) {
    return runDialog(dialogTemplate, owner, &TWindowBase::DialogProc, DialogParameter());
  }

  TBoxSpec Spec;
  const std::string* Text;
  TGdiObject Font;

private:
  LRESULT HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) override;
  bool TakesMessagesOf(HWND) const override { return true; }  // one box, one dialog
};

TGdiObject CreateMessageFont() {
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof metrics;
  if (!::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return TGdiObject();
  return TGdiObject(::CreateFontIndirectA(&metrics.lfMessageFont));
}

TPixelSize MeasureText(HWND dialog, HFONT font, const std::string& text) {
  HDC dc = ::GetDC(dialog);
  HGDIOBJ old = ::SelectObject(dc, font ? font : ::GetStockObject(DEFAULT_GUI_FONT));
  RECT bounds{0, 0, MaxTextWidth, 0};
  ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &bounds,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
  ::SelectObject(dc, old);
  ::ReleaseDC(dialog, dc);
  return {static_cast<int>(bounds.right - bounds.left), static_cast<int>(bounds.bottom - bounds.top)};
}

void InitBox(HWND dialog, TBoxDialog& state) {
  state.Font = CreateMessageFont();
  const auto font = static_cast<HFONT>(state.Font.Get());
  ::SetWindowTextA(dialog, state.Spec.Title);
  ::SetDlgItemTextA(dialog, IDC_MESSAGE_TEXT, state.Text->c_str());
  ::SetDlgItemTextA(dialog, IDC_MESSAGE_BUTTON1, state.Spec.YesNo ? WindowTexts::YesButton : WindowTexts::OkButton);
  if (state.Spec.YesNo) ::SetDlgItemTextA(dialog, IDC_MESSAGE_BUTTON2, WindowTexts::NoButton);
  for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
    ::SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  ::SendDlgItemMessageA(dialog, IDC_MESSAGE_ICON, STM_SETICON,
                        reinterpret_cast<WPARAM>(::LoadIconA(nullptr, state.Spec.Icon)), 0);

  const TPixelSize icon{::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON)};
  const TMessageLayout layout =
      LayOutMessage(icon, MeasureText(dialog, font, *state.Text), ButtonSize, state.Spec.YesNo ? 2 : 1);
  PlaceWindow(::GetDlgItem(dialog, IDC_MESSAGE_ICON), layout.Icon);
  PlaceWindow(::GetDlgItem(dialog, IDC_MESSAGE_TEXT), layout.Text);
  PlaceWindow(::GetDlgItem(dialog, IDC_MESSAGE_BUTTON1), layout.Buttons[0]);
  if (state.Spec.YesNo) PlaceWindow(::GetDlgItem(dialog, IDC_MESSAGE_BUTTON2), layout.Buttons[1]);

  RECT frame{0, 0, layout.Client.Width, layout.Client.Height};
  ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongA(dialog, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(::GetWindowLongA(dialog, GWL_EXSTYLE)));
  const TPixelRect screen{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  const TPixelRect placed = CentredIn(
      screen, {static_cast<int>(frame.right - frame.left), static_cast<int>(frame.bottom - frame.top)});
  ::MoveWindow(dialog, placed.Left, placed.Top, placed.Width, placed.Height, FALSE);
}

// How each way out of the box answers.
TModalResult AnswerFor(const TBoxSpec& spec, int command) {
  if (!spec.YesNo) return TModalResult::Ok;
  if (command == IDC_MESSAGE_BUTTON1) return TModalResult::Yes;
  return TModalResult::No;  // the No button, or Esc (which the dialog manager sends as IDCANCEL)
}

LRESULT TBoxDialog::HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      InitBox(dialog, *this);
      ::SetFocus(::GetDlgItem(dialog, IDC_MESSAGE_BUTTON1));
      return FALSE;  // focus set here
    case WM_COMMAND: {
      const int command = LOWORD(wParam);
      if (command != IDC_MESSAGE_BUTTON1 && command != IDC_MESSAGE_BUTTON2 && command != IDCANCEL && command != IDOK)
        return FALSE;
      ::EndDialog(dialog, static_cast<INT_PTR>(AnswerFor(Spec, command)));
      return TRUE;
    }
    case WM_CLOSE:
      // The close box: an OK box answers OK, a Yes/No box neither Yes nor No.
      ::EndDialog(dialog, static_cast<INT_PTR>(Spec.YesNo ? TModalResult::None : TModalResult::Ok));
      return TRUE;
  }
  return FALSE;
}

}  // namespace

TMessageDialogs::TMessageDialogs(TDialogRunner runDialog) : runDialog_(std::move(runDialog)) {
  if (!runDialog_)
    runDialog_ = [](const DLGTEMPLATE* dialogTemplate, HWND owner, DLGPROC procedure, LPARAM parameter) {
      return ::DialogBoxIndirectParamA(::GetModuleHandleA(nullptr), dialogTemplate, owner, procedure, parameter);
    };
}

TModalResult TMessageDialogs::Show(TKind kind, const std::string& text) const {
  TBoxDialog box(SpecOf(kind), text);
  TTemplateWriter writer;
  const INT_PTR result = box.Run(runDialog_, writer.Build(box.Spec.YesNo), Application.ModalOwner());
  if (result == -1)
    throw Exception(FormatText(WindowTexts::MessageBoxFailed, SystemErrorText(::GetLastError()).c_str()));
  return static_cast<TModalResult>(result);
}

void TMessageDialogs::Tell(TKind kind, const std::string& text) const {
  try {
    Show(kind, text);
  } catch (const Exception& error) {
    Application.HandleException(error);
  }
}

void TMessageDialogs::ShowWarning(const std::string& text) { Tell(TKind::Warning, text); }
TModalResult TMessageDialogs::AskWarning(const std::string& text) { return Show(TKind::WarningYesNo, text); }
TModalResult TMessageDialogs::AskConfirmation(const std::string& text) { return Show(TKind::Confirmation, text); }
void TMessageDialogs::ShowInformation(const std::string& text) { Tell(TKind::Information, text); }

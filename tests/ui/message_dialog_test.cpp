#include "ui/message_dialog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "ui/resource.h"
#include "ui/window_driver.h"
#include "win/application.h"

namespace {

using TKind = TMessageDialogs::TKind;

const TMessageDialogs Boxes;

// How the test leaves the box.
enum class TWayOut { Enter, Esc, CloseMessage, SysClose, SecondButton };

void Leave(HWND box, TWayOut way) {
  switch (way) {
    case TWayOut::Enter: PressKey(box, VK_RETURN); break;
    case TWayOut::Esc: PressKey(box, VK_ESCAPE); break;
    case TWayOut::CloseMessage: ::PostMessageA(box, WM_CLOSE, 0, 0); break;
    case TWayOut::SysClose: ::PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0); break;
    case TWayOut::SecondButton:
      ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDC_MESSAGE_BUTTON2, BN_CLICKED),
                     reinterpret_cast<LPARAM>(::GetDlgItem(box, IDC_MESSAGE_BUTTON2)));
      break;
  }
}

struct TAnswerCase {
  TKind Kind;
  TWayOut Way;
  TModalResult Expected;
};

class MessageDialogAnswers : public testing::TestWithParam<TAnswerCase> {};

TEST_P(MessageDialogAnswers, EachWayOutGivesItsAnswer) {
  const TAnswerCase& c = GetParam();
  TDialogDriver driver([&](HWND box) { Leave(box, c.Way); });
  EXPECT_EQ(Boxes.Show(c.Kind, "Proceed?"), c.Expected);
  EXPECT_TRUE(driver.Acted());
}

INSTANTIATE_TEST_SUITE_P(
    AllKinds, MessageDialogAnswers,
    testing::Values(
        TAnswerCase{TKind::Warning, TWayOut::Enter, TModalResult::Ok},
        TAnswerCase{TKind::Warning, TWayOut::Esc, TModalResult::Ok},
        TAnswerCase{TKind::Warning, TWayOut::CloseMessage, TModalResult::Ok},
        TAnswerCase{TKind::Information, TWayOut::Enter, TModalResult::Ok},
        TAnswerCase{TKind::Information, TWayOut::Esc, TModalResult::Ok},
        TAnswerCase{TKind::Information, TWayOut::SysClose, TModalResult::Ok},
        TAnswerCase{TKind::WarningYesNo, TWayOut::Enter, TModalResult::Yes},
        TAnswerCase{TKind::WarningYesNo, TWayOut::Esc, TModalResult::No},
        TAnswerCase{TKind::WarningYesNo, TWayOut::SecondButton, TModalResult::No},
        TAnswerCase{TKind::WarningYesNo, TWayOut::CloseMessage, TModalResult::None},
        TAnswerCase{TKind::Confirmation, TWayOut::Enter, TModalResult::Yes},
        TAnswerCase{TKind::Confirmation, TWayOut::Esc, TModalResult::No},
        TAnswerCase{TKind::Confirmation, TWayOut::SysClose, TModalResult::None},
        TAnswerCase{TKind::Confirmation, TWayOut::CloseMessage, TModalResult::None}));

struct TLookCase {
  TKind Kind;
  const char* Title;
  LPCSTR Icon;
  const char* FirstButton;
  const char* SecondButton;  // nullptr: an OK box has no second button
};

class MessageDialogLook : public testing::TestWithParam<TLookCase> {};

TEST_P(MessageDialogLook, TitleIconButtonsAndCentring) {
  const TLookCase& c = GetParam();
  TDialogDriver driver([&](HWND box) {
    EXPECT_EQ(WindowText(box), c.Title);
    EXPECT_EQ(WindowText(::GetDlgItem(box, IDC_MESSAGE_TEXT)), "Line one\r\nLine two");
    EXPECT_EQ(reinterpret_cast<HICON>(::SendDlgItemMessageA(box, IDC_MESSAGE_ICON, STM_GETICON, 0, 0)),
              ::LoadIconA(nullptr, c.Icon));
    EXPECT_EQ(WindowText(::GetDlgItem(box, IDC_MESSAGE_BUTTON1)), c.FirstButton);
    HWND second = ::GetDlgItem(box, IDC_MESSAGE_BUTTON2);
    if (c.SecondButton)
      EXPECT_EQ(WindowText(second), c.SecondButton);
    else
      EXPECT_EQ(second, nullptr);
    EXPECT_EQ(::GetFocus(), ::GetDlgItem(box, IDC_MESSAGE_BUTTON1)) << "the first button is the default";
    EXPECT_TRUE(::GetWindowLongA(box, GWL_STYLE) & WS_SYSMENU) << "the close box stays";

    RECT frame;
    ::GetWindowRect(box, &frame);
    EXPECT_NEAR((frame.left + frame.right) / 2, ::GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((frame.top + frame.bottom) / 2, ::GetSystemMetrics(SM_CYSCREEN) / 2, 1);
    PressKey(box, VK_ESCAPE);
  });
  Boxes.Show(c.Kind, "Line one\r\nLine two");
  EXPECT_TRUE(driver.Acted());
}

INSTANTIATE_TEST_SUITE_P(
    AllKinds, MessageDialogLook,
    testing::Values(TLookCase{TKind::Warning, "Warning", IDI_WARNING, "OK", nullptr},
                    TLookCase{TKind::WarningYesNo, "Warning", IDI_WARNING, "&Yes", "&No"},
                    TLookCase{TKind::Confirmation, "Confirm", IDI_QUESTION, "&Yes", "&No"},
                    TLookCase{TKind::Information, "Information", IDI_INFORMATION, "OK", nullptr}));

// The text control grows with the text: every line is visible, none is clipped.
TEST(MessageDialogText, SizedToFitItsLines) {
  auto textRect = [](const std::string& text) {
    RECT rect{};
    TDialogDriver driver([&](HWND box) {
      HWND label = ::GetDlgItem(box, IDC_MESSAGE_TEXT);
      ::GetClientRect(label, &rect);
      PressKey(box, VK_RETURN);
    });
    Boxes.Show(TKind::Information, text);
    return rect;
  };
  const RECT one = textRect("Short");
  const RECT three = textRect("Short\r\nA rather longer second line of text\r\nThird");
  EXPECT_GE(three.bottom, 3 * one.bottom - 2);
  EXPECT_GT(three.right, 2 * one.right);
}

// The box is modal over the program's window that is showing, even while the user is in another
// program: over the main window, or over the dialog open over it. That window is disabled while
// the box is up and enabled again afterwards.
TEST(MessageDialogModality, OverTheProgramsWindowWhicheverWindowIsActive) {
  auto topLevel = [](const char* title, HWND owner) {
    return ::CreateWindowExA(0, "STATIC", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100, owner, nullptr,
                             nullptr, nullptr);
  };
  HWND main = topLevel("Main", nullptr);
  HWND elsewhere = topLevel("Another program", nullptr);
  ASSERT_TRUE(main && elsewhere);
  Application.SetMainWindow(main);
  for (const bool dialogOpen : {false, true}) {
    SCOPED_TRACE(dialogOpen ? "preferences open" : "main window alone");
    HWND dialog = dialogOpen ? topLevel("Preferences", main) : nullptr;
    if (dialog) ::EnableWindow(main, FALSE);
    HWND expected = dialog ? dialog : main;
    ::SetActiveWindow(elsewhere);
    ASSERT_EQ(::GetActiveWindow(), elsewhere);
    bool enabledDuring = true;
    HWND ownerSeen = nullptr;
    TDialogDriver driver([&](HWND box) {
      enabledDuring = ::IsWindowEnabled(expected);
      ownerSeen = ::GetWindow(box, GW_OWNER);
      PressKey(box, VK_RETURN);
    });
    TMessageDialogs().ShowWarning("Careful");
    ASSERT_TRUE(driver.Acted());
    EXPECT_EQ(ownerSeen, expected);
    EXPECT_FALSE(enabledDuring);
    EXPECT_TRUE(::IsWindowEnabled(expected));
    if (dialog) {
      ::EnableWindow(main, TRUE);
      ::DestroyWindow(dialog);
    }
  }
  Application.SetMainWindow(nullptr);
  ::DestroyWindow(elsewhere);
  ::DestroyWindow(main);
}

// A box that cannot be made and only tells something: the system's reason is shown in the default
// error box, and the command goes on (a question raises it: mutator_boxes_test.cpp).
TEST(MessageDialogFailure, IsReported) {
  Application.Title = "Pellorin v1.1";
  TMessageDialogs failing([](const DLGTEMPLATE*, HWND, DLGPROC, LPARAM) -> INT_PTR {
    ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return -1;
  });
  const std::string reason = SystemErrorText(ERROR_NOT_ENOUGH_MEMORY);
  auto mentionsReason = [&reason](const std::vector<std::string>& texts) {
    return std::any_of(texts.begin(), texts.end(),
                       [&](const std::string& text) { return text.find(reason) != std::string::npos; });
  };
  const struct {
    const char* Box;
    std::function<void()> Show;
  } cases[] = {{"ShowWarning", [&] { failing.ShowWarning("Careful"); }},
               {"ShowInformation", [&] { failing.ShowInformation("Done"); }}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Box);
    std::string errorTitle;
    std::vector<std::string> errorTexts;
    TDialogDriver driver([&](HWND box) {
      errorTitle = WindowText(box);
      errorTexts = StaticTexts(box);
      PressKey(box, VK_RETURN);
    });
    c.Show();
    ASSERT_TRUE(driver.Acted());
    EXPECT_EQ(errorTitle, Application.Title);
    EXPECT_TRUE(mentionsReason(errorTexts));
  }
}

}  // namespace

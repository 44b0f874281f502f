#include "win/application.h"

#include <gtest/gtest.h>

#include "core/exceptions.h"
#include "ui/window_driver.h"

namespace {

// What the default error handler showed, read from the system's box.
struct TShownBox {
  std::string Title;
  std::vector<std::string> Texts;
};

TDialogDriver ReadAndCloseErrorBox(TShownBox& shown) {
  return TDialogDriver([&shown](HWND box) {
    shown.Title = WindowText(box);
    shown.Texts = StaticTexts(box);
    PressKey(box, VK_RETURN);
  });
}

bool Contains(const std::vector<std::string>& texts, const std::string& text) {
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

struct TErrorCase {
  const char* Message;
  const char* Shown;
};

class DefaultErrorHandler : public testing::TestWithParam<TErrorCase> {};

// The window that was active when the failure happened is active again afterwards, for the keyboard.
TEST_P(DefaultErrorHandler, ShowsTheMessageTitledWithTheApplication) {
  Application.Title = "Pellorin v1.1";
  HWND window = ::CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 9, 9, 99, 99, 0, 0, 0, 0);
  ::SetActiveWindow(window);
  TShownBox shown;
  TDialogDriver driver = ReadAndCloseErrorBox(shown);
  Application.HandleException(ERegistryException(GetParam().Message));
  ASSERT_TRUE(driver.Acted());
  EXPECT_EQ(shown.Title, "Pellorin v1.1");
  EXPECT_TRUE(Contains(shown.Texts, GetParam().Shown)) << GetParam().Shown;
  EXPECT_EQ(::GetActiveWindow(), window);
  ::DestroyWindow(window);
}

INSTANTIATE_TEST_SUITE_P(FullStopRule, DefaultErrorHandler,
                         testing::Values(TErrorCase{"Error opening file", "Error opening file."},
                                         TErrorCase{"Failed to set data for 'SystemPath'",
                                                    "Failed to set data for 'SystemPath'"},
                                         TErrorCase{"Already ends.", "Already ends."}));

// A window procedure that throws: the guard shows the failure and answers the system with the
// fallback value, so the exception never unwinds through the system's code.
constexpr UINT ThrowingMessage = WM_APP + 1;

LRESULT CALLBACK ThrowingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return GuardedDispatch(
      [&]() -> LRESULT {
        if (message == ThrowingMessage) throw Exception("Handler failed");
        if (message == ThrowingMessage + 1) throw 42;
        return ::DefWindowProcA(window, message, wParam, lParam);
      },
      LRESULT{-7});
}

HWND CreateThrowingWindow() {
  static const ATOM atom = [] {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = ThrowingProc;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "PnThrowingWindow";
    return ::RegisterClassA(&windowClass);
  }();
  return ::CreateWindowExA(0, MAKEINTATOM(atom), "", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                           ::GetModuleHandleA(nullptr), nullptr);
}

TEST(GuardedDispatch, ExceptionInWindowProcedureReachesTheHandler) {
  Application.Title = "Pellorin v1.1";
  HWND window = CreateThrowingWindow();
  ASSERT_NE(window, nullptr);
  TShownBox shown;
  TDialogDriver driver = ReadAndCloseErrorBox(shown);
  EXPECT_EQ(::SendMessageA(window, ThrowingMessage, 0, 0), -7);
  ASSERT_TRUE(driver.Acted());
  EXPECT_TRUE(Contains(shown.Texts, "Handler failed."));

  TShownBox unknown;
  TDialogDriver second = ReadAndCloseErrorBox(unknown);
  EXPECT_EQ(::SendMessageA(window, ThrowingMessage + 1, 0, 0), -7);
  ASSERT_TRUE(second.Acted());
  EXPECT_TRUE(Contains(unknown.Texts, "Unknown error."));
  ::DestroyWindow(window);
}

// A window procedure that counts the messages it is sent and can destroy itself.
constexpr UINT CountedMessage = WM_APP + 10;
int countedMessages = 0;

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == CountedMessage) {
    ++countedMessages;
    return 0;
  }
  return ::DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateCountingWindow() {
  static const ATOM atom = [] {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = CountingProc;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "PnCountingWindow";
    return ::RegisterClassA(&windowClass);
  }();
  return ::CreateWindowExA(0, MAKEINTATOM(atom), "", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                           ::GetModuleHandleA(nullptr), nullptr);
}

TEST(MessageLoop, ProcessMessagesHandlesWaitingMessagesAndKeepsAQuitForTheLoop) {
  TApplication application;
  HWND window = CreateCountingWindow();
  countedMessages = 0;
  ::PostMessageA(window, CountedMessage, 0, 0);
  ::PostMessageA(window, CountedMessage, 0, 0);
  application.ProcessMessages();
  EXPECT_EQ(countedMessages, 2);
  EXPECT_FALSE(application.Terminated());

  ::PostQuitMessage(3);
  application.ProcessMessages();
  EXPECT_TRUE(application.Terminated());
  MSG message;
  ASSERT_TRUE(::PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit request was swallowed";
  EXPECT_EQ(message.wParam, 3u);
  ::DestroyWindow(window);
}

TEST(MessageLoop, RunEndsWhenTheMainWindowIsDestroyed) {
  TApplication application;
  HWND window = CreateCountingWindow();
  countedMessages = 0;
  ::PostMessageA(window, CountedMessage, 0, 0);
  ::PostMessageA(window, WM_CLOSE, 0, 0);  // the default handling destroys the window
  application.Run(window);
  EXPECT_EQ(countedMessages, 1);
  EXPECT_FALSE(::IsWindow(window));
}

TEST(MessageLoop, RunEndsOnTerminate) {
  TApplication application;
  HWND window = CreateCountingWindow();
  application.Terminate();
  application.Run(window);
  EXPECT_TRUE(::IsWindow(window));
  EXPECT_TRUE(application.Terminated());
  MSG message;
  EXPECT_FALSE(::PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
      << "a quit request left behind would end the next modal loop";
  ::DestroyWindow(window);
}

}  // namespace

// The launcher against the tests' child process, under Wine.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <thread>

#include "support/test_child.h"
#include "support/test_files.h"
#include "win/handles.h"
#include "win/launcher.h"

namespace {

constexpr UINT TestMessage = WM_APP + 40;

TKernelHandle Duplicate(HANDLE process) {
  TKernelHandle copy;
  ::DuplicateHandle(::GetCurrentProcess(), process, ::GetCurrentProcess(), copy.Put(), 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
  return copy;
}

bool StillRunning(const TKernelHandle& process) {
  return process && ::WaitForSingleObject(process.Get(), 0) == WAIT_TIMEOUT;
}

// Handles the calling thread's messages until the condition holds; false if it never does.
template <typename Condition>
bool PumpUntil(Condition condition) {
  for (int round = 0; round < 3000 && !condition(); ++round) {
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&message);
  }
  return condition();
}

// A message-only window of the test thread that runs a callback for each TestMessage.
class TTestWindow {
public:
  std::function<void()> OnMessage;
  int Received = 0;

  TTestWindow() {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &TTestWindow::Procedure;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "PellorinLauncherTestWindow";
    ::RegisterClassExA(&windowClass);
    window_ = ::CreateWindowExA(0, windowClass.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                nullptr, windowClass.hInstance, nullptr);
    ::SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~TTestWindow() { ::DestroyWindow(window_); }
  HWND Handle() const { return window_; }

private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != TestMessage) return ::DefWindowProcA(window, message, wParam, lParam);
    auto* self = reinterpret_cast<TTestWindow*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    ++self->Received;
    if (self->OnMessage) self->OnMessage();
    return 0;
  }
  HWND window_ = nullptr;
};

class LauncherTest : public testing::Test {
protected:
  void SetUp() override {
    launcher.FileName = TestChildPath();
    launcher.StartDir = temp.Path();
    launcher.ShowMode = TShowMode::smHide;
    launcher.WaitUntilFinished = true;
    launcher.WaitType = TWaitType::wtProcessMessages;
    launcher.OnFinished = [this](TLauncher& sender) {
      ++finished;
      RecordEvent(sender);
    };
    launcher.OnTimeout = [this](TLauncher& sender) {
      ++timeouts;
      RecordEvent(sender);
    };
    launcher.OnError = [this](TLauncher& sender, uint32_t code) {
      ++errors;
      errorCode = code;
      RecordEvent(sender);
    };
  }

  void RecordEvent(TLauncher& sender) {
    runningInEvent = sender.Running();
    eventThread = ::GetCurrentThreadId();
    if (sender.ProcessHandle()) process = Duplicate(sender.ProcessHandle());
  }

  // A file whose existence holds a "wait-file" child running.
  std::string HoldFile() {
    const std::string path = temp.Path() + "hold";
    WriteFileBytes(path, "");
    return path;
  }
  void Release(const std::string& holdFile) {
    ::DeleteFileA(holdFile.c_str());
    if (process) ::WaitForSingleObject(process.Get(), 10000);
  }

  TTempFolder temp;
  TLauncher launcher;
  int finished = 0, timeouts = 0, errors = 0;
  uint32_t errorCode = 0;
  bool runningInEvent = false;
  DWORD eventThread = 0;
  TKernelHandle process;  // a copy of the started process's handle, taken in an event
};

TEST_F(LauncherTest, ProgramThatExitsAtOnceFinishesWithItsExitCode) {
  for (const TWaitType type : {TWaitType::wtProcessMessages, TWaitType::wtFullStop}) {
    finished = 0;
    launcher.WaitType = type;
    launcher.Parameters = "exit 42";
    launcher.Launch();
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(timeouts + errors, 0);
    EXPECT_EQ(launcher.ExitCode(), 42u);
    EXPECT_EQ(launcher.LastErrorCode(), 0u);
    EXPECT_TRUE(runningInEvent);
    EXPECT_FALSE(launcher.Running());
    EXPECT_EQ(launcher.ProcessHandle(), nullptr);
    EXPECT_NE(launcher.InstanceHandle(), nullptr);
  }
}

TEST_F(LauncherTest, FiniteTimeoutLeavesTheProcessRunning) {
  struct TCase {
    TWaitType Type;
    int32_t Timeout;
  };
  for (const TCase c : {TCase{TWaitType::wtProcessMessages, 200}, TCase{TWaitType::wtFullStop, 200},
                        TCase{TWaitType::wtFullStop, 0}}) {
    timeouts = 0;
    const std::string hold = HoldFile();
    launcher.WaitType = c.Type;
    launcher.Timeout = c.Timeout;
    launcher.Parameters = "wait-file \"" + hold + "\"";
    launcher.Launch();
    EXPECT_EQ(timeouts, 1) << c.Timeout;
    EXPECT_EQ(finished + errors, 0);
    EXPECT_EQ(launcher.ExitCode(), 0u);
    EXPECT_FALSE(launcher.Running());
    EXPECT_EQ(launcher.ProcessHandle(), nullptr);
    EXPECT_TRUE(StillRunning(process));
    Release(hold);
  }
}

TEST_F(LauncherTest, ProgramThatCannotStartReportsTheShellError) {
  for (const bool waiting : {true, false}) {
    errors = 0;
    launcher.WaitUntilFinished = waiting;
    launcher.FileName = temp.Path() + "missing.exe";
    launcher.Launch();
    if (!waiting) {
      EXPECT_TRUE(PumpUntil([&] { return errors > 0; }));
    }
    EXPECT_EQ(errors, 1);
    EXPECT_GT(launcher.LastErrorCode(), 0u);
    EXPECT_LT(launcher.LastErrorCode(), 32u);
    EXPECT_EQ(errorCode, launcher.LastErrorCode());
    EXPECT_FALSE(runningInEvent);
    EXPECT_FALSE(launcher.Running());
    EXPECT_EQ(eventThread, ::GetCurrentThreadId());
  }
}

TEST_F(LauncherTest, ShellLeavingNoErrorNumberStillReportsAFailure) {
  EXPECT_EQ(TLauncher::ShellErrorNumber(0), static_cast<uint32_t>(SE_ERR_OOM));
  EXPECT_EQ(TLauncher::ShellErrorNumber(SE_ERR_FNF), static_cast<uint32_t>(SE_ERR_FNF));
}

TEST_F(LauncherTest, PostedMessagesAreHandledDuringTheWait) {
  const std::string hold = HoldFile();
  TTestWindow window;
  int handledWhileRunning = 0;
  window.OnMessage = [&] {
    if (launcher.Running()) ++handledWhileRunning;
    if (window.Received == 3) ::DeleteFileA(hold.c_str());
  };
  std::thread poster([&] {
    while (!launcher.Running()) ::Sleep(5);
    for (int i = 0; i < 3; ++i) ::PostMessageA(window.Handle(), TestMessage, 0, 0);
  });
  launcher.Parameters = "wait-file \"" + hold + "\"";
  launcher.Launch();
  poster.join();
  EXPECT_EQ(finished, 1);
  EXPECT_EQ(handledWhileRunning, 3);
}

TEST_F(LauncherTest, NestedLaunchWhileRunningStartsNothing) {
  const std::string hold = HoldFile();
  TTestWindow window;
  const std::string nestedRecord = temp.Path() + "nested.txt";
  window.OnMessage = [&] {
    launcher.Parameters = "record \"" + nestedRecord + "\"";
    launcher.Launch();
    ::DeleteFileA(hold.c_str());
  };
  int customPumps = 0;
  launcher.ProcessMessages = [&] {
    ++customPumps;
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&message);
  };
  ::PostMessageA(window.Handle(), TestMessage, 0, 0);
  launcher.Parameters = "wait-file \"" + hold + "\"";
  launcher.Launch();
  EXPECT_GE(customPumps, 1);
  EXPECT_EQ(window.Received, 1);
  EXPECT_EQ(finished, 1);
  EXPECT_FALSE(FileExists(nestedRecord));
}

TEST_F(LauncherTest, EmptyFileNameKeepsThePreviousOutcome) {
  launcher.Parameters = "exit 7";
  launcher.Launch();
  ASSERT_EQ(launcher.ExitCode(), 7u);
  launcher.FileName.clear();
  launcher.Launch();
  EXPECT_EQ(finished, 1);
  EXPECT_EQ(launcher.ExitCode(), 7u);
  EXPECT_EQ(launcher.LaunchDetached(), 0u);

  launcher.FileName = temp.Path() + "missing.exe";
  launcher.Launch();
  const uint32_t failure = launcher.LastErrorCode();
  ASSERT_NE(failure, 0u);
  launcher.FileName.clear();
  launcher.Launch();
  EXPECT_EQ(errors, 1);
  EXPECT_EQ(launcher.LastErrorCode(), failure);
}

TEST_F(LauncherTest, HandlerExceptionLeavesTheLauncherIdleAndPropagates) {
  struct TCase {
    const char* Name;
    TWaitType Type;
    bool Timeout;
  };
  const TCase cases[] = {{"finished, message wait", TWaitType::wtProcessMessages, false},
                         {"finished, full stop", TWaitType::wtFullStop, false},
                         {"timeout, message wait", TWaitType::wtProcessMessages, true}};
  for (const TCase& c : cases) {
    const std::string hold = HoldFile();
    HANDLE seen = nullptr;
    const auto thrower = [&](TLauncher& sender) {
      seen = sender.ProcessHandle();
      process = Duplicate(seen);
      throw std::runtime_error("handler failed");
    };
    launcher.OnFinished = thrower;
    launcher.OnTimeout = thrower;
    launcher.WaitType = c.Type;
    launcher.Timeout = c.Timeout ? 100 : -1;
    launcher.Parameters = c.Timeout ? "wait-file \"" + hold + "\"" : std::string("exit 3");
    EXPECT_THROW(launcher.Launch(), std::runtime_error) << c.Name;
    EXPECT_FALSE(launcher.Running()) << c.Name;
    EXPECT_EQ(launcher.ProcessHandle(), nullptr) << c.Name;
    DWORD flags = 0;
    EXPECT_FALSE(::GetHandleInformation(seen, &flags)) << c.Name << ": handle still open";
    Release(hold);
  }
}

TEST_F(LauncherTest, AbandonedWaitEndsWithoutEventAndLeavesTheProcess) {
  struct TCase {
    const char* Name;
    bool FromOtherThread;
  };
  for (const TCase c : {TCase{"from a window handler", false}, TCase{"from another thread", true}}) {
    const std::string hold = HoldFile();
    TTestWindow window;
    window.OnMessage = [&] {
      process = Duplicate(launcher.ProcessHandle());
      launcher.AbandonWait();
    };
    std::thread abandoner([&] {
      while (!launcher.Running()) ::Sleep(5);
      if (c.FromOtherThread) {
        process = Duplicate(launcher.ProcessHandle());
        launcher.AbandonWait();
      } else {
        ::PostMessageA(window.Handle(), TestMessage, 0, 0);
      }
    });
    launcher.Parameters = "wait-file \"" + hold + "\"";
    launcher.Launch();
    abandoner.join();
    EXPECT_EQ(finished + timeouts + errors, 0) << c.Name;
    EXPECT_FALSE(launcher.Running()) << c.Name;
    EXPECT_EQ(launcher.ProcessHandle(), nullptr) << c.Name;
    EXPECT_TRUE(StillRunning(process)) << c.Name;
    Release(hold);
  }
}

TEST_F(LauncherTest, QuitRequestSeenDuringTheWaitReachesTheCaller) {
  const std::string hold = HoldFile();
  TTestWindow window;
  window.OnMessage = [&] {
    ::PostQuitMessage(7);
    ::DeleteFileA(hold.c_str());
  };
  ::PostMessageA(window.Handle(), TestMessage, 0, 0);
  launcher.Parameters = "wait-file \"" + hold + "\"";
  launcher.Launch();
  EXPECT_EQ(finished, 1);
  MSG message;
  ASSERT_TRUE(::PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 7u);
}

TEST_F(LauncherTest, ChildGetsParametersWorkingFolderAndShowCommand) {
  struct TCase {
    TShowMode Mode;
    int ShowCommand;
  };
  const TCase cases[] = {{TShowMode::smHide, SW_HIDE},
                         {TShowMode::smNormal, SW_SHOWNORMAL},
                         {TShowMode::smMinimized, SW_SHOWMINIMIZED},
                         {TShowMode::smMaximized, SW_SHOWMAXIMIZED}};
  for (const TCase& c : cases) {
    const std::string folder = temp.Sub("work dir " + std::to_string(c.ShowCommand) + "\\", true);
    launcher.StartDir = folder;
    launcher.ShowMode = c.Mode;
    launcher.Parameters = "record out.txt  \"two words\" x=1";
    launcher.Launch();
    ASSERT_EQ(launcher.ExitCode(), 0u);
    const std::string expected = folder.substr(0, folder.size() - 1) + "\n" +
                                 launcher.Parameters + "\n" + std::to_string(c.ShowCommand) + "\n";
    EXPECT_EQ(ReadFileBytes(folder + "out.txt"), expected);
  }
}

TEST_F(LauncherTest, DetachedStartDuringAWaitLeavesThatWaitAlone) {
  const std::string hold = HoldFile();
  const std::string record = temp.Path() + "detached.txt";
  TTestWindow window;
  uint32_t detached = 1, detachedMissing = 0;
  window.OnMessage = [&] {
    launcher.Parameters = "record \"" + record + "\"";
    detached = launcher.LaunchDetached();
    launcher.FileName = temp.Path() + "missing.exe";
    detachedMissing = launcher.LaunchDetached();
    ::DeleteFileA(hold.c_str());
  };
  ::PostMessageA(window.Handle(), TestMessage, 0, 0);
  launcher.Parameters = "wait-file \"" + hold + "\"";
  launcher.Launch();
  EXPECT_EQ(detached, 0u);
  EXPECT_GT(detachedMissing, 0u);
  EXPECT_LT(detachedMissing, 32u);
  EXPECT_EQ(finished, 1);
  EXPECT_EQ(errors, 0);
  EXPECT_EQ(launcher.LastErrorCode(), 0u);
  EXPECT_TRUE(PumpUntil([&] { return FileExists(record); }));
}

TEST_F(LauncherTest, BackgroundWaitDeliversEventsOnTheCreatingThread) {
  struct TCase {
    const char* Name;
    int32_t Timeout;
    bool Hold;
    int Finished, Timeouts;
  };
  const TCase cases[] = {{"ends by itself, no limit", -1, false, 1, 0},
                         {"limit of 250", 250, true, 0, 1},
                         {"limit of 0", 0, true, 0, 1}};
  for (const TCase& c : cases) {
    finished = timeouts = 0;
    runningInEvent = false;
    const std::string hold = HoldFile();
    launcher.WaitUntilFinished = false;
    launcher.Timeout = c.Timeout;
    launcher.Parameters = c.Hold ? "wait-file \"" + hold + "\"" : std::string("exit 5");
    launcher.Launch();
    EXPECT_EQ(launcher.LastErrorCode(), 0u) << c.Name;
    EXPECT_TRUE(PumpUntil([&] { return finished + timeouts > 0; })) << c.Name;
    EXPECT_TRUE(PumpUntil([&] { return !launcher.Running(); })) << c.Name;
    EXPECT_EQ(finished, c.Finished) << c.Name;
    EXPECT_EQ(timeouts, c.Timeouts) << c.Name;
    EXPECT_EQ(launcher.ExitCode(), c.Finished ? 5u : 0u) << c.Name;
    EXPECT_TRUE(runningInEvent) << c.Name;
    EXPECT_EQ(eventThread, ::GetCurrentThreadId()) << c.Name;
    if (c.Hold) {
      EXPECT_TRUE(StillRunning(process)) << c.Name;
    }
    Release(hold);
  }
}

TEST_F(LauncherTest, BackgroundHandlerExceptionStaysOffTheMessageLoop) {
  launcher.WaitUntilFinished = false;
  bool thrown = false;
  launcher.OnFinished = [&](TLauncher&) {
    thrown = true;
    throw std::runtime_error("handler failed");
  };
  launcher.Parameters = "exit 1";
  launcher.Launch();
  EXPECT_TRUE(PumpUntil([&] { return thrown && !launcher.Running(); }));
  EXPECT_EQ(launcher.ProcessHandle(), nullptr);

  // The launcher serves the next start as usual.
  launcher.OnFinished = [this](TLauncher&) { ++finished; };
  launcher.Parameters = "exit 2";
  launcher.Launch();
  EXPECT_TRUE(PumpUntil([&] { return finished == 1 && !launcher.Running(); }));
  EXPECT_EQ(launcher.ExitCode(), 2u);
}

TEST_F(LauncherTest, AbandonWhileIdleDoesNotCutTheNextWait) {
  launcher.AbandonWait();
  launcher.Parameters = "exit 9";
  launcher.Launch();
  EXPECT_EQ(finished, 1);
  EXPECT_EQ(launcher.ExitCode(), 9u);
}

TEST_F(LauncherTest, DestroyingDuringABackgroundWaitLeavesTheProcess) {
  const std::string hold = HoldFile();
  {
    TLauncher background;
    background.FileName = TestChildPath();
    background.ShowMode = TShowMode::smHide;
    background.Parameters = "wait-file \"" + hold + "\"";
    background.Launch();
    ASSERT_TRUE(background.Running());
    process = Duplicate(background.ProcessHandle());
  }
  EXPECT_TRUE(StillRunning(process));
  Release(hold);
}

}  // namespace

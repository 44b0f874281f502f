#pragma once
// TLauncher starts a program (or opens a document) through the Windows shell with a verb,
// parameters, a working folder and a show mode, and then, as configured, waits for the process
// to end and reports the outcome through three events.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "win/handles.h"
#include "win/window_base.h"

enum class TShowMode { smNormal = 0, smMaximized = 1, smMinimized = 2, smHide = 3 };
enum class TWaitType { wtFullStop = 0, wtProcessMessages = 1 };

class TLauncher;
class TLaunchThread;
using TNotifyEvent = std::function<void(TLauncher& sender)>;
using TLaunchErrorEvent = std::function<void(TLauncher& sender, uint32_t errorCode)>;

class TLauncher : private TWindowBase {
public:
  TLauncher();
  virtual ~TLauncher();
  TLauncher(const TLauncher&) = delete;
  TLauncher& operator=(const TLauncher&) = delete;

  // Properties, with their values after construction.
  std::string Action = "Open";
  std::string FileName;
  std::string Parameters;
  TShowMode ShowMode = TShowMode::smNormal;
  std::string StartDir;
  int32_t Timeout = -1;  // milliseconds; -1 means no limit
  TWaitType WaitType = TWaitType::wtFullStop;
  bool WaitUntilFinished = false;
  TNotifyEvent OnFinished;
  TLaunchErrorEvent OnError;
  TNotifyEvent OnTimeout;

  // Run-time state, written only by the launcher.
  bool Running() const;
  HANDLE ProcessHandle() const;
  HINSTANCE InstanceHandle() const;
  uint32_t ExitCode() const;
  uint32_t LastErrorCode() const;

  virtual void WaitProcessMessages();
  virtual void WaitFullStop();
  virtual void WaitInBackground();
  virtual void Launch();
  virtual uint32_t LaunchDetached();

  // The message wait ends early, without an event, once this is called (the program is closing):
  // the started process is left running and its handle released.
  void AbandonWait();

  // How the message wait handles waiting messages; by default the thread's own message pump
  // (PeekMessage, TranslateMessage, DispatchMessage until the queue is empty). A quit request met
  // by the default pump is posted again once the wait has ended, so the program's loop sees it.
  // A replacement takes every waiting message, input included: input left in the queue wakes the
  // wait again at once.
  std::function<void()> ProcessMessages;

  // The shell's show command for a show mode (SW_SHOWNORMAL, ...).
  static int ShowCommandOf(TShowMode mode);
  // The error number of a failed start from the shell's hInstApp. The shell leaves 0 when it ran
  // out of memory; that is reported as SE_ERR_OOM so that a failure never reads as success.
  static uint32_t ShellErrorNumber(uintptr_t instApp);

protected:
  virtual void DoFinished();
  virtual void DoTimeout();
  virtual void DoError();

private:
  friend class TLaunchThread;
  // The properties as they were when Launch was called: nested changes during a wait, and changes
  // on the creating thread while the launch thread starts the program, do not reach the start.
  struct TLaunchRequest {
    std::string Action, FileName, Parameters, StartDir;
    TShowMode ShowMode = TShowMode::smNormal;
    uint32_t Timeout = INFINITE;
    TWaitType WaitType = TWaitType::wtFullStop;
    bool OnLaunchThread = false;
  };

  void StartProcess();
  void WaitFinished();  // the process has ended: exit code, then the finished event
  void WaitFailed();    // the wait failed: the system's error number, then the error event
  void DefaultProcessMessages();
  // On the launch thread: runs a dispatcher on the thread that created the launcher and waits
  // until it has run. A handler's exception is carried back and raised here. Returns at once,
  // without the call, once the launch thread is asked to terminate.
  void Synchronize(void (TLauncher::*dispatcher)());
  // On the creating thread, from the hidden window: runs the call the launch thread waits for.
  void RunPendingCall();
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  bool TakesMessagesOf(HWND window) const override { return syncWindow_.Get() == window; }
  void JoinLaunchThread();

  TLaunchRequest request_;
  std::atomic<bool> running_{false};
  std::atomic<uint32_t> exitCode_{0};
  std::atomic<uint32_t> lastErrorCode_{0};
  std::atomic<bool> startSettled_{false};  // the launch thread has the outcome of its start
  std::atomic<bool> abandoned_{false};
  mutable std::mutex stateMutex_;  // process_ and instance_, written by the launch thread
  TKernelHandle process_;
  HINSTANCE instance_ = nullptr;
  bool quitSeen_ = false;
  int quitCode_ = 0;

  // Delivery of the launch thread's events on the creating thread: the launch thread stores the
  // call, posts a message to this message-only window and waits for syncDone_ or terminate_.
  TWindowHandle syncWindow_;
  std::mutex syncMutex_;
  void (TLauncher::*pendingCall_)() = nullptr;
  std::exception_ptr pendingError_;
  TKernelHandle syncDone_;
  TKernelHandle terminate_;
  std::unique_ptr<TLaunchThread> launchThread_;
};

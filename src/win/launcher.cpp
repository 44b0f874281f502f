#include "win/launcher.h"

#include <objbase.h>
#include <shellapi.h>

#include "core/exceptions.h"
#include "win/launcher_texts.h"
#include "win/message_pump.h"

namespace {

constexpr UINT SyncCallMessage = WM_APP + 1;  // the launch thread waits for a pending call
constexpr UINT WakeMessage = WM_APP + 2;      // wakes the message wait after AbandonWait
// The message wait wakes for input and painting as well as for posted and sent messages, so that
// the window repaints and takes clicks while the program runs.
constexpr DWORD WakeMask = QS_ALLINPUT | QS_ALLPOSTMESSAGE;
constexpr DWORD BackgroundStep = 100;  // milliseconds per wait of the launch thread
constexpr DWORD StartPollInterval = 10;

}  // namespace

// The thread of a not-waiting start: runs StartProcess of its launcher. Owned by the launcher,
// which joins it before a new start and on destruction.
class TLaunchThread {
public:
  explicit TLaunchThread(TLauncher& launcher) : launcher_(launcher) {
    thread_.Reset(::CreateThread(nullptr, 0, &TLaunchThread::Body, this, 0, nullptr));
    if (!thread_)
      throw Exception(FormatText(LauncherTexts::ThreadCreationError,
                                 SystemErrorText(::GetLastError()).c_str()));
  }
  HANDLE Handle() const { return thread_.Get(); }

private:
  static DWORD WINAPI Body(void* parameter) {
    TLauncher& launcher = static_cast<TLaunchThread*>(parameter)->launcher_;
    // The shell may hand the start to extensions that need COM on the calling thread.
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    try {
      launcher.StartProcess();
    } catch (...) {
      // A handler's exception cannot travel to the creating thread from here; the launcher is
      // already idle again, which is what the exception would have left behind.
    }
    launcher.startSettled_ = true;
    if (SUCCEEDED(com)) ::CoUninitialize();
    return 0;
  }

  TLauncher& launcher_;
  TKernelHandle thread_;
};

TLauncher::TLauncher()
    : syncDone_(::CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      terminate_(::CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
  TWindowPlace messageOnly;
  messageOnly.Parent = HWND_MESSAGE;
  syncWindow_.Reset(CreateObjectWindow(::GetModuleHandleA(nullptr), {LauncherTexts::SyncWindowClass}, "", messageOnly));
}

TLauncher::~TLauncher() {
  // The launch thread stops at its next step or gives up the event it waits to deliver; it is
  // joined before any state it uses goes away.
  if (launchThread_) {
    ::SetEvent(terminate_.Get());
    ::WaitForSingleObject(launchThread_->Handle(), INFINITE);
  }
}

bool TLauncher::Running() const { return running_; }

HANDLE TLauncher::ProcessHandle() const {
  std::lock_guard lock(stateMutex_);
  return process_.Get();
}

HINSTANCE TLauncher::InstanceHandle() const {
  std::lock_guard lock(stateMutex_);
  return instance_;
}

uint32_t TLauncher::ExitCode() const { return exitCode_; }
uint32_t TLauncher::LastErrorCode() const { return lastErrorCode_; }

int TLauncher::ShowCommandOf(TShowMode mode) {
  switch (mode) {
    case TShowMode::smMaximized: return SW_SHOWMAXIMIZED;
    case TShowMode::smMinimized: return SW_SHOWMINIMIZED;
    case TShowMode::smHide: return SW_HIDE;
    case TShowMode::smNormal: break;
  }
  return SW_SHOWNORMAL;
}

uint32_t TLauncher::ShellErrorNumber(uintptr_t instApp) {
  return instApp == 0 ? SE_ERR_OOM : static_cast<uint32_t>(instApp);
}

void TLauncher::Launch() {
  if (running_ || FileName.empty()) return;
  // An earlier launch thread has its outcome settled but may still deliver its error event;
  // it ends before anything of this start is set.
  JoinLaunchThread();
  request_ = TLaunchRequest{Action,   FileName, Parameters, StartDir, ShowMode,
                            static_cast<uint32_t>(Timeout), WaitType, !WaitUntilFinished};
  if (!request_.OnLaunchThread) {
    StartProcess();
    return;
  }
  startSettled_ = false;
  ::ResetEvent(terminate_.Get());
  launchThread_ = std::make_unique<TLaunchThread>(*this);
  // The thread sets the flag once Running or LastErrorCode tells the outcome of the start.
  while (!startSettled_) ::Sleep(StartPollInterval);
}

uint32_t TLauncher::LaunchDetached() {
  if (FileName.empty()) return 0;
  // The state of a start still being waited for belongs to that wait and is left alone.
  if (!running_) {
    std::lock_guard lock(stateMutex_);
    instance_ = nullptr;
    process_.Reset();
    exitCode_ = 0;
  }
  SHELLEXECUTEINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_DDEWAIT | SEE_MASK_FLAG_NO_UI;
  info.lpVerb = Action.c_str();
  info.lpFile = FileName.c_str();
  info.lpParameters = Parameters.c_str();
  info.lpDirectory = StartDir.c_str();
  info.nShow = ShowCommandOf(ShowMode);
  if (!::ShellExecuteExA(&info)) return ShellErrorNumber(reinterpret_cast<uintptr_t>(info.hInstApp));
  TKernelHandle released(info.hProcess);
  return 0;
}

void TLauncher::StartProcess() {
  lastErrorCode_ = 0;
  exitCode_ = 0;
  abandoned_ = false;
  {
    std::lock_guard lock(stateMutex_);
    instance_ = nullptr;
    process_.Reset();
  }
  SHELLEXECUTEINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_DDEWAIT | SEE_MASK_FLAG_NO_UI;
  info.lpVerb = request_.Action.c_str();
  info.lpFile = request_.FileName.c_str();
  info.lpParameters = request_.Parameters.c_str();
  info.lpDirectory = request_.StartDir.c_str();
  info.nShow = ShowCommandOf(request_.ShowMode);

  if (!::ShellExecuteExA(&info)) {
    lastErrorCode_ = ShellErrorNumber(reinterpret_cast<uintptr_t>(info.hInstApp));
    if (request_.OnLaunchThread) {
      startSettled_ = true;
      Synchronize(&TLauncher::DoError);
    } else {
      DoError();
    }
    return;
  }
  {
    std::lock_guard lock(stateMutex_);
    instance_ = info.hInstApp;
    process_.Reset(info.hProcess);
  }
  running_ = true;
  startSettled_ = true;

  // However the wait ends, a handler's exception included, the handle goes and the launcher is
  // idle again.
  struct TEndOfWait {
    TLauncher& launcher;
    ~TEndOfWait() {
      {
        std::lock_guard lock(launcher.stateMutex_);
        launcher.process_.Reset();
      }
      launcher.running_ = false;
    }
  } endOfWait{*this};

  if (request_.OnLaunchThread)
    WaitInBackground();
  else if (request_.WaitType == TWaitType::wtProcessMessages)
    WaitProcessMessages();
  else
    WaitFullStop();
}

void TLauncher::WaitFinished() {
  DWORD code = 0;
  if (::GetExitCodeProcess(process_.Get(), &code)) exitCode_ = code;
}

void TLauncher::WaitFailed() { lastErrorCode_ = ::GetLastError(); }

void TLauncher::WaitProcessMessages() {
  // A quit request taken from the queue during the wait is handed back to the program's loop.
  struct TQuitRepost {
    TLauncher& launcher;
    ~TQuitRepost() {
      if (launcher.quitSeen_) ::PostQuitMessage(launcher.quitCode_);
      launcher.quitSeen_ = false;
    }
  } quitRepost{*this};

  const HANDLE process = process_.Get();
  while (!abandoned_) {
    // Input already in the queue wakes the wait too, not only input that arrived since the queue
    // was last looked at; the message handling takes all of it, so the wait cannot spin on it.
    const DWORD result =
        ::MsgWaitForMultipleObjectsEx(1, &process, request_.Timeout, WakeMask, MWMO_INPUTAVAILABLE);
    if (result == WAIT_OBJECT_0) {
      WaitFinished();
      DoFinished();
      return;
    }
    if (result == WAIT_OBJECT_0 + 1) {
      if (ProcessMessages)
        ProcessMessages();
      else
        DefaultProcessMessages();
      continue;  // the whole Timeout again, counted from this wake
    }
    if (result == WAIT_TIMEOUT) {
      DoTimeout();
      return;
    }
    WaitFailed();
    DoError();
    return;
  }
}

void TLauncher::WaitFullStop() {
  switch (::WaitForSingleObject(process_.Get(), request_.Timeout)) {
    case WAIT_OBJECT_0:
      WaitFinished();
      DoFinished();
      break;
    case WAIT_TIMEOUT:
      DoTimeout();
      break;
    default:
      WaitFailed();
      DoError();
      break;
  }
}

void TLauncher::WaitInBackground() {
  uint32_t elapsed = 0;
  for (;;) {
    const DWORD result = ::WaitForSingleObject(process_.Get(), BackgroundStep);
    if (result == WAIT_OBJECT_0) {
      WaitFinished();
      Synchronize(&TLauncher::DoFinished);
      return;
    }
    if (result != WAIT_TIMEOUT) {
      WaitFailed();
      Synchronize(&TLauncher::DoError);
      return;
    }
    // Steps of 100 never land on 0xFFFFFFFF, so a Timeout of -1 never ends the wait.
    elapsed += BackgroundStep;
    if (elapsed >= request_.Timeout) {
      Synchronize(&TLauncher::DoTimeout);
      return;
    }
    if (::WaitForSingleObject(terminate_.Get(), 0) == WAIT_OBJECT_0) return;
  }
}

void TLauncher::AbandonWait() {
  abandoned_ = true;
  // The flag is seen after the current round of message handling; the message wakes a wait that
  // is blocked right now.
  if (syncWindow_) ::PostMessageA(syncWindow_.Get(), WakeMessage, 0, 0);
}

void TLauncher::DefaultProcessMessages() {
  // The quit request is kept until the wait has ended; the messages after it are handled still.
  while (const std::optional<int> quit = PumpWaitingMessages()) {
    quitSeen_ = true;
    quitCode_ = *quit;
  }
}

void TLauncher::DoFinished() {
  if (OnFinished) OnFinished(*this);
}

void TLauncher::DoTimeout() {
  if (OnTimeout) OnTimeout(*this);
}

void TLauncher::DoError() {
  if (OnError) OnError(*this, lastErrorCode_);
}

void TLauncher::Synchronize(void (TLauncher::*dispatcher)()) {
  {
    std::lock_guard lock(syncMutex_);
    pendingCall_ = dispatcher;
    pendingError_ = nullptr;
    ::ResetEvent(syncDone_.Get());
  }
  ::PostMessageA(syncWindow_.Get(), SyncCallMessage, 0, 0);
  const HANDLE events[] = {syncDone_.Get(), terminate_.Get()};
  if (::WaitForMultipleObjects(2, events, FALSE, INFINITE) != WAIT_OBJECT_0) {
    std::lock_guard lock(syncMutex_);
    pendingCall_ = nullptr;  // the launcher is going away: the event is not delivered
    return;
  }
  std::exception_ptr error;
  {
    std::lock_guard lock(syncMutex_);
    error = std::exchange(pendingError_, nullptr);
  }
  if (error) std::rethrow_exception(error);
}

void TLauncher::RunPendingCall() {
  void (TLauncher::*dispatcher)() = nullptr;
  {
    std::lock_guard lock(syncMutex_);
    dispatcher = std::exchange(pendingCall_, nullptr);
  }
  if (!dispatcher) return;
  std::exception_ptr error;
  try {
    (this->*dispatcher)();
  } catch (...) {
    error = std::current_exception();
  }
  {
    std::lock_guard lock(syncMutex_);
    pendingError_ = error;
  }
  ::SetEvent(syncDone_.Get());
}

LRESULT TLauncher::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != SyncCallMessage) return ::DefWindowProcA(window, message, wParam, lParam);
  RunPendingCall();
  return 0;
}

void TLauncher::JoinLaunchThread() {
  if (!launchThread_) return;
  // The ending thread may still wait to deliver the error event of a failed start: deliver it
  // here rather than wait for the thread forever.
  while (::WaitForSingleObject(launchThread_->Handle(), StartPollInterval) == WAIT_TIMEOUT)
    RunPendingCall();
  launchThread_.reset();
}

#pragma once
// TLauncher starts a program (or opens a document) through the Windows shell with a verb,
// parameters, a working folder and a show mode, and then, as configured, waits for the process
// to end and reports the outcome through three events.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "framework/win_handles.h"

enum class TShowMode { smNormal = 0, smMaximized = 1, smMinimized = 2, smHide = 3 };
enum class TWaitType { wtFullStop = 0, wtProcessMessages = 1 };

class TLauncher;
class TLaunchThread;
using TNotifyEvent = std::function<void(TLauncher& sender)>;
using TLaunchErrorEvent = std::function<void(TLauncher& sender, uint32_t errorCode)>;

class TLauncher {
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

  // How the message wait handles waiting messages; by default the thread's own message pump.
  std::function<void()> ProcessMessages;

protected:
  virtual void DoFinished();
  virtual void DoTimeout();
  virtual void DoError();

private:
  friend class TLaunchThread;
  void StartProcess();
  // ... implementation state
};

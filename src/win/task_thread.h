#pragma once
// A thread of its own for work that must not hold up the window. Tasks run one at a time; a task
// posted while another still waits to start takes its place, so only the newest wish is worked
// on. The owner's destruction waits for the task in hand, which must therefore be short.
#include <windows.h>

#include <functional>
#include <mutex>

#include "win/handles.h"

class TLatestTaskThread {
public:
  // Raises Exception when the thread cannot be made.
  TLatestTaskThread();
  ~TLatestTaskThread();
  TLatestTaskThread(const TLatestTaskThread&) = delete;
  TLatestTaskThread& operator=(const TLatestTaskThread&) = delete;

  // The task runs on the thread; what it throws is dropped there, so it reports its own failures.
  void Post(std::function<void()> task);

private:
  static DWORD WINAPI Body(void* self);
  void Run();

  std::mutex mutex_;  // pending_ and stopping_
  std::function<void()> pending_;
  bool stopping_ = false;
  TKernelHandle wake_;
  TKernelHandle thread_;  // last: made once the rest is ready, joined first
};

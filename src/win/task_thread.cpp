#include "win/task_thread.h"

#include "core/exceptions.h"
#include "win/launcher_texts.h"

TLatestTaskThread::TLatestTaskThread() : wake_(::CreateEventA(nullptr, FALSE, FALSE, nullptr)) {
  if (wake_) thread_.Reset(::CreateThread(nullptr, 0, &TLatestTaskThread::Body, this, 0, nullptr));
  if (!thread_)
    throw Exception(FormatText(LauncherTexts::ThreadCreationError, SystemErrorText(::GetLastError()).c_str()));
}

TLatestTaskThread::~TLatestTaskThread() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    pending_ = nullptr;
  }
  ::SetEvent(wake_.Get());
  ::WaitForSingleObject(thread_.Get(), INFINITE);
}

void TLatestTaskThread::Post(std::function<void()> task) {
  {
    std::lock_guard lock(mutex_);
    pending_ = std::move(task);
  }
  ::SetEvent(wake_.Get());
}

DWORD WINAPI TLatestTaskThread::Body(void* self) {
  static_cast<TLatestTaskThread*>(self)->Run();
  return 0;
}

void TLatestTaskThread::Run() {
  for (;;) {
    ::WaitForSingleObject(wake_.Get(), INFINITE);
    std::function<void()> task;
    {
      std::lock_guard lock(mutex_);
      if (stopping_) return;
      task = std::move(pending_);
      pending_ = nullptr;
    }
    if (!task) continue;
    try {
      task();
    } catch (...) {
      // Nobody to tell on this thread: a task reports its own failures.
    }
  }
}

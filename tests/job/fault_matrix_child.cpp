// A child process for the fault matrix: another program that holds the cache index, or a save of
// the index that dies half way. Modes, by its first argument:
//   hold FILE EVENT   opens FILE without sharing, signals the named EVENT, then waits to be killed
//   save FILE EVENT   loads the index FILE, marks its first entry line and saves it over FILE with
//                     a writer that writes half of the bytes, signals EVENT and waits to be killed
//   copy FROM TO EVENT  copies FROM to TO as the integration run does, signals EVENT once the
//                     first chunk is written and waits to be killed
#include <windows.h>

#include <cstring>
#include <string>

#include "job/cache_index.h"
#include "job/copy_file.h"
#include "job/job_seams.h"

namespace {


class TSilentProgress : public IProgress {
  void SetProgressVisible(bool) override {}
  void SetProgressRange(int) override {}
  void SetProgressPosition(int) override {}
  void ProcessPendingMessages() override {}
};

[[noreturn]] void SignalAndWait(const char* eventName) {
  TKernelHandle ready(::OpenEventA(EVENT_MODIFY_STATE, FALSE, eventName));
  ::SetEvent(ready.Get());
  for (;;) ::Sleep(INFINITE);
}

int Hold(const char* file, const char* eventName) {
  TFileHandle held(::CreateFileA(file, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!held) return 2;
  SignalAndWait(eventName);
}

int DieWhileSaving(const char* file, const char* eventName) {
  TIndexIo io = TIndexIo::Standard();
  io.Write = [eventName](HANDLE out, std::string_view bytes) {
    DWORD written = 0;
    ::WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size() / 2), &written, nullptr);
    SignalAndWait(eventName);
    return true;
  };
  TCacheIndex index(io);
  if (index.LoadCacheIndex(file) != TIndexLoad::Loaded) return 2;
  index.MarkCacheEntry(1);
  index.SaveCacheIndex(file);
  return 3;  // the writer never returns
}

int DieWhileCopying(const char* from, const char* to, const char* eventName) {
  TSilentProgress progress;
  TCopyIo io = TCopyIo::Standard();
  io.Write = [eventName, write = io.Write](HANDLE file, const void* data, DWORD size) {
    write(file, data, size);
    SignalAndWait(eventName);
    return true;
  };
  CopyFileWithProgress(from, to, progress, io);
  return 3;  // the writer never returns
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "hold") == 0) return Hold(argv[2], argv[3]);
  if (argc == 4 && std::strcmp(argv[1], "save") == 0) return DieWhileSaving(argv[2], argv[3]);
  if (argc == 5 && std::strcmp(argv[1], "copy") == 0) return DieWhileCopying(argv[2], argv[3], argv[4]);
  return 1;
}

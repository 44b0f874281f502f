// Throughput of the integration copy against the system's own file copy, under Wine:
//   copy_bench            one file of 256 MiB, then 2,000 files of 64 KiB
// Prints the ratio of the two throughputs. A benchmark, not a test: it asserts nothing.
#include <windows.h>

#include <cstdio>
#include <string>

#include "integration/copy_file.h"
#include "integration/fake_main_view.h"
#include "support/test_files.h"

namespace {

double Seconds() {
  LARGE_INTEGER frequency, now;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// A view whose message check costs about what the real window's does.
class TBenchView : public TFakeMainView {
public:
  void SetProgressPosition(int) override { ++ProgressCalls; }
  void ProcessPendingMessages() override {
    ++PendingMessageCalls;
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&message);
  }
  int ProgressCalls = 0;
};

void Compare(const char* name, int files, size_t size) {
  TTempFolder temp;
  const std::string in = temp.Sub("in\\", true), viaSystem = temp.Sub("system\\", true), viaRun = temp.Sub("run\\", true);
  const std::string bytes = PayloadBytes(size, 1);
  for (int i = 0; i < files; ++i) WriteFileBytes(in + std::to_string(i) + ".uxx", bytes);

  double start = Seconds();
  for (int i = 0; i < files; ++i)
    ::CopyFileA((in + std::to_string(i) + ".uxx").c_str(), (viaSystem + std::to_string(i)).c_str(), FALSE);
  const double system = Seconds() - start;

  TBenchView view;
  start = Seconds();
  for (int i = 0; i < files; ++i) CopyFileWithProgress(in + std::to_string(i) + ".uxx", viaRun + std::to_string(i), view);
  const double run = Seconds() - start;
  std::printf("%s: system copy %.3f s, integration copy %.3f s, throughput ratio %.2f; %d progress updates, %d message checks\n",
              name, system, run, system / run, view.ProgressCalls, view.PendingMessageCalls);
}

}  // namespace

int main() {
  Compare("256 MiB", 1, 256u * 1024 * 1024);
  Compare("2000 x 64 KiB", 2000, 64 * 1024);
  return 0;
}

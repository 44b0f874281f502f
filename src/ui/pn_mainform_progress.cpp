// The main window's progress bar, brought to the latest request on a clock.
#include "ui/pn_mainform.h"

#include <commctrl.h>

namespace {

// The progress bar repaints itself at once on every change of its position, which costs more
// than copying a chunk: a visible bar is changed at most this often, about 25 times a second.
constexpr ULONGLONG ProgressRepaintMilliseconds = 40;

}  // namespace

// The bar shows the latest range and position asked for: a visible bar takes them on a clock
// (the rest arrives with the progress timer), a hidden one at once, and showing or hiding the bar
// first brings it up to date, so that a finished file or run is always shown exactly.
void TMainForm::SetProgressVisible(bool visible) {
  ApplyProgress();
  ::ShowWindow(progressBar_, visible ? SW_SHOW : SW_HIDE);
}

void TMainForm::SetProgressRange(int maximum) {
  progressWanted_.Maximum = maximum;
  RequestProgress();
}

void TMainForm::SetProgressPosition(int position) {
  progressWanted_.Position = position;
  RequestProgress();
}

void TMainForm::RequestProgress() {
  if (progressWanted_ == progressShown_) return;
  const ULONGLONG sinceApplied = ::GetTickCount64() - progressAppliedAt_;
  if (!::IsWindowVisible(progressBar_) || sinceApplied >= ProgressRepaintMilliseconds) {
    ApplyProgress();
  } else if (!progressTimerSet_) {
    progressTimerSet_ = ::SetTimer(Handle(), ProgressTimerId,
                                   static_cast<UINT>(ProgressRepaintMilliseconds - sinceApplied), nullptr) != 0;
    // Without a timer the bar is brought up to date at once rather than left behind.
    if (!progressTimerSet_) ApplyProgress();
  }
}

void TMainForm::ApplyProgress() {
  if (progressTimerSet_) {
    ::KillTimer(Handle(), ProgressTimerId);
    progressTimerSet_ = false;
  }
  if (progressWanted_ == progressShown_) return;
  // A new range clamps the bar's old position, so the position follows every range change.
  if (progressWanted_.Maximum != progressShown_.Maximum)
    ::SendMessageA(progressBar_, PBM_SETRANGE32, 0, progressWanted_.Maximum);
  ::SendMessageA(progressBar_, PBM_SETPOS, progressWanted_.Position, 0);
  progressShown_ = progressWanted_;
  progressAppliedAt_ = ::GetTickCount64();
}

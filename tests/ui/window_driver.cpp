#include "ui/window_driver.h"

#include <algorithm>
#include <fstream>
#include <map>

namespace {
std::map<UINT_PTR, TDialogDriver*>& Drivers() {
  static std::map<UINT_PTR, TDialogDriver*> drivers;
  return drivers;
}

BOOL CALLBACK CollectDialog(HWND window, LPARAM list) {
  if (ClassNameOf(window) == "#32770" && ::IsWindowVisible(window))
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

std::vector<HWND> ThreadDialogs() {
  std::vector<HWND> found;
  ::EnumThreadWindows(::GetCurrentThreadId(), CollectDialog, reinterpret_cast<LPARAM>(&found));
  return found;
}
}  // namespace

TDialogDriver::TDialogDriver(std::function<void(HWND)> action)
    : action_(std::move(action)), known_(ThreadDialogs()) {
  timer_ = ::SetTimer(nullptr, 0, 10, Tick);
  Drivers()[timer_] = this;
}

TDialogDriver::~TDialogDriver() {
  if (timer_) ::KillTimer(nullptr, timer_);
  Drivers().erase(timer_);
}

void CALLBACK TDialogDriver::Tick(HWND, UINT, UINT_PTR id, DWORD) {
  auto found = Drivers().find(id);
  if (found == Drivers().end()) return;
  TDialogDriver& driver = *found->second;
  for (HWND dialog : ThreadDialogs()) {
    if (std::find(driver.known_.begin(), driver.known_.end(), dialog) != driver.known_.end()) continue;
    ::KillTimer(nullptr, driver.timer_);
    Drivers().erase(driver.timer_);
    driver.timer_ = 0;
    driver.acted_ = true;
    driver.action_(dialog);
    return;
  }
}

std::string WindowText(HWND window) {
  char text[1024] = {};
  ::GetWindowTextA(window, text, sizeof text);
  return text;
}

std::string ClassNameOf(HWND window) {
  char name[256] = {};
  ::GetClassNameA(window, name, sizeof name);
  return name;
}

std::vector<std::string> StaticTexts(HWND window) {
  std::vector<std::string> texts;
  for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
    if (ClassNameOf(child) == "Static") texts.push_back(WindowText(child));
  return texts;
}

void PressKey(HWND dialog, WPARAM virtualKey) {
  HWND focus = ::GetFocus();
  HWND target = focus && (focus == dialog || ::IsChild(dialog, focus)) ? focus : dialog;
  const UINT scan = ::MapVirtualKeyA(static_cast<UINT>(virtualKey), 0);
  ::PostMessageA(target, WM_KEYDOWN, virtualKey, 1 | (scan << 16));
  ::PostMessageA(target, WM_KEYUP, virtualKey, 1 | (scan << 16) | 0xC0000000u);
}

namespace {
std::map<UINT_PTR, std::function<void()>>& IdleActions() {
  static std::map<UINT_PTR, std::function<void()>> actions;
  return actions;
}

void CALLBACK IdleTick(HWND, UINT, UINT_PTR id, DWORD) {
  ::KillTimer(nullptr, id);
  auto found = IdleActions().find(id);
  if (found == IdleActions().end()) return;
  std::function<void()> action = std::move(found->second);
  IdleActions().erase(found);
  action();
}
}  // namespace

void RunWhenIdle(std::function<void()> action) {
  IdleActions()[::SetTimer(nullptr, 0, 10, IdleTick)] = std::move(action);
}

void SaveScreenshot(HWND dialog, const char* path) {
  ::RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  RECT frame;
  ::GetWindowRect(dialog, &frame);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  // From the window's own picture rather than the screen, which shows it only once it is flushed.
  HDC screen = ::GetWindowDC(dialog);
  HDC memory = ::CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = ::SelectObject(memory, bitmap);
  ::BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
  ::GdiFlush();
  const DWORD rowBytes = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  BITMAPFILEHEADER header{0x4D42, 0, 0, 0, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
  header.bfSize = header.bfOffBits + rowBytes * static_cast<DWORD>(height);
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(&header), sizeof header);
  file.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
  file.write(static_cast<const char*>(bits), rowBytes * static_cast<DWORD>(height));
  ::SelectObject(memory, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(dialog, screen);
}

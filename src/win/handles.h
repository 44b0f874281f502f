#pragma once
// One owner per Win32 handle: each type below closes its handle exactly once, on every path,
// exceptions included. Move-only; Reset() takes a new handle and closes the old one.
#include <windows.h>
#include <commctrl.h>

#include <utility>

template <typename Traits>
class TUniqueHandle {
public:
  using Handle = typename Traits::Handle;

  TUniqueHandle() noexcept = default;
  explicit TUniqueHandle(Handle handle) noexcept : handle_(handle) {}
  ~TUniqueHandle() { Close(); }

  TUniqueHandle(const TUniqueHandle&) = delete;
  TUniqueHandle& operator=(const TUniqueHandle&) = delete;
  TUniqueHandle(TUniqueHandle&& other) noexcept : handle_(other.Release()) {}
  TUniqueHandle& operator=(TUniqueHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }

  Handle Get() const noexcept { return handle_; }
  bool Valid() const noexcept { return handle_ != Traits::Invalid(); }
  explicit operator bool() const noexcept { return Valid(); }

  // For out-parameters of Win32 calls: closes what is held and hands out the slot.
  Handle* Put() noexcept {
    Close();
    return &handle_;
  }
  Handle Release() noexcept { return std::exchange(handle_, Traits::Invalid()); }
  void Reset(Handle handle = Traits::Invalid()) noexcept {
    Close();
    handle_ = handle;
  }

private:
  void Close() noexcept {
    if (Valid()) Traits::Close(std::exchange(handle_, Traits::Invalid()));
  }
  Handle handle_ = Traits::Invalid();
};

struct TFileHandleTraits {  // CreateFile: INVALID_HANDLE_VALUE means none
  using Handle = HANDLE;
  static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) noexcept { ::CloseHandle(h); }
};
struct TKernelHandleTraits {  // processes, threads, events: null means none
  using Handle = HANDLE;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle h) noexcept { ::CloseHandle(h); }
};
struct TFindHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) noexcept { ::FindClose(h); }
};
struct TRegKeyTraits {
  using Handle = HKEY;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle h) noexcept { ::RegCloseKey(h); }
};
struct TGdiObjectTraits {
  using Handle = HGDIOBJ;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle h) noexcept { ::DeleteObject(h); }
};
struct TImageListTraits {
  using Handle = HIMAGELIST;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle h) noexcept { ::ImageList_Destroy(h); }
};
struct TWindowTraits {  // windows this program made, destroyed with everything they hold
  using Handle = HWND;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle h) noexcept { ::DestroyWindow(h); }
};
struct TMenuTraits {  // menus that no window owns
  using Handle = HMENU;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle h) noexcept { ::DestroyMenu(h); }
};
struct TIconTraits {
  using Handle = HICON;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle h) noexcept { ::DestroyIcon(h); }
};

using TFileHandle = TUniqueHandle<TFileHandleTraits>;
using TKernelHandle = TUniqueHandle<TKernelHandleTraits>;
using TFindHandle = TUniqueHandle<TFindHandleTraits>;
using TRegKey = TUniqueHandle<TRegKeyTraits>;
using TGdiObject = TUniqueHandle<TGdiObjectTraits>;
using TImageList = TUniqueHandle<TImageListTraits>;
using TWindowHandle = TUniqueHandle<TWindowTraits>;
using TMenuHandle = TUniqueHandle<TMenuTraits>;
using TIconHandle = TUniqueHandle<TIconTraits>;

// The system's text for an error number, without its trailing full stop and line end.
#include <string>
std::string SystemErrorText(DWORD error);

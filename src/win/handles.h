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

// What marks no handle of a kind, and how one is closed. Most kinds use null for none; the
// file functions (CreateFile, FindFirstFile) use INVALID_HANDLE_VALUE.
enum class TNoHandle { Null, InvalidHandleValue };

template <typename THandle, auto CloseFunction, TNoHandle None = TNoHandle::Null>
struct THandleTraits {
  using Handle = THandle;
  static Handle Invalid() noexcept {
    if constexpr (None == TNoHandle::InvalidHandleValue)
      return INVALID_HANDLE_VALUE;
    else
      return nullptr;
  }
  static void Close(Handle h) noexcept { CloseFunction(h); }
};

using TFileHandle = TUniqueHandle<THandleTraits<HANDLE, ::CloseHandle, TNoHandle::InvalidHandleValue>>;
using TFindHandle = TUniqueHandle<THandleTraits<HANDLE, ::FindClose, TNoHandle::InvalidHandleValue>>;
using TKernelHandle = TUniqueHandle<THandleTraits<HANDLE, ::CloseHandle>>;  // processes, threads, events
using TRegKey = TUniqueHandle<THandleTraits<HKEY, ::RegCloseKey>>;
using TGdiObject = TUniqueHandle<THandleTraits<HGDIOBJ, ::DeleteObject>>;
using TImageList = TUniqueHandle<THandleTraits<HIMAGELIST, ::ImageList_Destroy>>;
// Windows this program made, destroyed with everything they hold.
using TWindowHandle = TUniqueHandle<THandleTraits<HWND, ::DestroyWindow>>;
using TMenuHandle = TUniqueHandle<THandleTraits<HMENU, ::DestroyMenu>>;  // menus that no window owns

// The system's text for an error number, without its trailing full stop and line end.
#include <string>
std::string SystemErrorText(DWORD error);

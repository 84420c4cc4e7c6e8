#pragma once
#include <windows.h>

#include <commctrl.h>
#include <oleauto.h>

#include <cstdio>
#include <type_traits>
#include <utility>

namespace Tarn {

// One owner per handle kind: a handle value, the value that means "none", and the call that
// frees it. Moving transfers ownership; nothing is ever freed by hand outside these holders.
template <class Traits> class unique_any {
public:
  using pointer = typename Traits::pointer;

  unique_any() noexcept = default;
  explicit unique_any(pointer value) noexcept : value_(value) {}
  unique_any(const unique_any&) = delete;
  unique_any& operator=(const unique_any&) = delete;
  unique_any(unique_any&& other) noexcept : value_(other.release()) {}
  unique_any& operator=(unique_any&& other) noexcept {
    if (this != &other)
      reset(other.release());
    return *this;
  }
  ~unique_any() { reset(); }

  // Resetting to the value already held keeps it open.
  void reset(pointer value = Traits::invalid()) noexcept {
    const pointer old = std::exchange(value_, value);
    if (old != Traits::invalid() && old != value)
      Traits::close(old);
  }
  [[nodiscard]] pointer release() noexcept { return std::exchange(value_, Traits::invalid()); }
  pointer get() const noexcept { return value_; }
  // For out-arguments: frees the current value first.
  pointer* put() noexcept {
    reset();
    return &value_;
  }
  // For in-out arguments whose callee frees the value it is handed (a BSTR out-argument).
  pointer* addressof() noexcept { return &value_; }
  explicit operator bool() const noexcept { return value_ != Traits::invalid(); }

private:
  pointer value_ = Traits::invalid();
};

template <class T, auto Close, auto Invalid = static_cast<T>(0)> struct handle_traits {
  using pointer = T;
  static constexpr pointer invalid() noexcept { return Invalid; }
  static void close(pointer value) noexcept { Close(value); }
};

namespace detail {
inline void CloseKernelHandle(HANDLE h) noexcept {
  ::CloseHandle(h);
}
template <class T> inline void DeleteGdiObject(T h) noexcept {
  ::DeleteObject(h);
}
inline void FreeLocal(wchar_t* p) noexcept {
  ::LocalFree(p);
}
} // namespace detail

using unique_hmodule = unique_any<handle_traits<HMODULE, &::FreeLibrary>>;
using unique_bstr = unique_any<handle_traits<BSTR, &::SysFreeString>>;
// Text a system call allocated with LocalAlloc (FormatMessageW with
// FORMAT_MESSAGE_ALLOCATE_BUFFER).
using unique_hlocal_string = unique_any<handle_traits<wchar_t*, &detail::FreeLocal>>;
// Kernel handles whose "none" is null (events, threads, mappings).
using unique_handle = unique_any<handle_traits<HANDLE, &detail::CloseKernelHandle>>;
// Closing ignores fclose's result: where a write must be confirmed, release() and fclose by hand.
using unique_file = unique_any<handle_traits<FILE*, &::fclose>>;
using unique_hwnd = unique_any<handle_traits<HWND, &::DestroyWindow>>;
// A DC made by CreateCompatibleDC or CreateDC.
using unique_hdc = unique_any<handle_traits<HDC, &::DeleteDC>>;
using unique_hfont = unique_any<handle_traits<HFONT, &detail::DeleteGdiObject<HFONT>>>;
using unique_hpen = unique_any<handle_traits<HPEN, &detail::DeleteGdiObject<HPEN>>>;
using unique_hbrush = unique_any<handle_traits<HBRUSH, &detail::DeleteGdiObject<HBRUSH>>>;
using unique_hbitmap = unique_any<handle_traits<HBITMAP, &detail::DeleteGdiObject<HBITMAP>>>;
using unique_hrgn = unique_any<handle_traits<HRGN, &detail::DeleteGdiObject<HRGN>>>;
using unique_himagelist = unique_any<handle_traits<HIMAGELIST, &::ImageList_Destroy>>;
using unique_henhmetafile = unique_any<handle_traits<HENHMETAFILE, &::DeleteEnhMetaFile>>;
// Only icons the module made itself: a shared icon (LoadIcon, LR_SHARED) is never destroyed.
using unique_hicon = unique_any<handle_traits<HICON, &::DestroyIcon>>;

// Kernel handles whose "none" is INVALID_HANDLE_VALUE (files, find handles).
struct file_handle_traits {
  using pointer = HANDLE;
  static pointer invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void close(pointer value) noexcept { ::CloseHandle(value); }
};
using unique_hfile = unique_any<file_handle_traits>;

// An activation context from CreateActCtxW, which reports failure as INVALID_HANDLE_VALUE.
struct actctx_traits {
  using pointer = HANDLE;
  static pointer invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void close(pointer value) noexcept { ::ReleaseActCtx(value); }
};
using unique_hactctx = unique_any<actctx_traits>;

// A DC from GetDC or GetWindowDC, given back to its window.
class unique_window_dc {
public:
  unique_window_dc() noexcept = default;
  static unique_window_dc Get(HWND hwnd) noexcept { return unique_window_dc(hwnd, ::GetDC(hwnd)); }
  static unique_window_dc GetWindow(HWND hwnd) noexcept {
    return unique_window_dc(hwnd, ::GetWindowDC(hwnd));
  }
  unique_window_dc(const unique_window_dc&) = delete;
  unique_window_dc& operator=(const unique_window_dc&) = delete;
  unique_window_dc(unique_window_dc&& other) noexcept
      : hwnd_(std::exchange(other.hwnd_, nullptr)), dc_(std::exchange(other.dc_, nullptr)) {}
  unique_window_dc& operator=(unique_window_dc&& other) noexcept {
    if (this != &other) {
      reset();
      hwnd_ = std::exchange(other.hwnd_, nullptr);
      dc_ = std::exchange(other.dc_, nullptr);
    }
    return *this;
  }
  ~unique_window_dc() { reset(); }
  void reset() noexcept {
    if (dc_)
      ::ReleaseDC(hwnd_, dc_);
    dc_ = nullptr;
    hwnd_ = nullptr;
  }
  HDC get() const noexcept { return dc_; }
  explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
  unique_window_dc(HWND hwnd, HDC dc) noexcept : hwnd_(hwnd), dc_(dc) {}
  HWND hwnd_ = nullptr;
  HDC dc_ = nullptr;
};

// BeginPaint ... EndPaint for one WM_PAINT.
class unique_paint_dc {
public:
  explicit unique_paint_dc(HWND hwnd) noexcept : hwnd_(hwnd), dc_(::BeginPaint(hwnd, &ps_)) {}
  unique_paint_dc(const unique_paint_dc&) = delete;
  unique_paint_dc& operator=(const unique_paint_dc&) = delete;
  ~unique_paint_dc() {
    if (dc_)
      ::EndPaint(hwnd_, &ps_);
  }
  HDC get() const noexcept { return dc_; }
  const PAINTSTRUCT& paint() const noexcept { return ps_; }
  explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
  HWND hwnd_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

// An object selected into a DC: the previous one goes back in when the holder dies. Declare it
// after the holder of the object itself, so the object is selected out before it is deleted.
// Not for regions: SelectObject answers a region with its complexity, not a previous object.
class unique_select_object {
public:
  unique_select_object() noexcept = default;
  unique_select_object(HDC dc, HGDIOBJ object) noexcept
      : dc_(dc), previous_(object ? ::SelectObject(dc, object) : nullptr) {
    if (!previous_ || previous_ == HGDI_ERROR) {
      previous_ = nullptr;
      dc_ = nullptr;
    }
  }
  unique_select_object(const unique_select_object&) = delete;
  unique_select_object& operator=(const unique_select_object&) = delete;
  unique_select_object(unique_select_object&& other) noexcept
      : dc_(std::exchange(other.dc_, nullptr)), previous_(std::exchange(other.previous_, nullptr)) {
  }
  unique_select_object& operator=(unique_select_object&& other) noexcept {
    if (this != &other) {
      reset();
      dc_ = std::exchange(other.dc_, nullptr);
      previous_ = std::exchange(other.previous_, nullptr);
    }
    return *this;
  }
  ~unique_select_object() { reset(); }
  void reset() noexcept {
    if (dc_ && previous_)
      ::SelectObject(dc_, previous_);
    dc_ = nullptr;
    previous_ = nullptr;
  }
  explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
  HDC dc_ = nullptr;
  HGDIOBJ previous_ = nullptr;
};

// The clipboard, open for one exchange; closed when the holder dies.
class unique_clipboard {
public:
  unique_clipboard() noexcept = default;
  static unique_clipboard Open(HWND owner) noexcept {
    unique_clipboard c;
    c.open_ = ::OpenClipboard(owner) != FALSE;
    return c;
  }
  unique_clipboard(const unique_clipboard&) = delete;
  unique_clipboard& operator=(const unique_clipboard&) = delete;
  unique_clipboard(unique_clipboard&& other) noexcept : open_(std::exchange(other.open_, false)) {}
  unique_clipboard& operator=(unique_clipboard&& other) noexcept {
    if (this != &other) {
      reset();
      open_ = std::exchange(other.open_, false);
    }
    return *this;
  }
  ~unique_clipboard() { reset(); }
  void reset() noexcept {
    if (std::exchange(open_, false))
      ::CloseClipboard();
  }
  explicit operator bool() const noexcept { return open_; }

private:
  bool open_ = false;
};

// An activation context made active for one scope.
class unique_actctx_cookie {
public:
  unique_actctx_cookie() noexcept = default;
  static unique_actctx_cookie Activate(HANDLE context) noexcept {
    unique_actctx_cookie c;
    if (context && context != INVALID_HANDLE_VALUE && ::ActivateActCtx(context, &c.cookie_))
      c.active_ = true;
    return c;
  }
  unique_actctx_cookie(const unique_actctx_cookie&) = delete;
  unique_actctx_cookie& operator=(const unique_actctx_cookie&) = delete;
  unique_actctx_cookie(unique_actctx_cookie&& other) noexcept
      : cookie_(other.cookie_), active_(std::exchange(other.active_, false)) {}
  unique_actctx_cookie& operator=(unique_actctx_cookie&& other) noexcept {
    if (this != &other) {
      reset();
      cookie_ = other.cookie_;
      active_ = std::exchange(other.active_, false);
    }
    return *this;
  }
  ~unique_actctx_cookie() { reset(); }
  void reset() noexcept {
    if (std::exchange(active_, false))
      ::DeactivateActCtx(0, cookie_);
  }
  explicit operator bool() const noexcept { return active_; }

private:
  ULONG_PTR cookie_ = 0;
  bool active_ = false;
};

// Runs a callable when the scope ends, unless released.
template <class F> class scope_exit {
public:
  [[nodiscard]] explicit scope_exit(F f) noexcept(std::is_nothrow_move_constructible_v<F>)
      : f_(std::move(f)) {}
  scope_exit(const scope_exit&) = delete;
  scope_exit& operator=(const scope_exit&) = delete;
  ~scope_exit() {
    if (active_)
      f_();
  }
  void release() noexcept { active_ = false; }

private:
  F f_;
  bool active_ = true;
};

} // namespace Tarn

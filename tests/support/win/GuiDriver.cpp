#include "GuiDriver.h"

#include "PngWriter.h"
#include "foundation/win/UniqueHandle.h"
#include "window/Geometry.h"
#include "window/win/Bitmaps.h"
#include "window/win/Dialog.h"
#include "window/win/WindowUtil.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace GuiDriver {
namespace {

using Tarn::unique_hbitmap;
using Tarn::unique_hdc;
using Tarn::unique_select_object;
using Tarn::unique_window_dc;

// Pictures and DPI checks need the real pixels of a 144-dpi prefix, not a 96-dpi view of them.
[[maybe_unused]] const bool g_dpiAware = ::SetProcessDPIAware() != FALSE;

thread_local ModalAnswerer* t_answerer = nullptr;

constexpr UINT_PTR kActTimer = 0x6E01;

std::wstring ClassName(HWND hwnd) {
  wchar_t name[64] = {};
  ::GetClassNameW(hwnd, name, 64);
  return name;
}

bool IsButton(HWND hwnd) {
  if (_wcsicmp(ClassName(hwnd).c_str(), L"Button") != 0)
    return false;
  const auto type = ::GetWindowLongW(hwnd, GWL_STYLE) & BS_TYPEMASK;
  return type != BS_GROUPBOX;
}

LPARAM ClientPoint(POINT p) {
  return MAKELPARAM(p.x, p.y);
}

} // namespace

void Pump(std::chrono::milliseconds time) {
  const auto end = std::chrono::steady_clock::now() + time;
  do {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    if (std::chrono::steady_clock::now() < end)
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  } while (std::chrono::steady_clock::now() < end);
}

bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() >= end)
      return false;
    Pump(10ms);
  }
  return true;
}

bool IsUsable(HWND control) {
  return control && ::IsWindowEnabled(control) && ::IsWindowVisible(control);
}

bool TypeText(HWND field, std::wstring_view text) {
  if (!IsUsable(field))
    return false;
  ::SetFocus(field);
  for (wchar_t c : text)
    ::SendMessageW(field, WM_CHAR, c, 1);
  return true;
}

bool PressKey(HWND window, UINT virtualKey) {
  if (!IsUsable(window))
    return false;
  const UINT scan = ::MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
  ::SendMessageW(window, WM_KEYDOWN, virtualKey, 1 | (scan << 16));
  ::SendMessageW(window, WM_KEYUP, virtualKey, 1 | (scan << 16) | (3u << 30));
  return true;
}

bool Click(HWND control) {
  if (!IsUsable(control))
    return false;
  if (IsButton(control)) {
    ::SendMessageW(control, BM_CLICK, 0, 0);
    return true;
  }
  RECT r{};
  ::GetClientRect(control, &r);
  return ClickAt(control, {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

bool ClickAt(HWND window, POINT client) {
  if (!IsUsable(window))
    return false;
  ::SendMessageW(window, WM_MOUSEMOVE, 0, ClientPoint(client));
  ::SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(client));
  ::SendMessageW(window, WM_LBUTTONUP, 0, ClientPoint(client));
  return true;
}

void MoveMouse(HWND window, POINT client) {
  POINT screen = client;
  ::ClientToScreen(window, &screen);
  ::SetCursorPos(screen.x, screen.y);
  ::SendMessageW(window, WM_MOUSEMOVE, 0, ClientPoint(client));
}

bool Drag(HWND window, POINT from, POINT to, int steps) {
  if (!IsUsable(window) || steps < 1)
    return false;
  ::SendMessageW(window, WM_MOUSEMOVE, 0, ClientPoint(from));
  ::SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(from));
  for (int i = 1; i <= steps; ++i) {
    const POINT at{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps};
    ::SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(at));
  }
  ::SendMessageW(window, WM_LBUTTONUP, 0, ClientPoint(to));
  return true;
}

bool PickComboItem(HWND combo, int index) {
  if (!IsUsable(combo))
    return false;
  const auto count = ::SendMessageW(combo, CB_GETCOUNT, 0, 0);
  if (index < 0 || index >= count)
    return false;
  ::SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  ::SendMessageW(::GetParent(combo), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(combo), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
  return true;
}

std::wstring Text(HWND window) {
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

bool IsChecked(HWND button) {
  return ::SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

int ComboSelection(HWND combo) {
  return static_cast<int>(::SendMessageW(combo, CB_GETCURSEL, 0, 0));
}

HWND ShowModeless(Tarn::Window::Dialog& dialog, HWND parent) {
  const HWND hwnd = dialog.Create(parent);
  if (!hwnd)
    return nullptr;
  ::ShowWindow(hwnd, SW_SHOWNOACTIVATE);
  ::UpdateWindow(hwnd);
  Pump(20ms);
  return hwnd;
}

ModalAnswerer::ModalAnswerer(std::chrono::milliseconds watchdog)
    : previous_(std::exchange(t_answerer, this)) {
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND hwnd, LPARAM data) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(data)->push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&before_));
  hook_ =
      ::SetWindowsHookExW(WH_CALLWNDPROCRET, &ModalAnswerer::Hook, nullptr, ::GetCurrentThreadId());
  watchdogTimer_ =
      ::SetTimer(nullptr, 0, static_cast<UINT>(watchdog.count()), &ModalAnswerer::Watchdog);
}

ModalAnswerer::~ModalAnswerer() {
  ::KillTimer(nullptr, watchdogTimer_);
  if (hook_)
    ::UnhookWindowsHookEx(hook_);
  t_answerer = previous_;
}

ModalAnswerer& ModalAnswerer::Then(Action action) {
  actions_.push_back(std::move(action));
  return *this;
}

ModalAnswerer::Action ModalAnswerer::Press(int id) {
  return [id](HWND window) { Click(::GetDlgItem(window, id)); };
}

LRESULT CALLBACK ModalAnswerer::Hook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && t_answerer) {
    const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (call->message == WM_INITDIALOG && !(::GetWindowLongW(call->hwnd, GWL_STYLE) & WS_CHILD))
      ::SetTimer(call->hwnd, kActTimer, 30, &ModalAnswerer::Act);
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

void CALLBACK ModalAnswerer::Act(HWND hwnd, UINT, UINT_PTR id, DWORD) {
  ModalAnswerer* self = t_answerer;
  if (!self || !::IsWindowVisible(hwnd))
    return;
  ::KillTimer(hwnd, id);
  self->seen_.push_back({hwnd, Text(hwnd), Text(::GetDlgItem(hwnd, 0xFFFF))});
  if (self->next_ < self->actions_.size())
    self->actions_[self->next_++](hwnd);
}

void CALLBACK ModalAnswerer::Watchdog(HWND, UINT, UINT_PTR, DWORD) {
  ModalAnswerer* self = t_answerer;
  if (!self)
    return;
  // Every dialog of the thread that was not there when the answerer started and is still open.
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND hwnd, LPARAM data) -> BOOL {
        auto* answerer = reinterpret_cast<ModalAnswerer*>(data);
        const auto& before = answerer->before_;
        if (ClassName(hwnd) == L"#32770" && ::IsWindowVisible(hwnd) &&
            std::find(before.begin(), before.end(), hwnd) == before.end()) {
          ::EndDialog(hwnd, IDCANCEL);
          ++answerer->watchdogEnded_;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(self));
}

Picture Capture(HWND window) {
  Picture picture;
  ::RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Pump(20ms);
  RECT r{};
  ::GetWindowRect(window, &r);
  picture.width = r.right - r.left;
  picture.height = r.bottom - r.top;
  if (picture.width <= 0 || picture.height <= 0)
    return {};
  const auto source = unique_window_dc::GetWindow(window);
  unique_hdc memory(::CreateCompatibleDC(source.get()));
  BITMAPINFO info = Tarn::Window::TopDownBitmapInfo({picture.width, picture.height});
  void* bits = nullptr;
  unique_hbitmap bitmap(::CreateDIBSection(source.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!source || !memory || !bitmap)
    return {};
  {
    unique_select_object selected(memory.get(), bitmap.get());
    ::BitBlt(memory.get(), 0, 0, picture.width, picture.height, source.get(), 0, 0, SRCCOPY);
  }
  ::GdiFlush();
  const auto* pixels = static_cast<const std::uint32_t*>(bits);
  picture.pixels.assign(pixels, pixels + static_cast<std::size_t>(picture.width) * picture.height);
  for (auto& p : picture.pixels)
    p &= 0x00FFFFFF;
  return picture;
}

std::wstring PicturesDir() {
  std::wstring dir;
  if (const wchar_t* env = _wgetenv(L"MPCAL_PICTURES_DIR"); env && *env)
    dir = env;
  else
    for (const char* c = MPCAL_SOURCE_DIR "/build/pictures"; *c; ++c)
      dir.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*c)));
  // A Unix path from the Linux side: Wine maps the root of the Unix tree to drive Z:.
  if (!dir.empty() && dir[0] == L'/')
    dir = L"Z:" + dir;
  for (auto& c : dir)
    if (c == L'/')
      c = L'\\';
  for (std::size_t at = dir.find(L'\\', 3); at != std::wstring::npos; at = dir.find(L'\\', at + 1))
    ::CreateDirectoryW(dir.substr(0, at).c_str(), nullptr);
  ::CreateDirectoryW(dir.c_str(), nullptr);
  return dir;
}

bool WritePng(const Picture& picture, const std::wstring& path) {
  if (picture.pixels.empty())
    return false;
  std::vector<std::uint8_t> rgb;
  rgb.reserve(picture.pixels.size() * 3);
  for (std::uint32_t p : picture.pixels) {
    rgb.push_back(static_cast<std::uint8_t>(p >> 16));
    rgb.push_back(static_cast<std::uint8_t>(p >> 8));
    rgb.push_back(static_cast<std::uint8_t>(p));
  }
  const auto png = PngWriter::Encode(picture.width, picture.height, rgb);
  Tarn::unique_file file(_wfopen(path.c_str(), L"wb"));
  return file && std::fwrite(png.data(), 1, png.size(), file.get()) == png.size();
}

std::wstring CaptureToPng(HWND window, std::wstring_view name) {
  const std::wstring path = PicturesDir() + L"\\" + std::wstring(name) + L".png";
  return WritePng(Capture(window), path) ? path : std::wstring();
}

std::vector<std::string> LayoutFaults(HWND dialog) {
  std::vector<Tarn::Window::Rect> children;
  std::vector<HWND> handles;
  for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    handles.push_back(child);
    children.push_back(Tarn::Window::RectInParent(child));
  }
  std::vector<std::string> out;
  const auto id = [](HWND control) { return std::to_string(::GetDlgCtrlID(control)); };
  const auto faults = Tarn::Window::FindLayoutFaults(Tarn::Window::ClientRect(dialog), children);
  for (auto i : faults.outside)
    out.push_back("control " + id(handles[i]) + " outside the dialog");
  for (auto [a, b] : faults.overlapping)
    out.push_back("controls " + id(handles[a]) + " and " + id(handles[b]) + " overlap");
  for (HWND child : handles) {
    wchar_t className[16] = {};
    ::GetClassNameW(child, className, 16);
    std::wstring text = Tarn::Window::WindowText(child);
    std::erase(text, L'&');
    if (_wcsicmp(className, L"Static") != 0 || text.empty())
      continue;
    const auto dc = unique_window_dc::Get(child);
    unique_select_object font(dc.get(),
                              reinterpret_cast<HFONT>(::SendMessageW(child, WM_GETFONT, 0, 0)));
    SIZE extent{};
    ::GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent);
    RECT r{};
    ::GetClientRect(child, &r);
    if (extent.cx > r.right || extent.cy > r.bottom)
      out.push_back("label " + id(child) + " clipped");
  }
  return out;
}

int ExpectedDpi() {
  const char* env = std::getenv("MPCAL_WINE_DPI");
  const int dpi = env ? std::atoi(env) : 0;
  return dpi > 0 ? dpi : 96;
}

} // namespace GuiDriver

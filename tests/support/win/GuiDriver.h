#pragma once
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "window/win/MessageBox.h"

namespace Tarn::Window {
class Dialog;
}

// Drives real windows on the test's thread the way a user would, reads their state back,
// answers modal dialogs and message boxes, and takes pictures. Every action is refused (false)
// on a control that is disabled or hidden, as it would be for a user.
namespace GuiDriver {

using namespace std::chrono_literals;

// Runs the thread's messages for `time` (at least once).
void Pump(std::chrono::milliseconds time = 0ms);
// Runs messages until `done` holds or `timeout` passes; returns done().
bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = 2000ms);

bool IsUsable(HWND control);
// Focuses the field and sends each character as WM_CHAR.
bool TypeText(HWND field, std::wstring_view text);
// WM_KEYDOWN then WM_KEYUP of a virtual key.
bool PressKey(HWND window, UINT virtualKey);
// A button is clicked with BM_CLICK, anything else with the left button at its centre.
bool Click(HWND control);
// The left button pressed and released at a point of the window's client area.
bool ClickAt(HWND window, POINT client);
void MoveMouse(HWND window, POINT client);
// The left button pressed at `from`, the mouse moved to `to` in `steps` equal moves with the
// button held, and released there (client coordinates).
bool Drag(HWND window, POINT from, POINT to, int steps = 4);
// Selects an item of a combo box and tells its parent (CBN_SELCHANGE), as a user's pick does.
bool PickComboItem(HWND combo, int index);

std::wstring Text(HWND window);
bool IsChecked(HWND button);
int ComboSelection(HWND combo);

// Makes the dialog modeless, shows it without activation and lets it paint; null on failure.
HWND ShowModeless(Tarn::Window::Dialog& dialog, HWND parent = nullptr);

// What the answerer saw of one modal window: its caption and, for a message box, its text.
struct SeenWindow {
  HWND hwnd = nullptr;
  std::wstring caption;
  std::wstring text;
};

// Answers the dialogs and message boxes made on this thread while it lives (seen through a
// WH_CALLWNDPROCRET hook at WM_INITDIALOG), in order: each one, once visible, gets the next
// action from a short timer. A dialog made after the answerer and still open when the watchdog
// fires (no action left, or the action did not close it) is ended with IDCANCEL and counted.
// Make modeless dialogs before the answerer, or they take an action too.
class ModalAnswerer {
public:
  using Action = std::function<void(HWND window)>;
  explicit ModalAnswerer(std::chrono::milliseconds watchdog = 5000ms);
  ModalAnswerer(const ModalAnswerer&) = delete;
  ModalAnswerer& operator=(const ModalAnswerer&) = delete;
  ~ModalAnswerer();

  ModalAnswerer& Then(Action action);
  // An action that clicks button `id` of the window (IDOK, IDCANCEL, IDYES, ...).
  static Action Press(int id);

  const std::vector<SeenWindow>& Seen() const noexcept { return seen_; }
  int WatchdogEnded() const noexcept { return watchdogEnded_; }

private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
  static void CALLBACK Act(HWND hwnd, UINT, UINT_PTR id, DWORD);
  static void CALLBACK Watchdog(HWND, UINT, UINT_PTR, DWORD);

  HHOOK hook_ = nullptr;
  UINT_PTR watchdogTimer_ = 0;
  std::vector<Action> actions_;
  std::size_t next_ = 0;
  std::vector<SeenWindow> seen_;
  int watchdogEnded_ = 0;
  std::vector<HWND> before_;
  ModalAnswerer* previous_ = nullptr;
};

// A picture of a window, frame included: 32-bit pixels, 0x00RRGGBB, top row first.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
  std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};
Picture Capture(HWND window);
// Where pictures go: MPCAL_PICTURES_DIR, else build/pictures of the source tree; created.
std::wstring PicturesDir();
// Captures the window into <PicturesDir()>/<name>.png; the file's path, empty on failure.
std::wstring CaptureToPng(HWND window, std::wstring_view name);
bool WritePng(const Picture& picture, const std::wstring& path);

// What is wrong with the layout of `dialog`'s children, one line each: a control not wholly
// inside the dialog, two controls that overlap, a static label whose text is clipped.
std::vector<std::string> LayoutFaults(HWND dialog);

// The DPI the test process is expected to run at (MPCAL_WINE_DPI, else 96).
int ExpectedDpi();

// Collects what is written to the wide error stream (the module's log) while it lives.
class ErrorStreamCapture {
public:
  ErrorStreamCapture() : previous_(std::wcerr.rdbuf(buffer_.rdbuf())) {}
  ErrorStreamCapture(const ErrorStreamCapture&) = delete;
  ErrorStreamCapture& operator=(const ErrorStreamCapture&) = delete;
  ~ErrorStreamCapture() { std::wcerr.rdbuf(previous_); }
  std::wstring Text() const { return buffer_.str(); }

private:
  std::wostringstream buffer_;
  std::wstreambuf* previous_;
};

// Records the module's message boxes instead of showing them, each answered with OK.
struct RecordedBoxes {
  std::vector<Tarn::Window::MessageBoxRequest> seen;
  Tarn::Window::ScopedMessageBoxFunction scope{[this](const Tarn::Window::MessageBoxRequest& r) {
    seen.push_back(r);
    return IDOK;
  }};
  std::vector<std::wstring> Texts() const {
    std::vector<std::wstring> texts;
    for (const auto& r : seen)
      texts.push_back(r.text);
    return texts;
  }
};

} // namespace GuiDriver

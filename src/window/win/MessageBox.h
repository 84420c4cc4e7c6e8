#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

namespace Tarn::Window {

struct MessageBoxRequest {
  HWND owner = nullptr;
  std::wstring text;
  std::wstring caption;
  // MB_ flags: buttons, icon (style & MB_ICONMASK), modality.
  UINT style = 0;
};

// What shows a message box: returns the button pressed (IDOK, ...), 0 on failure.
using MessageBoxFunction = std::function<int(const MessageBoxRequest&)>;

// Every message box of the module goes through here.
int ShowMessageBox(HWND owner, std::wstring_view text, std::wstring_view caption,
                   UINT style) noexcept;
// Replaces the function that shows them (empty: the real MessageBoxW); returns the previous one.
MessageBoxFunction SetMessageBoxFunction(MessageBoxFunction show);

// Installs a function for one scope, e.g. a test's recorder.
class ScopedMessageBoxFunction {
public:
  explicit ScopedMessageBoxFunction(MessageBoxFunction show)
      : previous_(SetMessageBoxFunction(std::move(show))) {}
  ScopedMessageBoxFunction(const ScopedMessageBoxFunction&) = delete;
  ScopedMessageBoxFunction& operator=(const ScopedMessageBoxFunction&) = delete;
  ~ScopedMessageBoxFunction() { SetMessageBoxFunction(std::move(previous_)); }

private:
  MessageBoxFunction previous_;
};

} // namespace Tarn::Window

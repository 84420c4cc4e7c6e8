#include "window/win/MessageBox.h"

#include "window/win/Module.h"

#include <mutex>
#include <utility>

namespace Tarn::Window {
namespace {

struct Seam {
  std::mutex lock;
  MessageBoxFunction show;
};

Seam& TheSeam() {
  static Seam seam;
  return seam;
}

int ShowRealBox(const MessageBoxRequest& request) {
  auto context = ActivateModuleContext();
  return ::MessageBoxW(request.owner, request.text.c_str(), request.caption.c_str(), request.style);
}

} // namespace

int ShowMessageBox(HWND owner, std::wstring_view text, std::wstring_view caption,
                   UINT style) noexcept {
  try {
    MessageBoxFunction show;
    {
      Seam& seam = TheSeam();
      std::lock_guard guard(seam.lock);
      show = seam.show;
    }
    const MessageBoxRequest request{owner, std::wstring(text), std::wstring(caption), style};
    return show ? show(request) : ShowRealBox(request);
  } catch (...) {
    return 0;
  }
}

MessageBoxFunction SetMessageBoxFunction(MessageBoxFunction show) {
  Seam& seam = TheSeam();
  std::lock_guard guard(seam.lock);
  return std::exchange(seam.show, std::move(show));
}

} // namespace Tarn::Window

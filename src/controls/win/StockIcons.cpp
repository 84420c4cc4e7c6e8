#include "controls/win/StockIcons.h"

#include "window/win/Module.h"

#include <commctrl.h>

namespace TarnControls {
namespace {

LPCWSTR StandardIcon(SHSTOCKICONID id) noexcept {
  switch (id) {
  case SIID_ERROR:
    return IDI_ERROR;
  case SIID_WARNING:
    return IDI_WARNING;
  default:
    return IDI_INFORMATION;
  }
}

using LoadIconMetricFunction = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, HICON*);

// LoadIconMetric lives only in version 6 of the common controls: look it up inside the module's
// activation context, so that a host without a manifest still loads this module.
LoadIconMetricFunction LoadIconMetricAddress() noexcept {
  static const LoadIconMetricFunction function = [] {
    auto context = Tarn::Window::ActivateModuleContext();
    // Kept loaded for the rest of the process, as the function is.
    HMODULE comctl = ::LoadLibraryW(L"comctl32.dll");
    return comctl ? reinterpret_cast<LoadIconMetricFunction>(
                        reinterpret_cast<void*>(::GetProcAddress(comctl, "LoadIconMetric")))
                  : nullptr;
  }();
  return function;
}

} // namespace

Tarn::unique_hicon LoadStockIcon(SHSTOCKICONID id, bool small) noexcept {
  SHSTOCKICONINFO info{};
  info.cbSize = sizeof info;
  const UINT flags = SHGSI_ICON | (small ? SHGSI_SMALLICON : SHGSI_LARGEICON);
  if (SUCCEEDED(::SHGetStockIconInfo(id, flags, &info)) && info.hIcon)
    return Tarn::unique_hicon(info.hIcon);
  Tarn::unique_hicon icon;
  if (const auto load = LoadIconMetricAddress())
    if (SUCCEEDED(load(nullptr, StandardIcon(id), small ? LIM_SMALL : LIM_LARGE, icon.put())))
      return icon;
  return Tarn::unique_hicon();
}

} // namespace TarnControls

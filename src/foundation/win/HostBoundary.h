#pragma once
#include <windows.h>

#include "foundation/XTarn.h"

#include <type_traits>
#include <utility>

namespace Tarn {

// The HRESULT for the exception being handled; call only inside a catch block. std::bad_alloc
// gives E_OUTOFMEMORY, XTarn and XHResult their status, anything else E_FAIL.
[[nodiscard]] inline HRESULT HResultFromCaught() noexcept {
  return static_cast<HRESULT>(StatusFromCaught());
}

// Runs `body` at a host-facing entry: its HRESULT (or S_OK for a body returning nothing) is
// passed on, and any exception becomes a status code so none reaches the host.
template <class F> [[nodiscard]] HRESULT Guard(F&& body) noexcept {
  try {
    if constexpr (std::is_void_v<decltype(std::forward<F>(body)())>) {
      std::forward<F>(body)();
      return S_OK;
    } else {
      return static_cast<HRESULT>(std::forward<F>(body)());
    }
  } catch (...) {
    return HResultFromCaught();
  }
}

} // namespace Tarn

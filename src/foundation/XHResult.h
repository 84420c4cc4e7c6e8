#pragma once
#include "foundation/HResult.h"

#include <exception>

namespace Tarn {

// A failure that carries only a status code; the host boundary reports the code as it is.
class XHResult : public std::exception {
public:
  explicit XHResult(HResult status) noexcept : status_(status) {}
  HResult status() const noexcept { return status_; }
  const char* what() const noexcept override { return "XHResult"; }

private:
  HResult status_;
};

// Throws XHResult when `status` is a failure code; returns it otherwise.
inline HResult ThrowIfFailed(HResult status) {
  if (hr::Failed(status))
    throw XHResult(status);
  return status;
}

} // namespace Tarn

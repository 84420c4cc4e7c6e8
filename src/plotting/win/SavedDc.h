#pragma once
#include <windows.h>

namespace GUILib {

// The device context's state (selected objects, colours, modes, clip region, alignment) saved for
// one scope and restored when it ends, so drawing helpers leave the caller's context as it was.
class SavedDc {
public:
  explicit SavedDc(HDC dc) noexcept : dc_(dc), level_(::SaveDC(dc)) {}
  SavedDc(const SavedDc&) = delete;
  SavedDc& operator=(const SavedDc&) = delete;
  ~SavedDc() {
    if (level_ != 0)
      ::RestoreDC(dc_, level_);
  }

private:
  HDC dc_;
  int level_;
};

} // namespace GUILib

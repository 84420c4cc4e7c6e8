#pragma once
#include <windows.h>

#include "controls/DialogFontMetrics.h"
#include "foundation/win/UniqueHandle.h"

#include <array>

namespace TarnControls {

// The four fonts and the text extent of "0" that the calibration dialog and its data pane lay
// themselves out with. One set per process, built on first need and destroyed when the module
// unloads.
class DialogFonts {
public:
  static DialogFonts& Shared() noexcept;

  // Builds the fonts for `dc` (its resolution and mapping) in the application's language and
  // measures "0" on the screen; replaces an earlier set.
  bool Build(HDC dc) noexcept;
  // Builds for the screen when the text extent is still zero.
  bool EnsureBuilt() noexcept;

  HFONT Font(DialogFontKind kind) const noexcept {
    return mFonts[static_cast<std::size_t>(kind)].get();
  }
  SIZE TextExtent() const noexcept { return mTextExtent; }

  DialogFonts() noexcept = default;
  DialogFonts(const DialogFonts&) = delete;
  DialogFonts& operator=(const DialogFonts&) = delete;

private:
  std::array<Tarn::unique_hfont, 4> mFonts;
  SIZE mTextExtent{0, 0};
};

// The language the shared fonts are sized for: the thread's user interface language.
LANGID ApplicationLanguage() noexcept;
// The fields of `dc` that the font sizes depend on.
FontDevice DescribeFontDevice(HDC dc) noexcept;

} // namespace TarnControls

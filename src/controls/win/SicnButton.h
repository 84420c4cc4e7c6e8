#pragma once
#include <windows.h>

#include "controls/ButtonModel.h"
#include "controls/win/OwnerDrawRelay.h"
#include "window/win/ControlSubclass.h"
#include "window/win/Theme.h"

namespace TarnControls {

// A small owner-drawn push button showing one of four bitmaps (normal, pressed, focused,
// disabled) centred on a themed or classic button face. Made from a button of a template.
class TSICNButton : private OwnerDrawTarget {
public:
  TSICNButton() noexcept = default;
  TSICNButton(const TSICNButton&) = delete;
  TSICNButton& operator=(const TSICNButton&) = delete;
  ~TSICNButton();

  // Takes over button `id` of `parent` and makes it owner-drawn.
  bool Attach(HWND parent, int id) noexcept;
  HWND hwnd() const noexcept { return mButton.hwnd(); }

  // Options kSicnShowPressed, kSicnShowFocused, kSicnShowDisabled; kSicnShowPressed at first.
  void SetOptions(unsigned options) noexcept;
  unsigned Options() const noexcept { return mOptions; }
  // The two bitmap bases (324 both) and which one is shown.
  void SetBitmapBases(int first, int second) noexcept;
  void UseFirstBase(bool first) noexcept;
  // Draws the classic face even when a theme is open.
  void SetClassicLook(bool classic) noexcept;

  // The id of the bitmap the last paint showed (before the choice of its 144-dpi drawing); 0
  // before the first paint.
  int LastDrawnBitmap() const noexcept { return mLastBitmap; }
  bool IsHot() const noexcept { return mHot; }

private:
  class ButtonPart : public Tarn::Window::ControlSubclass {
  public:
    explicit ButtonPart(TSICNButton& owner) noexcept : owner_(owner) {}

  private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    TSICNButton& owner_;
  };
  friend class ButtonPart;

  void DrawItem(const DRAWITEMSTRUCT& draw) override;
  void Redraw() noexcept;

  ButtonPart mButton{*this};
  OwnerDrawRelay mRelay{*this};
  int mBitmapBases[2] = {kSicnBitmapBase, kSicnBitmapBase};
  bool mUseFirstBase = true;
  unsigned mOptions = kSicnShowPressed;
  Tarn::Window::ThemeHandle mTheme;
  bool mClassic = false;
  bool mHot = false;
  int mLastBitmap = 0;
};

// Makes a push button of a template owner-drawn, keeping its other styles.
void MakeOwnerDrawn(HWND button) noexcept;

} // namespace TarnControls

#pragma once
#include <windows.h>

#include "controls/ButtonModel.h"
#include "controls/win/ButtonBitmaps.h"
#include "controls/win/OwnerDrawRelay.h"
#include "foundation/win/UniqueHandle.h"
#include "window/win/ControlSubclass.h"
#include "window/win/GdiPlus.h"
#include "window/win/Theme.h"

#include <optional>
#include <string>

namespace TarnControls {

// A push button with a glyph left of its caption; disabled, the glyph is drawn in grey tones.
// Resting on it for 500 ms shows its tool tip, when it has one. Made from a button of a template.
class TBmpTxtButton : private OwnerDrawTarget {
public:
  static constexpr UINT_PTR kHoverTimer = 1;
  static constexpr UINT kHoverDelay = 500;

  TBmpTxtButton() noexcept = default;
  TBmpTxtButton(const TBmpTxtButton&) = delete;
  TBmpTxtButton& operator=(const TBmpTxtButton&) = delete;
  ~TBmpTxtButton();

  // Takes over button `id` of `parent`; an empty caption keeps the button's text.
  bool Attach(HWND parent, int id, std::wstring caption = {}) noexcept;
  HWND hwnd() const noexcept { return mButton.hwnd(); }

  // The glyph: bitmap `bitmapId` of the module, its light grey showing the button face.
  void SetGlyph(int bitmapId) noexcept;
  // The tool tip shown after hovering; an empty text shows none. `font` null: the tool tip's own.
  void SetTooltip(std::wstring text, HFONT font = nullptr);
  // Draws disabled glyphs without GDI+, as where it is missing.
  void SetGdiPlusAllowed(bool allowed) noexcept { mGdiPlusAllowed = allowed; }

  // What the last paint did, for tests: the glyph state and the renderer of a disabled glyph.
  int LastGlyphState() const noexcept { return mLastGlyphState; }
  GreyToneRenderer LastGreyToneRenderer() const noexcept { return mLastRenderer; }
  RECT LastGlyphRect() const noexcept { return mLastGlyphRect; }
  bool IsPressed() const noexcept { return mPressed; }
  bool TooltipShown() const noexcept;
  HWND TooltipWindow() const noexcept { return mTooltip.get(); }

private:
  class ButtonPart : public Tarn::Window::ControlSubclass {
  public:
    explicit ButtonPart(TBmpTxtButton& owner) noexcept : owner_(owner) {}

  private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    TBmpTxtButton& owner_;
  };
  friend class ButtonPart;

  void DrawItem(const DRAWITEMSTRUCT& draw) override;
  HFONT CaptionFont() const noexcept;
  void ShowTooltip() noexcept;
  void HideTooltip() noexcept;
  void OnMouseMove(POINT at) noexcept;
  void OnMouseLeave() noexcept;

  ButtonPart mButton{*this};
  OwnerDrawRelay mRelay{*this};
  std::wstring mCaption;
  int mGlyphId = 0;
  std::wstring mTooltipText;
  HFONT mTooltipFont = nullptr;
  Tarn::unique_hwnd mTooltip;
  Tarn::Window::ThemeHandle mTheme;
  std::optional<Tarn::Window::GdiPlus::Session> mGdiPlus;
  bool mGdiPlusAllowed = true;
  bool mTracking = false;
  bool mPressed = false;
  int mLastGlyphState = -1;
  GreyToneRenderer mLastRenderer = GreyToneRenderer::None;
  RECT mLastGlyphRect{};
};

} // namespace TarnControls

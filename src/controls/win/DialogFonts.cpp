#include "controls/win/DialogFonts.h"

#include <cwchar>

namespace TarnControls {

DialogFonts& DialogFonts::Shared() noexcept {
  static DialogFonts fonts;
  return fonts;
}

LANGID ApplicationLanguage() noexcept {
  return ::GetThreadUILanguage();
}

FontDevice DescribeFontDevice(HDC dc) noexcept {
  FontDevice device;
  device.logPixelsY = ::GetDeviceCaps(dc, LOGPIXELSY);
  SIZE window{1, 1};
  SIZE viewport{1, 1};
  ::GetWindowExtEx(dc, &window);
  ::GetViewportExtEx(dc, &viewport);
  device.windowExtX = window.cx;
  device.viewportExtX = viewport.cx;
  device.rasterDisplay = ::GetDeviceCaps(dc, TECHNOLOGY) == DT_RASDISPLAY;
  return device;
}

bool DialogFonts::Build(HDC dc) noexcept {
  if (!dc)
    return false;
  const auto requests = DialogFontRequests(ApplicationLanguage(), DescribeFontDevice(dc));
  std::array<Tarn::unique_hfont, 4> fonts;
  for (std::size_t i = 0; i < fonts.size(); ++i) {
    const DialogFontRequest& r = requests[i];
    LOGFONTW description{};
    description.lfHeight = r.height;
    description.lfEscapement = r.escapement;
    description.lfOrientation = r.orientation;
    description.lfWeight = r.weight;
    description.lfCharSet = r.charSet;
    description.lfOutPrecision = r.outPrecision;
    description.lfClipPrecision = r.clipPrecision;
    description.lfQuality = r.quality;
    description.lfPitchAndFamily = r.pitchAndFamily;
    std::wcsncpy(description.lfFaceName, kDialogFontFace.data(), LF_FACESIZE - 1);
    fonts[i].reset(::CreateFontIndirectW(&description));
    if (!fonts[i])
      return false;
  }
  const auto screen = Tarn::unique_window_dc::Get(nullptr);
  if (!screen)
    return false;
  SIZE extent{0, 0};
  {
    Tarn::unique_select_object selected(
        screen.get(), fonts[static_cast<std::size_t>(DialogFontKind::Normal)].get());
    if (!::GetTextExtentPoint32W(screen.get(), L"0", 1, &extent))
      return false;
  }
  mFonts = std::move(fonts);
  mTextExtent = extent;
  return true;
}

bool DialogFonts::EnsureBuilt() noexcept {
  if (mTextExtent.cx != 0 || mTextExtent.cy != 0)
    return true;
  const auto screen = Tarn::unique_window_dc::Get(nullptr);
  return Build(screen.get());
}

} // namespace TarnControls

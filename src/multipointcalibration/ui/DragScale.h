#pragma once
#include <windows.h>

#include <cstdint>

#include "foundation/win/ComPtr.h"
#include "hostapi/HostInterfaces.h"
#include "window/win/ControlSubclass.h"

namespace MPCalibration {

// The host's scale control as a child of one of the module's windows: created through the
// controls library's factory and subclassed, so that it is handled like the module's own
// controls. The window belongs to its parent and goes with it.
class CDragScale : public Tarn::Window::ControlSubclass {
public:
  static constexpr std::int32_t kMinimumThickness = 48;
  static constexpr std::int32_t kVertical = 0;
  static constexpr std::int32_t kHorizontal = 1;

  CDragScale() = default;
  ~CDragScale() override;

  // Creates the scale in `parent` at `rect`; its value axis ends (h / 2) + 2 pixels inside the
  // window's ends, h being the dialog fonts' text height, so that its end labels fit. Throws
  // Tarn::XHResult when the factory or the window cannot be had.
  void Create(HWND parent, const RECT& rect, int textHeight, std::int32_t orientation = kVertical);
  bool IsCreated() const noexcept { return static_cast<bool>(mScale); }

  void SetTitle(const wchar_t* title);
  void SetUnitLabel(const wchar_t* unit);
  // Sets (top, bottom) (right, left when horizontal), widened when too narrow to map.
  void SetRange(double top, double bottom);
  void GetRange(double& top, double& bottom) const;
  void SetPosition(const RECT& rect);
  // The thickness the labels need: measured on `dc` with its font, else for a font
  // `fontHeight` pixels high (0: the scale's own).
  int CalcSize(HDC dc, int fontHeight) const;
  void SetOption(std::uint32_t option);
  void Attach(Host::IDragScaleObserver* observer);
  // Never fails: an observer the scale does not hold is simply not there.
  void Detach(Host::IDragScaleObserver* observer) noexcept;

  // A scale without a window, for drawing into a printout or metafile. Its value axis spans the
  // whole rectangle, as the graph drawn beside it does. Throws Tarn::XHResult when the factory
  // cannot make it.
  static Tarn::ComPtr<Host::IDragScale> CreateForDrawing(const RECT& rect,
                                                         std::int32_t orientation);

  Tarn::ComPtr<Host::IAxisScale> AxisScale() const;
  const Tarn::ComPtr<Host::IDragScale>& Scale() const noexcept { return mScale; }

  // Forgets the factory, so that the next creation asks the host again (tests that swap hosts),
  // or uses `factory` instead of the host's.
  static void ResetFactoryForTesting(Tarn::ComPtr<Host::IDragScaleFactory> factory = {}) noexcept;

private:
  Tarn::ComPtr<Host::IDragScale> mScale;
};

} // namespace MPCalibration

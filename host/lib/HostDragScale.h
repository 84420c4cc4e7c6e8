#pragma once
#include <windows.h>

#include <oleidl.h>

#include <string>
#include <vector>

#include "ScaleMath.h"
#include "foundation/win/ComObject.h"
#include "foundation/win/ComPtr.h"
#include "foundation/win/UniqueHandle.h"
#include "hostapi/HostInterfaces.h"
#include "window/win/BaseWindow.h"

namespace Vela {

// IOleWindow named the way the object root finds its interfaces.
struct OleWindowFace : IOleWindow {
  static constexpr GUID iid = {0x00000114, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
};

// The controls library's drag scale: a child window that draws ticks at 1-2-5 steps with their
// labels, the unit and (with a non-zero option) the title, pans when its middle is dragged and
// stretches when an end is dragged, and tells its observers. Made without a parent it has no
// window and only draws into a given device context. The object owns its window: the last
// reference destroys it; a window destroyed first releases the observers.
class HostDragScale final
    : public Tarn::ComObject<HostDragScale, Host::IDragScale, Host::IAxisScale,
                             Host::IAxisScaleDefault, Host::IAxisScaleGrid, Host::IAxisScaleLimits,
                             OleWindowFace>,
      public Tarn::Window::BaseWindow<HostDragScale> {
public:
  static constexpr const wchar_t* ClassName = L"VelaDragScale";

  struct Creation {
    RECT rect{};
    std::int32_t startOffset = 0;
    std::int32_t endOffset = 0;
    std::int32_t minimumThickness = 0;
    ScaleMath::Orientation orientation = ScaleMath::Orientation::Vertical;
  };
  // The new scale with one reference; its window is made in `parent` when that is not null.
  static HRESULT Create(HWND parent, const Creation& creation, Host::IDragScale** out) noexcept;

  // IDragScale
  HRESULT STDMETHODCALLTYPE SetTitle(const wchar_t* title) noexcept override;
  HRESULT STDMETHODCALLTYPE SetUnitLabel(const wchar_t* unit) noexcept override;
  HRESULT STDMETHODCALLTYPE SetRange(double top, double bottom) noexcept override;
  HRESULT STDMETHODCALLTYPE GetRange(double* top, double* bottom) noexcept override;
  HRESULT STDMETHODCALLTYPE SetPosition(const RECT* rect) noexcept override;
  HRESULT STDMETHODCALLTYPE CalcSize(HDC dc, std::int32_t fontHeight,
                                     std::int32_t* thickness) noexcept override;
  HRESULT STDMETHODCALLTYPE SetOption(std::uint32_t option) noexcept override;
  HRESULT STDMETHODCALLTYPE Attach(Host::IDragScaleObserver* observer) noexcept override;
  HRESULT STDMETHODCALLTYPE Detach(Host::IDragScaleObserver* observer) noexcept override;
  HRESULT STDMETHODCALLTYPE GetAxisScale(Host::IAxisScale** scale) noexcept override;
  HRESULT STDMETHODCALLTYPE Draw(HDC dc, const RECT* rect) noexcept override;
  // IAxisScale (SetRange and GetRange are shared with IDragScale)
  HRESULT STDMETHODCALLTYPE GetTransform(double* factor, double* offset) noexcept override;
  HRESULT STDMETHODCALLTYPE PixelToValue(double pixel, double* value) noexcept override;
  // IAxisScaleDefault
  HRESULT STDMETHODCALLTYPE HasDefaultRange() noexcept override;
  HRESULT STDMETHODCALLTYPE ResetToDefault() noexcept override;
  // IAxisScaleGrid: the major ticks the scale draws in its window, in pixels along the axis.
  HRESULT STDMETHODCALLTYPE GetGrid(double* first, double* spacing) noexcept override;
  // IAxisScaleLimits: chosen: typed ranges are held within +-kLimit, far beyond any
  // instrument's values and well inside what the labels and the map can carry.
  HRESULT STDMETHODCALLTYPE GetLimits(double* upper, double* lower) noexcept override;
  static constexpr double kLimit = 1e15;
  // IOleWindow
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) noexcept override;
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) noexcept override { return E_NOTIMPL; }

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
  using Base =
      Tarn::ComObject<HostDragScale, Host::IDragScale, Host::IAxisScale, Host::IAxisScaleDefault,
                      Host::IAxisScaleGrid, Host::IAxisScaleLimits, OleWindowFace>;
  friend Base;
  explicit HostDragScale(const Creation& creation);
  ~HostDragScale();

  enum class Drag { None, Pan, StretchStart, StretchEnd };
  enum class Notice { Dragging, RangeChanged, TransformChanged };

  // The axis' ends inside a rectangle of the given thickness and length along the axis.
  int AxisStart(double unitsPerPixel) const noexcept;
  int AxisLength(const RECT& r, double unitsPerPixel) const noexcept;
  int Along(POINT p) const noexcept;
  void Relayout() noexcept;
  bool ApplyRange(double high, double low);
  void Notify(Notice notice);
  void NotifyDragBoundary(bool started);
  void ReleaseObservers() noexcept;
  // Draws into `dc` inside `r` with its selected font; `unitsPerPixel` turns the creation
  // offsets and tick lengths into the dc's units.
  void Paint(HDC dc, const RECT& r, double unitsPerPixel) const;
  int Thickness(HDC dc) const;
  // The major tick step for `axis` drawn on `dc` with its selected font; 0 when no tick fits.
  double MajorStep(HDC dc, const ScaleMath& axis) const;
  HFONT Font() const noexcept;
  void OnPaint();
  void OnButtonDown(POINT p);
  void OnMouseMove(POINT p);
  void EndDrag();

  Creation creation_;
  bool windowed_ = false;
  ScaleMath math_;
  std::wstring title_;
  std::wstring unit_;
  std::uint32_t option_ = 0;
  bool hasDefault_ = false;
  double defaultHigh_ = 0;
  double defaultLow_ = 0;
  std::vector<Tarn::ComPtr<Host::IDragScaleObserver>> observers_;
  Tarn::unique_hfont font_;
  Drag drag_ = Drag::None;
  int dragFrom_ = 0;
  double dragHigh_ = 0;
  double dragLow_ = 0;
};

} // namespace Vela

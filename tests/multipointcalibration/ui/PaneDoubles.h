#pragma once
#include <windows.h>

#include <oleidl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/win/ComObject.h"
#include "foundation/win/ComPtr.h"
#include "hostapi/HostInterfaces.h"

// Small stand-ins for the host's sample reader and scale control, so that the pane and the scale
// wrapper are tested through the interfaces the host serves.
namespace PaneDoubles {

// A sample reader over a vector; counts what it handed out and whether it is still alive.
class VectorReader final : public Tarn::ComObject<VectorReader, Host::IEnumFloatEx> {
public:
  VectorReader(std::vector<float> samples, bool* alive);

  HRESULT STDMETHODCALLTYPE Clone(Host::IEnumFloatEx**) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SkipEx(std::int32_t, std::int32_t*) noexcept override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetPosition(std::int32_t* position) noexcept override;
  HRESULT STDMETHODCALLTYPE GetState16(std::int16_t*) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetRate(Host::RateInfo*) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Next(std::uint32_t count, float* values,
                                 std::uint32_t* fetched) noexcept override;

  std::uint32_t largestRequest = 0;

private:
  friend Tarn::ComObject<VectorReader, Host::IEnumFloatEx>;
  ~VectorReader();
  void* QueryExtra(REFIID iid) noexcept;

  std::vector<float> samples_;
  std::size_t position_ = 0;
  bool* alive_;
};

Tarn::ComPtr<Host::IEnumFloatEx> MakeReader(std::vector<float> samples, bool* alive = nullptr);

// A scale with a plain child window: the value axis runs between the window's ends moved by the
// two end offsets, top value at the start. Tells its observers of every range change.
class TestScale final : public Tarn::ComObject<TestScale, Host::IDragScale, Host::IAxisScale>,
                        public IOleWindow {
  using Base = Tarn::ComObject<TestScale, Host::IDragScale, Host::IAxisScale>;

public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override {
    return Base::QueryInterface(iid, out);
  }
  ULONG STDMETHODCALLTYPE AddRef() noexcept override { return Base::AddRef(); }
  ULONG STDMETHODCALLTYPE Release() noexcept override { return Base::Release(); }

  TestScale(HWND parent, const RECT& rect, std::int32_t startOffset, std::int32_t endOffset,
            std::int32_t orientation);

  // IDragScale
  HRESULT STDMETHODCALLTYPE SetTitle(const wchar_t*) noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetUnitLabel(const wchar_t* unit) noexcept override;
  HRESULT STDMETHODCALLTYPE SetRange(double top, double bottom) noexcept override;
  HRESULT STDMETHODCALLTYPE GetRange(double* top, double* bottom) noexcept override;
  HRESULT STDMETHODCALLTYPE SetPosition(const RECT* rect) noexcept override;
  HRESULT STDMETHODCALLTYPE CalcSize(HDC, std::int32_t, std::int32_t* thickness) noexcept override;
  HRESULT STDMETHODCALLTYPE SetOption(std::uint32_t) noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Attach(Host::IDragScaleObserver* observer) noexcept override;
  HRESULT STDMETHODCALLTYPE Detach(Host::IDragScaleObserver* observer) noexcept override;
  HRESULT STDMETHODCALLTYPE GetAxisScale(Host::IAxisScale** scale) noexcept override;
  HRESULT STDMETHODCALLTYPE Draw(HDC, const RECT*) noexcept override { return E_NOTIMPL; }
  // IOleWindow
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) noexcept override;
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) noexcept override { return E_NOTIMPL; }
  // IAxisScale (its SetRange and GetRange are the drag scale's)
  HRESULT STDMETHODCALLTYPE GetTransform(double* factor, double* offset) noexcept override;
  HRESULT STDMETHODCALLTYPE PixelToValue(double pixel, double* value) noexcept override;

  std::size_t ObserverCount() const noexcept { return observers_.size(); }
  int notifications = 0;
  std::int32_t startOffset, endOffset, orientation;

private:
  friend Base;
  ~TestScale();
  void* QueryExtra(REFIID iid) noexcept;
  static LRESULT CALLBACK Procedure(HWND, UINT, WPARAM, LPARAM);
  void Paint(HDC dc) const;
  int AxisLength() const noexcept;

  HWND window_ = nullptr;
  double top_ = 1.0;
  double bottom_ = 0.0;
  std::wstring unit_;
  std::vector<Tarn::ComPtr<Host::IDragScaleObserver>> observers_;
};

// The factory of the stand-in scales; `refuse` makes it fail as a host without one would.
class TestScaleFactory final
    : public Tarn::ComObject<TestScaleFactory, Host::IDragScaleFactory, Host::IVelaClassObject> {
public:
  explicit TestScaleFactory(std::int32_t classCode) : classCode_(classCode) {}
  HRESULT STDMETHODCALLTYPE CreateScale(HWND parent, const RECT* rect, std::int32_t startOffset,
                                        std::int32_t endOffset, std::int32_t minimumThickness,
                                        std::int32_t orientation,
                                        Host::IDragScale** scale) noexcept override;
  HRESULT STDMETHODCALLTYPE GetClassCode(std::int32_t* code) noexcept override;
  HRESULT STDMETHODCALLTYPE GetKind(const GUID**) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetName(BSTR*) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE IsKind(const GUID*) noexcept override { return S_FALSE; }

  std::vector<std::int32_t> lastCreation; // start offset, end offset, thickness, orientation
  bool refuse = false;
  Tarn::ComPtr<TestScale> lastScale;

private:
  friend Tarn::ComObject<TestScaleFactory, Host::IDragScaleFactory, Host::IVelaClassObject>;
  ~TestScaleFactory() = default;
  std::int32_t classCode_;
};

} // namespace PaneDoubles

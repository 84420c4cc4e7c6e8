#include "multipointcalibration/ui/DragScale.h"

#include <oleidl.h>

#include <mutex>
#include <utility>

#include "foundation/NoDestroy.h"
#include "foundation/XHResult.h"
#include "foundation/win/HostServices.h"
#include "multipointcalibration/PaneArithmetic.h"

namespace MPCalibration {
namespace {

using Tarn::ComPtr;
using Tarn::ThrowIfFailed;

// The factory, asked for once per process; a failed request is not kept, so a later creation
// asks again.
struct FactoryCache {
  std::mutex lock;
  ComPtr<Host::IDragScaleFactory> factory;
};

FactoryCache& TheFactoryCache() {
  static Tarn::NoDestroy<FactoryCache> cache;
  return cache.get();
}

ComPtr<Host::IDragScaleFactory> Factory() {
  FactoryCache& cache = TheFactoryCache();
  std::lock_guard guard(cache.lock);
  if (!cache.factory) {
    const auto code = static_cast<std::int32_t>(
        (static_cast<std::uint32_t>(HostServices::RegistryCode(Host::CLSID_HostChannelCalc))
         << 16) +
        static_cast<std::uint32_t>(Host::kDragScaleFactoryLowWord));
    ComPtr<Host::IDragScaleFactory> factory;
    ThrowIfFailed(HostServices::Registrar()->GetClassObject(code, Host::IDragScaleFactory::iid,
                                                            factory.put_void()));
    if (!factory)
      throw Tarn::XHResult(E_NOINTERFACE);
    cache.factory = factory;
  }
  return cache.factory;
}

} // namespace

CDragScale::~CDragScale() = default;

void CDragScale::Create(HWND parent, const RECT& rect, int textHeight, std::int32_t orientation) {
  const std::int32_t endOffset = -(textHeight / 2) - 2;
  ComPtr<Host::IDragScale> scale;
  ThrowIfFailed(Factory()->CreateScale(parent, &rect, endOffset, endOffset, kMinimumThickness,
                                       orientation, scale.put()));
  if (!scale)
    throw Tarn::XHResult(E_POINTER);
  ComPtr<IOleWindow> window;
  ThrowIfFailed(scale.QueryTo(IID_IOleWindow, window));
  HWND hwnd = nullptr;
  ThrowIfFailed(window->GetWindow(&hwnd));
  if (!hwnd || !ControlSubclass::Attach(hwnd))
    throw Tarn::XHResult(E_HANDLE);
  mScale = scale;
}

void CDragScale::SetTitle(const wchar_t* title) {
  ThrowIfFailed(mScale->SetTitle(title));
}

void CDragScale::SetUnitLabel(const wchar_t* unit) {
  ThrowIfFailed(mScale->SetUnitLabel(unit));
}

void CDragScale::SetRange(double top, double bottom) {
  const Pane::ScaleRange range = Pane::GuardScaleRange(top, bottom);
  ThrowIfFailed(mScale->SetRange(range.top, range.bottom));
}

void CDragScale::GetRange(double& top, double& bottom) const {
  ThrowIfFailed(mScale->GetRange(&top, &bottom));
}

void CDragScale::SetPosition(const RECT& rect) {
  ThrowIfFailed(mScale->SetPosition(&rect));
}

int CDragScale::CalcSize(HDC dc, int fontHeight) const {
  std::int32_t thickness = 0;
  ThrowIfFailed(mScale->CalcSize(dc, fontHeight, &thickness));
  return thickness;
}

void CDragScale::SetOption(std::uint32_t option) {
  ThrowIfFailed(mScale->SetOption(option));
}

void CDragScale::Attach(Host::IDragScaleObserver* observer) {
  ThrowIfFailed(mScale->Attach(observer));
}

void CDragScale::Detach(Host::IDragScaleObserver* observer) noexcept {
  if (mScale)
    (void)mScale->Detach(observer); // not attached is as good as detached
}

Tarn::ComPtr<Host::IDragScale> CDragScale::CreateForDrawing(const RECT& rect,
                                                            std::int32_t orientation) {
  ComPtr<Host::IDragScale> scale;
  ThrowIfFailed(
      Factory()->CreateScale(nullptr, &rect, 0, 0, kMinimumThickness, orientation, scale.put()));
  if (!scale)
    throw Tarn::XHResult(E_POINTER);
  return scale;
}

Tarn::ComPtr<Host::IAxisScale> CDragScale::AxisScale() const {
  ComPtr<Host::IAxisScale> axis;
  ThrowIfFailed(mScale->GetAxisScale(axis.put()));
  return axis;
}

void CDragScale::ResetFactoryForTesting(Tarn::ComPtr<Host::IDragScaleFactory> factory) noexcept {
  FactoryCache& cache = TheFactoryCache();
  std::lock_guard guard(cache.lock);
  cache.factory = std::move(factory);
}

} // namespace MPCalibration

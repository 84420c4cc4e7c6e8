#include "window/win/VelaPrintout.h"

#include <oleauto.h>

#include <utility>

#include "foundation/win/HostBoundary.h"
#include "foundation/win/UniqueHandle.h"

namespace Tarn::Window {

VelaPrintout::VelaPrintout(IUnknown* site, std::wstring title)
    : mTitle(std::move(title)), mSite(site) {}

HRESULT VelaPrintout::GetFlags(std::int32_t* flags) noexcept {
  if (!flags)
    return E_INVALIDARG;
  *flags = mFlags;
  return S_OK;
}

HRESULT VelaPrintout::GetTitle(BSTR* title) noexcept {
  if (!title)
    return E_INVALIDARG;
  if (*title) {
    ::SysFreeString(*title);
    *title = nullptr;
  }
  if (mTitle.empty())
    return S_OK;
  *title = ::SysAllocStringLen(mTitle.data(), static_cast<UINT>(mTitle.size()));
  return *title ? S_OK : E_OUTOFMEMORY;
}

HRESULT VelaPrintout::SetDeviceContexts(const RECT* page, HDC dc, HDC printer) noexcept {
  if (!page)
    return E_INVALIDARG;
  mPageRect = *page;
  mDC = dc;
  mPrintDC = dc ? printer : nullptr;
  return S_OK;
}

HRESULT VelaPrintout::GetPageCount(std::int32_t* count) noexcept {
  if (!count)
    return E_INVALIDARG;
  const HRESULT hr = CountPages(count);
  if (SUCCEEDED(hr))
    mPages.SetCount(*count);
  return hr;
}

HRESULT VelaPrintout::IsPastEnd(std::int32_t page, std::int32_t* past) noexcept {
  if (!past)
    return E_INVALIDARG;
  *past = mPages.IsPastEnd(page) ? -1 : 0;
  return S_OK;
}

HRESULT VelaPrintout::PrintPage(std::int32_t page) noexcept {
  if (!mDC)
    return E_UNEXPECTED;
  if (mPrintDC)
    return PreviewPage(page);
  // Whatever the painter selects into the context is taken out again.
  const int saved = ::SaveDC(mDC);
  const HRESULT hr = PaintPage(page);
  if (saved)
    ::RestoreDC(mDC, saved);
  return hr;
}

// The page is recorded on a metafile whose reference device is the printer, so that the painter
// measures fonts, resolutions and sizes as on paper; the recording is then played onto the
// preview handle, the printer's page width over the width the preview shows and its height in
// proportion (what falls below the shown area is clipped).
HRESULT VelaPrintout::PreviewPage(std::int32_t page) noexcept {
  const HDC shownOn = mDC;
  RECT shown{};
  const int width = ::GetDeviceCaps(mPrintDC, HORZRES);
  const int height = ::GetDeviceCaps(mPrintDC, VERTRES);
  if (::GetClipBox(shownOn, &shown) == ERROR || shown.right <= shown.left || width <= 0 ||
      height <= 0)
    return E_INVALIDARG;
  const RECT frame{0, 0, ::GetDeviceCaps(mPrintDC, HORZSIZE) * 100,
                   ::GetDeviceCaps(mPrintDC, VERTSIZE) * 100};
  const HDC recorder = ::CreateEnhMetaFileW(mPrintDC, nullptr, &frame, nullptr);
  if (!recorder)
    return E_OUTOFMEMORY;
  mDC = recorder;
  const HRESULT hr = PaintPage(page);
  mDC = shownOn;
  const unique_henhmetafile recorded(::CloseEnhMetaFile(recorder));
  if (FAILED(hr))
    return hr;
  if (!recorded)
    return E_FAIL;
  const int shownWidth = shown.right - shown.left;
  const RECT target{shown.left, shown.top, shown.right,
                    shown.top + ::MulDiv(shownWidth, height, width)};
  const int saved = ::SaveDC(shownOn);
  const BOOL played = ::PlayEnhMetaFile(shownOn, recorded.get(), &target);
  if (saved)
    ::RestoreDC(shownOn, saved);
  return played ? S_OK : E_FAIL;
}

HRESULT VelaPrintout::GetSite(IUnknown** site) noexcept {
  if (!site)
    return E_INVALIDARG;
  mSite.CopyTo(site);
  return S_OK;
}

HRESULT VelaPrintout::PaintPage(std::int32_t) noexcept {
  return S_OK;
}

HRESULT VelaPrintout::CountPages(std::int32_t* count) noexcept {
  if (!count)
    return E_INVALIDARG;
  *count = 1;
  return S_OK;
}

HRESULT VelaPrintout::SetPageSet(const std::uint32_t* words, std::int32_t wordCount) noexcept {
  if (wordCount < 0 || (wordCount > 0 && !words))
    return E_INVALIDARG;
  return Guard([&] { mPages.Choose({words, static_cast<std::size_t>(wordCount)}); });
}

HRESULT VelaPrintout::IsPageExcluded(std::int32_t page, std::int32_t* excluded) noexcept {
  if (!excluded)
    return E_INVALIDARG;
  *excluded = mPages.IsExcluded(page) ? -1 : 0;
  return S_OK;
}

HRESULT VelaPrintout::SetOptions(std::int32_t bits, std::int32_t mask) noexcept {
  mPages.SetOptions(bits, mask);
  return S_OK;
}

HRESULT VelaPrintout::GetOptions(std::int32_t* options) noexcept {
  if (!options)
    return E_INVALIDARG;
  *options = mPages.Options();
  return S_OK;
}

} // namespace Tarn::Window

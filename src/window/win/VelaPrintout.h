#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "foundation/win/ComObject.h"
#include "foundation/win/ComPtr.h"
#include "hostapi/HostInterfaces.h"
#include "window/PrintoutPages.h"

namespace Tarn::Window {

// The host framework's printout: what the host's print job asks of a document it prints (title,
// pages, page choice, options) and the device context each page is drawn into. A derived class
// paints its pages (PaintPage) into DC() and counts them (CountPages). The printout borrows the
// device handles it is given until the next SetDeviceContexts or its release. In a preview, DC()
// is a recording made as if on the printer, which PrintPage then shows on the preview's handle.
class VelaPrintout : public ComObject<VelaPrintout, Host::IVelaPrintout, Host::IVelaPrintoutType> {
public:
  // IVelaPrintout
  HRESULT STDMETHODCALLTYPE GetFlags(std::int32_t* flags) noexcept override;
  HRESULT STDMETHODCALLTYPE GetTitle(BSTR* title) noexcept override;
  HRESULT STDMETHODCALLTYPE SetDeviceContexts(const RECT* page, HDC dc,
                                              HDC printer) noexcept override;
  HRESULT STDMETHODCALLTYPE GetPageCount(std::int32_t* count) noexcept override;
  HRESULT STDMETHODCALLTYPE BeginPrinting() noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE EndPrinting() noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE IsPastEnd(std::int32_t page, std::int32_t* past) noexcept override;
  HRESULT STDMETHODCALLTYPE PrintPage(std::int32_t page) noexcept override;
  HRESULT STDMETHODCALLTYPE BeginDocument() noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE EndDocument() noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Constant() noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetSite(IUnknown** site) noexcept override;
  // Draws nothing; derived classes draw their pages into DC() over PageRect().
  HRESULT STDMETHODCALLTYPE PaintPage(std::int32_t page) noexcept override;
  // One page unless a derived class says otherwise.
  HRESULT STDMETHODCALLTYPE CountPages(std::int32_t* count) noexcept override;

  // IVelaPrintoutType
  HRESULT STDMETHODCALLTYPE SetPageSet(const std::uint32_t* words,
                                       std::int32_t wordCount) noexcept override;
  HRESULT STDMETHODCALLTYPE IsPageExcluded(std::int32_t page,
                                           std::int32_t* excluded) noexcept override;
  HRESULT STDMETHODCALLTYPE SetOptions(std::int32_t bits, std::int32_t mask) noexcept override;
  HRESULT STDMETHODCALLTYPE GetOptions(std::int32_t* options) noexcept override;

  const std::wstring& Title() const noexcept { return mTitle; }
  HDC DC() const noexcept { return mDC; }
  // The printer a preview stands for; null when pages go straight to DC().
  HDC PrintDC() const noexcept { return mPrintDC; }
  const RECT& PageRect() const noexcept { return mPageRect; }

protected:
  // `site` is referenced while the printout lives.
  VelaPrintout(IUnknown* site, std::wstring title);
  virtual ~VelaPrintout() = default;

private:
  using Base = ComObject<VelaPrintout, Host::IVelaPrintout, Host::IVelaPrintoutType>;
  friend Base;
  HRESULT PreviewPage(std::int32_t page) noexcept;

  PrintoutPages mPages;
  RECT mPageRect{};
  std::wstring mTitle;
  HDC mDC = nullptr;
  HDC mPrintDC = nullptr;
  std::int32_t mFlags = 2;
  ComPtr<IUnknown> mSite;
};

} // namespace Tarn::Window

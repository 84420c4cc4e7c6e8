#include "window/win/VelaSinglePagePrintout.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/win/ComPtr.h"
#include "foundation/win/UniqueHandle.h"

using namespace Tarn::Window;

namespace {

// A printout of `pages` pages whose painter selects a pen of its own, draws a line from the page
// rectangle's corner and remembers where in device pixels that corner landed.
class LinePrintout final : public VelaSinglePagePrintout {
public:
  static LinePrintout* Create(IUnknown* site, std::wstring title, std::int32_t pages) {
    return new LinePrintout(site, std::move(title), pages);
  }
  HRESULT STDMETHODCALLTYPE PaintPage(std::int32_t page) noexcept override {
    painted.push_back(page);
    ::SelectObject(DC(), pen_.get());
    POINT corner{PageRect().left, PageRect().top};
    ::MoveToEx(DC(), corner.x, corner.y, nullptr);
    ::LineTo(DC(), PageRect().right, PageRect().bottom);
    ::LPtoDP(DC(), &corner, 1);
    cornerInPixels = corner;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE CountPages(std::int32_t* count) noexcept override {
    *count = pages_;
    return S_OK;
  }
  std::vector<std::int32_t> painted;
  POINT cornerInPixels{};

private:
  LinePrintout(IUnknown* site, std::wstring title, std::int32_t pages)
      : VelaSinglePagePrintout(site, std::move(title)), pages_(pages),
        pen_(::CreatePen(PS_SOLID, 1, RGB(0, 0, 0))) {}
  ~LinePrintout() override = default;
  std::int32_t pages_;
  Tarn::unique_hpen pen_;
};

Tarn::ComPtr<LinePrintout> Make(std::wstring title = L"Report", std::int32_t pages = 3,
                                IUnknown* site = nullptr) {
  Tarn::ComPtr<LinePrintout> p;
  p.Attach(LinePrintout::Create(site, std::move(title), pages));
  return p;
}

TEST(VelaPrintoutTest, FlagsTitleAndSite) {
  auto printout = Make(L"Curve for Channel 2");
  std::int32_t flags = 0;
  ASSERT_EQ(printout->GetFlags(&flags), S_OK);
  EXPECT_EQ(flags, 2);

  Tarn::unique_bstr title(::SysAllocString(L"left over"));
  ASSERT_EQ(printout->GetTitle(title.addressof()), S_OK);
  ASSERT_TRUE(title);
  EXPECT_EQ(std::wstring(title.get(), ::SysStringLen(title.get())), L"Curve for Channel 2");

  auto untitled = Make(L"");
  ASSERT_EQ(untitled->GetTitle(title.addressof()), S_OK);
  EXPECT_FALSE(title) << "an empty title gives no string, and the old one is freed";

  auto sited = Make(L"t", 1, static_cast<Host::IVelaPrintout*>(printout.get()));
  Tarn::ComPtr<IUnknown> site;
  ASSERT_EQ(sited->GetSite(site.put()), S_OK);
  EXPECT_EQ(site.get(), static_cast<IUnknown*>(static_cast<Host::IVelaPrintout*>(printout.get())));
  EXPECT_EQ(printout->GetFlags(nullptr), E_INVALIDARG);
}

TEST(VelaPrintoutTest, PageCountAndTheEndOfTheDocument) {
  auto printout = Make(L"t", 3);
  std::int32_t past = 0;
  ASSERT_EQ(printout->IsPastEnd(0, &past), S_OK);
  EXPECT_TRUE(past) << "no count reported yet";
  std::int32_t count = 0;
  ASSERT_EQ(printout->GetPageCount(&count), S_OK);
  EXPECT_EQ(count, 3);
  for (const auto& [page, expected] : {std::pair{0, false}, {2, false}, {3, true}, {7, true}}) {
    ASSERT_EQ(printout->IsPastEnd(page, &past), S_OK);
    EXPECT_EQ(past != 0, expected) << page;
  }
}

// The choice itself is tested natively (PrintoutPagesTest); here it reaches the type face.
TEST(VelaPrintoutTest, PageChoiceAndOptionsThroughTheTypeFace) {
  auto printout = Make();
  Tarn::ComPtr<Host::IVelaPrintoutType> type;
  ASSERT_EQ(printout->QueryInterface(Host::IVelaPrintoutType::iid, type.put_void()), S_OK);
  const std::uint32_t secondPage = 0x2;
  ASSERT_EQ(type->SetPageSet(&secondPage, 1), S_OK);
  std::int32_t excluded = 0;
  ASSERT_EQ(type->IsPageExcluded(0, &excluded), S_OK);
  EXPECT_EQ(excluded, -1);
  ASSERT_EQ(type->IsPageExcluded(1, &excluded), S_OK);
  EXPECT_EQ(excluded, 0);
  EXPECT_EQ(type->SetPageSet(nullptr, 2), E_INVALIDARG);
  EXPECT_EQ(type->IsPageExcluded(0, nullptr), E_INVALIDARG);

  std::int32_t options = 0;
  ASSERT_EQ(type->SetOptions(0x30, 0x33), S_OK);
  ASSERT_EQ(type->GetOptions(&options), S_OK);
  EXPECT_EQ(options, 0x30);
}

TEST(VelaPrintoutTest, PrintPageRestoresTheContextsObjects) {
  auto printout = Make();
  Tarn::unique_hdc dc(::CreateCompatibleDC(nullptr));
  Tarn::unique_hbitmap bitmap(::CreateCompatibleBitmap(dc.get(), 200, 100));
  const Tarn::unique_select_object selected(dc.get(), bitmap.get());
  const HGDIOBJ penBefore = ::GetCurrentObject(dc.get(), OBJ_PEN);
  EXPECT_EQ(printout->PrintPage(0), E_UNEXPECTED) << "no context yet";

  const RECT page{10, 20, 190, 90};
  ASSERT_EQ(printout->SetDeviceContexts(&page, dc.get(), nullptr), S_OK);
  ASSERT_EQ(printout->PrintPage(1), S_OK);
  EXPECT_EQ(printout->painted, std::vector<std::int32_t>{1});
  EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_PEN), penBefore);
  EXPECT_EQ(printout->cornerInPixels.x, 10) << "a plain context draws in its own pixels";
  EXPECT_EQ(printout->cornerInPixels.y, 20);
}

// With a printer handle the page is drawn in the printer's units and lands, scaled down, on the
// preview's bitmap; a plain call afterwards draws straight on its handle again.
TEST(VelaPrintoutTest, PreviewShowsThePrintersPageScaledDown) {
  auto printout = Make();
  const Tarn::unique_window_dc screen = Tarn::unique_window_dc::Get(nullptr);
  Tarn::unique_hdc preview(::CreateCompatibleDC(screen.get()));
  Tarn::unique_hbitmap shown(::CreateCompatibleBitmap(screen.get(), 256, 256));
  const Tarn::unique_select_object shownSelected(preview.get(), shown.get());
  const RECT all{0, 0, 256, 256};
  ::FillRect(preview.get(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  // The screen stands in for the printer: its page is the screen's size.
  const int width = ::GetDeviceCaps(screen.get(), HORZRES);
  const int height = ::GetDeviceCaps(screen.get(), VERTRES);

  const RECT page{width / 4, height / 4, width / 2, height / 2};
  ASSERT_EQ(printout->SetDeviceContexts(&page, preview.get(), screen.get()), S_OK);
  EXPECT_EQ(printout->PrintDC(), screen.get());
  ASSERT_EQ(printout->PrintPage(0), S_OK);
  EXPECT_EQ(printout->DC(), preview.get());
  EXPECT_EQ(printout->cornerInPixels.x, width / 4) << "the painter drew in the printer's units";

  // The line from the page's corner runs through the middle of its scaled-down rectangle.
  const int scaledHeight = ::MulDiv(256, height, width);
  const auto dark = [&](int x, int y) {
    for (int dx = -1; dx <= 1; ++dx)
      for (int dy = -1; dy <= 1; ++dy)
        if (::GetPixel(preview.get(), x + dx, y + dy) == RGB(0, 0, 0))
          return true;
    return false;
  };
  EXPECT_TRUE(dark(256 * 3 / 8, scaledHeight * 3 / 8));
  EXPECT_FALSE(dark(200, 20)) << "nothing outside the line";

  ASSERT_EQ(printout->SetDeviceContexts(&page, preview.get(), nullptr), S_OK);
  EXPECT_EQ(printout->PrintDC(), nullptr);
  ASSERT_EQ(printout->PrintPage(0), S_OK);
  EXPECT_EQ(printout->cornerInPixels.x, width / 4);
}

} // namespace

#include "window/win/Module.h"
#include "window/win/GdiPlus.h"
#include "window/win/Theme.h"

#include "GuiDriver.h"
#include "TestDialog.h"
#include "foundation/win/ResourceStrings.h"

#include <commctrl.h>
#include <gtest/gtest.h>

using namespace Tarn::Window;

namespace {

bool IsVersion6Button(HWND button) {
  SIZE ideal{};
  return ::SendMessageW(button, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal)) != FALSE;
}

TEST(ModuleTest, TheTestExecutableIsTheModuleUnlessSet) {
  EXPECT_EQ(ModuleInstance(), ::GetModuleHandleW(nullptr));
  const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
  SetModuleInstance(kernel);
  EXPECT_EQ(ModuleInstance(), kernel);
  EXPECT_EQ(ModuleActivationContext(), nullptr); // kernel32 has no manifest resource 2
  SetModuleInstance(nullptr);
  EXPECT_EQ(ModuleInstance(), ::GetModuleHandleW(nullptr));
  EXPECT_NE(ModuleActivationContext(), nullptr);
}

TEST(ModuleTest, ActivationContextMakesVersion6Controls) {
  ASSERT_TRUE(InitModuleControls());
  const auto make = [] {
    return Tarn::unique_hwnd(::CreateWindowExW(0, L"Button", L"x", WS_POPUP | BS_PUSHBUTTON, 0, 0,
                                               40, 20, nullptr, nullptr, ModuleInstance(),
                                               nullptr));
  };
  const auto classic = make();
  ASSERT_TRUE(classic);
  EXPECT_FALSE(IsVersion6Button(classic.get()));
  Tarn::unique_hwnd themed;
  {
    auto context = ActivateModuleContext();
    ASSERT_TRUE(context);
    themed = make();
  }
  ASSERT_TRUE(themed);
  EXPECT_TRUE(IsVersion6Button(themed.get()));

  // Dialogs are made inside the context, so their buttons are version 6 too.
  WindowTest::TestDialog dialog;
  ASSERT_TRUE(GuiDriver::ShowModeless(dialog));
  EXPECT_TRUE(IsVersion6Button(dialog.Item(WindowTest::kApply)));
}

TEST(ModuleTest, ResourceBytesFallBackToTheNeutralLanguage) {
  const auto german = FindResourceBytes(nullptr, RT_DIALOG, MAKEINTRESOURCEW(100),
                                        MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN));
  const auto french = FindResourceBytes(nullptr, RT_DIALOG, MAKEINTRESOURCEW(100),
                                        MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH));
  ASSERT_FALSE(german.empty());
  ASSERT_FALSE(french.empty());
  EXPECT_NE(german.data(), french.data());
  EXPECT_TRUE(FindResourceBytes(nullptr, RT_DIALOG, MAKEINTRESOURCEW(4321), 0).empty());
}

TEST(ModuleTest, ThemesAndGdiPlusLoadAtRunTime) {
  ASSERT_TRUE(UxTheme());
  WindowTest::TestDialog dialog;
  ASSERT_TRUE(GuiDriver::ShowModeless(dialog));
  auto theme = ThemeHandle::Open(dialog.Item(WindowTest::kApply), L"Button");
  EXPECT_TRUE(theme);
  theme.reset();
  EXPECT_FALSE(theme);
  EXPECT_FALSE(ThemeHandle::Open(dialog.hwnd(), L"NoSuchThemeClass"));

  GdiPlus::Session session;
  ASSERT_TRUE(session);
  const GdiPlus::Api& gdip = GdiPlus::Functions();
  std::uint32_t pixels[4] = {0xFF102030, 0xFF405060, 0x80FFFFFF, 0x00000000};
  GdiPlus::unique_bitmap bitmap;
  ASSERT_EQ(gdip.CreateBitmapFromScan0(2, 2, 8, GdiPlus::kPixelFormat32bppARGB,
                                       reinterpret_cast<BYTE*>(pixels), bitmap.put()),
            GdiPlus::Ok);
  GdiPlus::ARGB value = 0;
  ASSERT_EQ(gdip.BitmapGetPixel(bitmap.get(), 1, 0, &value), GdiPlus::Ok);
  EXPECT_EQ(value, 0xFF405060u);
}

// The host's own texts, which the module loads from the host executable.
TEST(ModuleTest, HostStringTableIsComplete) {
  std::vector<UINT> ids{20001};
  for (UINT id = 20007; id <= 20018; ++id)
    ids.push_back(id);
  for (UINT id = 22000; id <= 22023; ++id)
    ids.push_back(id);
  for (UINT id : ids)
    EXPECT_FALSE(Tarn::LoadResourceString(nullptr, id).str().empty()) << id;
  EXPECT_EQ(Tarn::LoadResourceString(nullptr, 20001).str(),
            L"Please enter a value between %1 and %2.");
  EXPECT_EQ(Tarn::LoadResourceString(nullptr, 22022).str(), L"Value out of range");
  EXPECT_EQ(Tarn::LoadResourceString(nullptr, 22023).str(), L"Enter a value from %1 to %2.");
}

} // namespace

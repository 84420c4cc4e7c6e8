#include "window/win/BaseWindow.h"
#include "window/win/ControlSubclass.h"

#include "GuiDriver.h"
#include "TestDialog.h"
#include "foundation/XTarn.h"

#include <gtest/gtest.h>

#include <stdexcept>

using Tarn::Window::BaseWindow;

using namespace std::chrono_literals;

namespace {

constexpr UINT kThrow = WM_APP + 1;
constexpr UINT kThrowXTarn = WM_APP + 2;
constexpr UINT kWhoAmI = WM_APP + 3;

class TestWindow : public BaseWindow<TestWindow> {
public:
  static constexpr const wchar_t* ClassName = L"MpcalWindowLayerTest";
  explicit TestWindow(int id) : id_(id) {}

  bool Create() {
    return CreateWindowHandle(0, L"test", WS_OVERLAPPEDWINDOW, 10, 10, 200, 100, nullptr) !=
           nullptr;
  }
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kThrow:
      throw std::runtime_error("the handler failed");
    case kThrowXTarn:
      throw Tarn::XTarn(Tarn::hr::fail, L"a module error");
    case kWhoAmI:
      return id_;
    case WM_PAINT:
      ++paints;
      if (throwOnPaint)
        throw std::runtime_error("paint failed");
      return DefaultHandle(message, wParam, lParam);
    case WM_NCDESTROY:
      ++ncDestroyed;
      return DefaultHandle(message, wParam, lParam);
    default:
      return DefaultHandle(message, wParam, lParam);
    }
  }

  bool throwOnPaint = false;
  int paints = 0;
  int ncDestroyed = 0;

private:
  int id_;
};

using GuiDriver::ErrorStreamCapture;

TEST(BaseWindowTest, ThrowingProcedureStaysAlive) {
  TestWindow window(1);
  ASSERT_TRUE(window.Create());
  ErrorStreamCapture errors;
  EXPECT_EQ(::SendMessageW(window.hwnd(), kThrow, 0, 0), 0); // the default handling's result
  EXPECT_EQ(::SendMessageW(window.hwnd(), kThrowXTarn, 0, 0), 0);
  EXPECT_TRUE(::IsWindow(window.hwnd()));
  EXPECT_EQ(::SendMessageW(window.hwnd(), kWhoAmI, 0, 0), 1);
  const std::wstring log = errors.Text();
  EXPECT_NE(log.find(L"TARNBOOTLOG: WINDOW: message 0x8001: the handler failed"),
            std::wstring::npos)
      << log;
  EXPECT_NE(log.find(L"TARNBOOTLOG: WINDOW: message 0x8002: a module error"), std::wstring::npos)
      << log;
}

TEST(BaseWindowTest, FailedPaintPaintsNothingAndDoesNotComeBack) {
  TestWindow window(1);
  ASSERT_TRUE(window.Create());
  ::ShowWindow(window.hwnd(), SW_SHOWNOACTIVATE);
  GuiDriver::Pump(20ms);
  window.throwOnPaint = true;
  window.paints = 0;
  ErrorStreamCapture errors;
  ::InvalidateRect(window.hwnd(), nullptr, TRUE);
  GuiDriver::Pump(100ms);
  EXPECT_EQ(window.paints, 1);
  EXPECT_FALSE(::GetUpdateRect(window.hwnd(), nullptr, FALSE));
  window.throwOnPaint = false;
  ::InvalidateRect(window.hwnd(), nullptr, TRUE);
  GuiDriver::Pump(50ms);
  EXPECT_EQ(window.paints, 2);
  EXPECT_NE(errors.Text().find(L"message 0x000F: paint failed"), std::wstring::npos);
}

TEST(BaseWindowTest, EachWindowKeepsItsOwnObject) {
  TestWindow first(1);
  TestWindow second(2);
  ASSERT_TRUE(first.Create());
  ASSERT_TRUE(second.Create());
  EXPECT_EQ(TestWindow::FromHandle(first.hwnd()), &first);
  EXPECT_EQ(TestWindow::FromHandle(second.hwnd()), &second);
  EXPECT_EQ(::SendMessageW(first.hwnd(), kWhoAmI, 0, 0), 1);
  EXPECT_EQ(::SendMessageW(second.hwnd(), kWhoAmI, 0, 0), 2);

  // Destroyed from outside: the object forgets the window at WM_NCDESTROY.
  const HWND hwnd = first.hwnd();
  ::DestroyWindow(hwnd);
  EXPECT_EQ(first.ncDestroyed, 1);
  EXPECT_EQ(first.hwnd(), nullptr);
  EXPECT_EQ(::SendMessageW(second.hwnd(), kWhoAmI, 0, 0), 2);
}

TEST(BaseWindowTest, ObjectDestroysItsWindow) {
  HWND hwnd = nullptr;
  {
    TestWindow window(3);
    ASSERT_TRUE(window.Create());
    hwnd = window.hwnd();
    EXPECT_TRUE(::IsWindow(hwnd));
  }
  EXPECT_FALSE(::IsWindow(hwnd));
}

// Counts the characters typed into an edit and fails on one of them.
class CharCounter : public Tarn::Window::ControlSubclass {
public:
  int chars = 0;

protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_CHAR) {
      ++chars;
      if (wParam == L'!')
        throw std::runtime_error("no exclamation marks");
    }
    return DefaultHandle(message, wParam, lParam);
  }
};

TEST(ControlSubclassTest, SubclassSeesTheControlsMessagesAndSurvivesThrowing) {
  WindowTest::TestDialog dialog;
  ASSERT_TRUE(GuiDriver::ShowModeless(dialog));
  CharCounter first;
  CharCounter second;
  ASSERT_TRUE(first.Attach(dialog.hwnd(), WindowTest::kValue));
  ASSERT_FALSE(first.Attach(dialog.hwnd(), WindowTest::kValue)); // one control per object
  ASSERT_TRUE(second.Attach(dialog.Item(WindowTest::kValue)));   // a second object, same control
  ErrorStreamCapture errors;
  EXPECT_TRUE(GuiDriver::TypeText(dialog.Item(WindowTest::kValue), L"1!2"));
  EXPECT_EQ(first.chars, 3);
  EXPECT_EQ(second.chars, 3);
  // The control's own handling still ran for the character that failed in the subclass.
  EXPECT_EQ(GuiDriver::Text(dialog.Item(WindowTest::kValue)), L"1!2");
  EXPECT_NE(errors.Text().find(L"no exclamation marks"), std::wstring::npos);

  second.Detach();
  EXPECT_TRUE(GuiDriver::TypeText(dialog.Item(WindowTest::kValue), L"3"));
  EXPECT_EQ(first.chars, 4);
  EXPECT_EQ(second.chars, 3);

  dialog.End(IDCANCEL);
  EXPECT_EQ(first.hwnd(), nullptr); // removed at WM_NCDESTROY
}

} // namespace

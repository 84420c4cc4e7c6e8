#include "window/win/Dialog.h"
#include "window/win/ControlSubclass.h"
#include "window/win/MessageBox.h"

#include "GuiDriver.h"
#include "TestDialog.h"

#include <gtest/gtest.h>
#include <windowsx.h>

#include <stdexcept>
#include <vector>

using GuiDriver::ModalAnswerer;
using Tarn::Window::Dialog;
using WindowTest::TestDialog;

using namespace std::chrono_literals;

namespace {

const LANGID kGerman = MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN);
const LANGID kFrench = MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH);

TEST(DialogTest, ModalDialogAnsweredLikeAUser) {
  TestDialog dialog;
  ModalAnswerer answerer;
  answerer.Then([&](HWND hwnd) {
    EXPECT_EQ(Dialog::FromHandle(hwnd), &dialog);
    // OK is refused while the field is empty; the dialog stays open.
    GuiDriver::Click(::GetDlgItem(hwnd, IDOK));
    EXPECT_TRUE(::IsWindowVisible(hwnd));
    GuiDriver::TypeText(::GetDlgItem(hwnd, WindowTest::kValue), L"42");
    GuiDriver::Click(::GetDlgItem(hwnd, WindowTest::kApply));
    GuiDriver::PickComboItem(::GetDlgItem(hwnd, WindowTest::kKind), 2);
    GuiDriver::Click(::GetDlgItem(hwnd, IDOK));
  });
  EXPECT_EQ(dialog.DoModal(nullptr), IDOK);
  EXPECT_EQ(dialog.initialised, 1);
  EXPECT_EQ(dialog.applied, 1);
  EXPECT_EQ(dialog.value, L"42");
  ASSERT_EQ(answerer.Seen().size(), 1u);
  EXPECT_EQ(answerer.Seen()[0].caption, L"Window Test");
  EXPECT_EQ(answerer.WatchdogEnded(), 0);
  EXPECT_EQ(dialog.hwnd(), nullptr);
}

TEST(DialogTest, DriverDoesNotClickDisabledOrHiddenControls) {
  TestDialog dialog;
  ASSERT_TRUE(GuiDriver::ShowModeless(dialog));
  const HWND apply = dialog.Item(WindowTest::kApply);
  ::EnableWindow(apply, FALSE);
  EXPECT_FALSE(GuiDriver::Click(apply));
  ::EnableWindow(apply, TRUE);
  ::ShowWindow(apply, SW_HIDE);
  EXPECT_FALSE(GuiDriver::Click(apply));
  EXPECT_FALSE(GuiDriver::TypeText(apply, L"x"));
  ::ShowWindow(apply, SW_SHOW);
  EXPECT_TRUE(GuiDriver::Click(apply));
  EXPECT_EQ(dialog.applied, 1);
  EXPECT_FALSE(GuiDriver::PickComboItem(dialog.Item(WindowTest::kKind), 3)); // out of range
  EXPECT_TRUE(GuiDriver::PickComboItem(dialog.Item(WindowTest::kKind), 1));
  EXPECT_EQ(GuiDriver::ComboSelection(dialog.Item(WindowTest::kKind)), 1);
  EXPECT_TRUE(GuiDriver::Click(dialog.Item(WindowTest::kRemember)));
  EXPECT_TRUE(GuiDriver::IsChecked(dialog.Item(WindowTest::kRemember)));
}

TEST(DialogTest, WatchdogEndsADialogLeftOpen) {
  TestDialog dialog;
  ModalAnswerer answerer(300ms);
  EXPECT_EQ(dialog.DoModal(nullptr), IDCANCEL);
  EXPECT_EQ(answerer.WatchdogEnded(), 1);
}

TEST(DialogTest, TwoModelessDialogsKeepTheirOwnObjects) {
  TestDialog first;
  TestDialog second;
  const HWND a = GuiDriver::ShowModeless(first);
  const HWND b = GuiDriver::ShowModeless(second);
  ASSERT_TRUE(a && b);
  EXPECT_EQ(Dialog::FromHandle(a), &first);
  EXPECT_EQ(Dialog::FromHandle(b), &second);
  GuiDriver::Click(::GetDlgItem(b, WindowTest::kApply));
  GuiDriver::Click(::GetDlgItem(b, WindowTest::kApply));
  GuiDriver::Click(::GetDlgItem(a, WindowTest::kApply));
  EXPECT_EQ(first.applied, 1);
  EXPECT_EQ(second.applied, 2);

  GuiDriver::Click(::GetDlgItem(a, IDCANCEL)); // a modeless dialog ends by being destroyed
  EXPECT_FALSE(::IsWindow(a));
  EXPECT_EQ(first.hwnd(), nullptr);
  EXPECT_EQ(first.Result(), IDCANCEL);
  EXPECT_EQ(Dialog::FromHandle(b), &second);
}

TEST(DialogTest, ModelessDialogDiesWithItsObject) {
  HWND hwnd = nullptr;
  {
    TestDialog dialog;
    hwnd = GuiDriver::ShowModeless(dialog);
    ASSERT_TRUE(::IsWindow(hwnd));
  }
  EXPECT_FALSE(::IsWindow(hwnd));
}

TEST(DialogTest, TemplateByIdOrNameInALanguage) {
  struct Case {
    Tarn::Window::DialogTemplate source;
    const wchar_t* caption;
    const wchar_t* apply;
  } cases[] = {
      {WindowTest::TestTemplate(kGerman), L"Fenstertest", L"&Anwenden"},
      {WindowTest::TestTemplate(kFrench), L"Window Test", L"&Apply"}, // no French: neutral
      {WindowTest::TestTemplate(MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL)), L"Window Test",
       L"&Apply"},
      {{L"NAMEDDLG", kGerman, nullptr}, L"Named Dialog", nullptr},
  };
  for (const Case& c : cases) {
    TestDialog dialog(c.source);
    const HWND hwnd = GuiDriver::ShowModeless(dialog);
    ASSERT_TRUE(hwnd) << c.caption;
    EXPECT_EQ(GuiDriver::Text(hwnd), c.caption);
    if (c.apply) {
      EXPECT_EQ(GuiDriver::Text(dialog.Item(WindowTest::kApply)), c.apply);
    }
  }
}

// The object is reached by the messages that come before WM_INITDIALOG, with its window known.
TEST(DialogTest, MessagesBeforeInitDialogReachTheObject) {
  class OwnerDrawDialog : public Dialog {
  public:
    OwnerDrawDialog() : Dialog({MAKEINTRESOURCEW(101), 0, nullptr}) {}
    std::vector<UINT> order;
    HWND measuredBy = nullptr;

  protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
      if (message == WM_MEASUREITEM) {
        order.push_back(message);
        measuredBy = hwnd();
        reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = 21;
        return TRUE;
      }
      if (message == WM_INITDIALOG)
        order.push_back(message);
      return Dialog::HandleMessage(message, wParam, lParam);
    }
  } dialog;
  const HWND hwnd = GuiDriver::ShowModeless(dialog);
  ASSERT_TRUE(hwnd);
  ASSERT_GE(dialog.order.size(), 2u);
  EXPECT_EQ(dialog.order.front(), static_cast<UINT>(WM_MEASUREITEM));
  EXPECT_EQ(dialog.order.back(), static_cast<UINT>(WM_INITDIALOG));
  EXPECT_EQ(dialog.measuredBy, hwnd);
  EXPECT_EQ(::SendDlgItemMessageW(hwnd, WindowTest::kKind, CB_GETITEMHEIGHT, 0, 0), 21);
}

TEST(DialogTest, MissingTemplateFailsWithoutAWindow) {
  TestDialog byId({MAKEINTRESOURCEW(4321), 0, nullptr});
  EXPECT_EQ(byId.DoModal(nullptr), -1);
  TestDialog byName({L"NOSUCHDLG", 0, nullptr});
  EXPECT_EQ(byName.Create(nullptr), nullptr);
}

// A dialog whose handlers throw: each failure is logged and the dialog goes on.
class ThrowingDialog : public TestDialog {
protected:
  bool OnCommand(int id, int code, HWND control) override {
    if (id == WindowTest::kApply)
      throw std::runtime_error("apply failed");
    return TestDialog::OnCommand(id, code, control);
  }
};

TEST(DialogTest, ThrowingHandlerLeavesTheDialogWorking) {
  ThrowingDialog dialog;
  GuiDriver::ErrorStreamCapture errors;
  ModalAnswerer answerer;
  answerer.Then([](HWND hwnd) {
    GuiDriver::Click(::GetDlgItem(hwnd, WindowTest::kApply));
    GuiDriver::Click(::GetDlgItem(hwnd, WindowTest::kApply));
    GuiDriver::TypeText(::GetDlgItem(hwnd, WindowTest::kValue), L"7");
    GuiDriver::Click(::GetDlgItem(hwnd, IDOK));
  });
  EXPECT_EQ(dialog.DoModal(nullptr), IDOK);
  EXPECT_EQ(dialog.value, L"7");
  EXPECT_EQ(answerer.WatchdogEnded(), 0);
  const std::wstring log = errors.Text();
  const auto first = log.find(L"TARNBOOTLOG: WINDOW: message 0x0111: apply failed");
  ASSERT_NE(first, std::wstring::npos) << log;
  EXPECT_NE(log.find(L"apply failed", first + 1), std::wstring::npos); // once per click
}

TEST(MessageBoxTest, SeamRecordsCaptionTextAndIcon) {
  std::vector<Tarn::Window::MessageBoxRequest> shown;
  {
    Tarn::Window::ScopedMessageBoxFunction recorder([&](const auto& request) {
      shown.push_back(request);
      return IDOK;
    });
    EXPECT_EQ(Tarn::Window::ShowMessageBox(nullptr, L"Not enough points.",
                                           L"Multipoint Calibration", MB_OK | MB_ICONSTOP),
              IDOK);
  }
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].caption, L"Multipoint Calibration");
  EXPECT_EQ(shown[0].text, L"Not enough points.");
  EXPECT_EQ(shown[0].style & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));

  // The default shows the real box, which the driver answers.
  ModalAnswerer answerer;
  answerer.Then(ModalAnswerer::Press(IDNO));
  EXPECT_EQ(Tarn::Window::ShowMessageBox(nullptr, L"Keep the points?", L"Real Box",
                                         MB_YESNO | MB_ICONQUESTION),
            IDNO);
  ASSERT_EQ(answerer.Seen().size(), 1u);
  EXPECT_EQ(answerer.Seen()[0].caption, L"Real Box");
  EXPECT_EQ(answerer.Seen()[0].text, L"Keep the points?");
  EXPECT_EQ(shown.size(), 1u); // the recorder is gone
}

TEST(MessageBoxTest, BoxFromAModalDialogIsAnsweredInTurn) {
  // The Apply button of this dialog asks a question in a real message box: two nested modal
  // loops, answered one after the other.
  class AskingDialog : public TestDialog {
  protected:
    bool OnCommand(int id, int code, HWND control) override {
      if (id == WindowTest::kApply) {
        answer = Tarn::Window::ShowMessageBox(hwnd(), L"Apply now?", L"Question",
                                              MB_OKCANCEL | MB_ICONQUESTION);
        return true;
      }
      return TestDialog::OnCommand(id, code, control);
    }

  public:
    int answer = 0;
  } dialog;
  ModalAnswerer answerer;
  answerer
      .Then([](HWND hwnd) {
        GuiDriver::TypeText(::GetDlgItem(hwnd, WindowTest::kValue), L"1");
        GuiDriver::Click(::GetDlgItem(hwnd, WindowTest::kApply));
        GuiDriver::Click(::GetDlgItem(hwnd, IDOK));
      })
      .Then(ModalAnswerer::Press(IDOK));
  EXPECT_EQ(dialog.DoModal(nullptr), IDOK);
  EXPECT_EQ(dialog.answer, IDOK);
  ASSERT_EQ(answerer.Seen().size(), 2u);
  EXPECT_EQ(answerer.Seen()[1].caption, L"Question");
  EXPECT_EQ(answerer.Seen()[1].text, L"Apply now?");
}

} // namespace

namespace {

// Records the pointer messages that reach a control.
class PointerLog : public Tarn::Window::ControlSubclass {
public:
  std::vector<std::pair<UINT, POINT>> seen;

protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_MOUSEMOVE || message == WM_LBUTTONDOWN || message == WM_LBUTTONUP)
      seen.push_back({message, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}});
    return DefaultHandle(message, wParam, lParam);
  }
};

TEST(GuiDriverTest, KeysAndPointerReachTheControl) {
  TestDialog dialog;
  ASSERT_TRUE(GuiDriver::ShowModeless(dialog));
  const HWND kind = dialog.Item(WindowTest::kKind);
  EXPECT_TRUE(GuiDriver::PressKey(kind, VK_DOWN));
  EXPECT_EQ(GuiDriver::ComboSelection(kind), 1);
  EXPECT_TRUE(GuiDriver::PressKey(kind, VK_END));
  EXPECT_EQ(GuiDriver::ComboSelection(kind), 2);

  const HWND remember = dialog.Item(WindowTest::kRemember);
  PointerLog log;
  ASSERT_TRUE(log.Attach(remember));
  EXPECT_TRUE(GuiDriver::ClickAt(remember, {5, 4}));
  EXPECT_TRUE(GuiDriver::IsChecked(remember));
  GuiDriver::MoveMouse(remember, {7, 3});
  ASSERT_EQ(log.seen.size(), 4u);
  EXPECT_EQ(log.seen[1].first, static_cast<UINT>(WM_LBUTTONDOWN));
  EXPECT_EQ(log.seen[2].first, static_cast<UINT>(WM_LBUTTONUP));
  EXPECT_EQ(log.seen[3].first, static_cast<UINT>(WM_MOUSEMOVE));
  EXPECT_EQ(log.seen[3].second.x, 7);
  EXPECT_EQ(log.seen[3].second.y, 3);

  ::EnableWindow(remember, FALSE);
  EXPECT_FALSE(GuiDriver::ClickAt(remember, {5, 4}));
  EXPECT_FALSE(GuiDriver::PressKey(remember, VK_SPACE));
  EXPECT_TRUE(GuiDriver::IsChecked(remember));
}

} // namespace

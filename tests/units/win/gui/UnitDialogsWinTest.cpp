#include <windowsx.h>

#include <sstream>

#include <gtest/gtest.h>

#include "GuiDriver.h"
#include "HostApplication.h"
#include "HostUnitAnnouncement.h"
#include "HostUnitCollection.h"
#include "InProcessHost.h"
#include "controls/win/UnitDialogs.h"
#include "controls/win/UnitsControl.h"
#include "foundation/win/ComObject.h"
#include "foundation/win/HostServices.h"
#include "units/Quantity.h"
#include "window/win/Dialog.h"

namespace TarnControls {
namespace {

using namespace std::chrono_literals;
using Tarn::UnitInfo;

constexpr int kUnitsCombo = 101;

UnitInfo Unit(int prefixIndex, const wchar_t* name) {
  UnitInfo u;
  u.prefixIndex = prefixIndex;
  u.name = name;
  return u;
}

class UnitsDialog : public Tarn::Window::Dialog {
public:
  UnitsDialog() : Dialog({L"UNITSTEST"}) {}
  UnitsControl units;
  int changes = 0;
  Tarn::ComPtr<Host::IUnitCollection> collection;
  Tarn::ComPtr<Host::IUnitNotifyTarget> target;

private:
  bool OnInitDialog() override {
    units.Attach(hwnd(), kUnitsCombo);
    units.SetCollection(collection);
    units.SetNotifyTarget(target);
    units.SetOnChange([this] { ++changes; });
    units.Refill();
    return true;
  }
  bool OnCommand(int id, int code, HWND control) override {
    if (id == kUnitsCombo && code == CBN_SELCHANGE) {
      units.OnSelectionChanged();
      return true;
    }
    return Dialog::OnCommand(id, code, control);
  }
};

std::vector<UnitInfo> HostUnits() {
  std::vector<UnitInfo> units;
  for (const Vela::UnitValue& v : Vela::HostApplication::Instance().UnitList().Units()) {
    UnitInfo u;
    u.unitKind = v.kind;
    u.prefixIndex = v.prefixIndex;
    u.name = v.name;
    units.push_back(u);
  }
  return units;
}

class UnitDialogsWin : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_EQ(host_.Status(), S_OK);
    MPCalibration::HostServices::ResetForTesting();
    ASSERT_TRUE(MenuCombo::RegisterWindowClass());
    Tarn::ComPtr<Host::IUnitListService> service = MPCalibration::HostServices::UnitListService();
    ASSERT_TRUE(service);
    ASSERT_EQ(service->GetUnitList(dialog.collection.put()), S_OK);
    target_ = Tarn::ComPtr<Vela::HostUnitNotifyTarget>::Adopt(Vela::HostUnitNotifyTarget::Create());
    dialog.target = Tarn::ComPtr<Host::IUnitNotifyTarget>(target_.get());
  }
  void TearDown() override { MPCalibration::HostServices::ResetForTesting(); }

  void Open(const std::vector<UnitInfo>& units, const UnitInfo& current = {}) {
    HostUnitList list(dialog.collection);
    for (const UnitInfo& u : units)
      ASSERT_TRUE(list.Add(u));
    ASSERT_NE(GuiDriver::ShowModeless(dialog), nullptr);
    combo = dialog.units.hwnd();
    if (!current.name.empty())
      dialog.units.SelectUnit(current);
    GuiDriver::Pump(20ms);
  }
  std::vector<std::wstring> Items() const {
    std::vector<std::wstring> items;
    for (int i = 0; i < dialog.units.Count(); ++i)
      items.push_back(dialog.units.ItemText(i));
    return items;
  }
  std::wstring SelectedText() const {
    const int at = dialog.units.GetSelection();
    return at < 0 ? std::wstring() : dialog.units.ItemText(at);
  }
  std::uint32_t MessageCode(std::uint32_t number) {
    return (static_cast<std::uint32_t>(
                Vela::HostApplication::Instance().CodeOf(Host::CLSID_UnitMessageFamily))
            << 16) +
           number;
  }

  Vela::InProcessHost host_;
  Tarn::ComPtr<Vela::HostUnitNotifyTarget> target_;
  UnitsDialog dialog;
  HWND combo = nullptr;
};

TEST_F(UnitDialogsWin, EmptyListShowsExactlyTheTwoCommands) {
  Open({});
  EXPECT_EQ(Items(), (std::vector<std::wstring>{L"Define Unit...", L"Delete Unit..."}));
  EXPECT_TRUE(HostUnits().empty());
}

TEST_F(UnitDialogsWin, ListsTheHostsUnitsByDisplayName) {
  Open({Unit(1, L"psi"), Unit(7, L"V"), Unit(9, L"Pa")}, Unit(7, L"V"));
  EXPECT_EQ(Items(), (std::vector<std::wstring>{L"kPa", L"mV", L"psi", L"", L"Define Unit...",
                                                L"Delete Unit..."}));
  EXPECT_EQ(SelectedText(), L"mV");
  EXPECT_TRUE(dialog.units.IsSpecial(3));
}

TEST_F(UnitDialogsWin, DefiningMillivoltAddsAnnouncesAndSelectsIt) {
  Open({Unit(1, L"psi")}, Unit(1, L"psi"));
  std::wstring example;
  GuiDriver::ModalAnswerer answerer;
  answerer.Then([&](HWND w) {
    GuiDriver::PickComboItem(::GetDlgItem(w, AddUnitDlg::kPrefixCombo), 5);
    GuiDriver::TypeText(::GetDlgItem(w, AddUnitDlg::kUnitEdit), L"V");
    example = GuiDriver::Text(::GetDlgItem(w, AddUnitDlg::kExample));
    GuiDriver::Click(::GetDlgItem(w, IDOK));
  });
  ASSERT_TRUE(GuiDriver::PickComboItem(combo, dialog.units.Model().DefineIndex()));
  ASSERT_EQ(answerer.Seen().size(), 1u);
  EXPECT_EQ(answerer.Seen()[0].caption, L"Define Unit");
  EXPECT_EQ(example, L"Example: 499 mV");
  EXPECT_EQ(HostUnits(), (std::vector<UnitInfo>{Unit(1, L"psi"), Unit(7, L"V")}));
  EXPECT_EQ(dialog.units.GetUnit(), Unit(7, L"V"));
  EXPECT_EQ(SelectedText(), L"mV");
  EXPECT_EQ(dialog.changes, 1);

  const auto received = target_->Received();
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0].name, L"V");
  EXPECT_EQ(received[0].prefixIndex, 7);
  EXPECT_EQ(received[0].unitKind, 0);
  EXPECT_EQ(received[0].code, MessageCode(9));
  EXPECT_EQ(received[0].flags, 0x20000u);
}

TEST_F(UnitDialogsWin, EmptyNameDisablesOkAndShowsTheProvider) {
  Open({Unit(1, L"psi")}, Unit(1, L"psi"));
  struct Seen {
    bool okEnabled = true;
    bool markerShown = false;
    std::wstring example = L"?";
    bool okAfterTyping = false;
    bool markerAfterTyping = true;
  } seen;
  std::wstring title, text;
  GuiDriver::ModalAnswerer answerer;
  answerer.Then([&](HWND w) {
    auto* dlg = static_cast<AddUnitDlg*>(Tarn::Window::Dialog::FromHandle(w));
    seen.okEnabled = ::IsWindowEnabled(::GetDlgItem(w, IDOK)) != FALSE;
    seen.markerShown = dlg->Provider().IsShown();
    seen.example = GuiDriver::Text(::GetDlgItem(w, AddUnitDlg::kExample));
    title = dlg->Provider().Title();
    text = dlg->Provider().Text();
    GuiDriver::TypeText(::GetDlgItem(w, AddUnitDlg::kUnitEdit), L"x");
    seen.okAfterTyping = ::IsWindowEnabled(::GetDlgItem(w, IDOK)) != FALSE;
    seen.markerAfterTyping = dlg->Provider().IsShown();
    GuiDriver::Click(::GetDlgItem(w, IDCANCEL));
  });
  ASSERT_TRUE(GuiDriver::PickComboItem(combo, dialog.units.Model().DefineIndex()));
  EXPECT_FALSE(seen.okEnabled);
  EXPECT_TRUE(seen.markerShown);
  EXPECT_EQ(seen.example, L"");
  EXPECT_EQ(title, L"Invalid Unit");
  EXPECT_EQ(text, L"The unit requires a name.");
  EXPECT_TRUE(seen.okAfterTyping);
  EXPECT_FALSE(seen.markerAfterTyping);
  // Cancelled: the selection stays and nothing is added or announced.
  EXPECT_EQ(SelectedText(), L"psi");
  EXPECT_EQ(dialog.units.GetUnit(), Unit(1, L"psi"));
  EXPECT_EQ(HostUnits().size(), 1u);
  EXPECT_TRUE(target_->Received().empty());
  EXPECT_EQ(dialog.changes, 0);
}

void SelectLines(HWND w, std::initializer_list<int> lines) {
  HWND box = ::GetDlgItem(w, DeleteUnitsDlg::kUnitList);
  for (int line : lines)
    ListBox_SetSel(box, TRUE, line);
}

TEST_F(UnitDialogsWin, DeletingTwoUnitsThatAreNotAdjacentRemovesExactlyThose) {
  Open({Unit(1, L"psi"), Unit(7, L"V"), Unit(1, L"atm"), Unit(9, L"Pa"), Unit(1, L"Torr")},
       Unit(7, L"V"));
  GuiDriver::ModalAnswerer answerer;
  answerer.Then([&](HWND w) {
    SelectLines(w, {0, 2}); // psi and atm
    GuiDriver::Click(::GetDlgItem(w, DeleteUnitsDlg::kDelete));
    GuiDriver::Click(::GetDlgItem(w, IDOK));
  });
  ASSERT_TRUE(GuiDriver::PickComboItem(combo, dialog.units.Model().DeleteIndex()));
  EXPECT_EQ(HostUnits(), (std::vector<UnitInfo>{Unit(7, L"V"), Unit(9, L"Pa"), Unit(1, L"Torr")}));
  EXPECT_EQ(SelectedText(), L"mV");
  const auto received = target_->Received();
  ASSERT_EQ(received.size(), 2u);
  EXPECT_EQ(received[0].name, L"psi");
  EXPECT_EQ(received[1].name, L"atm");
  EXPECT_EQ(received[1].code, MessageCode(10));
}

TEST_F(UnitDialogsWin, DeletingTheCurrentUnitGivesNoUnit) {
  Open({Unit(1, L"psi"), Unit(7, L"V")}, Unit(7, L"V"));
  GuiDriver::ModalAnswerer answerer;
  answerer.Then([&](HWND w) {
    SelectLines(w, {1});
    GuiDriver::Click(::GetDlgItem(w, DeleteUnitsDlg::kDelete));
    GuiDriver::Click(::GetDlgItem(w, IDOK));
  });
  ASSERT_TRUE(GuiDriver::PickComboItem(combo, dialog.units.Model().DeleteIndex()));
  EXPECT_EQ(dialog.units.GetUnit(), UnitInfo{});
  EXPECT_EQ(dialog.units.GetSelection(), -1);
  EXPECT_EQ(dialog.changes, 1);
  EXPECT_EQ(HostUnits(), std::vector<UnitInfo>{Unit(1, L"psi")});
}

TEST_F(UnitDialogsWin, CancelInDeleteUnitRemovesNothing) {
  Open({Unit(1, L"psi"), Unit(7, L"V")}, Unit(1, L"psi"));
  GuiDriver::ModalAnswerer answerer;
  answerer.Then([&](HWND w) {
    SelectLines(w, {0, 1});
    GuiDriver::Click(::GetDlgItem(w, DeleteUnitsDlg::kDelete));
    EXPECT_EQ(ListBox_GetCount(::GetDlgItem(w, DeleteUnitsDlg::kUnitList)), 0);
    GuiDriver::Click(::GetDlgItem(w, IDCANCEL));
  });
  ASSERT_TRUE(GuiDriver::PickComboItem(combo, dialog.units.Model().DeleteIndex()));
  EXPECT_EQ(HostUnits().size(), 2u);
  EXPECT_TRUE(target_->Received().empty());
  EXPECT_EQ(SelectedText(), L"psi");
}

TEST_F(UnitDialogsWin, KeyboardSkipsTheSeparator) {
  Open({Unit(1, L"psi"), Unit(7, L"V")}, Unit(1, L"psi"));
  ASSERT_EQ(SelectedText(), L"psi");
  GuiDriver::ModalAnswerer answerer;
  answerer.Then(GuiDriver::ModalAnswerer::Press(IDCANCEL));
  // Down from the last unit goes past the separator to "Define Unit...", which opens its dialog.
  ASSERT_TRUE(GuiDriver::PressKey(combo, VK_DOWN));
  GuiDriver::Pump(50ms);
  ASSERT_EQ(answerer.Seen().size(), 1u);
  EXPECT_EQ(answerer.Seen()[0].caption, L"Define Unit");
  EXPECT_EQ(SelectedText(), L"psi");
  EXPECT_FALSE(dialog.units.IsSpecial(dialog.units.GetSelection()));
}

TEST_F(UnitDialogsWin, UserUnitsSurviveWriteAndReadBack) {
  Open({});
  for (const wchar_t* name : {L"psi", L"atm", L"Torr"}) {
    GuiDriver::ModalAnswerer answerer;
    answerer.Then([&](HWND w) {
      GuiDriver::TypeText(::GetDlgItem(w, AddUnitDlg::kUnitEdit), name);
      GuiDriver::Click(::GetDlgItem(w, IDOK));
    });
    ASSERT_TRUE(GuiDriver::PickComboItem(combo, dialog.units.Model().DefineIndex()));
    ASSERT_EQ(dialog.units.GetUnit(), Unit(8, name));
  }
  const std::set<std::wstring> whole = dialog.units.WholeUnits();
  for (const wchar_t* name : {L"psi", L"atm", L"Torr"}) {
    const Tarn::Quantity written = Tarn::MakeQuantity(14.7, name);
    std::wostringstream out;
    Tarn::WriteQuantity(out, written);
    std::wistringstream in(out.str());
    EXPECT_EQ(Tarn::ParseQuantity(in, whole), written) << out.str();
  }
}

// A host list that answers a missing unit with a failure instead of S_FALSE and -1.
class FailingFindList final : public Tarn::ComObject<FailingFindList, Host::IUnitCollection> {
public:
  explicit FailingFindList(Tarn::ComPtr<Host::IUnitCollection> inner) : inner_(std::move(inner)) {}
  int finds = 0;

  HRESULT STDMETHODCALLTYPE Count(std::int32_t z, std::int32_t* n) noexcept override {
    return inner_->Count(z, n);
  }
  HRESULT STDMETHODCALLTYPE Enumerate(std::int32_t z, IUnknown** e) noexcept override {
    return inner_->Enumerate(z, e);
  }
  HRESULT STDMETHODCALLTYPE Find(std::int32_t z, Host::IUnitName* u,
                                 std::int32_t* p) noexcept override {
    ++finds;
    const HRESULT hr = inner_->Find(z, u, p);
    return hr == S_FALSE ? E_FAIL : hr;
  }
  HRESULT STDMETHODCALLTYPE GetAt(std::int32_t z, std::int32_t p,
                                  Host::IUnitName** u) noexcept override {
    return inner_->GetAt(z, p, u);
  }
  HRESULT STDMETHODCALLTYPE Add(std::int32_t z, Host::IUnitName* u,
                                std::int32_t* p) noexcept override {
    return inner_->Add(z, u, p);
  }
  HRESULT STDMETHODCALLTYPE Remove(std::int32_t z, Host::IUnitName* u) noexcept override {
    return inner_->Remove(z, u);
  }

private:
  friend Tarn::ComObject<FailingFindList, Host::IUnitCollection>;
  ~FailingFindList() = default;
  Tarn::ComPtr<Host::IUnitCollection> inner_;
};

TEST_F(UnitDialogsWin, AFailedFindReadsAsMissing) {
  auto failing = Tarn::ComPtr<FailingFindList>::Adopt(new FailingFindList(dialog.collection));
  HostUnitList list(Tarn::ComPtr<Host::IUnitCollection>(failing.get()));
  EXPECT_FALSE(list.Find(Unit(1, L"psi")));
  ASSERT_TRUE(list.Add(Unit(1, L"psi")));
  EXPECT_EQ(list.Find(Unit(1, L"psi")), 0);
  HostUnitList plain(dialog.collection);
  EXPECT_FALSE(plain.Find(Unit(1, L"atm")));

  // The control adds a missing unit once and selects it, whichever way the host says "missing".
  dialog.collection = Tarn::ComPtr<Host::IUnitCollection>(failing.get());
  Open({}, Unit(7, L"V"));
  EXPECT_EQ(SelectedText(), L"mV");
  EXPECT_EQ(HostUnits(), (std::vector<UnitInfo>{Unit(1, L"psi"), Unit(7, L"V")}));
}

TEST_F(UnitDialogsWin, EnumerateGivesTheUnitsInOrder) {
  HostUnitList list(dialog.collection);
  for (const UnitInfo& u : {Unit(1, L"psi"), Unit(7, L"V"), Unit(9, L"Pa")})
    ASSERT_TRUE(list.Add(u));
  Tarn::ComPtr<IUnknown> enumeration;
  ASSERT_EQ(dialog.collection->Enumerate(0, enumeration.put()), S_OK);
  Tarn::ComPtr<IEnumUnknown> items;
  ASSERT_EQ(enumeration->QueryInterface(IID_IEnumUnknown, items.put_void()), S_OK);
  IUnknown* got[4] = {};
  ULONG fetched = 0;
  EXPECT_EQ(items->Next(4, got, &fetched), S_FALSE);
  EXPECT_EQ(fetched, 3u);
  for (ULONG i = 0; i < fetched; ++i)
    got[i]->Release();
  EXPECT_EQ(list.Units(), (std::vector<UnitInfo>{Unit(1, L"psi"), Unit(7, L"V"), Unit(9, L"Pa")}));
}

class UnitPictures : public UnitDialogsWin {};

TEST_F(UnitPictures, DroppedDownDefineAndDelete) {
  const std::wstring dpi = std::to_wstring(GuiDriver::ExpectedDpi());
  Open({Unit(1, L"psi"), Unit(7, L"V"), Unit(9, L"Pa"), Unit(1, L"atm")}, Unit(7, L"V"));
  ::SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
  GuiDriver::Pump(100ms);
  EXPECT_FALSE(GuiDriver::CaptureToPng(dialog.units.ListWindow(), L"units-control-" + dpi).empty());
  EXPECT_FALSE(GuiDriver::CaptureToPng(dialog.hwnd(), L"units-control-field-" + dpi).empty());
  ::SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);

  UnitInfo unit = Unit(7, L"V");
  {
    AddUnitDlg define(unit);
    ASSERT_NE(GuiDriver::ShowModeless(define), nullptr);
    GuiDriver::Pump(50ms);
    EXPECT_FALSE(GuiDriver::CaptureToPng(define.hwnd(), L"define-unit-" + dpi).empty());
    EXPECT_EQ(GuiDriver::LayoutFaults(define.hwnd()), std::vector<std::string>{});
    ::SetWindowTextW(define.Item(AddUnitDlg::kUnitEdit), L"");
    GuiDriver::Pump(50ms);
    EXPECT_TRUE(define.Provider().IsShown());
    EXPECT_FALSE(GuiDriver::CaptureToPng(define.hwnd(), L"define-unit-marker-" + dpi).empty());
  }
  {
    HostUnitList list(dialog.collection);
    DeleteUnitsDlg remove(list, nullptr);
    ASSERT_NE(GuiDriver::ShowModeless(remove), nullptr);
    ListBox_SetSel(remove.Item(DeleteUnitsDlg::kUnitList), TRUE, 1);
    GuiDriver::Pump(50ms);
    EXPECT_FALSE(GuiDriver::CaptureToPng(remove.hwnd(), L"delete-unit-" + dpi).empty());
    EXPECT_EQ(GuiDriver::LayoutFaults(remove.hwnd()), std::vector<std::string>{});
  }
}

} // namespace
} // namespace TarnControls

// The settings entry with a stand-in for the main dialog: what the dialog is given, what the
// host gets back for each way the dialog can end, and that nothing the entry made outlives it.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "HostApplication.h"
#include "HostDocument.h"
#include "InProcessHost.h"
#include "Recording.h"
#include "foundation/win/ComPtr.h"
#include "multipointcalibration/ui/SettingsEditing.h"
#include "multipointcalibration/win/LiveObjectCounter.h"
#include "multipointcalibration/win/MPCalibrationExtSettings.h"
#include "window/win/MessageBox.h"

namespace {

using MPCalibration::CalibrationSettings;
using Settings = MPCalibration::MPCalibrationExt::Settings;
using Tarn::ComPtr;

// What the stand-in dialog saw, and how it ends.
struct DialogScript {
  INT_PTR answer = IDCANCEL;
  CalibrationSettings result;
  int calls = 0;
  std::int32_t channel = -1;
  bool hadUnits = false;
  bool hadDocument = false;
  bool hadSelection = false;
  CalibrationSettings given;
};
DialogScript* script = nullptr;

INT_PTR StandInDialog(HWND, std::int32_t channel, Host::IUnitCollection* units,
                      Host::IHostDocument* document, Host::IHostSelection* selection,
                      CalibrationSettings& settings) noexcept {
  ++script->calls;
  script->channel = channel;
  script->hadUnits = units != nullptr;
  script->hadDocument = document != nullptr;
  script->hadSelection = selection != nullptr;
  script->given = settings;
  // A real dialog writes its working copy back only when the user confirms.
  if (script->answer == IDOK)
    settings = script->result;
  return script->answer;
}

CalibrationSettings Calibrated(double top) {
  CalibrationSettings s;
  s.sourceChannel = 0;
  s.rawValues = {0.5, 1.5};
  s.calibratedValues = {0.0, 50.0};
  s.coefficients = {-25.0, 50.0};
  s.showCalculated = true;
  s.rangeTop = top;
  s.rangeBottom = -top;
  return s;
}

class SettingsEditingTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_EQ(host_.Status(), S_OK);
    auto recording = std::make_shared<Vela::Recording>();
    Vela::Recording::Channel pressure;
    pressure.name = L"Pressure";
    pressure.unit = L"V";
    recording->AddChannel(pressure);
    recording->AddChannel(pressure);
    Vela::Recording::Block block;
    block.length = 4;
    block.samples = {{0.5f, 0.5f, 1.5f, 1.5f}, {1.0f, 2.0f, 3.0f, 4.0f}};
    recording->AddBlock(block);
    document_.Attach(Vela::HostDocument::Create(recording));
    previous_ = MPCalibration::SetCalibrationDialogRunner(&StandInDialog);
    script = &script_;
  }
  void TearDown() override {
    MPCalibration::SetCalibrationDialogRunner(previous_);
    script = nullptr;
    document_.reset();
    EXPECT_EQ(MPCalibration::LiveObjectCounter::Count(), 0);
  }
  IUnknown* Document() { return static_cast<Host::IHostDocument*>(document_.get()); }
  HRESULT Edit(Host::IPersistObject* existing, Host::IPersistObject** out) {
    return MPCalibration::EditCalibrationSettings(nullptr, Document(), 0, existing, out);
  }

  Vela::InProcessHost host_;
  ComPtr<Vela::HostDocument> document_;
  DialogScript script_;
  MPCalibration::CalibrationDialogRunner previous_ = nullptr;
  Tarn::Window::ScopedMessageBoxFunction noBoxes_{[](const auto&) {
    ADD_FAILURE() << "no message box expected";
    return IDOK;
  }};
};

TEST_F(SettingsEditingTest, OnlyAConfirmedDialogReturnsSettingsAndSendsTheDisplayRange) {
  struct Case {
    const char* label;
    INT_PTR answer;
    HRESULT expected;
  };
  const Case cases[] = {
      {"OK", IDOK, S_OK},
      {"Cancel", IDCANCEL, S_FALSE},
      {"ended otherwise", IDABORT, S_FALSE},
      {"could not be made", -1, E_UNEXPECTED},
      {"no owner for it", 0, E_UNEXPECTED},
  };
  for (const Case& c : cases) {
    script_ = {};
    script_.answer = c.answer;
    script_.result = Calibrated(80.0);
    const std::size_t before = document_->DisplayRanges().size();
    Host::IPersistObject* const untouched = reinterpret_cast<Host::IPersistObject*>(8);
    Host::IPersistObject* out = untouched;
    EXPECT_EQ(Edit(nullptr, &out), c.expected) << c.label;
    EXPECT_EQ(script_.calls, 1) << c.label;
    const auto messages = document_->DisplayRanges();
    if (c.answer != IDOK) {
      EXPECT_EQ(out, untouched) << c.label;
      EXPECT_EQ(messages.size(), before) << c.label;
      EXPECT_EQ(MPCalibration::LiveObjectCounter::Count(), 0) << c.label;
      continue;
    }
    const auto held = ComPtr<Host::IPersistObject>::Adopt(out);
    const Settings* returned = Settings::FromPersistObject(held.get());
    ASSERT_NE(returned, nullptr) << c.label;
    EXPECT_TRUE(returned->Record().EqualsForApply(script_.result));
    EXPECT_EQ(returned->Record().rangeTop, 80.0);
    ASSERT_EQ(messages.size(), before + 1) << c.label;
    const Host::DisplayRangePayload& payload = messages.back();
    EXPECT_EQ(std::int32_t{payload.code}, 817);
    EXPECT_EQ(std::int32_t{payload.channel}, 0);
    EXPECT_EQ(double{payload.top}, 32000.0);
    EXPECT_EQ(double{payload.bottom}, -32000.0);
  }
}

TEST_F(SettingsEditingTest, TheDialogEditsACopyOfTheChannelsSettings) {
  // Fresh settings name the channel as their source.
  script_.answer = IDCANCEL;
  Host::IPersistObject* out = nullptr;
  ASSERT_EQ(MPCalibration::EditCalibrationSettings(nullptr, Document(), 1, nullptr, &out), S_FALSE);
  EXPECT_EQ(script_.channel, 1);
  EXPECT_EQ(script_.given.sourceChannel, 1);
  EXPECT_TRUE(script_.given.rawValues.empty());
  EXPECT_TRUE(script_.hadUnits && script_.hadDocument && script_.hadSelection);

  // Existing settings are copied: the dialog's changes reach only the object handed back.
  const ComPtr<Settings> existing = Settings::Create(Calibrated(10.0));
  script_ = {};
  script_.answer = IDOK;
  script_.result = Calibrated(10.0);
  script_.result.calibratedValues = {0.0, 60.0};
  ASSERT_EQ(Edit(existing.get(), &out), S_OK);
  const auto held = ComPtr<Host::IPersistObject>::Adopt(out);
  EXPECT_TRUE(script_.given.EqualsForApply(existing->Record()));
  EXPECT_NE(held.get(), static_cast<Host::IPersistObject*>(existing.get()));
  EXPECT_EQ(existing->Record().calibratedValues, (std::vector<double>{0.0, 50.0}));
  EXPECT_EQ(Settings::FromPersistObject(held.get())->Record().calibratedValues,
            (std::vector<double>{0.0, 60.0}));
}

// A persist object that is not one of the module's settings is refused before any dialog.
class ForeignSettings final : public Host::IPersistObject {
public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) noexcept override {
    *out = this;
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() noexcept override { return 1; }
  ULONG STDMETHODCALLTYPE Release() noexcept override { return 1; }
  HRESULT STDMETHODCALLTYPE Load(Host::IObjectStream*) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Save(Host::IObjectStream*) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetClassCode(std::int32_t*) noexcept override { return E_NOTIMPL; }
  void* STDMETHODCALLTYPE DeletingDestructor(UINT) noexcept override { return this; }
};

TEST_F(SettingsEditingTest, RefusesWhatItCannotEdit) {
  ForeignSettings foreign;
  Host::IPersistObject* out = nullptr;
  EXPECT_EQ(Edit(&foreign, &out), E_INVALIDARG);
  EXPECT_EQ(MPCalibration::EditCalibrationSettings(nullptr, nullptr, 0, nullptr, &out),
            E_INVALIDARG);
  EXPECT_EQ(MPCalibration::EditCalibrationSettings(nullptr, Document(), 0, nullptr, nullptr),
            E_INVALIDARG);
  // An object that is not the host's document.
  ComPtr<Settings> notADocument = Settings::Create();
  EXPECT_EQ(MPCalibration::EditCalibrationSettings(nullptr, notADocument.get(), 0, nullptr, &out),
            E_NOINTERFACE);
  // A module without its dialog does nothing.
  MPCalibration::SetCalibrationDialogRunner(nullptr);
  EXPECT_EQ(Edit(nullptr, &out), E_NOTIMPL);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(script_.calls, 0);
}

} // namespace

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>

#include "Document.h"
#include "HostApplication.h"
#include "HostChannelCalc.h"
#include "HostDataSource.h"
#include "HostUnitCollection.h"
#include "InProcessHost.h"
#include "foundation/win/ComPtr.h"
#include "foundation/win/HostServices.h"
#include "hostapi/HostInterfaces.h"
#include "multipointcalibration/win/LiveObjectCounter.h"
#include "multipointcalibration/win/MPCalibrationExt.h"
#include "multipointcalibration/win/MPCalibrationExtSettings.h"
#include "multipointcalibration/win/ModuleObjects.h"

using MPCalibration::CalibrationSettings;
using MPCalibration::MPCalibrationExt;
using Tarn::ComPtr;
namespace Module = MPCalibration::ModuleObjects;

namespace {

constexpr std::int32_t kChannel = 1;

// A GUID nobody answers.
constexpr GUID kUnknownIid = {
    0x1B2C3D4E, 0x5F60, 0x4A7B, {0x8C, 0x9D, 0xAE, 0xBF, 0xC0, 0xD1, 0xE2, 0xF3}};

class ExtensionTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_EQ(host_.Status(), S_OK);
    ASSERT_EQ(Module::RegisterClassObjects(*MPCalibration::HostServices::Registrar()), S_OK);
    auto document = std::make_shared<Vela::Document>(
        std::vector<Vela::Document::Channel>{{L"Pressure", L"V"}, {L"Flow", L"V"}});
    document->AddRecord({Vela::Ramp(16, 0.0f, 1.5f), Vela::Ramp(16, -1.0f, 1.0f)});
    source_.Attach(Vela::HostDataSource::Create(document));

    // Through the calculation class's slot 11, as the host creates the extension.
    ASSERT_EQ(Module::CalculationClass()->CreateCalculation(
                  kChannel, static_cast<Host::IHostDataSource*>(source_.get()), result_.put()),
              S_OK);
    ASSERT_TRUE(result_);
    ASSERT_EQ(result_->QueryInterface(Host::IID_IChannelCalc, calc_.put_void()), S_OK);
  }

  void TearDown() override {
    calc_.reset();
    result_.reset();
    EXPECT_EQ(MPCalibration::LiveObjectCounter::Count(), 0) << "a module object is still alive";
  }

  const Vela::CalcRecord& Record() const {
    return Vela::HostChannelCalc::From(result_.get())->Record();
  }

  // A settings object as the settings dialog hands it back: a copy of the current record,
  // changed by `edit`.
  template <class Edit> ComPtr<Host::IPersistObject> Edited(Edit edit) const {
    ComPtr<Host::IPersistObject> current;
    EXPECT_EQ(calc_->GetSettings(current.put()), S_OK);
    CalibrationSettings record =
        MPCalibrationExt::Settings::FromPersistObject(current.get())->Record();
    edit(record);
    auto next = MPCalibrationExt::Settings::Create(record);
    return ComPtr<Host::IPersistObject>(next.get());
  }

  Vela::InProcessHost host_;
  ComPtr<Vela::HostDataSource> source_;
  ComPtr<IUnknown> result_;
  ComPtr<Host::IChannelCalc> calc_;
};

TEST_F(ExtensionTest, AnswersItsOwnFaceAndPassesOthersToTheHostObject) {
  ComPtr<IUnknown> unknown;
  ASSERT_EQ(calc_->QueryInterface(IID_IUnknown, unknown.put_void()), S_OK);
  EXPECT_EQ(unknown.get(), static_cast<IUnknown*>(calc_.get()));
  ComPtr<Host::IHostChannelCalc> hostCalc;
  EXPECT_EQ(calc_.QueryTo(hostCalc), S_OK);
  ComPtr<IUnknown> notify;
  EXPECT_EQ(calc_->QueryInterface(Host::IID_IHostCalcNotify, notify.put_void()), S_OK);
  void* none = reinterpret_cast<void*>(1);
  EXPECT_EQ(calc_->QueryInterface(kUnknownIid, &none), E_NOINTERFACE);
  EXPECT_EQ(none, nullptr);
  // A face of the aggregated object leads back to the extension.
  ComPtr<Host::IChannelCalc> back;
  EXPECT_EQ(hostCalc.QueryTo(back), S_OK);
  EXPECT_EQ(back.get(), calc_.get());
}

TEST_F(ExtensionTest, FixedSlots) {
  std::int32_t flags = 0;
  ASSERT_EQ(calc_->GetFlags(&flags), S_OK);
  EXPECT_EQ(flags, 0x10000000);
  void* out = reinterpret_cast<void*>(1);
  EXPECT_EQ(calc_->NotImplemented8(&out), E_NOTIMPL);
  EXPECT_EQ(out, nullptr);
  out = reinterpret_cast<void*>(1);
  EXPECT_EQ(calc_->NotImplemented9(&out), E_NOTIMPL);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(calc_->NoOp10(), S_OK);
}

TEST_F(ExtensionTest, StartsWithFreshSettingsForItsChannel) {
  ComPtr<Host::IPersistObject> settings;
  ASSERT_EQ(calc_->GetSettings(settings.put()), S_OK);
  auto* own = MPCalibrationExt::Settings::FromPersistObject(settings.get());
  ASSERT_NE(own, nullptr);
  CalibrationSettings expected;
  expected.sourceChannel = kChannel;
  EXPECT_TRUE(own->Record().EqualsForApply(expected));
  EXPECT_EQ(calc_->GetSettings(nullptr), S_OK);
}

TEST_F(ExtensionTest, SetSettingsKeepsACopyAndTellsTheHostNothing) {
  auto given = Edited([](CalibrationSettings& s) { s.decimalPlaces = 5; });
  ASSERT_EQ(calc_->SetSettings(given.get()), S_OK);
  ComPtr<Host::IPersistObject> current;
  ASSERT_EQ(calc_->GetSettings(current.put()), S_OK);
  EXPECT_NE(current.get(), given.get());
  EXPECT_EQ(MPCalibrationExt::Settings::FromPersistObject(current.get())->Record().decimalPlaces,
            5);
  EXPECT_EQ(Record().sourceCalls + Record().parameterTextCalls + Record().enumeratorCalls, 0);
}

TEST_F(ExtensionTest, ApplyingSettingsEqualForApplySendsNothing) {
  auto same = Edited([](CalibrationSettings& s) {
    s.rangeTop = 100.0;
    s.coefficients = {1.0, 2.0};
    s.sumSquaredError = 0.5;
  });
  EXPECT_EQ(calc_->ApplySettings(same.get(), 1), S_FALSE);
  EXPECT_EQ(calc_->ApplySettings(nullptr, 1), S_FALSE);
  EXPECT_EQ(Record().sourceCalls + Record().parameterTextCalls + Record().enumeratorCalls, 0);
  EXPECT_TRUE(source_->ChannelChanges().empty());
  ComPtr<Host::IPersistObject> current;
  ASSERT_EQ(calc_->GetSettings(current.put()), S_OK);
  EXPECT_NE(current.get(), same.get());
}

TEST_F(ExtensionTest, ApplyHandsSourceTextEnumeratorAndNotificationToTheHost) {
  struct Case {
    std::int32_t sourceChannel;
    std::int16_t recreate;
    std::uint32_t flags;
    int enumeratorCalls;
  };
  const Case cases[] = {
      {kChannel, 1, 0x80005001u, 1}, {0, 0, 0xC0005000u, 1}, {kChannel, 0, 0x80005001u, 1}};
  int applied = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sourceChannel);
    auto next = Edited([&](CalibrationSettings& s) {
      s.sourceChannel = c.sourceChannel;
      s.decimalPlaces = 4 + applied;
      s.unit.name = L"kPa";
      s.rangeTop = 10.0;
      s.rangeBottom = -10.0;
    });
    ASSERT_EQ(calc_->ApplySettings(next.get(), c.recreate), S_OK);
    ++applied;

    const Vela::CalcRecord& record = Record();
    EXPECT_EQ(record.sourceCalls, applied);
    EXPECT_EQ(record.sourceFirst, 1);
    EXPECT_EQ(record.source.channel, c.sourceChannel);
    EXPECT_EQ(record.source.flags, c.flags);
    EXPECT_EQ(record.source.reserved, 0x80000000u);
    EXPECT_EQ(
        record.parameterText,
        MPCalibrationExt::Settings::FromPersistObject(next.get())->Record().ToParameterText());
    EXPECT_EQ(record.enumeratorCalls, c.enumeratorCalls);
    EXPECT_EQ(record.enumeratorChannel, kChannel);
    EXPECT_TRUE(record.enumeratorHadCreator && record.enumeratorHadDataSource &&
                record.enumeratorHadEnumerator);

    ASSERT_EQ(source_->ChannelChanges().size(), static_cast<std::size_t>(applied));
    const Vela::ChannelChange& change = source_->ChannelChanges().back();
    EXPECT_EQ(change.channel, kChannel);
    EXPECT_EQ(change.flags, 0x40000000u);
    EXPECT_TRUE(change.notifyAnswered);

    // The applied object itself becomes the current settings.
    ComPtr<Host::IPersistObject> current;
    ASSERT_EQ(calc_->GetSettings(current.put()), S_OK);
    EXPECT_EQ(current.get(), next.get());
  }
}

TEST_F(ExtensionTest, OutputScalingOfTheDisplayRange) {
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    const char* label;
    double top, bottom;
    std::int32_t prefixIndex;
    double factor, offset, tolerance;
  };
  // 20 / 64000 is formed in single precision: 0.000312499992..., so the factor is a little over
  // 3200. A top of +infinity is clamped to 1e24 before the range is formed.
  const Case cases[] = {
      {"ten either side", 10.0, -10.0, 1, 3200.0000715255737, 0.0, 1e-9},
      {"prefix 8 is no prefix", 10.0, -10.0, 8, 3200.0000715255737, 0.0, 1e-9},
      {"kilo", 10.0, -10.0, 9, 3.2000000715255737, 0.0, 1e-12},
      {"milli", 10.0, -10.0, 7, 3200000.0715255737, 0.0, 1e-6},
      {"infinite top", inf, -10.0, 1, 6.4e-20, -(32000.0 - 6.4e-19) * (1e24 / 64000.0), 1e-3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    auto next = Edited([&](CalibrationSettings& s) {
      s.rangeTop = c.top;
      s.rangeBottom = c.bottom;
      s.unit.prefixIndex = c.prefixIndex;
      s.unit.name =
          std::wstring(L"u") + std::to_wstring(c.prefixIndex) + (c.top == inf ? L"i" : L"");
    });
    ASSERT_EQ(calc_->ApplySettings(next.get(), 0), S_OK);
    const Host::OutputScaling scaling = Record().scaling;
    if (c.factor < 1e-10) {
      EXPECT_NEAR(scaling.factor / c.factor, 1.0, 1e-6);
      EXPECT_NEAR(scaling.offset / c.offset, 1.0, 1e-6);
    } else {
      EXPECT_NEAR(scaling.factor, c.factor, c.tolerance);
      EXPECT_NEAR(scaling.offset, c.offset, c.tolerance);
    }
  }
}

TEST_F(ExtensionTest, FlatRangeGivesFiniteScaling) {
  auto next = Edited([](CalibrationSettings& s) {
    s.rangeTop = 5.0;
    s.rangeBottom = 5.0;
    s.decimalPlaces = 6;
  });
  ASSERT_EQ(calc_->ApplySettings(next.get(), 0), S_OK);
  EXPECT_TRUE(std::isfinite(Record().scaling.factor));
  EXPECT_TRUE(std::isfinite(Record().scaling.offset));
}

TEST_F(ExtensionTest, ApplyGivesTheUnitToTheUnitListAndOutputInfoAsksTheDataSource) {
  auto next = Edited([](CalibrationSettings& s) {
    s.unit = {{1, 9}, L"Pa"};
    s.decimalPlaces = 1;
    s.rangeTop = 10.0;
    s.rangeBottom = -10.0;
  });
  ASSERT_EQ(calc_->ApplySettings(next.get(), 0), S_OK);
  const auto units = Vela::HostApplication::Instance().UnitList().Units();
  ASSERT_FALSE(units.empty());
  EXPECT_EQ(units.back(), (Vela::UnitValue{9, L"Pa", 1}));

  int marker = 0;
  for (int call = 0; call < 2; ++call) {
    SCOPED_TRACE(call);
    ComPtr<Host::IUnitName> unit;
    Host::RateInfo rate{7, 7, 7.0};
    std::int32_t extra = -1;
    ASSERT_EQ(calc_->GetOutputInfo(3, nullptr, unit.put(), &rate, &marker, &extra), S_OK);
    EXPECT_TRUE(unit);
    EXPECT_EQ(rate.numerator, 1);
    EXPECT_EQ(rate.denominator, 1);
    EXPECT_EQ(rate.offset, 0.0);
    EXPECT_EQ(extra, 0);
  }
  // The unit is asked for once and kept.
  ASSERT_EQ(source_->OutputUnitRequests().size(), 1u);
  const Vela::OutputUnitRequest& request = source_->OutputUnitRequests().front();
  EXPECT_EQ(request.unitName, L"Pa");
  EXPECT_NEAR(request.fields.scale, 0.3125, 1e-7);
  EXPECT_EQ(request.fields.offset, 0.0);
  EXPECT_EQ(request.fields.top, std::numeric_limits<float>::infinity());
  EXPECT_EQ(request.fields.bottom, -std::numeric_limits<float>::infinity());
  EXPECT_EQ(request.fields.decimals, 1);
  EXPECT_EQ(request.fields.prefixIndex, 9);
  EXPECT_EQ(request.fields.unitFlag, -1);

  const auto& notes = source_->ChannelInfo().Notes();
  ASSERT_EQ(notes.size(), 2u);
  EXPECT_EQ(notes[0].zero, 0);
  EXPECT_EQ(notes[0].a, 3);
  EXPECT_EQ(notes[0].b, &marker);
}

TEST_F(ExtensionTest, OutputInfoBeforeAnyApplyUsesTheStartValues) {
  ASSERT_EQ(calc_->GetOutputInfo(0, nullptr, nullptr, nullptr, nullptr, nullptr), S_OK);
  ASSERT_EQ(source_->OutputUnitRequests().size(), 1u);
  const Host::OutputFieldBlock& fields = source_->OutputUnitRequests().front().fields;
  EXPECT_EQ(fields.scale, 1.0);
  EXPECT_EQ(fields.offset, 0.0);
  EXPECT_EQ(fields.decimals, 2);
  EXPECT_EQ(fields.prefixIndex, 1);
  EXPECT_EQ(fields.unitFlag, 0);
}

} // namespace

// The module's class objects and extension object, driven through the slots the host calls.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "HostApplication.h"
#include "HostChannelCalc.h"
#include "HostDataSource.h"
#include "HostUnitCollection.h"
#include "ModuleEnvironment.h"
#include "foundation/win/TarnString.h"

namespace {

using Tarn::ComPtr;
using Vela::Calibration;
using Vela::Document;
using VelaTest::Module;

Calibration Linear(std::int32_t sourceChannel, double top = 10.0, double bottom = -10.0) {
  Calibration c;
  c.fitType = 0;
  c.coefficients = {1.0, 2.0};
  c.rawValues = {0.0, 1.0};
  c.calibratedValues = {1.0, 3.0};
  c.unitName = L"mmHg";
  c.sourceChannel = sourceChannel;
  c.rangeTop = top;
  c.rangeBottom = bottom;
  return c;
}

class ExtensionTest : public ::testing::Test {
protected:
  void SetUp() override {
    auto doc = std::make_shared<Document>(
        std::vector<Document::Channel>{{L"A", L"V"}, {L"B", L"V"}, {L"C", L"V"}});
    doc->AddRecord(
        {Vela::Ramp(300, -1.0f, 2.0f), Vela::Ramp(300, 0.25f, 4.0f), Vela::Ramp(300, 1.0f, 0.0f)});
    doc_ = doc;
    source_.Attach(Vela::HostDataSource::Create(doc_));
  }
  void TearDown() override {
    calc_.reset();
    result_.reset();
    source_.reset();
    if (const auto live = VelaTest::LiveModuleObjects(); live >= 0) {
      EXPECT_EQ(live, 0) << "module objects still alive after the host released everything";
    }
  }

  IUnknown* Source() { return static_cast<Host::IHostDataSource*>(source_.get()); }
  void CreateFor(std::int32_t channel) {
    ASSERT_EQ(Module().CreateCalculation(channel, Source(), result_, calc_), S_OK);
    host_ = Vela::HostChannelCalc::From(result_.get());
    ASSERT_NE(host_, nullptr) << "the calculation's result face is not the host's object";
  }
  ComPtr<Host::IPersistObject> Settings(const Calibration& c) {
    ComPtr<Host::IPersistObject> settings;
    EXPECT_EQ(Module().MakeSettings(c, settings), S_OK);
    return settings;
  }

  std::shared_ptr<const Document> doc_;
  ComPtr<Vela::HostDataSource> source_;
  ComPtr<IUnknown> result_;
  ComPtr<Host::IChannelCalc> calc_;
  Vela::HostChannelCalc* host_ = nullptr;
};

TEST_F(ExtensionTest, RegistersEnumeratorSettingsAndCalculationClassesInListOrder) {
  const auto registered = Vela::HostApplication::Instance().Registered();
  ASSERT_EQ(registered.size(), 3u);
  const GUID* expectedKinds[] = {&Host::KIND_EnumeratorClass, &Host::KIND_SettingsClass,
                                 &Host::KIND_CalculationClass};
  const GUID* faces[] = {&Host::IID_ICalcEnumClass2, &Host::IID_IPersistClassObject,
                         &Host::IID_ICalculationClass};
  for (std::size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    // Each answers its own face, which derives from IVelaClassObject.
    ComPtr<Host::IVelaClassObject> object;
    ASSERT_EQ(registered[i].QueryTo(*faces[i], object), S_OK);
    const GUID* kind = nullptr;
    ASSERT_EQ(object->GetKind(&kind), S_OK);
    ASSERT_NE(kind, nullptr);
    EXPECT_TRUE(IsEqualGUID(*kind, *expectedKinds[i]));
    EXPECT_EQ(object->IsKind(expectedKinds[i]), S_OK);
  }
  // The registrar finds each by its class code.
  EXPECT_TRUE(Module().CalculationClass());
  EXPECT_TRUE(Module().SettingsClass());
  EXPECT_TRUE(Module().EnumClass());
}

TEST_F(ExtensionTest, CreateCalculationWithoutDataSourceFails) {
  const auto calcClass = Module().CalculationClass();
  ASSERT_TRUE(calcClass);
  IUnknown* out = nullptr;
  EXPECT_EQ(calcClass->CreateCalculation(0, nullptr, &out), E_FAIL);
  EXPECT_EQ(out, nullptr);
}

TEST_F(ExtensionTest, CalculationAggregatesTheHostObjectAndAnswersItsFaces) {
  CreateFor(1);
  ComPtr<IUnknown> face;
  for (const GUID* iid : {&Host::IID_IHostCalcResult, &Host::IID_IHostCalcNotify,
                          &Host::IID_IHostChannelCalc, &Host::IID_IChannelCalc})
    EXPECT_EQ(result_.QueryTo(*iid, face), S_OK);
  // Every face reaches the same controlling object.
  ComPtr<IUnknown> a, b;
  ASSERT_EQ(result_.QueryTo(IID_IUnknown, a), S_OK);
  ASSERT_EQ(calc_.QueryTo(IID_IUnknown, b), S_OK);
  EXPECT_EQ(a.get(), b.get());
  std::int32_t flags = 0;
  EXPECT_EQ(calc_->GetFlags(&flags), S_OK);
  EXPECT_EQ(flags, 0x10000000);
}

TEST_F(ExtensionTest, ApplyPassesSourceFlagsByChannel) {
  struct Case {
    std::int32_t channel, sourceChannel;
    std::uint32_t flags;
  };
  for (const Case& c : {Case{1, 1, 0x80005001u}, Case{1, 0, 0xC0005000u}, Case{2, 0, 0xC0005000u},
                        Case{0, 0, 0x80005001u}}) {
    SCOPED_TRACE(c.channel * 10 + c.sourceChannel);
    CreateFor(c.channel);
    ASSERT_EQ(calc_->ApplySettings(Settings(Linear(c.sourceChannel)).get(), 1), S_OK);
    const auto& r = host_->Record();
    EXPECT_EQ(r.sourceCalls, 1);
    EXPECT_EQ(r.sourceFirst, 1);
    EXPECT_EQ(r.source.channel, c.sourceChannel);
    EXPECT_EQ(r.source.flags, c.flags);
    EXPECT_EQ(r.source.reserved, 0x80000000u);
    EXPECT_EQ(r.enumeratorCalls, 1);
    EXPECT_EQ(r.enumeratorChannel, c.channel);
    EXPECT_TRUE(r.enumeratorHadEnumerator);
    EXPECT_EQ(r.parameterTextCalls, 1);
    EXPECT_EQ(r.parameterText.rfind(L"0\t0\tmmHg\t", 0), 0u)
        << std::string(r.parameterText.begin(), r.parameterText.end());
    ASSERT_FALSE(source_->ChannelChanges().empty());
    const auto& change = source_->ChannelChanges().back();
    EXPECT_EQ(change.channel, c.channel);
    EXPECT_EQ(change.flags, 0x40000000u);
    EXPECT_TRUE(change.notifyAnswered);
  }
}

TEST_F(ExtensionTest, ApplyingSettingsEqualForApplyReturnsFalseAndSendsNothing) {
  CreateFor(1);
  ASSERT_EQ(calc_->ApplySettings(Settings(Linear(1)).get(), 1), S_OK);
  const Vela::CalcRecord before = host_->Record();
  const auto changes = source_->ChannelChanges().size();
  const auto deliveries = Vela::HostApplication::Instance().Deliveries().size();
  const int unitAdds = Vela::HostApplication::Instance().UnitList().AddCalls();

  // Range and coefficients do not take part in the comparison.
  Calibration same = Linear(1, 50.0, -3.0);
  same.coefficients = {7.0, 8.0};
  EXPECT_EQ(calc_->ApplySettings(Settings(same).get(), 1), S_FALSE);
  const auto& after = host_->Record();
  EXPECT_EQ(after.sourceCalls, before.sourceCalls);
  EXPECT_EQ(after.parameterTextCalls, before.parameterTextCalls);
  EXPECT_EQ(after.enumeratorCalls, before.enumeratorCalls);
  EXPECT_EQ(after.parameterText, before.parameterText);
  EXPECT_EQ(source_->ChannelChanges().size(), changes);
  EXPECT_EQ(Vela::HostApplication::Instance().Deliveries().size(), deliveries);
  EXPECT_EQ(Vela::HostApplication::Instance().UnitList().AddCalls(), unitAdds);

  // A different unit is a different calibration.
  Calibration other = Linear(1);
  other.unitName = L"kPa";
  EXPECT_EQ(calc_->ApplySettings(Settings(other).get(), 1), S_OK);
  EXPECT_EQ(host_->Record().sourceCalls, before.sourceCalls + 1);
}

TEST_F(ExtensionTest, OutputScalingOfApply) {
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    double top, bottom;
  };
  for (const Case& c : {Case{10.0, -10.0}, Case{inf, -10.0}, Case{5.0, -inf}, Case{1e30, 0.0}}) {
    SCOPED_TRACE(c.top);
    CreateFor(0);
    ASSERT_EQ(calc_->ApplySettings(Settings(Linear(0, c.top, c.bottom)).get(), 0), S_OK);
    // Clamped to +-1e24 in single precision, the range formed in single precision.
    const auto clamp = [](double v) {
      return static_cast<float>(std::isnan(v) || v > 1e24 ? 1e24 : (v < -1e24 ? -1e24 : v));
    };
    const float top = clamp(c.top), bottom = clamp(c.bottom);
    float range = top - bottom;
    const double scale = static_cast<double>(range / 64000.0f);
    const double offset = 32000.0 + 64000.0 * bottom / range;
    const auto& r = host_->Record();
    EXPECT_EQ(r.enumeratorCalls, 0) << "no enumerator unless asked for";
    EXPECT_DOUBLE_EQ(r.scaling.factor, 1.0 / scale);
    EXPECT_DOUBLE_EQ(r.scaling.offset + 0.0, -(offset * scale) + 0.0);
  }
  CreateFor(0);
  ASSERT_EQ(calc_->ApplySettings(Settings(Linear(0, 10.0, -10.0)).get(), 0), S_OK);
  EXPECT_NEAR(host_->Record().scaling.factor, 3200.0000715, 1e-6);
  EXPECT_EQ(host_->Record().scaling.offset, 0.0);
}

TEST_F(ExtensionTest, ApplyHandsTheOutputUnitToTheUnitListAndOutputInfoAsksTheSource) {
  CreateFor(2);
  Calibration c = Linear(2);
  c.unitName = L"bar";
  c.prefixIndex = 9;
  c.decimalPlaces = 4;
  ASSERT_EQ(calc_->ApplySettings(Settings(c).get(), 1), S_OK);
  const auto units = Vela::HostApplication::Instance().UnitList().Units();
  EXPECT_NE(std::find(units.begin(), units.end(), Vela::UnitValue{9, L"bar", 0}), units.end());

  ComPtr<Host::IUnitName> unit;
  Host::RateInfo rate{7, 7, 7.0};
  std::int32_t extra = 5;
  int b = 0;
  ASSERT_EQ(calc_->GetOutputInfo(42, nullptr, unit.put(), &rate, &b, &extra), S_OK);
  ASSERT_TRUE(unit);
  EXPECT_EQ(rate.numerator, 1);
  EXPECT_EQ(rate.denominator, 1);
  EXPECT_EQ(rate.offset, 0.0);
  EXPECT_EQ(extra, 0);
  ASSERT_EQ(source_->OutputUnitRequests().size(), 1u);
  const auto& request = source_->OutputUnitRequests()[0];
  EXPECT_EQ(request.unitName, L"bar");
  EXPECT_EQ(request.fields.decimals, 4);
  EXPECT_EQ(request.fields.prefixIndex, 9);
  EXPECT_EQ(request.fields.unitFlag, 0);
  EXPECT_TRUE(std::isinf(request.fields.top) && request.fields.top > 0);
  EXPECT_TRUE(std::isinf(request.fields.bottom) && request.fields.bottom < 0);
  const auto& notes = source_->ChannelInfo().Notes();
  ASSERT_FALSE(notes.empty());
  EXPECT_EQ(notes.back().zero, 0);
  EXPECT_EQ(notes.back().a, 42);
  EXPECT_EQ(notes.back().b, &b);
  // The unit is kept: a second call does not ask again.
  ASSERT_EQ(calc_->GetOutputInfo(1, nullptr, unit.put(), &rate, &b, &extra), S_OK);
  EXPECT_EQ(source_->OutputUnitRequests().size(), 1u);
}

TEST_F(ExtensionTest, GetSettingsReturnsTheAppliedObject) {
  CreateFor(0);
  const auto settings = Settings(Linear(0));
  ASSERT_EQ(calc_->ApplySettings(settings.get(), 1), S_OK);
  ComPtr<Host::IPersistObject> current;
  ASSERT_EQ(calc_->GetSettings(current.put()), S_OK);
  EXPECT_EQ(current.get(), settings.get());
  std::int32_t code = 0;
  ASSERT_EQ(current->GetClassCode(&code), S_OK);
  EXPECT_EQ(code, Module().ClassCode(Host::CLSID_MPCalibration, 1));
}

} // namespace

namespace {

TEST(LiveObjectsTest, ModuleObjectsLiveExactlyAsLongAsTheHostHoldsThem) {
  const auto before = VelaTest::LiveModuleObjects();
  ASSERT_GE(before, 0) << "the test build of the module counts its live objects";
  auto doc = std::make_shared<Document>(std::vector<Document::Channel>{{L"A", L"V"}});
  doc->AddRecord({Vela::Ramp(10, 0.0f, 1.0f)});
  auto source = ComPtr<Vela::HostDataSource>::Adopt(Vela::HostDataSource::Create(doc));
  ComPtr<IUnknown> result;
  ComPtr<Host::IChannelCalc> calc;
  ASSERT_EQ(Module().CreateCalculation(0, static_cast<Host::IHostDataSource*>(source.get()), result,
                                       calc),
            S_OK);
  ComPtr<Host::IPersistObject> settings;
  ASSERT_EQ(Module().MakeSettings(Linear(0), settings), S_OK);
  ASSERT_EQ(calc->ApplySettings(settings.get(), 1), S_OK);
  // The extension, its settings and the enumerator handed to the host object.
  EXPECT_GE(VelaTest::LiveModuleObjects(), before + 3);
  settings.reset();
  calc.reset();
  EXPECT_GE(VelaTest::LiveModuleObjects(), before + 3) << "the result face still holds it";
  result.reset();
  EXPECT_EQ(VelaTest::LiveModuleObjects(), before);
}

} // namespace

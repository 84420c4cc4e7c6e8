#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ChannelEnum.h"
#include "InProcessHost.h"
#include "foundation/win/ComObject.h"
#include "foundation/win/ComPtr.h"
#include "foundation/win/HostServices.h"
#include "foundation/win/TarnString.h"
#include "hostapi/HostInterfaces.h"
#include "multipointcalibration/win/CalcEnumAgg.h"
#include "multipointcalibration/win/LiveObjectCounter.h"
#include "multipointcalibration/win/MPCalibrationEnum.h"

namespace {

using MPCalibration::MPCalibrationEnum;
using Tarn::ComPtr;
using Tarn::TarnString;

// Identifiers nobody in the module answers.
constexpr GUID kCalcVariablesIid = {
    0x6A1B2C3D, 0x4E5F, 0x4071, {0x82, 0x93, 0xA4, 0xB5, 0xC6, 0xD7, 0xE8, 0xF9}};
constexpr GUID kOuterIid = {
    0x0F1E2D3C, 0x4B5A, 0x4968, {0x87, 0x96, 0xA5, 0xB4, 0xC3, 0xD2, 0xE1, 0xF0}};

// The host's calculation-variables object, answering an identifier of its own.
struct ICalcVariables : IUnknown {
  static constexpr const GUID& iid = kCalcVariablesIid;
};
class CalcVariables final : public Tarn::ComObject<CalcVariables, ICalcVariables> {
public:
  static CalcVariables* Create() { return new CalcVariables; }
};

// A controlling object that aggregates an enumerator: it answers its own identifier and
// IUnknown, and counts the references its inner object's faces take on it.
struct IOuter : IUnknown {
  static constexpr const GUID& iid = kOuterIid;
};
class Outer final : public Tarn::ComObject<Outer, IOuter> {
public:
  static Outer* Create() { return new Outer; }
  ULONG STDMETHODCALLTYPE AddRef() noexcept override {
    ++delegatedAddRefs;
    return ComObject::AddRef();
  }
  ComPtr<IUnknown> inner; // the non-delegating unknown of the aggregated enumerator
  int delegatedAddRefs = 0;
};

std::shared_ptr<const std::vector<float>> Samples(std::vector<float> v) {
  return std::make_shared<const std::vector<float>>(std::move(v));
}

std::shared_ptr<const std::vector<float>> Ramp(std::size_t n) {
  std::vector<float> v(n);
  for (std::size_t i = 0; i < n; ++i)
    v[i] = static_cast<float>(i) * 0.5f - 3.0f;
  return Samples(std::move(v));
}

// A plain enumerator, as the enumerator class's CreateEnum makes it.
ComPtr<Host::ICalcEnum> NewEnumerator() {
  return ComPtr<Host::ICalcEnum>::Adopt(new MPCalibrationEnum(nullptr, nullptr));
}

ComPtr<Host::IEnumFloatEx> FloatFace(const ComPtr<Host::ICalcEnum>& e) {
  ComPtr<Host::IEnumFloatEx> f;
  EXPECT_EQ(e.QueryTo(Host::IID_IEnumFloatEx, f), S_OK);
  return f;
}

HRESULT SetText(Host::ICalcEnum* e, const wchar_t* text) {
  const TarnString t(text);
  std::int32_t flags = 0;
  const HRESULT status = e->SetParameters(t.get(), &flags);
  EXPECT_EQ(flags, 0x40000000);
  return status;
}

HRESULT Attach(Host::ICalcEnum* e, Host::IEnumFloatEx* source, IUnknown* extra = nullptr,
               void* context = nullptr) {
  IUnknown* sources[] = {source};
  IUnknown* extras[] = {extra};
  return e->SetSources(nullptr, 1, sources, extras, context);
}

ComPtr<Host::IEnumFloatEx> Source(std::shared_ptr<const std::vector<float>> samples) {
  return ComPtr<Host::IEnumFloatEx>::Adopt(Vela::ChannelEnum::Create(std::move(samples)));
}

std::vector<float> Pull(Host::IEnumFloatEx* e, std::uint32_t count, HRESULT expected = S_OK) {
  std::vector<float> out(count, -999.0f);
  std::uint32_t fetched = 12345;
  EXPECT_EQ(e->Next(count, out.data(), &fetched), expected);
  out.resize(fetched);
  return out;
}

std::uint32_t Bits(float f) {
  return std::bit_cast<std::uint32_t>(f);
}

class EnumeratorTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_EQ(host_.Status(), S_OK);
    MPCalibration::HostServices::ResetForTesting();
    liveAtStart_ = MPCalibration::LiveObjectCounter::Count();
  }
  void TearDown() override {
    EXPECT_EQ(MPCalibration::LiveObjectCounter::Count(), liveAtStart_) << "enumerators leaked";
  }

  Vela::InProcessHost host_;
  std::int32_t liveAtStart_ = 0;
};

TEST_F(EnumeratorTest, FreshEnumeratorPassesSamplesThrough) {
  auto e = NewEnumerator();
  auto source = Source(Ramp(10));
  ASSERT_EQ(Attach(e.get(), source.get()), S_OK);
  EXPECT_EQ(Pull(FloatFace(e).get(), 10), *Ramp(10));
}

// Texts as the settings write them: fitType, forceOrigin, unit, 0, SSE, k, coefficients, n, ...
TEST_F(EnumeratorTest, EvaluatesTheFitOfTheParameterText) {
  const float e = 2.7182817f;
  struct Case {
    const wchar_t* text;
    std::vector<float> in, out;
  } const cases[] = {
      {L"0\t0\tV\t0\t0\t2\t1\t2\t0\t", {0, 1, 2}, {1, 3, 5}},
      {L"1\t0\tV\t0\t0\t3\t0\t0\t1\t0\t", {-2, 3}, {4, 9}},
      {L"6\t0\tV\t0\t0\t1\t0.3\t0\t", {1, 2}, {1, 2}},           // exponential, 1 coefficient
      {L"6\t0\tV\t0\t0\t2\t0\t2.5\t0\t", {1, -7}, {2.5f, 2.5f}}, // rate 0
      {L"7\t0\tV\t0\t0\t3\t0\t0\t1\t0\t", {0.5f, 7}, {0.5f, 7}}, // three coefficients
      {L"7\t0\tV\t0\t0\t6\t0\t0\t1\t10\t2\t40\t0\t",             // pairs (0,0) (1,10) (2,40)
       {0.5f, 1.5f, -1, 3, 1},
       {5, 25, -10, 70, 10}},
      {L"7\t0\tV\t0\t0\t7\t0\t0\t1\t10\t2\t40\t9\t0\t", {0.5f, 3}, {5, 70}}, // odd count
      {L"9\t0\tV\t0\t0\t2\t1\t2\t0\t", {0, 1}, {1, 3}}, // unknown type: a polynomial
      {L"5\t0\tV\t0\t0\t2\t0\t1\t0\t", {1, e}, {0, 0x1.fffffep-1f}},
  };
  for (const Case& c : cases) {
    auto en = NewEnumerator();
    auto source = Source(Samples(c.in));
    ASSERT_EQ(SetText(en.get(), c.text), S_OK);
    ASSERT_EQ(Attach(en.get(), source.get()), S_OK);
    EXPECT_EQ(Pull(FloatFace(en).get(), static_cast<std::uint32_t>(c.in.size())), c.out) << c.text;
  }
}

TEST_F(EnumeratorTest, NoCoefficientsPassSamplesThroughForEveryType) {
  const std::vector<float> in = {-1.0f, 0.0f, 0.25f, 3.0f};
  for (const wchar_t* type : {L"0", L"1", L"2", L"3", L"4", L"5", L"6", L"7", L"8", L"-3"}) {
    auto e = NewEnumerator();
    auto source = Source(Samples(in));
    ASSERT_EQ(SetText(e.get(), (std::wstring(type) + L"\t0\tV\t0\t0\t0\t0\t").c_str()), S_OK);
    ASSERT_EQ(Attach(e.get(), source.get()), S_OK);
    EXPECT_EQ(Pull(FloatFace(e).get(), 4), in) << "type " << type;
  }
}

TEST_F(EnumeratorTest, LogarithmOfNonPositiveSamplesIsTheFixedNaN) {
  auto e = NewEnumerator();
  auto source = Source(Samples({0.0f, -1.0f, 1.0f}));
  ASSERT_EQ(SetText(e.get(), L"5\t0\tV\t0\t0\t2\t0\t1\t0\t"), S_OK);
  ASSERT_EQ(Attach(e.get(), source.get()), S_OK);
  const std::vector<float> out = Pull(FloatFace(e).get(), 3);
  EXPECT_EQ(Bits(out[0]), 0x7FC30000u); // 0x7FF8600000000000 narrowed
  EXPECT_EQ(Bits(out[1]), 0x7FC30000u);
  EXPECT_EQ(out[2], 0.0f);
}

TEST_F(EnumeratorTest, MalformedTextStillSucceedsAndKeepsWhatItRead) {
  auto e = NewEnumerator();
  auto source = Source(Samples({1, 2, 3, 4}));
  ASSERT_EQ(Attach(e.get(), source.get()), S_OK);
  // The coefficient list is cut short: {1, 2, 0}, padded with zeros.
  EXPECT_EQ(SetText(e.get(), L"0\t0\tV\t0\t0\t3\t1\t2"), S_OK);
  EXPECT_EQ(Pull(FloatFace(e).get(), 1), std::vector<float>{3});
  // Nothing readable: the previous fit stays.
  EXPECT_EQ(SetText(e.get(), L"garbage"), S_OK);
  EXPECT_EQ(Pull(FloatFace(e).get(), 1), std::vector<float>{5});
  EXPECT_EQ(e->SetParameters(nullptr, nullptr), S_OK);
  EXPECT_EQ(Pull(FloatFace(e).get(), 1), std::vector<float>{7});
}

TEST_F(EnumeratorTest, NewTextAppliesFromTheNextCall) {
  auto e = NewEnumerator();
  auto source = Source(Samples({1, 1, 1, 1}));
  ASSERT_EQ(Attach(e.get(), source.get()), S_OK);
  auto f = FloatFace(e);
  EXPECT_EQ(Pull(f.get(), 1), std::vector<float>{1});
  ASSERT_EQ(SetText(e.get(), L"0\t0\tV\t0\t0\t2\t1\t2\t0\t"), S_OK);
  EXPECT_EQ(Pull(f.get(), 1), std::vector<float>{3});
  ASSERT_EQ(SetText(e.get(), L"0\t0\tV\t0\t0\t2\t0\t-1\t0\t"), S_OK);
  EXPECT_EQ(Pull(f.get(), 2), (std::vector<float>{-1, -1}));
}

TEST_F(EnumeratorTest, ShortReadIsTransformedAndReturnsTheSourceStatus) {
  auto object = new MPCalibrationEnum(nullptr, nullptr);
  auto e = ComPtr<Host::ICalcEnum>::Adopt(object);
  auto source = Source(Samples(std::vector<float>(40, 2.0f)));
  ASSERT_EQ(SetText(e.get(), L"0\t0\tV\t0\t0\t2\t1\t2\t0\t"), S_OK);
  ASSERT_EQ(Attach(e.get(), source.get()), S_OK);
  const std::vector<float> out = Pull(FloatFace(e).get(), 100, S_FALSE);
  EXPECT_EQ(out, std::vector<float>(40, 5.0f));
  EXPECT_EQ(object->SamplesDelivered(), 40);
  Pull(FloatFace(e).get(), 10, S_FALSE);
  EXPECT_EQ(object->SamplesDelivered(), 40);
}

TEST_F(EnumeratorTest, UnitTokenBecomesTheOutputUnit) {
  struct Case {
    const wchar_t* text;
    const wchar_t* name;
  } const cases[] = {{L"0\t0\tbar\t0\t0\t0\t0\t", L"bar"},
                     {L"0\t0\tINVALID_UNIT\t0\t0\t0\t0\t", L""}};
  for (const Case& c : cases) {
    auto e = NewEnumerator();
    ASSERT_EQ(SetText(e.get(), c.text), S_OK);
    ComPtr<IUnknown> unknown;
    int context = 0;
    void* contextOut = nullptr;
    IUnknown* sources[] = {nullptr};
    EXPECT_EQ(e->SetSources(nullptr, 1, sources, sources, &context), E_FAIL);
    ASSERT_EQ(e->GetOutput(&contextOut, unknown.put()), S_OK);
    EXPECT_EQ(contextOut, &context);
    ComPtr<Host::IUnitName> unit;
    ASSERT_EQ(unknown.QueryTo(Host::IID_IUnitName, unit), S_OK);
    ITarnString* name = nullptr;
    ASSERT_EQ(unit->GetName(FALSE, &name), S_OK);
    EXPECT_EQ(TarnString::AdoptHost(name), c.name);
    std::int32_t prefix = 0, kind = -1;
    EXPECT_EQ(unit->GetPrefixIndex(&prefix), S_OK);
    EXPECT_EQ(unit->GetUnitKind(&kind), S_OK);
    EXPECT_EQ(prefix, 1);
    EXPECT_EQ(kind, 0);
  }
}

TEST_F(EnumeratorTest, ReportsItsConstantsAndKeepsItsText) {
  auto e = NewEnumerator();
  std::int32_t v = 0;
  EXPECT_EQ(e->GetBufferHint(&v), S_OK);
  EXPECT_EQ(v, 0x8000);
  EXPECT_EQ(e->GetKindCode(&v), S_OK);
  EXPECT_EQ(v, static_cast<std::int32_t>(0x801B0001u));
  EXPECT_EQ(e->GetCapabilities(nullptr, 1, &v), S_OK);
  EXPECT_EQ(v, 0x40000000);
  EXPECT_EQ(e->GetCapabilities(nullptr, 0, &v), S_OK);
  EXPECT_EQ(v, 0);
  EXPECT_EQ(e->GetClassCode(&v), S_OK);
  ComPtr<IUnknown> cls;
  EXPECT_EQ(e->GetClass(cls.put()), S_OK);
  EXPECT_FALSE(cls);
  EXPECT_EQ(e->Reserved12(), S_OK);
  EXPECT_EQ(e->Reserved13(), S_OK);

  ITarnString* text = nullptr;
  ASSERT_EQ(e->GetParameters(&text), S_OK);
  EXPECT_EQ(TarnString::AdoptHost(text), L"");
  const wchar_t* const kText = L"0\t0\tV\t0\t0\t2\t1\t2\t0\t";
  ASSERT_EQ(SetText(e.get(), kText), S_OK);
  ASSERT_EQ(e->GetParameters(&text), S_OK);
  EXPECT_EQ(TarnString::AdoptHost(text), kText);
}

TEST_F(EnumeratorTest, WithoutSourceReportsFailure) {
  auto e = NewEnumerator();
  auto f = FloatFace(e);
  EXPECT_EQ(e->SetSources(nullptr, 0, nullptr, nullptr, nullptr), E_FAIL);
  EXPECT_EQ(e->Seek(3), E_FAIL);
  std::int32_t position = 0;
  EXPECT_EQ(f->GetPosition(&position), E_FAIL);
  EXPECT_EQ(position, -1);
  std::int16_t state = 0;
  EXPECT_EQ(f->GetState16(&state), E_FAIL);
  EXPECT_EQ(state, -1);
  Host::RateInfo rate = {7, 7, 7.0};
  EXPECT_EQ(e->GetRate(nullptr), E_INVALIDARG);
  EXPECT_EQ(f->GetRate(&rate), E_FAIL);
  EXPECT_EQ(rate.numerator, 1);
  EXPECT_EQ(rate.denominator, 1);
  EXPECT_EQ(rate.offset, 0.0);
  float value = 0;
  std::uint32_t fetched = 9;
  EXPECT_EQ(f->Next(1, &value, &fetched), E_FAIL);
  EXPECT_EQ(fetched, 0u);
}

TEST_F(EnumeratorTest, PassesPositionRateAndStateToTheSource) {
  auto e = NewEnumerator();
  auto source = ComPtr<Host::IEnumFloatEx>::Adopt(
      Vela::ChannelEnum::Create(Ramp(50), Host::RateInfo{48000, 1, 0.5}, true));
  ASSERT_EQ(Attach(e.get(), source.get()), S_OK);
  auto f = FloatFace(e);
  Host::RateInfo rate{};
  EXPECT_EQ(e->GetRate(&rate), S_OK);
  EXPECT_EQ(rate.numerator, 48000);
  EXPECT_EQ(rate.offset, 0.5);
  std::int16_t state = 0;
  EXPECT_EQ(f->GetState16(&state), S_OK);
  EXPECT_EQ(state, -1);
  std::int32_t skipped = 0, position = 0;
  EXPECT_EQ(f->SkipEx(5, &skipped), S_OK);
  EXPECT_EQ(f->GetPosition(&position), S_OK);
  EXPECT_EQ(position, 5);
  EXPECT_EQ(e->ReleaseSource(), S_OK);
  EXPECT_EQ(f->GetPosition(&position), E_FAIL);
}

TEST_F(EnumeratorTest, SeekMovesTheSourceBothWays) {
  const auto ramp = Ramp(100);
  auto e = NewEnumerator();
  auto source = Source(ramp);
  ASSERT_EQ(Attach(e.get(), source.get()), S_OK);
  auto f = FloatFace(e);
  EXPECT_EQ(e->Seek(60), S_OK);
  EXPECT_EQ(Pull(f.get(), 1), std::vector<float>{(*ramp)[60]});
  EXPECT_EQ(e->Seek(10), S_OK);
  EXPECT_EQ(Pull(f.get(), 1), std::vector<float>{(*ramp)[10]});
  EXPECT_EQ(e->Seek(11), S_OK); // already there
  EXPECT_EQ(Pull(f.get(), 1), std::vector<float>{(*ramp)[11]});

  // A calculated source is sought through its own Seek.
  auto outer = NewEnumerator();
  ASSERT_EQ(SetText(outer.get(), L"0\t0\tV\t0\t0\t2\t0\t2\t0\t"), S_OK);
  ASSERT_EQ(Attach(outer.get(), f.get()), S_OK);
  EXPECT_EQ(outer->Seek(40), S_OK);
  EXPECT_EQ(Pull(FloatFace(outer).get(), 1), std::vector<float>{2 * (*ramp)[40]});
  EXPECT_EQ(outer->Seek(20), S_OK);
  EXPECT_EQ(Pull(FloatFace(outer).get(), 1), std::vector<float>{2 * (*ramp)[20]});
}

TEST_F(EnumeratorTest, CloneTakenMidStreamContinuesIdentically) {
  auto e = NewEnumerator();
  auto source = Source(Ramp(200));
  ASSERT_EQ(SetText(e.get(), L"1\t0\tV\t0\t0\t3\t0.5\t-1\t0.25\t0\t"), S_OK);
  ASSERT_EQ(Attach(e.get(), source.get()), S_OK);
  auto f = FloatFace(e);
  Pull(f.get(), 17);

  ComPtr<Host::ICalcEnum> copy;
  ASSERT_EQ(e->Clone(nullptr, copy.put()), S_OK);
  ComPtr<Host::IEnumFloatEx> floatCopy;
  ASSERT_EQ(f->Clone(floatCopy.put()), S_OK);
  ComPtr<Host::ICalcEnum> floatCopyCalc;
  ASSERT_EQ(floatCopy.QueryTo(Host::IID_ICalcEnum, floatCopyCalc), S_OK);

  const std::vector<float> expected = Pull(f.get(), 50);
  EXPECT_EQ(Pull(FloatFace(copy).get(), 50), expected);
  EXPECT_EQ(Pull(floatCopy.get(), 50), expected);

  // Independent from here on: a new text on the copy leaves the original alone.
  ASSERT_EQ(SetText(copy.get(), L"0\t0\tV\t0\t0\t0\t0\t"), S_OK);
  const std::vector<float> original = Pull(f.get(), 5);
  EXPECT_NE(Pull(FloatFace(copy).get(), 5), original);
  EXPECT_EQ(Pull(floatCopy.get(), 5), original);

  // The text and the output unit are shared; the calculation variables are not copied.
  ITarnString* a = nullptr;
  ITarnString* b = nullptr;
  ASSERT_EQ(e->GetParameters(&a), S_OK);
  ASSERT_EQ(floatCopyCalc->GetParameters(&b), S_OK);
  EXPECT_EQ(a, b);
  TarnString::AdoptHost(a);
  TarnString::AdoptHost(b);
}

TEST_F(EnumeratorTest, CalculationVariablesAnswerUnknownRequests) {
  auto e = NewEnumerator();
  ComPtr<IUnknown> any;
  EXPECT_EQ(e->QueryInterface(kCalcVariablesIid, any.put_void()), E_NOINTERFACE);
  EXPECT_FALSE(any);

  ComPtr<Host::ITarnSetCalcVariables> setter;
  ASSERT_EQ(e.QueryTo(Host::IID_ITarnSetCalcVariables, setter), S_OK);
  auto variables = ComPtr<IUnknown>::Adopt(static_cast<ICalcVariables*>(CalcVariables::Create()));
  ASSERT_EQ(setter->SetCalcVariables(variables.get()), S_OK);
  EXPECT_EQ(e->QueryInterface(kCalcVariablesIid, any.put_void()), S_OK);
  EXPECT_EQ(any.get(), variables.get());

  ComPtr<Host::ICalcEnum> copy;
  ASSERT_EQ(e->Clone(nullptr, copy.put()), S_OK);
  EXPECT_EQ(copy->QueryInterface(kCalcVariablesIid, any.put_void()), E_NOINTERFACE);

  any.reset();
  copy.reset();
  setter.reset();
  e.reset();
  EXPECT_EQ(variables->AddRef(), 2u) << "only the test's reference is left";
  variables->Release();
}

TEST_F(EnumeratorTest, PlainQueryInterfaceAndReferenceCounts) {
  auto e = NewEnumerator();
  ComPtr<IUnknown> unknown;
  ComPtr<Host::IEnumFloatEx> floatFace;
  ComPtr<Host::IEnumExBase> baseFace;
  ComPtr<Host::ITarnSetCalcVariables> setter;
  ASSERT_EQ(e.QueryTo(IID_IUnknown, unknown), S_OK);
  ASSERT_EQ(e.QueryTo(Host::IID_IEnumFloatEx, floatFace), S_OK);
  ASSERT_EQ(e.QueryTo(Host::IID_IEnumExBase, baseFace), S_OK);
  ASSERT_EQ(e.QueryTo(Host::IID_ITarnSetCalcVariables, setter), S_OK);
  EXPECT_EQ(unknown.get(), static_cast<IUnknown*>(e.get()));
  EXPECT_EQ(static_cast<Host::IEnumExBase*>(floatFace.get()), baseFace.get());
  // Every face reaches the same identity.
  ComPtr<IUnknown> fromFloat, fromSetter;
  ASSERT_EQ(floatFace.QueryTo(IID_IUnknown, fromFloat), S_OK);
  ASSERT_EQ(setter.QueryTo(IID_IUnknown, fromSetter), S_OK);
  EXPECT_EQ(fromFloat.get(), unknown.get());
  EXPECT_EQ(fromSetter.get(), unknown.get());
  EXPECT_EQ(e->QueryInterface(IID_IUnknown, nullptr), E_INVALIDARG);
  // Counts: the test holds 7 references now (e and six faces).
  EXPECT_EQ(e->AddRef(), 8u);
  EXPECT_EQ(e->Release(), 7u);
}

TEST_F(EnumeratorTest, AggregatedFacesDelegateToTheOuterObject) {
  auto outer = ComPtr<Outer>::Adopt(Outer::Create());
  auto* agg = new CalcEnums::CalcEnumAgg<MPCalibrationEnum>(nullptr, nullptr,
                                                            static_cast<IOuter*>(outer.get()));
  outer->inner = ComPtr<IUnknown>::Adopt(agg->NonDelegating()); // the outer owns it now
  const std::int32_t live = MPCalibration::LiveObjectCounter::Count();

  ComPtr<IUnknown> self;
  ASSERT_EQ(outer->inner.QueryTo(IID_IUnknown, self), S_OK);
  EXPECT_EQ(self.get(), outer->inner.get());
  self.reset();

  const int before = outer->delegatedAddRefs;
  ComPtr<Host::ICalcEnum> calc;
  ASSERT_EQ(outer->inner.QueryTo(Host::IID_ICalcEnum, calc), S_OK);
  EXPECT_EQ(outer->delegatedAddRefs, before + 1) << "the face's reference counts on the outer";

  // Every face answers as the outer object.
  ComPtr<IOuter> viaFace;
  ASSERT_EQ(calc.QueryTo(kOuterIid, viaFace), S_OK);
  EXPECT_EQ(viaFace.get(), static_cast<IOuter*>(outer.get()));
  ComPtr<IUnknown> identity;
  ASSERT_EQ(calc.QueryTo(IID_IUnknown, identity), S_OK);
  EXPECT_EQ(identity.get(), static_cast<IUnknown*>(static_cast<IOuter*>(outer.get())));

  // A clone under a new outer comes back as its non-delegating unknown.
  auto outer2 = ComPtr<Outer>::Adopt(Outer::Create());
  Host::ICalcEnum* cloned = nullptr;
  ASSERT_EQ(calc->Clone(static_cast<IOuter*>(outer2.get()), &cloned), S_OK);
  outer2->inner = ComPtr<IUnknown>::Adopt(reinterpret_cast<IUnknown*>(cloned));
  ComPtr<Host::IEnumFloatEx> cloneFace;
  ASSERT_EQ(outer2->inner.QueryTo(Host::IID_IEnumFloatEx, cloneFace), S_OK);
  ComPtr<IOuter> cloneOuter;
  ASSERT_EQ(cloneFace.QueryTo(kOuterIid, cloneOuter), S_OK);
  EXPECT_EQ(cloneOuter.get(), static_cast<IOuter*>(outer2.get()));
  EXPECT_EQ(MPCalibration::LiveObjectCounter::Count(), live + 1);

  // Dropping the non-delegating references ends both objects, whatever the outers hold.
  cloneOuter.reset();
  cloneFace.reset();
  outer2->inner.reset();
  identity.reset();
  viaFace.reset();
  calc.reset();
  outer->inner.reset();
  EXPECT_EQ(MPCalibration::LiveObjectCounter::Count(), live - 1);
}

TEST_F(EnumeratorTest, AggregatableWithoutOuterBehavesAsPlain) {
  auto* agg = new CalcEnums::CalcEnumAgg<MPCalibrationEnum>(nullptr, nullptr, nullptr);
  auto e = ComPtr<Host::ICalcEnum>::Adopt(agg);
  auto source = Source(Ramp(20));
  ASSERT_EQ(SetText(e.get(), L"0\t0\tV\t0\t0\t2\t1\t2\t0\t"), S_OK);
  ASSERT_EQ(Attach(e.get(), source.get()), S_OK);
  EXPECT_EQ(Pull(FloatFace(e).get(), 2), (std::vector<float>{-5, -4}));
  ComPtr<IUnknown> a, b;
  ASSERT_EQ(e.QueryTo(IID_IUnknown, a), S_OK);
  ASSERT_EQ(FloatFace(e).QueryTo(IID_IUnknown, b), S_OK);
  EXPECT_EQ(a.get(), b.get());
  EXPECT_EQ(a.get(), agg->NonDelegating());

  ComPtr<Host::ICalcEnum> copy;
  ASSERT_EQ(e->Clone(nullptr, copy.put()), S_OK);
  EXPECT_EQ(Pull(FloatFace(copy).get(), 2), (std::vector<float>{-3, -2}));
  ComPtr<Host::IEnumFloatEx> floatCopy;
  ASSERT_EQ(FloatFace(e)->Clone(floatCopy.put()), S_OK);
  EXPECT_EQ(Pull(floatCopy.get(), 1), std::vector<float>{-3});
}

} // namespace

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "Document.h"
#include "HostApplication.h"
#include "HostDataSource.h"
#include "InProcessHost.h"
#include "foundation/win/ComPtr.h"
#include "foundation/win/HostServices.h"
#include "foundation/win/TarnString.h"
#include "hostapi/HostInterfaces.h"
#include "multipointcalibration/win/LiveObjectCounter.h"
#include "multipointcalibration/win/MPCalibrationEnum.h"
#include "multipointcalibration/win/MPCalibrationExt.h"
#include "multipointcalibration/win/MPCalibrationExtSettings.h"
#include "multipointcalibration/win/ModuleObjects.h"
#include "units/win/UnitEntry.h"

using Tarn::ComPtr;
namespace Module = MPCalibration::ModuleObjects;

namespace {

// Calls slot `n` of an object's interface table, as a host compiled elsewhere does.
template <class R, class... A> R Slot(void* object, int n, A... args) {
  using Fn = R(STDMETHODCALLTYPE*)(void*, A...);
  return reinterpret_cast<Fn*>(*static_cast<void***>(object))[n](object, args...);
}

std::int32_t ExpectedCode(REFGUID clsid, std::int32_t low) {
  return static_cast<std::int32_t>(
      (static_cast<std::uint32_t>(Vela::HostApplication::Instance().CodeOf(clsid)) << 16) |
      static_cast<std::uint32_t>(low));
}

// One host-facing object whose last reference the test owns, reached through the face whose
// table holds the destructor slot.
struct Made {
  void* face;
  // What the destructor slot returns: the object's address.
  void* address;
  // Calls the slot just before the destructor slot, so that a shifted table shows.
  std::function<void(void* face)> lastSlotBefore;
  // True once the object is gone, where more than the live-object count shows it (optional).
  std::function<bool()> gone;
  // Host objects the object borrows, kept until the case is done.
  std::shared_ptr<void> borrowed;

  Made(void* f, void* a, std::function<void(void*)> probe)
      : face(f), address(a), lastSlotBefore(std::move(probe)) {}
};

struct DestructorCase {
  const char* label;
  int destructorSlot;
  // Module objects that go with the object (an extension takes its settings along).
  std::int32_t counted;
  std::function<Made()> make;
};

class DestructorSlotTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_EQ(host_.Status(), S_OK);
    ASSERT_EQ(Module::RegisterClassObjects(*MPCalibration::HostServices::Registrar()), S_OK);
  }
  void TearDown() override { EXPECT_EQ(MPCalibration::LiveObjectCounter::Count(), 0); }

  Vela::InProcessHost host_;
};

Made SettingsObject() {
  Host::IPersistObject* face = MPCalibration::MPCalibrationExt::Settings::Create().release();
  return Made(face, face, [](void* f) {
    std::int32_t code = 0;
    ASSERT_EQ(Slot<HRESULT>(f, 5, &code), S_OK);
    EXPECT_EQ(code, ExpectedCode(Host::CLSID_MPCalibration, 1));
  });
}

Made ExtensionObject() {
  auto document =
      std::make_shared<Vela::Document>(std::vector<Vela::Document::Channel>{{L"Pressure", L"V"}});
  document->AddRecord({Vela::Ramp(4, 0.0f, 1.0f)});
  const auto source = ComPtr<Vela::HostDataSource>::Adopt(Vela::HostDataSource::Create(document));
  ComPtr<IUnknown> result;
  EXPECT_EQ(Module::CalculationClass()->CreateCalculation(
                0, static_cast<Host::IHostDataSource*>(source.get()), result.put()),
            S_OK);
  ComPtr<Host::IChannelCalc> calc;
  EXPECT_EQ(result.QueryTo(calc), S_OK);
  result.reset();
  Host::IChannelCalc* face = calc.release();
  Made made(face, face, [](void* f) {
    std::int32_t flags = 0;
    EXPECT_EQ(Slot<HRESULT>(f, 7, &flags), S_OK);
    EXPECT_EQ(flags, 0x10000000);
    EXPECT_EQ(Slot<HRESULT>(f, 10), S_OK);
  });
  // The host keeps the data source alive for longer than the calculations it made from it.
  made.borrowed = std::make_shared<ComPtr<Vela::HostDataSource>>(source);
  return made;
}

void ExpectEnumeratorKind(void* face) {
  std::int32_t code = 0;
  ASSERT_EQ(Slot<HRESULT>(face, 16, &code), S_OK);
  EXPECT_EQ(code, MPCalibration::MPCalibrationEnum::kKindCode);
  Host::RateInfo rate{};
  EXPECT_EQ(Slot<HRESULT>(face, 17, &rate), E_FAIL);
  EXPECT_EQ(rate.numerator, 1);
}

Made Enumerator() {
  Host::ICalcEnum* face = nullptr;
  EXPECT_EQ(Module::EnumeratorClass()->CreateEnum(nullptr, &face), S_OK);
  return Made(face, face, ExpectEnumeratorKind);
}

// The aggregated variant under an outer object (a unit entry stands in for it). The outer's only
// link to the enumerator is its non-delegating unknown; the host destroys the enumerator through
// its ICalcEnum face and forgets that link.
Made AggregatedEnumerator() {
  auto outer = std::make_shared<ComPtr<Host::IUnitName>>(Tarn::UnitEntry::Create());
  IUnknown* inner = nullptr;
  EXPECT_EQ(Module::EnumeratorClass()->CreateEnumAggregated(outer->get(), nullptr, &inner), S_OK);
  Host::ICalcEnum* face = nullptr;
  EXPECT_EQ(inner->QueryInterface(Host::IID_ICalcEnum, reinterpret_cast<void**>(&face)), S_OK);
  // That reference was counted on the outer object.
  face->Release();
  Made made(face, face, ExpectEnumeratorKind);
  made.borrowed = outer;
  return made;
}

// The entry's destructor slot is on its IPersistObject face; it returns the entry's address. The
// entry shares the test's name string, so its end shows in the string's count.
Made UnitEntryObject() {
  auto name = std::make_shared<Tarn::TarnString>(L"mmHg");
  ComPtr<Host::IUnitName> unit = Tarn::UnitEntry::Create();
  EXPECT_EQ(unit->SetName(name->get()), S_OK);
  ComPtr<Host::IPersistObject> persist;
  EXPECT_EQ(unit.QueryTo(persist), S_OK);
  void* address = unit.get();
  unit.reset();
  Made made(persist.release(), address, [](void* f) {
    std::int32_t code = 0;
    ASSERT_EQ(Slot<HRESULT>(f, 5, &code), S_OK);
    EXPECT_EQ(code, ExpectedCode(Host::CLSID_MPCalibration, 19));
  });
  made.gone = [name] {
    VARIANT_BOOL shared = VARIANT_TRUE;
    return SUCCEEDED(name->get()->IsShared(&shared)) && shared == VARIANT_FALSE;
  };
  return made;
}

Made StringObject() {
  ITarnString* face = Tarn::TarnString(L"calibrated").release();
  return Made(face, face, [](void* f) { EXPECT_EQ(Slot<LONG>(f, 15), 10); });
}

const DestructorCase kCases[] = {
    {"settings", 6, 1, SettingsObject},    {"extension", 11, 2, ExtensionObject},
    {"enumerator", 18, 1, Enumerator},     {"aggregated enumerator", 18, 1, AggregatedEnumerator},
    {"unit entry", 6, 0, UnitEntryObject}, {"string", 19, 0, StringObject},
};

TEST_F(DestructorSlotTest, HostDestroysAndFreesEachObjectThroughItsDestructorSlot) {
  for (const DestructorCase& c : kCases) {
    SCOPED_TRACE(c.label);
    const std::int32_t before = MPCalibration::LiveObjectCounter::Count();
    Made made = c.make();
    ASSERT_NE(made.face, nullptr);
#ifdef MPCAL_COUNT_OBJECTS
    EXPECT_EQ(MPCalibration::LiveObjectCounter::Count(), before + c.counted);
#endif
    made.lastSlotBefore(made.face);
    if (made.gone) {
      EXPECT_FALSE(made.gone());
    }

    // Bit 0 set: destroy and free, as the host's delete does. One slot, one call.
    EXPECT_EQ(Slot<void*>(made.face, c.destructorSlot, 1u), made.address);
    EXPECT_EQ(MPCalibration::LiveObjectCounter::Count(), before);
    if (made.gone) {
      EXPECT_TRUE(made.gone());
    }
  }
}

// The three class objects have no destructor slot: the host gives back its references with
// Release, and the module's objects stay (the static ones count nothing; the settings class keeps
// the module's own reference).
TEST_F(DestructorSlotTest, ClassObjectsOutliveTheHostsReleases) {
  IUnknown* const objects[] = {Module::CalculationClass(), Module::SettingsClass(),
                               Module::EnumeratorClass()};
  for (IUnknown* object : objects) {
    Slot<ULONG>(object, 1);
    EXPECT_GE(Slot<ULONG>(object, 2), 1u);
    std::int32_t code = 0;
    EXPECT_EQ(Slot<HRESULT>(object, 3, &code), S_OK);
    EXPECT_NE(code, 0);
  }
}

// Each interface names the status its null out-pointers get; QueryInterface of an object follows
// its first interface.
TEST_F(DestructorSlotTest, NullOutPointerStatusFollowsTheInterface) {
  const auto settings = MPCalibration::MPCalibrationExt::Settings::Create();
  const ComPtr<Host::IUnitName> unit = Tarn::UnitEntry::Create();
  ComPtr<Host::ICalcEnum> enumerator;
  ASSERT_EQ(Module::EnumeratorClass()->CreateEnum(nullptr, enumerator.put()), S_OK);
  const Tarn::TarnString text(L"x");

  struct Case {
    const char* label;
    IUnknown* object;
    HRESULT status;
  };
  const Case cases[] = {
      {"settings", static_cast<Host::IPersistObject*>(settings.get()),
       Host::IPersistObject::nullOut},
      {"unit entry", unit.get(), Host::IUnitName::nullOut},
      {"enumerator", enumerator.get(), Host::ICalcEnum::nullOut},
      {"calculation class", Module::CalculationClass(), Host::ICalculationClass::nullOut},
      {"settings class", Module::SettingsClass(), Host::IPersistClassObject::nullOut},
      {"enumerator class", Module::EnumeratorClass(), Host::ICalcEnumClass2::nullOut},
      {"string", text.get(), ITarnString::nullOut},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(c.object->QueryInterface(IID_IUnknown, nullptr), c.status);
  }
  std::int32_t* none = nullptr;
  EXPECT_EQ(settings->GetClassCode(none), Host::IPersistObject::nullOut);
  EXPECT_EQ(enumerator->GetKindCode(none), Host::ICalcEnum::nullOut);
  EXPECT_EQ(Module::CalculationClass()->GetClassCode(none), Host::ICalculationClass::nullOut);
  EXPECT_EQ(text.get()->GetLength(nullptr), ITarnString::nullOut);
}

} // namespace

#include <windows.h>

#include <oleauto.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HostApplication.h"
#include "InProcessHost.h"
#include "MemoryObjectStream.h"
#include "foundation/XHResult.h"
#include "foundation/win/ComPtr.h"
#include "foundation/win/HostServices.h"
#include "foundation/win/TarnString.h"
#include "foundation/win/UniqueHandle.h"
#include "hostapi/HostInterfaces.h"
#include "multipointcalibration/win/LiveObjectCounter.h"
#include "multipointcalibration/win/ModuleObjects.h"

using Tarn::ComPtr;
namespace Module = MPCalibration::ModuleObjects;

namespace {

// Calls slot `n` of an object's interface table, as a host compiled elsewhere does.
template <class R, class... A> R Slot(void* object, int n, A... args) {
  using Fn = R(STDMETHODCALLTYPE*)(void*, A...);
  return reinterpret_cast<Fn*>(*static_cast<void***>(object))[n](object, args...);
}

std::wstring HostText(ITarnString* text) {
  const auto held = Tarn::TarnString::AdoptHost(text);
  return held.str();
}

class ModuleTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_EQ(host_.Status(), S_OK);
    ASSERT_EQ(Module::RegisterClassObjects(*MPCalibration::HostServices::Registrar()), S_OK);
  }
  void TearDown() override { EXPECT_EQ(MPCalibration::LiveObjectCounter::Count(), 0); }

  static std::int32_t ExpectedCode(REFGUID clsid, std::int32_t low) {
    return static_cast<std::int32_t>(
        (static_cast<std::uint32_t>(Vela::HostApplication::Instance().CodeOf(clsid)) << 16) |
        static_cast<std::uint32_t>(low));
  }

  Vela::InProcessHost host_;
};

struct ClassCase {
  const char* label;
  IUnknown* (*object)();
  const wchar_t* name;
  GUID clsid;
  std::int32_t lowWord;
  GUID kind;
  GUID answered[2];
  GUID refused;
};

const ClassCase kClasses[] = {
    {"calculation",
     [] { return static_cast<IUnknown*>(Module::CalculationClass()); },
     L"Multipoint Calibration",
     Host::CLSID_MPCalibration,
     0,
     Host::KIND_CalculationClass,
     {Host::IID_IVelaClassObject, Host::IID_ICalculationClass},
     Host::IID_IPersistClassObject},
    {"settings",
     [] { return static_cast<IUnknown*>(Module::SettingsClass()); },
     L"Multipoint CalibrationSettings",
     Host::CLSID_MPCalibration,
     1,
     Host::KIND_SettingsClass,
     {Host::IID_IPersistClassObject, Host::IID_IGenericClassObject},
     Host::IID_ICalculationClass},
    {"enumerator",
     [] { return static_cast<IUnknown*>(Module::EnumeratorClass()); },
     L"MPCalibrationCalcEnum",
     Host::CLSID_MPCalibrationEnum,
     0,
     Host::KIND_EnumeratorClass,
     {Host::IID_IVelaClassObject, Host::IID_ICalcEnumClass2},
     Host::IID_ICalculationClass},
};

TEST_F(ModuleTest, RegistrarReceivesEnumeratorThenSettingsThenCalculationClass) {
  const auto registered = Vela::HostApplication::Instance().Registered();
  ASSERT_EQ(registered.size(), 3u);
  EXPECT_EQ(registered[0].get(), static_cast<IUnknown*>(Module::EnumeratorClass()));
  EXPECT_EQ(registered[1].get(), static_cast<IUnknown*>(Module::SettingsClass()));
  EXPECT_EQ(registered[2].get(), static_cast<IUnknown*>(Module::CalculationClass()));
}

TEST_F(ModuleTest, CommonClassObjectSlots) {
  for (const ClassCase& c : kClasses) {
    SCOPED_TRACE(c.label);
    IUnknown* object = c.object();

    std::int32_t code = 0;
    ASSERT_EQ(Slot<HRESULT>(object, 3, &code), S_OK);
    EXPECT_EQ(code, ExpectedCode(c.clsid, c.lowWord));
    std::int32_t again = 0;
    ASSERT_EQ(Slot<HRESULT>(object, 3, &again), S_OK);
    EXPECT_EQ(again, code);

    const GUID* kind = nullptr;
    ASSERT_EQ(Slot<HRESULT>(object, 4, &kind), S_OK);
    ASSERT_NE(kind, nullptr);
    EXPECT_TRUE(IsEqualGUID(*kind, c.kind));
    const GUID copy = c.kind;
    EXPECT_EQ(Slot<HRESULT>(object, 6, kind), S_OK);
    EXPECT_EQ(Slot<HRESULT>(object, 6, &copy), S_OK);
    const GUID other = c.refused;
    EXPECT_EQ(Slot<HRESULT>(object, 6, &other), S_FALSE);
    EXPECT_EQ(Slot<HRESULT>(object, 6, static_cast<const GUID*>(nullptr)), S_FALSE);

    // A BSTR left in the out-argument is replaced (and freed) by the new name.
    Tarn::unique_bstr name(SysAllocString(L"left over from an earlier call"));
    ASSERT_EQ(Slot<HRESULT>(object, 5, name.addressof()), S_OK);
    ASSERT_NE(name.get(), nullptr);
    EXPECT_EQ(std::wstring(name.get(), SysStringLen(name.get())), c.name);
  }
}

TEST_F(ModuleTest, EachClassObjectAnswersItsOwnTable) {
  for (const ClassCase& c : kClasses) {
    SCOPED_TRACE(c.label);
    IUnknown* object = c.object();
    for (const GUID& iid : {IID_IUnknown, c.answered[0], c.answered[1]}) {
      void* face = nullptr;
      ASSERT_EQ(object->QueryInterface(iid, &face), S_OK);
      EXPECT_EQ(face, object);
      static_cast<IUnknown*>(face)->Release();
    }
    void* face = reinterpret_cast<void*>(1);
    EXPECT_EQ(object->QueryInterface(c.refused, &face), E_NOINTERFACE);
    EXPECT_EQ(face, nullptr);
  }
}

TEST_F(ModuleTest, StaticClassObjectsAreNotCountedAndTheSettingsClassIs) {
  for (IUnknown* object : {static_cast<IUnknown*>(Module::CalculationClass()),
                           static_cast<IUnknown*>(Module::EnumeratorClass())}) {
    EXPECT_EQ(object->AddRef(), 1u);
    EXPECT_EQ(object->Release(), 1u);
  }
  // The module holds one reference and the registrar another.
  IUnknown* settingsClass = Module::SettingsClass();
  EXPECT_EQ(settingsClass->AddRef(), 3u);
  EXPECT_EQ(settingsClass->Release(), 2u);
}

TEST_F(ModuleTest, CalculationClassSlots) {
  Host::ICalculationClass* calc = Module::CalculationClass();
  ITarnString* text = nullptr;
  ASSERT_EQ(Slot<HRESULT>(calc, 7, &text), S_OK);
  EXPECT_EQ(HostText(text), L"Multipoint Calibration");
  ASSERT_EQ(Slot<HRESULT>(calc, 8, &text), S_OK);
  EXPECT_EQ(HostText(text),
            L"Fits a function to a set of known points using a linear least-squares "
            L"approximation.");
  std::int32_t flags = -1;
  ASSERT_EQ(Slot<HRESULT>(calc, 9, &flags), S_OK);
  EXPECT_EQ(flags, 0);

  // Slot 10 checks its arguments before it runs the settings entry, which only the module's
  // entry code installs: without it nothing is returned.
  Host::IPersistObject* const untouched = reinterpret_cast<Host::IPersistObject*>(1);
  Host::IPersistObject* edited = untouched;
  IUnknown* document = static_cast<IUnknown*>(Module::SettingsClass());
  EXPECT_EQ(calc->EditSettings(nullptr, nullptr, nullptr, nullptr, 0, nullptr, &edited),
            E_INVALIDARG);
  EXPECT_EQ(calc->EditSettings(nullptr, nullptr, document, nullptr, 0, nullptr, nullptr),
            E_INVALIDARG);
  EXPECT_EQ(calc->EditSettings(nullptr, nullptr, document, nullptr, 0, nullptr, &edited),
            E_NOTIMPL);
  EXPECT_EQ(edited, untouched);

  IUnknown* created = reinterpret_cast<IUnknown*>(1);
  EXPECT_EQ(Slot<HRESULT>(calc, 11, std::int32_t{0}, static_cast<IUnknown*>(nullptr), &created),
            E_FAIL);
  EXPECT_EQ(created, nullptr);
}

TEST_F(ModuleTest, EnumeratorClassSlots) {
  Host::ICalcEnumClass2* enumClass = Module::EnumeratorClass();
  ITarnString* text = nullptr;
  ASSERT_EQ(enumClass->GetDisplayName(&text), S_OK);
  EXPECT_EQ(HostText(text), L"MPCalibrationCalcEnum");
  ASSERT_EQ(enumClass->GetDescription(&text), S_OK);
  EXPECT_EQ(HostText(text), L"Fits curves using a Least Squares approximation");
  std::int32_t flags = -1;
  ASSERT_EQ(enumClass->GetFlags(&flags), S_OK);
  EXPECT_EQ(flags, 0);
  void* out = reinterpret_cast<void*>(1);
  EXPECT_EQ(Slot<HRESULT>(enumClass, 10, &out), E_NOTIMPL);
  EXPECT_EQ(out, nullptr);

  ComPtr<Host::ICalcEnum> enumerator;
  ASSERT_EQ(Slot<HRESULT>(enumClass, 11, static_cast<IUnknown*>(nullptr), enumerator.put()), S_OK);
  ASSERT_TRUE(enumerator);
  EXPECT_EQ(MPCalibration::LiveObjectCounter::Count(), 1);
  ComPtr<IUnknown> creator;
  ASSERT_EQ(enumerator->GetClass(creator.put()), S_OK);
  EXPECT_EQ(creator.get(), static_cast<IUnknown*>(enumClass));

  ComPtr<IUnknown> plain;
  ASSERT_EQ(Slot<HRESULT>(enumClass, 12, static_cast<IUnknown*>(nullptr),
                          static_cast<IUnknown*>(nullptr), plain.put()),
            S_OK);
  ComPtr<Host::ICalcEnum> plainEnum;
  EXPECT_EQ(plain.QueryTo(plainEnum), S_OK);
}

// An outer object that counts the calls its aggregated enumerator delegates to it.
struct CountingOuter final : IUnknown {
  LONG refs = 1;
  int queries = 0;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
    ++queries;
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs; }
};

TEST_F(ModuleTest, AggregatedEnumeratorDelegatesToItsOuterObject) {
  CountingOuter outer;
  IUnknown* inner = nullptr;
  ASSERT_EQ(Module::EnumeratorClass()->CreateEnumAggregated(&outer, nullptr, &inner), S_OK);
  ASSERT_NE(inner, nullptr);
  EXPECT_EQ(MPCalibration::LiveObjectCounter::Count(), 1);

  Host::ICalcEnum* face = nullptr;
  ASSERT_EQ(inner->QueryInterface(Host::IID_ICalcEnum, reinterpret_cast<void**>(&face)), S_OK);
  EXPECT_EQ(outer.refs, 2); // the face's reference is the outer object's
  void* unknown = nullptr;
  EXPECT_EQ(face->QueryInterface(IID_IUnknown, &unknown), E_NOINTERFACE);
  EXPECT_EQ(outer.queries, 1);
  face->Release();
  EXPECT_EQ(outer.refs, 1);
  EXPECT_EQ(inner->Release(), 0u);
}

TEST_F(ModuleTest, SettingsClassCreatesAndLoadsSettings) {
  Host::IPersistClassObject* settingsClass = Module::SettingsClass();

  ComPtr<Host::IPersistObject> created;
  ASSERT_EQ(Slot<HRESULT>(settingsClass, 7, &Host::IID_IPersistObject, created.put_void()), S_OK);
  ASSERT_TRUE(created);
  EXPECT_EQ(MPCalibration::LiveObjectCounter::Count(), 1);
  const auto saved = ComPtr<Vela::MemoryObjectStream>::Adopt(Vela::MemoryObjectStream::Create());
  ASSERT_EQ(created->Save(saved.get()), S_OK);
  created.reset();

  void* refused = reinterpret_cast<void*>(1);
  EXPECT_EQ(Slot<HRESULT>(settingsClass, 7, &Host::IID_ICalcEnum, &refused), E_NOINTERFACE);
  EXPECT_EQ(refused, nullptr);
  EXPECT_EQ(MPCalibration::LiveObjectCounter::Count(), 0);

  saved->Rewind();
  ComPtr<Host::IPersistObject> loaded;
  ASSERT_EQ(
      Slot<HRESULT>(settingsClass, 8, static_cast<Host::IObjectStream*>(saved.get()), loaded.put()),
      S_OK);
  EXPECT_TRUE(loaded);

  // A stream that cannot be read still gives the caller the object, with Load's failure.
  const auto empty = ComPtr<Vela::MemoryObjectStream>::Adopt(Vela::MemoryObjectStream::Create());
  ComPtr<Host::IPersistObject> failed;
  const HRESULT status =
      Slot<HRESULT>(settingsClass, 8, static_cast<Host::IObjectStream*>(empty.get()), failed.put());
  EXPECT_TRUE(FAILED(status));
  EXPECT_TRUE(failed);
}

// A process that serves no host classes and has no host library beside its executable: every
// request for a service gives the reason the library could not be loaded, the second as the
// first (the object system is initialised once, not again on each attempt).
TEST(HostServicesFallbackTest, EveryFailedRequestReportsWhyTheHostLibraryIsMissing) {
  std::wstring library(MAX_PATH, L'\0');
  library.resize(GetModuleFileNameW(nullptr, library.data(), MAX_PATH));
  library.erase(library.find_last_of(L"\\/") + 1);
  library += L"Vela.dll";
  ASSERT_EQ(GetFileAttributesW(library.c_str()), INVALID_FILE_ATTRIBUTES);

  MPCalibration::HostServices::ResetForTesting();
  HRESULT failures[2] = {S_OK, S_OK};
  for (HRESULT& failure : failures) {
    try {
      (void)MPCalibration::HostServices::Registrar();
    } catch (const Tarn::XHResult& e) {
      failure = static_cast<HRESULT>(e.status());
    }
  }
  MPCalibration::HostServices::ResetForTesting();
  EXPECT_EQ(failures[0], HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND));
  EXPECT_EQ(failures[1], failures[0]);
}

} // namespace

#include "multipointcalibration/win/MPCalibrationExtSettings.h"

#include <gtest/gtest.h>

#include "HostApplication.h"
#include "InProcessHost.h"
#include "MemoryObjectStream.h"
#include "foundation/win/ComPtr.h"
#include "multipointcalibration/win/LiveObjectCounter.h"
#include "units/win/UnitEntry.h"

namespace MPCalibration {
namespace {

using Settings = MPCalibrationExt::Settings;
using Tarn::ComPtr;
using Vela::StreamItem;

// Calls a slot of an interface's table by number, as the host does.
template <class R = HRESULT, class... A> R CallSlot(void* face, int slot, A... args) {
  using Fn = R(STDMETHODCALLTYPE*)(void*, A...);
  void** table = *static_cast<void***>(face);
  return reinterpret_cast<Fn>(table[slot])(face, args...);
}

enum Slot { kQueryInterface = 0, kAddRef, kRelease, kLoad, kSave, kGetClassCode };

ComPtr<Vela::MemoryObjectStream> Stream(std::vector<StreamItem> items = {}) {
  return ComPtr<Vela::MemoryObjectStream>::Adopt(
      Vela::MemoryObjectStream::Create(std::move(items)));
}

HRESULT Save(Host::IPersistObject* object, Vela::MemoryObjectStream* stream) {
  return CallSlot(object, kSave, static_cast<Host::IObjectStream*>(stream));
}

HRESULT Load(Host::IPersistObject* object, Vela::MemoryObjectStream* stream) {
  return CallSlot(object, kLoad, static_cast<Host::IObjectStream*>(stream));
}

CalibrationSettings Sample() {
  CalibrationSettings s;
  s.showCalculated = true;
  s.sourceChannel = 1;
  s.decimalPlaces = 2;
  s.fitType = 0;
  s.rawValues = {0, 1.23456789};
  s.calibratedValues = {10, 20};
  s.coefficients = {10, 8.1};
  s.unit = {{2, 9}, L"degrees C"};
  s.rangeTop = 50;
  s.stringSet = {L"x"};
  return s;
}

TEST(SettingsObject, CountsFromZeroAndAnswersTwoInterfaces) {
  const std::int32_t before = LiveObjectCounter::Count();
  {
    const ComPtr<Settings> settings = Settings::Create();
    Host::IPersistObject* face = settings.get();
    EXPECT_EQ(CallSlot<ULONG>(face, kAddRef), 2u); // the holder has the first reference
    EXPECT_EQ(CallSlot<ULONG>(face, kRelease), 1u);

    const GUID accepted[] = {IID_IUnknown, Host::IID_IPersistObject};
    for (const GUID& iid : accepted) {
      void* out = nullptr;
      ASSERT_EQ(CallSlot(face, kQueryInterface, &iid, &out), S_OK);
      EXPECT_EQ(out, static_cast<void*>(face));
      EXPECT_EQ(CallSlot<ULONG>(out, kRelease), 1u);
    }
    const GUID refused[] = {Host::IID_IUnitName, Host::IID_IObjectStream, IID_IDispatch,
                            Host::CLSID_MPCalibration};
    for (const GUID& iid : refused) {
      void* out = face;
      EXPECT_EQ(CallSlot(face, kQueryInterface, &iid, &out), E_NOINTERFACE);
      EXPECT_EQ(out, nullptr);
    }
    EXPECT_EQ(CallSlot(face, kQueryInterface, &IID_IUnknown, static_cast<void**>(nullptr)),
              E_INVALIDARG);
    EXPECT_EQ(LiveObjectCounter::Count(), before + 1);
  }
  EXPECT_EQ(LiveObjectCounter::Count(), before);
}

TEST(SettingsObject, FreshRecordSavesTheVersionTwoItems) {
  const ComPtr<Settings> settings = Settings::Create();
  const auto stream = Stream();
  ASSERT_EQ(Save(settings.get(), stream.get()), S_OK);
  const std::vector<StreamItem> expected = {
      std::int32_t{2},
      std::int32_t{0},
      std::int32_t{-1},
      std::int32_t{3},
      0.0,
      0.0,
      std::int32_t{0},
      std::wstring(L"0\t0\tINVALID_UNIT\t0\t0\t0\t0\t"),
      std::int32_t{1},
      std::wstring(),
      std::int32_t{0},
  };
  EXPECT_EQ(stream->Items(), expected);
}

TEST(SettingsObject, RoundTripThroughTheHostStream) {
  const ComPtr<Settings> saved = Settings::Create(Sample());
  const auto stream = Stream();
  ASSERT_EQ(Save(saved.get(), stream.get()), S_OK);
  stream->Rewind();
  const ComPtr<Settings> loaded = Settings::Create();
  ASSERT_EQ(Load(loaded.get(), stream.get()), S_OK);
  const CalibrationSettings& r = loaded->Record();
  EXPECT_FALSE(r.EqualsForApply(Sample())); // the raw value is rounded
  EXPECT_EQ(r.rawValues, (std::vector<double>{0, 1.23457}));
  EXPECT_EQ(r.unit.name, L"degrees C");
  EXPECT_EQ(r.unit.prefixIndex, 9);
  EXPECT_EQ(r.unit.unitKind, 2);
  EXPECT_EQ(r.stringSet, Sample().stringSet);
  EXPECT_EQ(r.rangeTop, 50);
  EXPECT_EQ(r.coefficients, Sample().coefficients);
}

TEST(SettingsObject, VersionsOnLoad) {
  const auto document = [](std::int32_t version, bool unitBlock) {
    std::vector<StreamItem> items = {version,
                                     std::int32_t{1},
                                     std::int32_t{5},
                                     std::int32_t{2},
                                     1.0,
                                     -1.0,
                                     std::int32_t{0},
                                     std::wstring(L"1\t0\tmV\t0\t0\t0\t0\t")};
    if (unitBlock) {
      items.insert(items.end(), {std::int32_t{10}, std::wstring(L"Pa"), std::int32_t{1}});
    }
    return items;
  };
  {
    const ComPtr<Settings> settings = Settings::Create(Sample());
    const auto stream = Stream(document(3, true));
    EXPECT_EQ(Load(settings.get(), stream.get()), static_cast<HRESULT>(0xA0048205u));
    EXPECT_EQ(stream->Operations(), 1);
    EXPECT_EQ(settings->Record().ToParameterText(), Sample().ToParameterText());
  }
  {
    const ComPtr<Settings> settings = Settings::Create();
    const auto stream = Stream(document(1, false));
    EXPECT_EQ(Load(settings.get(), stream.get()), S_OK);
    EXPECT_EQ(settings->Record().unit.name, L"mV");
    EXPECT_EQ(settings->Record().unit.prefixIndex, 1);
    EXPECT_EQ(settings->Record().fitType, 1);
  }
  {
    const ComPtr<Settings> settings = Settings::Create();
    const auto stream = Stream(document(2, true));
    EXPECT_EQ(Load(settings.get(), stream.get()), S_OK);
    EXPECT_EQ(settings->Record().unit.name, L"Pa");
    EXPECT_EQ(settings->Record().unit.prefixIndex, 10);
  }
  {
    // A version-2 document without its unit block.
    const ComPtr<Settings> settings = Settings::Create();
    const auto stream = Stream(document(2, false));
    EXPECT_EQ(Load(settings.get(), stream.get()), E_FAIL);
    EXPECT_EQ(settings->Record().unit.name, L"mV");
  }
  {
    std::vector<StreamItem> items = document(2, true);
    items[6] = std::int32_t{-4}; // a negative set size
    const ComPtr<Settings> settings = Settings::Create();
    const auto stream = Stream(items);
    EXPECT_EQ(Load(settings.get(), stream.get()), E_FAIL);
  }
  {
    std::vector<StreamItem> items = document(2, true);
    items[6] = std::int32_t{0x7FFFFFFF}; // more strings than the stream holds
    const ComPtr<Settings> settings = Settings::Create();
    const auto stream = Stream(items);
    EXPECT_EQ(Load(settings.get(), stream.get()), E_FAIL);
    // The loop ends at the first item that is not a string; nothing beyond the stream is read.
    EXPECT_LE(settings->Record().stringSet.size(), 1u);
  }
}

TEST(SettingsObject, StreamFailingAtEveryItem) {
  const std::int32_t before = LiveObjectCounter::Count();
  const ComPtr<Settings> source = Settings::Create(Sample());
  const auto full = Stream();
  ASSERT_EQ(Save(source.get(), full.get()), S_OK);
  const long items = static_cast<long>(full->Items().size());
  ASSERT_EQ(items, 12);
  for (long k = 0; k < items; ++k) {
    const auto stream = Stream();
    stream->FailAtItem(k);
    EXPECT_EQ(Save(source.get(), stream.get()), E_FAIL) << k;

    const auto input = Stream(full->Items());
    input->FailAtItem(k);
    const ComPtr<Settings> loaded = Settings::Create();
    EXPECT_EQ(Load(loaded.get(), input.get()), E_FAIL) << k;
    const auto again = Stream();
    EXPECT_EQ(Save(loaded.get(), again.get()), S_OK) << k;
  }
  // Version 1: the status of the parameter-text read (the ninth item) decides.
  std::vector<StreamItem> v1 = full->Items();
  v1[0] = std::int32_t{1};
  v1.resize(9);
  for (long k = 1; k < 10; ++k) {
    const auto input = Stream(v1);
    input->FailAtItem(k);
    const ComPtr<Settings> loaded = Settings::Create();
    const HRESULT status = Load(loaded.get(), input.get());
    if (k < 9) {
      EXPECT_TRUE(FAILED(status)) << k;
    } else {
      EXPECT_EQ(status, S_OK) << k;
    }
  }
  EXPECT_EQ(LiveObjectCounter::Count(), before + 1);
}

TEST(SettingsObject, NullStreamsAndOutArguments) {
  const ComPtr<Settings> settings = Settings::Create();
  EXPECT_EQ(CallSlot(settings.get(), kLoad, static_cast<Host::IObjectStream*>(nullptr)),
            E_INVALIDARG);
  EXPECT_EQ(CallSlot(settings.get(), kSave, static_cast<Host::IObjectStream*>(nullptr)),
            E_INVALIDARG);
  EXPECT_EQ(CallSlot(settings.get(), kGetClassCode, static_cast<std::int32_t*>(nullptr)),
            E_INVALIDARG);
}

TEST(SettingsObject, ClassCodeComesFromTheHostAndIsKept) {
  Vela::InProcessHost host;
  ASSERT_EQ(host.Status(), S_OK);
  const ComPtr<Settings> settings = Settings::Create();
  std::int32_t code = 0;
  ASSERT_EQ(CallSlot(settings.get(), kGetClassCode, &code), S_OK);
  const std::int32_t family = Vela::HostApplication::Instance().CodeOf(Host::CLSID_MPCalibration);
  EXPECT_NE(family, 0);
  EXPECT_EQ(code, family * 65536 + 1);
  std::int32_t again = 0;
  ASSERT_EQ(CallSlot(settings.get(), kGetClassCode, &again), S_OK);
  EXPECT_EQ(again, code);
}

TEST(SettingsObject, OnlyLiveSettingsObjectsAreRecognised) {
  const ComPtr<Settings> settings = Settings::Create();
  EXPECT_EQ(Settings::FromPersistObject(settings.get()), settings.get());
  EXPECT_EQ(Settings::FromPersistObject(nullptr), nullptr);
  const ComPtr<Host::IUnitName> unit = Tarn::UnitEntry::Create();
  ComPtr<Host::IPersistObject> foreign;
  ASSERT_EQ(unit->QueryInterface(Host::IID_IPersistObject, foreign.put_void()), S_OK);
  EXPECT_EQ(Settings::FromPersistObject(foreign.get()), nullptr);
}

} // namespace
} // namespace MPCalibration

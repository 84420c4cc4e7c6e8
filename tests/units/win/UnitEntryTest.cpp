#include "units/win/UnitEntry.h"

#include <gtest/gtest.h>

#include "HostApplication.h"
#include "InProcessHost.h"
#include "MemoryObjectStream.h"
#include "foundation/win/ComPtr.h"
#include "foundation/win/TarnString.h"

namespace Tarn {
namespace {

// Calls a slot of an interface's table by number, as the host does.
template <class R = HRESULT, class... A> R CallSlot(void* face, int slot, A... args) {
  using Fn = R(STDMETHODCALLTYPE*)(void*, A...);
  void** table = *static_cast<void***>(face);
  return reinterpret_cast<Fn>(table[slot])(face, args...);
}

enum UnitNameSlot {
  kGetPrefixIndex = 3,
  kGetName,
  kGetUnitKind,
  kSetPrefixIndex,
  kSetName,
  kSetUnitKind,
  kClone,
  kFormatValue,
};
enum PersistSlot { kLoad = 3, kSave, kGetClassCode };

UnitInfo Unit(std::int32_t prefixIndex, const wchar_t* name, std::int32_t unitKind = 0) {
  UnitInfo unit;
  unit.unitKind = unitKind;
  unit.prefixIndex = prefixIndex;
  unit.name = name;
  return unit;
}

std::wstring NameOf(Host::IUnitName* unit, BOOL withPrefix) {
  ITarnString* name = nullptr;
  EXPECT_EQ(CallSlot(unit, kGetName, withPrefix, &name), S_OK);
  return TarnString::AdoptHost(name).str();
}

ComPtr<ITarnString> NameString(Host::IUnitName* unit) {
  ITarnString* name = nullptr;
  EXPECT_EQ(CallSlot(unit, kGetName, FALSE, &name), S_OK);
  return ComPtr<ITarnString>::Adopt(name);
}

bool IsShared(ITarnString* s) {
  VARIANT_BOOL shared = 0;
  EXPECT_EQ(s->IsShared(&shared), S_OK);
  return shared != 0;
}

TEST(UnitEntry, FreshEntry) {
  const ComPtr<Host::IUnitName> unit = UnitEntry::Create();
  std::int32_t value = -1;
  EXPECT_EQ(CallSlot(unit.get(), kGetPrefixIndex, &value), S_OK);
  EXPECT_EQ(value, 1);
  EXPECT_EQ(CallSlot(unit.get(), kGetUnitKind, &value), S_OK);
  EXPECT_EQ(value, 0);
  EXPECT_EQ(NameOf(unit.get(), TRUE), L"");
  EXPECT_TRUE(IsNoUnit(unit.get()));
}

TEST(UnitEntry, QueryInterfaceFaces) {
  const ComPtr<Host::IUnitName> unit = UnitEntry::Create(Unit(7, L"V"));
  ComPtr<IUnknown> unknown;
  ASSERT_EQ(unit->QueryInterface(IID_IUnknown, unknown.put_void()), S_OK);
  EXPECT_EQ(static_cast<void*>(unknown.get()), static_cast<void*>(unit.get()));

  ComPtr<Host::IPersistObject> persist;
  ASSERT_EQ(unit->QueryInterface(Host::IID_IPersistObject, persist.put_void()), S_OK);
  EXPECT_NE(static_cast<void*>(persist.get()), static_cast<void*>(unit.get()));
  ComPtr<Host::IUnitName> back;
  ASSERT_EQ(persist->QueryInterface(Host::IID_IUnitName, back.put_void()), S_OK);
  EXPECT_EQ(back.get(), unit.get());

  void* other = reinterpret_cast<void*>(1);
  EXPECT_EQ(unit->QueryInterface(Host::IID_IObjectStream, &other), E_NOINTERFACE);
  EXPECT_EQ(other, nullptr);
  EXPECT_EQ(unit->QueryInterface(Host::IID_IUnitName, nullptr), E_INVALIDARG);
}

TEST(UnitEntry, ReferenceCountingAndDestruction) {
  ComPtr<Host::IUnitName> unit = UnitEntry::Create(Unit(1, L"Pa"));
  EXPECT_EQ(unit->AddRef(), 2u);
  EXPECT_EQ(unit->Release(), 1u);

  // The name handed out is shared with the entry until the entry goes.
  const ComPtr<ITarnString> name = NameString(unit.get());
  EXPECT_TRUE(IsShared(name.get()));
  unit.reset();
  EXPECT_FALSE(IsShared(name.get()));
}

TEST(UnitEntry, NameWithPrefix) {
  const std::pair<std::int32_t, const wchar_t*> rows[] = {
      {7, L"mV"}, {1, L"V"}, {8, L"V"}, {0, L"?V"}, {6, L"\u00B5V"}, {9, L"kV"}, {42, L"V"}};
  for (const auto& [prefixIndex, expected] : rows) {
    SCOPED_TRACE(prefixIndex);
    const ComPtr<Host::IUnitName> unit = UnitEntry::Create(Unit(prefixIndex, L"V"));
    EXPECT_EQ(NameOf(unit.get(), TRUE), expected);
    EXPECT_EQ(NameOf(unit.get(), FALSE), L"V");
  }
}

TEST(UnitEntry, SettersThroughTheTable) {
  const ComPtr<Host::IUnitName> unit = UnitEntry::Create();
  EXPECT_EQ(CallSlot(unit.get(), kSetPrefixIndex, std::int32_t{9}), S_OK);
  TarnString name(L"Pa");
  EXPECT_EQ(CallSlot(unit.get(), kSetName, name.get()), S_OK);
  EXPECT_EQ(NameOf(unit.get(), TRUE), L"kPa");
  EXPECT_FALSE(IsNoUnit(unit.get()));

  std::int32_t kind = -1;
  for (const auto& [set, stored] : {std::pair{5, 1}, std::pair{0, 0}, std::pair{-1, 1}}) {
    EXPECT_EQ(CallSlot(unit.get(), kSetUnitKind, BOOL{set}), S_OK);
    EXPECT_EQ(CallSlot(unit.get(), kGetUnitKind, &kind), S_OK);
    EXPECT_EQ(kind, stored) << set;
  }

  // A null name is refused and changes nothing.
  EXPECT_EQ(CallSlot(unit.get(), kSetName, static_cast<ITarnString*>(nullptr)), E_INVALIDARG);
  EXPECT_EQ(NameOf(unit.get(), FALSE), L"Pa");
  TarnString empty;
  EXPECT_EQ(CallSlot(unit.get(), kSetName, empty.get()), S_OK);
  EXPECT_TRUE(IsNoUnit(unit.get()));
}

TEST(UnitEntry, NullOutPointersAreRefused) {
  const ComPtr<Host::IUnitName> unit = UnitEntry::Create(Unit(7, L"V", 1));
  EXPECT_EQ(CallSlot(unit.get(), kGetPrefixIndex, static_cast<std::int32_t*>(nullptr)),
            E_INVALIDARG);
  EXPECT_EQ(CallSlot(unit.get(), kGetName, TRUE, static_cast<ITarnString**>(nullptr)),
            E_INVALIDARG);
  EXPECT_EQ(CallSlot(unit.get(), kGetUnitKind, static_cast<std::int32_t*>(nullptr)), E_INVALIDARG);
  EXPECT_EQ(CallSlot(unit.get(), kClone, static_cast<Host::IUnitName**>(nullptr)), E_INVALIDARG);
  EXPECT_EQ(CallSlot(unit.get(), kFormatValue, std::int32_t{0x303}, 2.5,
                     static_cast<ITarnString**>(nullptr)),
            E_INVALIDARG);
  ComPtr<Host::IPersistObject> persist;
  ASSERT_EQ(unit->QueryInterface(Host::IID_IPersistObject, persist.put_void()), S_OK);
  EXPECT_EQ(CallSlot(persist.get(), kGetClassCode, static_cast<std::int32_t*>(nullptr)),
            E_INVALIDARG);
  EXPECT_EQ(CallSlot(persist.get(), kLoad, static_cast<Host::IObjectStream*>(nullptr)),
            E_INVALIDARG);
  EXPECT_EQ(CallSlot(persist.get(), kSave, static_cast<Host::IObjectStream*>(nullptr)),
            E_INVALIDARG);
  EXPECT_EQ(NameOf(unit.get(), TRUE), L"mV");
}

TEST(UnitEntry, CloneSharesTheNameAndNothingElse) {
  const ComPtr<Host::IUnitName> unit = UnitEntry::Create(Unit(7, L"mmHg", 1));
  Host::IUnitName* raw = nullptr;
  ASSERT_EQ(CallSlot(unit.get(), kClone, &raw), S_OK);
  const ComPtr<Host::IUnitName> copy = ComPtr<Host::IUnitName>::Adopt(raw);
  ASSERT_NE(copy.get(), unit.get());

  UnitInfo read;
  ASSERT_EQ(ReadUnit(copy.get(), read), S_OK);
  EXPECT_EQ(read, Unit(7, L"mmHg", 1));

  const WCHAR* original = nullptr;
  const WCHAR* cloned = nullptr;
  ASSERT_EQ(NameString(unit.get())->GetChars(&original), S_OK);
  ASSERT_EQ(NameString(copy.get())->GetChars(&cloned), S_OK);
  EXPECT_EQ(original, cloned);

  EXPECT_EQ(CallSlot(copy.get(), kSetPrefixIndex, std::int32_t{9}), S_OK);
  TarnString other(L"Pa");
  EXPECT_EQ(CallSlot(copy.get(), kSetName, other.get()), S_OK);
  EXPECT_EQ(NameOf(copy.get(), TRUE), L"kPa");
  EXPECT_EQ(NameOf(unit.get(), TRUE), L"mmmHg");
}

TEST(UnitEntry, FormatValueThroughTheTable) {
  struct Row {
    UnitInfo unit;
    std::int32_t flags;
    double value;
    const wchar_t* expected;
  };
  const Row rows[] = {
      {Unit(1, L"V"), 0x303, 2.5, L"2.5 V"},
      {Unit(7, L"V"), 0x700, 0.0025, L"2.5 mV"},
      {Unit(0, L"Pa"), 0xF00, 1500.0, L"1.5 kPa"},
      {Unit(0, L"Pa"), 0x700, 1500.0, L"1500 Pa"},
  };
  for (const Row& r : rows) {
    const ComPtr<Host::IUnitName> unit = UnitEntry::Create(r.unit);
    ITarnString* text = nullptr;
    ASSERT_EQ(CallSlot(unit.get(), kFormatValue, r.flags, r.value, &text), S_OK);
    EXPECT_EQ(TarnString::AdoptHost(text).str(), r.expected);
  }
}

TEST(UnitEntry, ReadUnitAndNoUnit) {
  UnitInfo read = Unit(3, L"keep", 1);
  EXPECT_EQ(ReadUnit(nullptr, read), E_INVALIDARG);
  EXPECT_EQ(read, Unit(3, L"keep", 1));
  EXPECT_TRUE(IsNoUnit(nullptr));

  const ComPtr<Host::IUnitName> unit = UnitEntry::Create(Unit(12, L"Hz", 1));
  ASSERT_EQ(ReadUnit(unit.get(), read), S_OK);
  EXPECT_EQ(read, Unit(12, L"Hz", 1));
  EXPECT_FALSE(IsNoUnit(unit.get()));
}

ComPtr<Vela::MemoryObjectStream> Stream(std::vector<Vela::StreamItem> items = {}) {
  return ComPtr<Vela::MemoryObjectStream>::Adopt(
      Vela::MemoryObjectStream::Create(std::move(items)));
}

ComPtr<Host::IPersistObject> PersistFace(Host::IUnitName* unit) {
  ComPtr<Host::IPersistObject> persist;
  EXPECT_EQ(unit->QueryInterface(Host::IID_IPersistObject, persist.put_void()), S_OK);
  return persist;
}

TEST(UnitEntry, SaveAndLoadThroughAnObjectStream) {
  const ComPtr<Host::IUnitName> unit = UnitEntry::Create(Unit(9, L"Pa", 1));
  const auto stream = Stream();
  ASSERT_EQ(CallSlot(PersistFace(unit.get()).get(), kSave,
                     static_cast<Host::IObjectStream*>(stream.get())),
            S_OK);
  const std::vector<Vela::StreamItem> expected{std::int32_t{9}, std::wstring(L"Pa"),
                                               std::int32_t{1}};
  EXPECT_EQ(stream->Items(), expected);

  stream->Rewind();
  const ComPtr<Host::IUnitName> loaded = UnitEntry::Create();
  ASSERT_EQ(CallSlot(PersistFace(loaded.get()).get(), kLoad,
                     static_cast<Host::IObjectStream*>(stream.get())),
            S_OK);
  UnitInfo read;
  ASSERT_EQ(ReadUnit(loaded.get(), read), S_OK);
  EXPECT_EQ(read, Unit(9, L"Pa", 1));
}

TEST(UnitEntry, FailingStreams) {
  struct Row {
    std::vector<Vela::StreamItem> items;
    UnitInfo after;
  };
  // Whatever was read before the failure stays; the rest keeps its old value.
  const Row rows[] = {
      {{}, Unit(3, L"old", 1)},
      {{std::int32_t{7}}, Unit(7, L"old", 1)},
      {{std::int32_t{7}, std::int32_t{8}}, Unit(7, L"old", 1)},
      {{std::int32_t{7}, std::wstring(L"mV")}, Unit(7, L"mV", 1)},
      {{std::wstring(L"mV"), std::int32_t{7}}, Unit(3, L"old", 1)},
  };
  for (const Row& r : rows) {
    const ComPtr<Host::IUnitName> unit = UnitEntry::Create(Unit(3, L"old", 1));
    const auto stream = Stream(r.items);
    EXPECT_EQ(CallSlot(PersistFace(unit.get()).get(), kLoad,
                       static_cast<Host::IObjectStream*>(stream.get())),
              E_FAIL);
    UnitInfo read;
    ASSERT_EQ(ReadUnit(unit.get(), read), S_OK);
    EXPECT_EQ(read, r.after) << r.items.size();
  }

  for (long failAt = 0; failAt < 3; ++failAt) {
    const ComPtr<Host::IUnitName> unit = UnitEntry::Create(Unit(9, L"Pa", 1));
    const auto stream = Stream();
    stream->FailAtItem(failAt);
    EXPECT_EQ(CallSlot(PersistFace(unit.get()).get(), kSave,
                       static_cast<Host::IObjectStream*>(stream.get())),
              E_FAIL)
        << failAt;
  }
}

TEST(UnitEntry, TypeCodeComesFromTheHost) {
  Vela::InProcessHost host;
  ASSERT_EQ(host.Status(), S_OK);
  const ComPtr<Host::IUnitName> unit = UnitEntry::Create(Unit(9, L"Pa", 1));
  std::int32_t code = 0;
  ASSERT_EQ(CallSlot(PersistFace(unit.get()).get(), kGetClassCode, &code), S_OK);
  const std::int32_t family = Vela::HostApplication::Instance().CodeOf(Host::CLSID_MPCalibration);
  EXPECT_NE(family, 0);
  EXPECT_EQ(code, family * 65536 + 19);
}

} // namespace
} // namespace Tarn

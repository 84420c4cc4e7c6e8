#include "foundation/win/TarnString.h"
#include "foundation/win/ComPtr.h"
#include "foundation/win/UniqueHandle.h"

#include <gtest/gtest.h>

#include <oleauto.h>

#include <string>

using Tarn::ComPtr;
using Tarn::TarnString;

namespace {

// A string of another implementation, as the host would hand one in: only its BSTR is used.
struct ForeignString final : ITarnString {
  std::wstring text;
  LONG refs = 1;
  explicit ForeignString(std::wstring t) : text(std::move(t)) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs; }
  HRESULT STDMETHODCALLTYPE SetFromBSTR(BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetBSTR(BSTR* out) override {
    SysFreeString(*out);
    *out = text.empty() ? nullptr : SysAllocStringLen(text.data(), UINT(text.size()));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE IsEmpty(VARIANT_BOOL*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetLength(LONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE IsEqual(ITarnString*, VARIANT_BOOL*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE IsShared(VARIANT_BOOL*) override { return E_NOTIMPL; }
  LONG STDMETHODCALLTYPE GetKind() override { return 3; }
  HRESULT STDMETHODCALLTYPE CopyTo(WCHAR*, ULONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetLengthAndCharSize(LONG*, LONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetCapacity(LONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE CreateEmpty(LONG, ITarnString**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetVariant(VARIANT*) override { return E_NOTIMPL; }
  LONG STDMETHODCALLTYPE Length() override { return LONG(text.size()); }
  HRESULT STDMETHODCALLTYPE Destroy() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetChars(const WCHAR**) override { return E_NOTIMPL; }
  void* STDMETHODCALLTYPE DeletingDestructor(UINT) override { return this; }
};

// Calls slot `n` of the interface table directly, the way a host compiled elsewhere does.
template <class R, class... A> R Slot(ITarnString* s, int n, A... args) {
  using Fn = R(STDMETHODCALLTYPE*)(ITarnString*, A...);
  return reinterpret_cast<Fn*>(*reinterpret_cast<void***>(s))[n](s, args...);
}

TEST(TarnStringTest, HeaderLayoutAsTheHostExpects) {
  TarnString s(L"abc");
  auto* base = reinterpret_cast<const unsigned char*>(s.get());
  EXPECT_EQ(*reinterpret_cast<void* const*>(base + 8), nullptr);     // aux buffer
  EXPECT_EQ(*reinterpret_cast<const std::uint32_t*>(base + 16), 0u); // word
  EXPECT_EQ(*reinterpret_cast<const LONG*>(base + 20), 1);           // references
  EXPECT_EQ(*reinterpret_cast<const std::int32_t*>(base + 24), 8);   // capacity
  EXPECT_EQ(*reinterpret_cast<const std::int32_t*>(base + 28), 4);   // used
  EXPECT_EQ(reinterpret_cast<const wchar_t*>(base + 32), s.c_str());
}

TEST(TarnStringTest, CapacityRules) {
  EXPECT_EQ(TarnString(L"a").capacity(), 7u);
  EXPECT_EQ(TarnString(L"0123456789").capacity(), 10u);
  TarnString s(L"1234567");
  s.append(L"8"); // needs 9 units: grows to 13
  EXPECT_EQ(s.capacity(), 12u);
  EXPECT_EQ(s, L"12345678");
  s.append(L"x"); // fits
  EXPECT_EQ(s.capacity(), 12u);
}

TEST(TarnStringTest, EmptyStringsShareOneRepresentation) {
  TarnString a, b(L""), c(std::wstring_view{});
  EXPECT_EQ(a.get(), b.get());
  EXPECT_EQ(a.get(), c.get());
  EXPECT_TRUE(a.shared());
  TarnString d(L"x");
  d.clear();
  EXPECT_EQ(d.get(), a.get());
  // Nobody may write into the shared empty text, not even through the host interface.
  const Tarn::unique_bstr text(SysAllocString(L"no"));
  EXPECT_EQ(a.get()->SetFromBSTR(text.get()), E_FAIL);
  EXPECT_TRUE(TarnString().empty());
}

TEST(TarnStringTest, CopyOnWrite) {
  TarnString a(L"hello");
  TarnString b = a;
  EXPECT_EQ(a.get(), b.get());
  EXPECT_TRUE(a.shared());
  b.append(L" world");
  EXPECT_NE(a.get(), b.get());
  EXPECT_EQ(a, L"hello");
  EXPECT_EQ(b, L"hello world");
  EXPECT_FALSE(a.shared());
  a.append(a.view()); // appending the string to itself
  EXPECT_EQ(a, L"hellohello");
}

TEST(TarnStringTest, SlotsThroughTheInterfaceTable) {
  TarnString s(L"abc");
  ITarnString* p = s.get();
  VARIANT_BOOL flag = 1;
  LONG n = -5, size = 0;

  EXPECT_EQ((Slot<HRESULT, VARIANT_BOOL*>(p, 5, &flag)), S_OK);
  EXPECT_EQ(flag, 0);
  EXPECT_EQ((Slot<HRESULT, LONG*>(p, 6, &n)), S_OK);
  EXPECT_EQ(n, 3);
  EXPECT_EQ((Slot<HRESULT, VARIANT_BOOL*>(p, 8, &flag)), S_OK);
  EXPECT_EQ(flag, 0);
  EXPECT_EQ(Slot<LONG>(p, 9), 9);
  EXPECT_EQ((Slot<HRESULT, LONG*, LONG*>(p, 11, &n, &size)), S_OK);
  EXPECT_EQ(n, 3);
  EXPECT_EQ(size, 2);
  EXPECT_EQ((Slot<HRESULT, LONG*>(p, 12, &n)), S_OK);
  EXPECT_EQ(n, 7);
  EXPECT_EQ(Slot<LONG>(p, 15), 3);
  EXPECT_EQ(Slot<HRESULT>(p, 17), S_OK);
  const WCHAR* chars = nullptr;
  EXPECT_EQ((Slot<HRESULT, const WCHAR**>(p, 18, &chars)), S_OK);
  EXPECT_EQ(chars, s.c_str());

  {
    TarnString other = s;
    EXPECT_EQ((Slot<HRESULT, VARIANT_BOOL*>(p, 8, &flag)), S_OK);
    EXPECT_EQ(flag, VARIANT_TRUE);
  }

  // Copy into a buffer: the terminator must fit too.
  WCHAR buffer[4] = {L'x', L'x', L'x', L'x'};
  EXPECT_EQ((Slot<HRESULT, WCHAR*, ULONG>(p, 10, buffer, 6)), E_FAIL);
  EXPECT_EQ(buffer[0], L'x');
  EXPECT_EQ((Slot<HRESULT, WCHAR*, ULONG>(p, 10, buffer, 8)), S_OK);
  EXPECT_STREQ(buffer, L"abc");

  // A BSTR copy frees what was there; the empty string gives null.
  Tarn::unique_bstr b(SysAllocString(L"old"));
  EXPECT_EQ((Slot<HRESULT, BSTR*>(p, 4, b.addressof())), S_OK);
  EXPECT_STREQ(b.get(), L"abc");
  TarnString empty;
  EXPECT_EQ((Slot<HRESULT, BSTR*>(empty.get(), 4, b.addressof())), S_OK);
  EXPECT_EQ(b.get(), nullptr);
  EXPECT_EQ((Slot<HRESULT, VARIANT_BOOL*>(empty.get(), 5, &flag)), S_OK);
  EXPECT_EQ(flag, VARIANT_TRUE);

  VARIANT v;
  EXPECT_EQ((Slot<HRESULT, VARIANT*>(p, 14, &v)), S_OK);
  EXPECT_EQ(v.vt, VT_BSTR);
  EXPECT_STREQ(v.bstrVal, L"abc");
  VariantClear(&v);
}

TEST(TarnStringTest, SetFromBstrRespectsSharingAndCapacity) {
  TarnString s(L"abc"); // capacity 8 units
  ITarnString* p = s.get();
  const Tarn::unique_bstr seven(SysAllocString(L"1234567")), eight(SysAllocString(L"12345678"));
  EXPECT_EQ((Slot<HRESULT, BSTR>(p, 3, seven.get())), S_OK);
  EXPECT_EQ(s, L"1234567");
  EXPECT_EQ((Slot<HRESULT, BSTR>(p, 3, eight.get())), E_FAIL);
  EXPECT_EQ(s, L"1234567");
  EXPECT_EQ((Slot<HRESULT, BSTR>(p, 3, static_cast<BSTR>(nullptr))), S_OK);
  EXPECT_TRUE(s.empty());
  TarnString copy = s;
  EXPECT_EQ((Slot<HRESULT, BSTR>(p, 3, seven.get())), E_FAIL);
}

TEST(TarnStringTest, CreateEmptyAndReferenceCounting) {
  TarnString s(L"abc");
  ITarnString* created = nullptr;
  EXPECT_EQ((Slot<HRESULT, LONG, ITarnString**>(s.get(), 13, 2, &created)), S_OK);
  TarnString owned = TarnString::AdoptHost(created);
  EXPECT_TRUE(owned.empty());
  EXPECT_EQ(owned.capacity(), 7u);
  EXPECT_FALSE(owned.shared());
  EXPECT_EQ((Slot<HRESULT, LONG, ITarnString**>(s.get(), 13, 20, &created)), S_OK);
  owned = TarnString::AdoptHost(created);
  EXPECT_EQ(owned.capacity(), 20u);
  EXPECT_EQ((Slot<HRESULT, LONG, ITarnString**>(s.get(), 13, 0, nullptr)), E_POINTER);

  // Destroy refuses while someone else holds a reference.
  TarnString twin = s;
  EXPECT_EQ(Slot<HRESULT>(s.get(), 16), E_FAIL);

  ComPtr<ITarnString> viaQuery;
  EXPECT_EQ(ComPtr<ITarnString>(s.get()).QueryTo(IID_ITarnString2, viaQuery), S_OK);
  EXPECT_EQ(viaQuery.get(), s.get());
  ComPtr<IUnknown> unknown;
  EXPECT_EQ(viaQuery.QueryTo(IID_IUnknown, unknown), S_OK);
  ComPtr<IDispatch> none;
  EXPECT_EQ(viaQuery.QueryTo(IID_IDispatch, none), E_NOINTERFACE);
  EXPECT_FALSE(none);
}

TEST(TarnStringTest, EqualityAndForeignStrings) {
  TarnString a(L"volt"), b(L"volt"), c(L"Volt");
  VARIANT_BOOL eq = 0;
  EXPECT_EQ((Slot<HRESULT, ITarnString*, VARIANT_BOOL*>(a.get(), 7, b.get(), &eq)), S_OK);
  EXPECT_EQ(eq, VARIANT_TRUE);
  EXPECT_EQ((Slot<HRESULT, ITarnString*, VARIANT_BOOL*>(a.get(), 7, c.get(), &eq)), S_OK);
  EXPECT_EQ(eq, VARIANT_FALSE);

  ForeignString foreign(L"volt");
  EXPECT_EQ((Slot<HRESULT, ITarnString*, VARIANT_BOOL*>(a.get(), 7, &foreign, &eq)), S_OK);
  EXPECT_EQ(eq, VARIANT_TRUE);

  TarnString copied = TarnString::FromHost(&foreign);
  EXPECT_EQ(copied, L"volt");
  EXPECT_EQ(foreign.refs, 1);
  TarnString sharedCopy = TarnString::FromHost(a.get());
  EXPECT_EQ(sharedCopy.get(), a.get());
  EXPECT_TRUE(TarnString::FromHost(nullptr).empty());

  ITarnString* handedOut = TarnString(L"given").release(); // the host owns this reference
  TarnString back = TarnString::AdoptHost(handedOut);
  EXPECT_EQ(back, L"given");
  EXPECT_FALSE(back.shared());
}

} // namespace

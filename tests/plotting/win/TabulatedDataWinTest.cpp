#include "plotting/win/TabulatedData.h"

#include "MemoryObjectStream.h"
#include "foundation/win/ComObject.h"
#include "foundation/win/UniqueHandle.h"
#include "plotting/win/InterfaceArray.h"

#include <cmath>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace GUILib {
namespace {

using Tarn::ComPtr;
using Calls = std::vector<std::string>;

// Records every notification as text, in the order they came.
class Recorder final : public Tarn::ComObject<Recorder, ITabulatedDataObserver> {
public:
  explicit Recorder(std::string tag = "") : tag_(std::move(tag)) {}
  HRESULT STDMETHODCALLTYPE ColumnsChanged(std::int32_t first, std::int32_t end) override {
    calls.push_back(tag_ + "columns " + std::to_string(first) + " " + std::to_string(end));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE RowsChanged(std::int32_t column, std::int32_t first,
                                        std::int32_t end) override {
    calls.push_back(tag_ + "rows " + std::to_string(column) + " " + std::to_string(first) + " " +
                    std::to_string(end));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    calls.push_back(tag_ + "reset");
    return S_OK;
  }
  Calls Take() { return std::exchange(calls, {}); }
  Calls calls;

private:
  friend ComObject;
  ~Recorder() = default;
  std::string tag_;
};

ComPtr<ITabulatedData> NewTable(int columns) {
  ComPtr<ITabulatedData> table(CTabulatedData::Create().get());
  for (int i = 0; i < columns; ++i)
    EXPECT_EQ(table->AddColumn((L"c" + std::to_wstring(i)).c_str(), L""), S_OK);
  return table;
}

std::vector<float> ReadAll(Host::IEnumFloatEx* e) {
  std::vector<float> out;
  float chunk[3];
  std::uint32_t got = 0;
  while (SUCCEEDED(e->Next(3, chunk, &got)) && got > 0)
    out.insert(out.end(), chunk, chunk + got);
  return out;
}

TEST(TabulatedDataCom, SuspendedChangesMergeAndResumeFlushesInOneCall) {
  auto table = NewTable(3);
  auto seen = ComPtr<Recorder>::Adopt(new Recorder);
  ASSERT_EQ(table->Advise(seen.get()), S_OK);

  ASSERT_EQ(table->SuspendNotifications(), S_OK);
  ASSERT_EQ(table->SuspendNotifications(), S_OK);
  EXPECT_EQ(table->AppendValue(2, 1), S_OK);
  EXPECT_EQ(table->AppendValue(0, 1), S_OK);
  EXPECT_EQ(table->AppendValue(0, 2), S_OK);
  EXPECT_EQ(table->AppendValue(2, 3), S_OK);
  EXPECT_EQ(table->FlushNotifications(), S_FALSE);
  // The inner resume leaves the outer suspension in force and sends nothing.
  EXPECT_EQ(table->ResumeAndFlush(), S_FALSE);
  EXPECT_TRUE(seen->calls.empty());
  EXPECT_EQ(table->ResumeAndFlush(), S_OK);
  EXPECT_EQ(seen->Take(), (Calls{"rows 0 0 2", "rows 2 0 2"}));

  // A reset while suspended wins over the row changes made with it.
  ASSERT_EQ(table->SuspendNotifications(), S_OK);
  EXPECT_EQ(table->AppendValue(1, 5), S_OK);
  EXPECT_EQ(table->SetColumnCount(2), S_OK);
  EXPECT_EQ(table->AddColumn(L"x", L"V"), S_OK);
  EXPECT_EQ(table->ResumeAndFlush(), S_OK);
  EXPECT_EQ(seen->Take(), (Calls{"reset"}));

  // Column changes merge into one range.
  ASSERT_EQ(table->SuspendNotifications(), S_OK);
  EXPECT_EQ(table->AddColumn(L"y", L""), S_OK);
  EXPECT_EQ(table->RemoveColumn(0), S_OK);
  EXPECT_EQ(table->ResumeAndFlush(), S_OK);
  EXPECT_EQ(seen->Take(), (Calls{"columns 0 4"}));

  // More resumes than suspends leave notifications on, and one suspend still holds them.
  EXPECT_EQ(table->ResumeNotifications(), S_OK);
  EXPECT_EQ(table->ResumeNotifications(), S_OK);
  ASSERT_EQ(table->SuspendNotifications(), S_OK);
  EXPECT_EQ(table->AppendValue(0, 1), S_OK);
  EXPECT_TRUE(seen->calls.empty());
  EXPECT_EQ(table->ResumeAndFlush(), S_OK);
  EXPECT_EQ(seen->Take(), (Calls{"rows 0 0 1"}));
}

TEST(TabulatedDataCom, ObserversInRegistrationOrderUntilRemoved) {
  auto table = NewTable(1);
  auto first = ComPtr<Recorder>::Adopt(new Recorder("a:"));
  auto second = ComPtr<Recorder>::Adopt(new Recorder("b:"));
  ASSERT_EQ(table->Advise(second.get()), S_OK);
  ASSERT_EQ(table->Advise(first.get()), S_OK);
  EXPECT_EQ(table->RemoveAllColumns(), S_OK);
  EXPECT_EQ(second->Take(), (Calls{"b:reset"}));
  EXPECT_EQ(first->Take(), (Calls{"a:reset"}));
  EXPECT_EQ(table->Unadvise(second.get()), S_OK);
  EXPECT_EQ(table->Unadvise(second.get()), E_FAIL);
  EXPECT_EQ(table->AddColumn(L"", L""), S_OK);
  EXPECT_TRUE(second->calls.empty());
  EXPECT_EQ(first->Take(), (Calls{"a:columns 0 1"}));
  EXPECT_EQ(table->Advise(nullptr), E_INVALIDARG);
}

TEST(TabulatedDataCom, ColumnEnumeratorsAreLive) {
  auto table = NewTable(2);
  const float start[] = {1, 2};
  for (float v : start)
    ASSERT_EQ(table->AppendValue(0, v), S_OK);
  ComPtr<Host::IEnumFloatEx> all, window;
  ASSERT_EQ(table->CreateColumnEnum(0, 0, 1000, all.put()), S_OK);
  ASSERT_EQ(table->CreateColumnEnum(0, 1, 3, window.put()), S_OK);
  EXPECT_EQ(ReadAll(all.get()), (std::vector<float>{1, 2}));
  float v[4];
  std::uint32_t got = 9;
  EXPECT_EQ(all->Next(4, v, &got), S_FALSE);
  EXPECT_EQ(got, 0u);

  // Values appended later are read where the enumerator stands; the end row still limits.
  for (float x : {3.0f, 4.0f, 5.0f})
    ASSERT_EQ(table->AppendValue(0, x), S_OK);
  EXPECT_EQ(ReadAll(all.get()), (std::vector<float>{3, 4, 5}));
  EXPECT_EQ(ReadAll(window.get()), (std::vector<float>{2, 3}));

  // Clone, skip and position; a full read answers S_OK.
  ComPtr<Host::IEnumFloatEx> e, copy;
  ASSERT_EQ(table->CreateColumnEnum(0, 0, 1000, e.put()), S_OK);
  std::int32_t skipped = 0, at = 0;
  EXPECT_EQ(e->SkipEx(3, &skipped), S_OK);
  EXPECT_EQ(skipped, 3);
  EXPECT_EQ(e->SkipEx(10, &skipped), S_OK);
  EXPECT_EQ(skipped, 2);
  EXPECT_EQ(e->SkipEx(-4, &skipped), S_OK);
  EXPECT_EQ(e->GetPosition(&at), S_OK);
  EXPECT_EQ(at, 1);
  ASSERT_EQ(e->Clone(copy.put()), S_OK);
  EXPECT_EQ(copy->Next(2, v, &got), S_OK);
  EXPECT_EQ(got, 2u);
  EXPECT_EQ(v[0], 2);
  EXPECT_EQ(ReadAll(e.get()), (std::vector<float>{2, 3, 4, 5}));
  Host::RateInfo rate{};
  EXPECT_EQ(e->GetRate(&rate), S_OK);
  EXPECT_EQ(rate.numerator, 1);
  EXPECT_EQ(rate.denominator, 1);
  EXPECT_EQ(rate.offset, 0.0);
  std::int16_t state = 0;
  EXPECT_EQ(e->GetState16(&state), E_NOTIMPL);

  // A removed column stays readable through the enumerators that hold it.
  ComPtr<Host::IEnumFloatEx> kept;
  ASSERT_EQ(table->CreateColumnEnum(0, 0, 1000, kept.put()), S_OK);
  EXPECT_EQ(table->RemoveColumn(0), S_OK);
  EXPECT_EQ(ReadAll(kept.get()), (std::vector<float>{1, 2, 3, 4, 5}));
}

TEST(TabulatedDataCom, ValuesFromAnotherEnumerator) {
  auto source = NewTable(1);
  for (float x : {1.0f, 2.0f, 3.0f, 4.0f})
    ASSERT_EQ(source->AppendValue(0, x), S_OK);
  auto table = NewTable(1);
  ComPtr<Host::IEnumFloatEx> e;
  ASSERT_EQ(source->CreateColumnEnum(0, 0, 1000, e.put()), S_OK);
  std::uint32_t fetched = 0;
  EXPECT_EQ(table->AppendValues(0, 3, e.get(), &fetched), S_OK);
  EXPECT_EQ(fetched, 3u);
  // Only one value is left: what came is appended.
  EXPECT_EQ(table->InsertValues(0, 1, 5, e.get(), &fetched), S_OK);
  EXPECT_EQ(fetched, 1u);
  float v[8];
  EXPECT_EQ(table->GetValues(0, 0, 8, v, &fetched), S_OK);
  ASSERT_EQ(fetched, 4u);
  EXPECT_EQ(std::vector<float>(v, v + 4), (std::vector<float>{1, 4, 2, 3}));
  EXPECT_EQ(table->InsertValues(0, 5, 1, e.get(), &fetched), E_INVALIDARG);
  EXPECT_EQ(table->AppendValues(0, 1, nullptr, &fetched), E_INVALIDARG);
}

TEST(TabulatedDataCom, IndicesAreChecked) {
  auto table = NewTable(2);
  BSTR name = nullptr;
  std::int32_t n = 0;
  float f = 0;
  ComPtr<Host::IEnumFloatEx> e;
  for (std::int32_t bad : {-1, 2, 1000}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(table->SetColumnName(bad, L"x"), E_INVALIDARG);
    EXPECT_EQ(table->RemoveColumn(bad), E_INVALIDARG);
    EXPECT_EQ(table->AppendValue(bad, 1), E_INVALIDARG);
    EXPECT_EQ(table->GetColumnName(bad, &name), E_INVALIDARG);
    EXPECT_EQ(table->GetRowCount(bad, &n), E_INVALIDARG);
    EXPECT_EQ(table->GetColumnMax(bad, &f), E_INVALIDARG);
    EXPECT_EQ(table->CreateColumnEnum(bad, 0, 1, e.put()), E_INVALIDARG);
  }
  EXPECT_EQ(table->CreateColumnEnum(0, -1, 1, e.put()), E_INVALIDARG);
  EXPECT_EQ(table->DeleteRows(0, 0), E_INVALIDARG);
  EXPECT_EQ(table->GetColumnCount(nullptr), E_INVALIDARG);
  EXPECT_EQ(name, nullptr);
}

TEST(TabulatedDataCom, NanAwareExtremesAndCounts) {
  auto table = NewTable(3);
  const float nan = std::numeric_limits<float>::quiet_NaN();
  for (float x : {nan, 2.0f, 1.0f})
    ASSERT_EQ(table->AppendValue(0, x), S_OK);
  ASSERT_EQ(table->AppendValue(1, nan), S_OK);
  float f = 0;
  EXPECT_EQ(table->GetColumnMax(0, &f), S_OK);
  EXPECT_EQ(f, 2.0f);
  EXPECT_EQ(table->GetColumnMin(0, &f), S_OK);
  EXPECT_EQ(f, 1.0f);
  EXPECT_EQ(table->GetColumnMax(1, &f), E_FAIL);
  EXPECT_EQ(table->GetColumnMin(2, &f), E_FAIL);
  std::int32_t n = -1;
  EXPECT_EQ(table->GetMaxRowCount(&n), S_OK);
  EXPECT_EQ(n, 3);
  EXPECT_EQ(table->GetMinRowCount(&n), S_OK);
  EXPECT_EQ(n, 0);
  EXPECT_EQ(table->DeleteRows(1, 3), S_OK);
  EXPECT_EQ(table->GetRowCount(0, &n), S_OK);
  EXPECT_EQ(n, 1);
}

TEST(TabulatedDataCom, ExportWithUnitsHeadersAndStars) {
  auto made = CTabulatedData::Create();
  ITabulatedData* table = made.get();
  ASSERT_EQ(table->AddColumn(L"Raw", L"V"), S_OK);
  ASSERT_EQ(table->AddColumn(L"Fitted Values", L""), S_OK);
  ASSERT_EQ(table->SetColumnUnits(1, L"mmHg"), S_OK);
  ASSERT_EQ(table->AddColumn(L"n", L""), S_OK);
  for (float x : {1.5f, 2.25f})
    ASSERT_EQ(table->AppendValue(0, x), S_OK);
  ASSERT_EQ(table->AppendValue(1, 10), S_OK);
  std::wostringstream out;
  out.setf(std::ios::fixed);
  out.precision(2);
  WriteTableText(out, made->Table());
  EXPECT_EQ(out.str(), L"Raw(V)\tFitted Values(mmHg)\tn\t\n"
                       L"1.50\t10.00\t*\t\n"
                       L"2.25\t*\t*\t\n");
  BSTR units = ::SysAllocString(L"old");
  EXPECT_EQ(table->GetColumnUnits(1, &units), S_OK);
  EXPECT_STREQ(units, L"mmHg");
  ::SysFreeString(units);
}

TEST(TabulatedDataCom, PersistsThroughTheHostsObjectStream) {
  auto table = NewTable(2);
  ASSERT_EQ(table->SetColumnUnits(1, L"\u00b5V"), S_OK);
  for (float x : {0.5f, -3.0f})
    ASSERT_EQ(table->AppendValue(1, x), S_OK);
  ComPtr<Host::IPersistObject> persist;
  ASSERT_EQ(table.QueryTo(persist), S_OK);
  auto stream = ComPtr<Vela::MemoryObjectStream>::Adopt(Vela::MemoryObjectStream::Create());
  ASSERT_EQ(persist->Save(stream.get()), S_OK);
  const std::vector<Vela::StreamItem> expected = {2,
                                                  0,
                                                  2,
                                                  std::wstring(L"c0"),
                                                  std::wstring(L""),
                                                  std::wstring(L"c1"),
                                                  std::wstring(L"\u00b5V"),
                                                  0.5,
                                                  -3.0};
  EXPECT_EQ(stream->Items(), expected);

  auto loaded = NewTable(5);
  auto seen = ComPtr<Recorder>::Adopt(new Recorder);
  ASSERT_EQ(loaded->Advise(seen.get()), S_OK);
  ComPtr<Host::IPersistObject> loader;
  ASSERT_EQ(loaded.QueryTo(loader), S_OK);
  stream->Rewind();
  EXPECT_EQ(loader->Load(stream.get()), S_OK);
  EXPECT_EQ(seen->Take(), (Calls{"reset"}));
  std::int32_t n = 0;
  EXPECT_EQ(loaded->GetColumnCount(&n), S_OK);
  EXPECT_EQ(n, 2);
  float v[2];
  std::uint32_t got = 0;
  EXPECT_EQ(loaded->GetValues(1, 0, 2, v, &got), S_OK);
  EXPECT_EQ(std::vector<float>(v, v + got), (std::vector<float>{0.5f, -3.0f}));

  // A stream that fails part way leaves the table as it was.
  stream->Rewind();
  stream->FailAtItem(5);
  auto untouched = NewTable(1);
  ComPtr<Host::IPersistObject> third;
  ASSERT_EQ(untouched.QueryTo(third), S_OK);
  EXPECT_EQ(third->Load(stream.get()), E_FAIL);
  EXPECT_EQ(untouched->GetColumnCount(&n), S_OK);
  EXPECT_EQ(n, 1);
  std::int32_t code = 0;
  EXPECT_EQ(third->GetClassCode(&code), E_NOTIMPL);
}

TEST(InterfaceArray, GrowsByItsRuleAndReleasesOnRemoval) {
  auto item = ComPtr<Recorder>::Adopt(new Recorder);
  const auto count = [&] {
    item->AddRef();
    return item->Release();
  };
  {
    InterfaceArray<ITabulatedDataObserver> proportional(4, true);
    std::vector<std::size_t> capacities;
    for (int i = 0; i < 10; ++i) {
      proportional.Add(item.get());
      capacities.push_back(proportional.Capacity());
    }
    EXPECT_EQ(capacities, (std::vector<std::size_t>{4, 4, 4, 4, 6, 6, 9, 9, 9, 14}));
    EXPECT_EQ(count(), 11u);
    EXPECT_TRUE(proportional.Remove(item.get()));
    EXPECT_EQ(proportional.Size(), 9u);
    EXPECT_EQ(count(), 10u);
    InterfaceArray<ITabulatedDataObserver> stepped(3, false);
    for (int i = 0; i < 7; ++i)
      stepped.Add(item.get());
    EXPECT_EQ(stepped.Capacity(), 9u);
    EXPECT_FALSE(stepped.Remove(nullptr));
  }
  EXPECT_EQ(count(), 1u);
}

} // namespace
} // namespace GUILib

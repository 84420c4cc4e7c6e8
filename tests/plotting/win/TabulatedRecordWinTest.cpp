#include "plotting/win/TabulatedData.h"

#include "foundation/win/ComObject.h"

#include <oleauto.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace GUILib {
namespace {

using Tarn::ComPtr;
using Calls = std::vector<std::string>;

// The three kinds of observer, writing into one log so that their order shows.
class TableLog final : public Tarn::ComObject<TableLog, ITabulatedDataObserver> {
public:
  explicit TableLog(Calls& log) : log_(log) {}
  HRESULT STDMETHODCALLTYPE ColumnsChanged(std::int32_t first, std::int32_t end) override {
    log_.push_back("columns " + std::to_string(first) + " " + std::to_string(end));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE RowsChanged(std::int32_t column, std::int32_t first,
                                        std::int32_t end) override {
    log_.push_back("rows " + std::to_string(column) + " " + std::to_string(first) + " " +
                   std::to_string(end));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    log_.push_back("table reset");
    return S_OK;
  }

private:
  friend ComObject;
  ~TableLog() = default;
  Calls& log_;
};

class RecordLog final : public Tarn::ComObject<RecordLog, Host::IRecordDataObserver> {
public:
  explicit RecordLog(Calls& log) : log_(log) {}
  HRESULT STDMETHODCALLTYPE DataReset() override {
    log_.push_back("record reset");
    return S_OK;
  }

private:
  friend ComObject;
  ~RecordLog() = default;
  Calls& log_;
};

class LengthLog final : public Tarn::ComObject<LengthLog, Host::IKymoDataObserver> {
public:
  explicit LengthLog(Calls& log) : log_(log) {}
  HRESULT STDMETHODCALLTYPE LengthChanged(std::int64_t delta) override {
    log_.push_back("length " + std::to_string(delta));
    return S_OK;
  }

private:
  friend ComObject;
  ~LengthLog() = default;
  Calls& log_;
};

template <class I> ComPtr<I> Face(const ComPtr<CTabulatedData>& table) {
  ComPtr<I> face;
  EXPECT_EQ(ComPtr<ITabulatedData>(table.get()).QueryTo(face), S_OK);
  return face;
}

// Column "a" holds 1..5, column "b" nothing.
ComPtr<CTabulatedData> TwoColumns() {
  auto table = CTabulatedData::Create();
  EXPECT_EQ(table->AddColumn(L"a", L"V"), S_OK);
  EXPECT_EQ(table->AddColumn(L"b", L""), S_OK);
  for (float x : {1.0f, 2.0f, 3.0f, 4.0f, 5.0f})
    EXPECT_EQ(table->AppendValue(0, x), S_OK);
  return table;
}

template <class E> std::vector<float> ReadAll(E* e) {
  std::vector<float> out;
  float chunk[2];
  std::uint32_t got = 0;
  while (SUCCEEDED(e->Next(2, chunk, &got)) && got > 0)
    out.insert(out.end(), chunk, chunk + got);
  return out;
}

TEST(TabulatedRecordView, ChannelsAreTheColumns) {
  auto record = Face<Host::IRecordData>(TwoColumns());
  std::int32_t count = 0;
  EXPECT_EQ(record->GetChannelCount(&count), S_OK);
  EXPECT_EQ(count, 2);
  const struct {
    std::int32_t channel;
    HRESULT hasData;
    const wchar_t* title;
  } cases[] = {
      {0, S_OK, L"a"}, {1, S_FALSE, L"b"}, {2, E_INVALIDARG, nullptr}, {-1, E_INVALIDARG, nullptr}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.channel);
    EXPECT_EQ(record->HasData(c.channel), c.hasData);
    BSTR title = nullptr;
    if (c.title) {
      ASSERT_EQ(record->GetChannelTitle(c.channel, &title), S_OK);
      EXPECT_STREQ(title, c.title);
      ::SysFreeString(title);
    } else {
      EXPECT_EQ(record->GetChannelTitle(c.channel, &title), E_INVALIDARG);
      EXPECT_EQ(title, nullptr);
    }
  }
  std::int64_t start = 0, end = 0;
  EXPECT_EQ(record->GetRange(&start, &end), S_OK);
  EXPECT_EQ(start, 2147483647);
  EXPECT_EQ(end, 2147483647);
}

TEST(TabulatedRecordView, EnumeratorsOverARowRange) {
  auto table = TwoColumns();
  auto record = Face<Host::IRecordData>(table);
  constexpr std::uint32_t flags = 0xC0000000u;
  constexpr std::int64_t big = std::numeric_limits<std::int64_t>::max();
  const struct {
    std::int32_t channel;
    std::uint32_t flags;
    std::int64_t start, end;
    HRESULT status;
    std::vector<float> values;
  } cases[] = {
      {0, flags, 1, 3, S_OK, {2, 3}},
      {0, flags, 0, big, S_OK, {1, 2, 3, 4, 5}},
      {0, flags, 4, 2, S_OK, {}},
      {0, flags, 2147483647, big, S_OK, {}},
      {1, flags, 0, big, S_OK, {}},
      {0, flags, 2147483648LL, big, E_INVALIDARG, {}},
      {0, flags, 1LL << 40, big, E_INVALIDARG, {}},
      {0, flags, -1, 3, E_INVALIDARG, {}},
      {0, 0, 0, 3, E_INVALIDARG, {}},
      {0, 0x80000000u, 0, 3, E_INVALIDARG, {}},
      {2, flags, 0, 3, E_INVALIDARG, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.channel) + " " + std::to_string(c.flags) + " " +
                 std::to_string(c.start));
    ComPtr<Host::IEnumFloatEx> e;
    ASSERT_EQ(record->CreateEnum(c.channel, c.flags, c.start, c.end, e.put()), c.status);
    if (FAILED(c.status)) {
      EXPECT_EQ(e, nullptr);
      continue;
    }
    EXPECT_EQ(ReadAll(e.get()), c.values);
  }

  // The pixel enumerator takes starts beyond 32 bits and reports them whole.
  ComPtr<Host::IEnumFloatPix> distant, pix, copy;
  ASSERT_EQ(record->CreatePixEnum(0, 1LL << 33, big, distant.put()), S_OK);
  std::int64_t at = 0;
  EXPECT_EQ(distant->GetPosition(&at), S_OK);
  EXPECT_EQ(at, 1LL << 33);
  EXPECT_EQ(ReadAll(distant.get()), std::vector<float>{});
  EXPECT_EQ(record->CreatePixEnum(0, -1, big, pix.put()), E_INVALIDARG);
  EXPECT_EQ(record->CreatePixEnum(2, 0, big, pix.put()), E_INVALIDARG);

  // Otherwise it reads as the column enumerator does: live, limited by its end, cloned, rewound.
  ASSERT_EQ(record->CreatePixEnum(0, 1, 7, pix.put()), S_OK);
  std::int64_t skipped = 0;
  EXPECT_EQ(pix->Skip(2, &skipped), S_OK);
  EXPECT_EQ(skipped, 2);
  ASSERT_EQ(pix->Clone(copy.put()), S_OK);
  EXPECT_EQ(ReadAll(pix.get()), (std::vector<float>{4, 5}));
  for (float x : {6.0f, 7.0f, 8.0f})
    ASSERT_EQ(table->AppendValue(0, x), S_OK);
  EXPECT_EQ(ReadAll(pix.get()), (std::vector<float>{6, 7}));
  EXPECT_EQ(ReadAll(copy.get()), (std::vector<float>{4, 5, 6, 7}));
  EXPECT_EQ(pix->Skip(-100, &skipped), S_OK);
  EXPECT_EQ(pix->GetPosition(&at), S_OK);
  EXPECT_EQ(at, 0);
  EXPECT_EQ(copy->Reset(), S_OK);
  EXPECT_EQ(ReadAll(copy.get()), (std::vector<float>{2, 3, 4, 5, 6, 7}));
  Host::RateInfo rate{};
  EXPECT_EQ(pix->GetRate(&rate), S_OK);
  EXPECT_EQ(rate.numerator, 1);
  EXPECT_EQ(rate.denominator, 1);
  EXPECT_EQ(rate.offset, 0.0);
  std::int16_t state = 0;
  EXPECT_EQ(pix->GetState16(&state), E_NOTIMPL);
}

TEST(TabulatedRecordView, OneValueWithFactorAndOffset) {
  auto record = Face<Host::IRecordData>(TwoColumns());
  const Host::RecordValueScaling doubled{2.0, 0.5}, negated{-1.0, -3.0}, halved{0.5, 1.0};
  const struct {
    std::int32_t channel;
    std::int64_t row;
    const Host::RecordValueScaling* scaling;
    HRESULT status;
    float value;
  } cases[] = {
      {0, 2, nullptr, S_OK, 3.0f},      {0, 2, &doubled, S_OK, 7.0f},
      {0, 0, &negated, S_OK, 2.0f},     {0, 4, &halved, S_OK, 3.0f},
      {0, 5, nullptr, E_INVALIDARG, 0}, {0, -1, &doubled, E_INVALIDARG, 0},
      {1, 0, nullptr, E_INVALIDARG, 0}, {2, 0, nullptr, E_INVALIDARG, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.channel) + " " + std::to_string(c.row));
    float value = -99;
    EXPECT_EQ(record->GetValue(c.channel, c.row, c.scaling, &value), c.status);
    EXPECT_EQ(value, SUCCEEDED(c.status) ? c.value : -99.0f);
  }
}

TEST(TabulatedRecordView, PositionsAndTheOperationsATableLacks) {
  auto record = Face<Host::IRecordData>(TwoColumns());
  double position = 0;
  EXPECT_EQ(record->MapPosition(10, 0.5, &position), S_OK);
  EXPECT_EQ(position, 5.0);
  EXPECT_EQ(record->MapPosition(1LL << 40, 1.0, &position), S_OK);
  EXPECT_EQ(position, static_cast<double>(1LL << 40));
  EXPECT_EQ(record->MapPosition(-1, 1.0, &position), E_INVALIDARG);
  EXPECT_EQ(record->MapPosition(0, std::numeric_limits<double>::quiet_NaN(), &position),
            E_INVALIDARG);

  double seconds = 0;
  Host::IUnitName* units = nullptr;
  std::int32_t blocks = 0;
  EXPECT_EQ(record->GetSampleInterval(&seconds), E_NOTIMPL);
  EXPECT_EQ(record->GetChannelUnits(0, &units), E_NOTIMPL);
  EXPECT_EQ(units, nullptr);
  EXPECT_EQ(record->GetBlockCount(&blocks), E_NOTIMPL);
}

TEST(TabulatedRecordView, ResetTellsRecordObserversFirst) {
  auto table = TwoColumns();
  auto records = Face<Host::IRecordDataObservers>(table);
  Calls log;
  // The table observer is added first, yet hears of a reset after the record observers.
  auto tableLog = ComPtr<TableLog>::Adopt(new TableLog(log));
  auto recordLog = ComPtr<RecordLog>::Adopt(new RecordLog(log));
  ASSERT_EQ(table->Advise(tableLog.get()), S_OK);
  ASSERT_EQ(records->AdviseRecord(recordLog.get()), S_OK);

  EXPECT_EQ(table->RemoveAllColumns(), S_OK);
  EXPECT_EQ(log, (Calls{"record reset", "table reset"}));
  log.clear();

  ASSERT_EQ(table->SuspendNotifications(), S_OK);
  EXPECT_EQ(table->SetColumnCount(3), S_OK);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(table->ResumeAndFlush(), S_OK);
  EXPECT_EQ(log, (Calls{"record reset", "table reset"}));
  log.clear();

  EXPECT_EQ(records->UnadviseRecord(recordLog.get()), S_OK);
  EXPECT_EQ(records->UnadviseRecord(recordLog.get()), E_FAIL);
  EXPECT_EQ(records->AdviseRecord(nullptr), E_INVALIDARG);
  EXPECT_EQ(table->RemoveAllColumns(), S_OK);
  EXPECT_EQ(log, (Calls{"table reset"}));
}

TEST(TabulatedRecordView, FlushWithOnlineDataTellsTheLengthChange) {
  auto table = TwoColumns();
  auto lengths = Face<Host::IKymoDataObservers>(table);
  Calls log;
  auto lengthLog = ComPtr<LengthLog>::Adopt(new LengthLog(log));
  auto tableLog = ComPtr<TableLog>::Adopt(new TableLog(log));
  ASSERT_EQ(lengths->AdviseLength(lengthLog.get()), S_OK);

  // Without the option a flush says nothing of the length.
  EXPECT_EQ(table->FlushNotifications(), S_OK);
  EXPECT_TRUE(log.empty());

  ASSERT_EQ(table->SetOnlineData(TRUE), S_OK);
  ASSERT_EQ(table->Advise(tableLog.get()), S_OK);
  const struct {
    const char* what;
    void (*change)(CTabulatedData&);
    Calls expected;
  } steps[] = {
      {"first flush: the length so far", [](CTabulatedData&) {}, {"length 5"}},
      {"unchanged", [](CTabulatedData&) {}, {}},
      {"suspended growth, before the merged rows",
       [](CTabulatedData& t) {
         (void)t.SuspendNotifications();
         (void)t.AppendValue(1, 1);
         (void)t.AppendValue(0, 6);
         (void)t.AppendValue(0, 7);
         (void)t.ResumeNotifications();
       },
       {"length 2", "rows 0 5 7", "rows 1 0 1"}},
      {"shrinking",
       [](CTabulatedData& t) { (void)t.DeleteRows(0, 4); },
       {"rows 0 0 7", "rows 1 0 1", "length -4"}},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.what);
    s.change(*table);
    EXPECT_EQ(table->FlushNotifications(), S_OK);
    EXPECT_EQ(log, s.expected);
    log.clear();
  }

  EXPECT_EQ(lengths->UnadviseLength(lengthLog.get()), S_OK);
  EXPECT_EQ(lengths->UnadviseLength(lengthLog.get()), E_FAIL);
  EXPECT_EQ(lengths->AdviseLength(nullptr), E_INVALIDARG);
}

TEST(TabulatedOnlineSink, RowsAppendedWhileSuspendedMergeIntoOneNotification) {
  auto table = CTabulatedData::Create();
  ASSERT_EQ(table->SetColumnCount(2), S_OK);
  ASSERT_EQ(table->SetOnlineData(TRUE), S_OK);
  auto sink = Face<Host::IOnlineDataSink>(table);
  Calls log;
  auto tableLog = ComPtr<TableLog>::Adopt(new TableLog(log));
  auto lengthLog = ComPtr<LengthLog>::Adopt(new LengthLog(log));
  ASSERT_EQ(table->Advise(tableLog.get()), S_OK);
  ASSERT_EQ(Face<Host::IKymoDataObservers>(table)->AdviseLength(lengthLog.get()), S_OK);

  const float two[] = {1, 2, 3, 4};
  const float one[] = {5, 6};
  ASSERT_EQ(sink->Suspend(), S_OK);
  EXPECT_EQ(sink->AppendRows(2, 2, two), S_OK);
  EXPECT_EQ(sink->AppendRows(1, 2, one), S_OK);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(sink->ResumeAndFlush(), S_OK);
  EXPECT_EQ(log, (Calls{"length 3", "rows 0 0 3", "rows 1 0 3"}));
  log.clear();

  float values[4];
  std::uint32_t got = 0;
  EXPECT_EQ(table->GetValues(0, 0, 4, values, &got), S_OK);
  EXPECT_EQ(std::vector<float>(values, values + got), (std::vector<float>{1, 3, 5}));
  EXPECT_EQ(table->GetValues(1, 0, 4, values, &got), S_OK);
  EXPECT_EQ(std::vector<float>(values, values + got), (std::vector<float>{2, 4, 6}));

  // Unsuspended, each append is told at once, its length with it.
  EXPECT_EQ(sink->AppendRows(1, 2, one), S_OK);
  EXPECT_EQ(log, (Calls{"rows 0 3 4", "rows 1 3 4", "length 1"}));
  log.clear();

  EXPECT_EQ(sink->AppendRows(1, 3, two), E_INVALIDARG);
  EXPECT_EQ(sink->AppendRows(1, 2, nullptr), E_INVALIDARG);
  EXPECT_EQ(sink->AppendRows(0, 2, nullptr), S_OK);
  EXPECT_TRUE(log.empty());
  std::int32_t rows = 0;
  EXPECT_EQ(table->GetMaxRowCount(&rows), S_OK);
  EXPECT_EQ(rows, 4);
}

} // namespace
} // namespace GUILib

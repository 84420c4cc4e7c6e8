#include "plotting/TabulatedData.h"

#include <cmath>
#include <iomanip>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace GUILib {
namespace {

namespace hr = Tarn::hr;
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

struct Recorder : TableObserver, RecordObserver {
  std::vector<std::string> calls;
  void ColumnsChanged(std::int64_t first, std::int64_t end) override {
    calls.push_back("columns " + std::to_string(first) + " " + std::to_string(end));
  }
  void RowsChanged(std::int64_t column, std::int64_t first, std::int64_t end) override {
    calls.push_back("rows " + std::to_string(column) + " " + std::to_string(first) + " " +
                    std::to_string(end));
  }
  void Reset() override { calls.push_back("reset"); }
  void DataReset() override { calls.push_back("data reset"); }
  void LengthChanged(std::int64_t delta) override {
    calls.push_back("length " + std::to_string(delta));
  }
};

struct Fixture {
  TabulatedTable table;
  std::shared_ptr<Recorder> seen = std::make_shared<Recorder>();
  Fixture(int columns) {
    for (int i = 0; i < columns; ++i)
      table.AddColumn(L"c" + std::to_wstring(i), L"");
    table.Advise(seen);
    table.AdviseRecord(seen);
  }
  std::vector<std::string> Take() { return std::exchange(seen->calls, {}); }
};

using Calls = std::vector<std::string>;

TEST(TabulatedData, ImmediateNotifications) {
  Fixture f(2);
  f.table.AppendValue(0, 1.0f);
  const float more[] = {2, 3, 4};
  f.table.AppendValues(1, more);
  f.table.InsertValues(1, 1, std::span<const float>(more, 1));
  f.table.AddColumn(L"x", L"V");
  f.table.RemoveColumn(0);
  f.table.RemoveAllColumns();
  EXPECT_EQ(f.Take(), (Calls{"rows 0 0 1", "rows 1 0 3", "rows 1 1 4", "columns 2 3", "columns 0 2",
                             "data reset", "reset"}));
}

TEST(TabulatedData, SuspendedChangesAreMergedAndSentAtTheFlush) {
  struct Row {
    const char* what;
    void (*change)(TabulatedTable&);
    Calls flushed;
  };
  const Row rows[] = {
      {"rows per touched column",
       [](TabulatedTable& t) {
         t.AppendValue(0, 1);
         t.AppendValue(2, 1);
         t.AppendValue(0, 2);
         t.AppendValue(2, 2);
         t.AppendValue(2, 3);
       },
       {"rows 0 0 2", "rows 2 0 3"}},
      {"columns win over rows",
       [](TabulatedTable& t) {
         t.AppendValue(1, 1);
         t.AddColumn(L"", L"");
         t.AddColumn(L"", L"");
       },
       {"columns 3 5"}},
      {"reset wins over everything",
       [](TabulatedTable& t) {
         t.AppendValue(1, 1);
         t.AddColumn(L"", L"");
         t.SetColumnCount(2);
       },
       {"data reset", "reset"}},
      {"nothing changed", [](TabulatedTable&) {}, {}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    Fixture f(3);
    f.table.SuspendNotifications();
    r.change(f.table);
    EXPECT_TRUE(f.Take().empty());
    EXPECT_EQ(f.table.FlushNotifications(), hr::falseResult);
    EXPECT_EQ(f.table.ResumeAndFlush(), hr::ok);
    EXPECT_EQ(f.Take(), r.flushed);
    // What was sent is not sent again.
    f.table.FlushNotifications();
    EXPECT_TRUE(f.Take().empty());
  }
}

TEST(TabulatedData, NestedSuspensionAndExtraResumes) {
  Fixture f(1);
  f.table.SuspendNotifications();
  f.table.SuspendNotifications();
  f.table.AppendValue(0, 1);
  EXPECT_EQ(f.table.ResumeAndFlush(), hr::falseResult);
  EXPECT_TRUE(f.Take().empty());
  EXPECT_EQ(f.table.ResumeAndFlush(), hr::ok);
  EXPECT_EQ(f.Take(), (Calls{"rows 0 0 1"}));
  // More resumes than suspensions leave the level at 1: one suspension turns them off again.
  EXPECT_EQ(f.table.ResumeNotifications(), hr::ok);
  EXPECT_EQ(f.table.ResumeNotifications(), hr::ok);
  f.table.SuspendNotifications();
  f.table.AppendValue(0, 2);
  EXPECT_TRUE(f.Take().empty());
}

TEST(TabulatedData, OnlineDataReportsTheLengthChangeAtEachFlush) {
  Fixture f(2);
  f.table.SetOnlineData(true);
  f.table.SuspendNotifications();
  const float values[] = {1, 2, 3};
  f.table.AppendValues(1, values);
  f.table.ResumeAndFlush();
  EXPECT_EQ(f.Take(), (Calls{"length 3", "rows 1 0 3"}));
  f.table.DeleteRows(0, 2);
  f.Take();
  f.table.FlushNotifications();
  EXPECT_EQ(f.Take(), (Calls{"length -2"}));
}

TEST(TabulatedData, IndicesAreChecked) {
  Fixture f(2);
  const float two[] = {1, 2};
  f.table.AppendValues(0, two);
  f.Take();
  float out[4];
  std::size_t fetched = 9;
  std::wstring text;
  std::optional<ColumnCursor> cursor;
  float value = 0;
  std::int64_t rows = 0;
  for (std::int64_t bad : {-1, 2, 100}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(f.table.SetColumnName(bad, L"n"), hr::invalidArg);
    EXPECT_EQ(f.table.SetColumnUnits(bad, L"u"), hr::invalidArg);
    EXPECT_EQ(f.table.RemoveColumn(bad), hr::invalidArg);
    EXPECT_EQ(f.table.AppendValue(bad, 1), hr::invalidArg);
    EXPECT_EQ(f.table.GetColumnName(bad, text), hr::invalidArg);
    EXPECT_EQ(f.table.CreateColumnCursor(bad, 0, 10, cursor), hr::invalidArg);
    EXPECT_EQ(f.table.GetValues(bad, 0, out, fetched), hr::invalidArg);
    EXPECT_EQ(f.table.GetRowCount(bad, rows), hr::invalidArg);
    EXPECT_EQ(f.table.GetColumnMax(bad, value), hr::invalidArg);
  }
  EXPECT_EQ(f.table.InsertValues(0, 3, two), hr::invalidArg);
  EXPECT_EQ(f.table.InsertValues(0, -1, two), hr::invalidArg);
  EXPECT_EQ(f.table.CreateColumnCursor(0, -1, 10, cursor), hr::invalidArg);
  EXPECT_EQ(f.table.GetValues(0, 3, out, fetched), hr::invalidArg);
  EXPECT_EQ(f.table.DeleteRows(1, 1), hr::invalidArg);
  EXPECT_EQ(f.table.DeleteRows(-1, 1), hr::invalidArg);
  EXPECT_EQ(f.table.DeleteRows(0, 3), hr::invalidArg);
  EXPECT_EQ(f.table.Unadvise(nullptr), hr::fail);
  EXPECT_EQ(f.Take(), Calls{});
}

TEST(TabulatedData, RowsDeletedFromEveryColumnAndCounted) {
  Fixture f(3);
  const float a[] = {0, 1, 2, 3, 4}, b[] = {10, 11};
  f.table.AppendValues(0, a);
  f.table.AppendValues(1, b);
  f.Take();
  EXPECT_EQ(f.table.MaxRowCount(), 5);
  EXPECT_EQ(f.table.MinRowCount(), 0);
  ASSERT_EQ(f.table.DeleteRows(1, 4), hr::ok);
  EXPECT_EQ(f.Take(), (Calls{"rows 0 1 5", "rows 1 1 2"}));
  EXPECT_EQ(f.table.Columns()[0]->values, (std::vector<float>{0, 4}));
  EXPECT_EQ(f.table.Columns()[1]->values, (std::vector<float>{10}));
  float out[8];
  std::size_t fetched = 0;
  EXPECT_EQ(f.table.GetValues(0, 1, out, fetched), hr::ok);
  EXPECT_EQ(fetched, 1u);
  EXPECT_EQ(out[0], 4.0f);
  EXPECT_EQ(f.table.GetValues(0, 2, out, fetched), hr::ok);
  EXPECT_EQ(fetched, 0u);
}

TEST(TabulatedData, ColumnMaximumAndMinimum) {
  struct Row {
    std::vector<float> values;
    HResult status;
    float max, min;
  };
  const Row rows[] = {
      {{kNaN, 2, 1}, hr::ok, 2, 1},
      {{kNaN}, hr::fail, 0, 0},
      {{}, hr::fail, 0, 0},
      {{-3, kNaN, 7, kNaN}, hr::ok, 7, -3},
  };
  for (const Row& r : rows) {
    TabulatedTable table;
    table.AddColumn(L"", L"");
    table.AppendValues(0, r.values);
    float max = 0, min = 0;
    EXPECT_EQ(table.GetColumnMax(0, max), r.status);
    EXPECT_EQ(table.GetColumnMin(0, min), r.status);
    if (r.status == hr::ok) {
      EXPECT_EQ(max, r.max);
      EXPECT_EQ(min, r.min);
    }
  }
}

TEST(TabulatedData, CursorsSeeTheLiveColumn) {
  TabulatedTable table;
  table.AddColumn(L"a", L"");
  const float first[] = {1, 2, 3};
  table.AppendValues(0, first);
  std::optional<ColumnCursor> cursor;
  ASSERT_EQ(table.CreateColumnCursor(0, 1, 6, cursor), hr::ok);
  float out[8];
  std::size_t fetched = 0;
  EXPECT_EQ(cursor->Next(std::span<float>(out, 1), fetched), hr::ok);
  EXPECT_EQ(out[0], 2.0f);
  ColumnCursor copy = cursor->Clone();
  // Values appended after the cursor was made are read, up to its end row.
  const float more[] = {4, 5, 6, 7};
  table.AppendValues(0, more);
  EXPECT_EQ(cursor->Next(out, fetched), hr::ok);
  EXPECT_EQ(std::vector<float>(out, out + fetched), (std::vector<float>{3, 4, 5, 6}));
  EXPECT_EQ(cursor->Next(out, fetched), hr::falseResult);
  EXPECT_EQ(fetched, 0u);
  EXPECT_EQ(copy.Position(), 2);
  EXPECT_EQ(copy.Skip(100), 4);
  EXPECT_EQ(copy.Skip(-10), -6);
  copy.Reset();
  EXPECT_EQ(copy.Position(), 1);
  // A removed column stays readable through the cursor.
  table.RemoveColumn(0);
  cursor->Reset();
  EXPECT_EQ(cursor->Next(out, fetched), hr::ok);
  EXPECT_EQ(fetched, 5u);
  ColumnCursor none(nullptr, 0, 10);
  EXPECT_EQ(none.Next(out, fetched), hr::fail);
}

TEST(TabulatedData, TextExport) {
  TabulatedTable table;
  table.AddColumn(L"Raw", L"V");
  table.AddColumn(L"", L"");
  table.AddColumn(L"Fitted", L"mmHg");
  const float raw[] = {1.5f, 2.25f, 3}, fitted[] = {10};
  table.AppendValues(0, raw);
  table.AppendValue(1, 7);
  table.AppendValues(2, fitted);
  std::wostringstream out;
  out << std::fixed << std::setprecision(2);
  WriteTableText(out, table);
  EXPECT_EQ(out.str(), L"Raw(V)\t\tFitted(mmHg)\t\n"
                       L"1.50\t7.00\t10.00\t\n"
                       L"2.25\t*\t*\t\n"
                       L"3.00\t*\t*\t\n");
  std::wostringstream empty;
  WriteTableText(empty, TabulatedTable{});
  EXPECT_EQ(empty.str(), L"\n");
}

} // namespace
} // namespace GUILib

#include "plotting/TablePersistence.h"

#include "foundation/ItemFile.h"
#include "plotting/TabulatedData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <string>
#include <vector>

// The largest single allocation made while a test watches, to show that a loader sizes its
// buffers by what the input holds and not by the counts it claims.
namespace {
std::atomic<bool> gWatching{false};
std::atomic<std::size_t> gLargest{0};

void* Allocate(std::size_t size) {
  if (gWatching.load(std::memory_order_relaxed)) {
    std::size_t seen = gLargest.load(std::memory_order_relaxed);
    while (size > seen && !gLargest.compare_exchange_weak(seen, size)) {
    }
  }
  if (void* p = std::malloc(size ? size : 1))
    return p;
  throw std::bad_alloc();
}
} // namespace

void* operator new(std::size_t size) {
  return Allocate(size);
}
void* operator new[](std::size_t size) {
  return Allocate(size);
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete[](void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  std::free(p);
}

namespace GUILib {
namespace {

namespace hr = Tarn::hr;
using Bytes = std::vector<std::uint8_t>;

struct ResetCounter : TableObserver {
  int resets = 0;
  int others = 0;
  void ColumnsChanged(std::int64_t, std::int64_t) override { ++others; }
  void RowsChanged(std::int64_t, std::int64_t, std::int64_t) override { ++others; }
  void Reset() override { ++resets; }
};

// The same items as a file but without a bound on what is left, as the host's stream reads.
class UnboundedReader final : public Tarn::ItemReader {
public:
  explicit UnboundedReader(const Bytes& bytes) : inner_(bytes) {}
  HResult ReadInt(std::int32_t& v) noexcept override { return inner_.ReadInt(v); }
  HResult ReadLong(std::int32_t& v) noexcept override { return inner_.ReadLong(v); }
  HResult ReadDouble(double& v) noexcept override { return inner_.ReadDouble(v); }
  HResult ReadString(std::wstring& v) noexcept override { return inner_.ReadString(v); }
  HResult Status() noexcept override { return inner_.Status(); }

private:
  Tarn::ItemFileReader inner_;
};

TabulatedTable Sample() {
  TabulatedTable t;
  t.AddColumn(L"Raw Values", L"mV");
  t.AddColumn(L"", L"");
  t.AddColumn(L"\u00b0C \"q\"\ttab", L"\u00b5V");
  const float raw[] = {0.5f, -1.25f, std::numeric_limits<float>::infinity(),
                       std::numeric_limits<float>::denorm_min(), -0.0f};
  t.AppendValues(0, raw);
  t.AppendValue(1, std::numeric_limits<float>::quiet_NaN());
  return t;
}

Bytes Save(const TabulatedTable& t) {
  Bytes bytes;
  Tarn::ItemFileWriter writer(bytes);
  EXPECT_EQ(SaveTable(writer, t), hr::ok);
  return bytes;
}

void ExpectSameTable(const TabulatedTable& a, const TabulatedTable& b) {
  ASSERT_EQ(a.ColumnCount(), b.ColumnCount());
  for (std::size_t c = 0; c < a.Columns().size(); ++c) {
    const NamedDataColumn& x = *a.Columns()[c];
    const NamedDataColumn& y = *b.Columns()[c];
    EXPECT_EQ(x.name, y.name);
    EXPECT_EQ(x.units, y.units);
    ASSERT_EQ(x.values.size(), y.values.size());
    // Bit for bit: NaN, the sign of zero and denormals must survive.
    if (!x.values.empty()) {
      EXPECT_EQ(std::memcmp(x.values.data(), y.values.data(), x.values.size() * sizeof(float)), 0);
    }
  }
}

TEST(TablePersistence, RoundTripReplacesTheTableWithOneReset) {
  const TabulatedTable original = Sample();
  const Bytes bytes = Save(original);

  TabulatedTable loaded;
  loaded.AddColumn(L"old", L"");
  loaded.AppendValue(0, 9);
  auto seen = std::make_shared<ResetCounter>();
  loaded.Advise(seen);
  Tarn::ItemFileReader reader(bytes);
  EXPECT_EQ(LoadTable(reader, loaded), hr::ok);
  EXPECT_TRUE(reader.AtEnd());
  ExpectSameTable(original, loaded);
  EXPECT_EQ(seen->resets, 1);
  EXPECT_EQ(seen->others, 0);
  EXPECT_EQ(Save(loaded), bytes);
}

TEST(TablePersistence, ItemsInTheirOrder) {
  TabulatedTable t;
  t.AddColumn(L"a", L"V");
  t.AddColumn(L"b", L"");
  t.AppendValue(0, 1.5f);
  t.AppendValue(0, 2.5f);
  t.AppendValue(1, 3.5f);
  const Bytes bytes = Save(t);
  Tarn::ItemFileReader r(bytes);
  std::int32_t n = 0, len0 = 0, len1 = 0;
  std::wstring s;
  double v = 0;
  EXPECT_EQ(r.ReadInt(n), hr::ok);
  EXPECT_EQ(n, 2);
  EXPECT_EQ(r.ReadInt(len0), hr::ok);
  EXPECT_EQ(r.ReadInt(len1), hr::ok);
  EXPECT_EQ(len0, 2);
  EXPECT_EQ(len1, 1);
  const std::vector<std::wstring> strings = {L"a", L"V", L"b", L""};
  const std::vector<double> values = {1.5, 2.5, 3.5};
  EXPECT_EQ(r.ReadString(s), hr::ok);
  EXPECT_EQ(s, strings[0]);
  EXPECT_EQ(r.ReadString(s), hr::ok);
  EXPECT_EQ(s, strings[1]);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(r.ReadDouble(v), hr::ok);
    EXPECT_EQ(v, values[i]);
  }
  EXPECT_EQ(r.ReadString(s), hr::ok);
  EXPECT_EQ(s, strings[2]);
  EXPECT_EQ(r.ReadString(s), hr::ok);
  EXPECT_EQ(s, strings[3]);
  EXPECT_EQ(r.ReadDouble(v), hr::ok);
  EXPECT_EQ(v, values[2]);
  EXPECT_TRUE(r.AtEnd());
}

// Hand-made documents: counts, lengths, then name, units and values per column.
struct Doc {
  const char* what;
  std::vector<std::int32_t> header; // count and lengths
  int columnsWritten;               // columns whose name and units follow
  int valuesPerColumn;
};

Bytes Build(const Doc& d) {
  Bytes bytes;
  Tarn::ItemFileWriter w(bytes);
  for (std::int32_t i : d.header)
    (void)w.WriteInt(i);
  for (int c = 0; c < d.columnsWritten; ++c) {
    (void)w.WriteString(L"n");
    (void)w.WriteString(L"u");
    for (int i = 0; i < d.valuesPerColumn; ++i)
      (void)w.WriteDouble(i);
  }
  return bytes;
}

TEST(TablePersistence, DamagedDocumentsAreRefusedAndLeaveTheTable) {
  const int kMax = std::numeric_limits<std::int32_t>::max();
  const Doc docs[] = {
      {"negative count", {-1}, 0, 0},
      {"huge count", {kMax}, 0, 0},
      {"count beyond the lengths", {3, 1, 1}, 0, 0},
      {"negative length", {1, -5}, 1, 0},
      {"huge length", {1, kMax}, 1, 10},
      {"lengths summing past the file", {2, kMax / 2, kMax / 2}, 2, 3},
      {"values missing", {1, 4}, 1, 3},
      {"names missing", {2, 1, 1}, 1, 1},
      {"empty", {}, 0, 0},
  };
  const TabulatedTable before = Sample();
  for (const Doc& d : docs) {
    SCOPED_TRACE(d.what);
    const Bytes bytes = Build(d);
    for (bool bounded : {true, false}) {
      TabulatedTable t = Sample();
      auto seen = std::make_shared<ResetCounter>();
      t.Advise(seen);
      gLargest = 0;
      gWatching = true;
      HResult status;
      if (bounded) {
        Tarn::ItemFileReader r(bytes);
        status = LoadTable(r, t);
      } else {
        UnboundedReader r(bytes);
        status = LoadTable(r, t);
      }
      gWatching = false;
      EXPECT_EQ(status, hr::fail);
      ExpectSameTable(before, t);
      EXPECT_EQ(seen->resets + seen->others, 0);
      // Nothing much larger than the document itself is ever asked for.
      EXPECT_LE(gLargest.load(), 4 * bytes.size() + 256) << (bounded ? "bounded" : "unbounded");
    }
  }
}

TEST(TablePersistence, EveryTruncationIsRefused) {
  const Bytes whole = Save(Sample());
  for (std::size_t size = Tarn::ItemFile::kHeaderSize; size < whole.size(); ++size) {
    const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
    TabulatedTable t;
    Tarn::ItemFileReader r(cut);
    EXPECT_EQ(LoadTable(r, t), hr::fail) << size;
    EXPECT_EQ(t.ColumnCount(), 0);
  }
}

TEST(TablePersistence, SaveReportsAFailedWriter) {
  struct Failing final : Tarn::ItemWriter {
    int left;
    explicit Failing(int n) : left(n) {}
    HResult Put() { return --left >= 0 ? hr::ok : hr::fail; }
    HResult WriteInt(std::int32_t) noexcept override { return Put(); }
    HResult WriteDouble(double) noexcept override { return Put(); }
    HResult WriteString(std::wstring_view) noexcept override { return Put(); }
    HResult Status() noexcept override { return left >= 0 ? hr::ok : hr::fail; }
  };
  const TabulatedTable t = Sample();
  for (int allowed : {0, 3, 10}) {
    Failing w(allowed);
    EXPECT_EQ(SaveTable(w, t), hr::fail) << allowed;
  }
  Failing enough(100);
  EXPECT_EQ(SaveTable(enough, t), hr::ok);
}

} // namespace
} // namespace GUILib

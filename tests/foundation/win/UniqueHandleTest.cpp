#include "foundation/win/UniqueHandle.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <utility>
#include <vector>

namespace {

// A handle kind whose frees are recorded: 0 means none.
std::vector<int> g_freed;
struct counted_traits {
  using pointer = int;
  static constexpr pointer invalid() noexcept { return 0; }
  static void close(pointer value) noexcept { g_freed.push_back(value); }
};
using unique_counted = Tarn::unique_any<counted_traits>;

class UniqueHandleTest : public ::testing::Test {
protected:
  void SetUp() override { g_freed.clear(); }
};

TEST_F(UniqueHandleTest, EachValueIsFreedExactlyOnce) {
  struct Case {
    const char* label;
    void (*act)();
    std::vector<int> freed;
  };
  const Case cases[] = {
      {"destructor", [] { unique_counted h(1); }, {1}},
      {"empty holder frees nothing", [] { unique_counted h; }, {}},
      {"reset frees the old value, destructor the new",
       [] {
         unique_counted h(1);
         h.reset(2);
       },
       {1, 2}},
      {"reset to the value held keeps it",
       [] {
         unique_counted h(1);
         h.reset(1);
       },
       {1}},
      {"release gives the value up unfreed",
       [] {
         unique_counted h(1);
         EXPECT_EQ(h.release(), 1);
         EXPECT_FALSE(h);
       },
       {}},
      {"put frees before the out-argument is written",
       [] {
         unique_counted h(1);
         *h.put() = 2;
         EXPECT_EQ(g_freed, std::vector<int>{1});
       },
       {1, 2}},
      {"move construction transfers",
       [] {
         unique_counted a(1);
         unique_counted b(std::move(a));
         EXPECT_FALSE(a);
         EXPECT_EQ(b.get(), 1);
       },
       {1}},
      {"move assignment frees the target's value and transfers",
       [] {
         unique_counted a(1), b(2);
         b = std::move(a);
         EXPECT_EQ(g_freed, std::vector<int>{2});
         EXPECT_FALSE(a);
         EXPECT_EQ(b.get(), 1);
       },
       {2, 1}},
      {"self move assignment keeps the value",
       [] {
         unique_counted a(1);
         unique_counted& alias = a;
         a = std::move(alias);
         EXPECT_EQ(a.get(), 1);
       },
       {1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    g_freed.clear();
    c.act();
    EXPECT_EQ(g_freed, c.freed);
  }
}

TEST_F(UniqueHandleTest, KernelAndFileHandlesAreClosed) {
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ASSERT_NE(event, nullptr);
  DWORD flags = 0;
  {
    Tarn::unique_handle holder(event);
    EXPECT_TRUE(GetHandleInformation(event, &flags));
  }
  EXPECT_FALSE(GetHandleInformation(event, &flags));

  // A file handle's "none" is INVALID_HANDLE_VALUE, which is never closed.
  Tarn::unique_hfile none;
  EXPECT_FALSE(none);
  EXPECT_EQ(none.get(), INVALID_HANDLE_VALUE);
  wchar_t folder[MAX_PATH], path[MAX_PATH];
  ASSERT_NE(GetTempPathW(MAX_PATH, folder), 0u);
  ASSERT_NE(GetTempFileNameW(folder, L"uh", 0, path), 0u);
  HANDLE file;
  {
    Tarn::unique_hfile holder(CreateFileW(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                          FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    ASSERT_TRUE(holder);
    file = holder.get();
  }
  EXPECT_FALSE(GetHandleInformation(file, &flags));
  EXPECT_EQ(GetFileAttributesW(path), INVALID_FILE_ATTRIBUTES); // deleted on close
}

TEST_F(UniqueHandleTest, GdiObjectsAreDeleted) {
  HFONT font;
  HDC dc;
  {
    Tarn::unique_hfont fontHolder(
        CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
    Tarn::unique_hdc dcHolder(CreateCompatibleDC(nullptr));
    ASSERT_TRUE(fontHolder);
    ASSERT_TRUE(dcHolder);
    font = fontHolder.get();
    dc = dcHolder.get();
    EXPECT_EQ(GetObjectType(font), static_cast<DWORD>(OBJ_FONT));
    EXPECT_EQ(GetObjectType(dc), static_cast<DWORD>(OBJ_MEMDC));
  }
  EXPECT_EQ(GetObjectType(font), 0u);
  EXPECT_EQ(GetObjectType(dc), 0u);
}

TEST_F(UniqueHandleTest, SelectedObjectGoesBackOut) {
  Tarn::unique_hdc dc(CreateCompatibleDC(nullptr));
  ASSERT_TRUE(dc);
  const HGDIOBJ originalPen = GetCurrentObject(dc.get(), OBJ_PEN);
  const HGDIOBJ originalBrush = GetCurrentObject(dc.get(), OBJ_BRUSH);
  HPEN pen;
  {
    Tarn::unique_hpen penHolder(CreatePen(PS_SOLID, 1, RGB(255, 0, 0)));
    Tarn::unique_hbrush brush(CreateSolidBrush(RGB(0, 0, 255)));
    pen = penHolder.get();
    Tarn::unique_select_object selectPen(dc.get(), pen);
    EXPECT_TRUE(selectPen);
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_PEN), pen);
    {
      Tarn::unique_select_object selectBrush(dc.get(), brush.get());
      EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BRUSH), brush.get());
    }
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BRUSH), originalBrush);

    // A moved holder restores once, when its new owner dies.
    Tarn::unique_select_object moved(std::move(selectPen));
    EXPECT_FALSE(selectPen);
    selectPen.reset();
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_PEN), pen);
    moved.reset();
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_PEN), originalPen);

    // Selecting nothing holds nothing.
    Tarn::unique_select_object none(dc.get(), nullptr);
    EXPECT_FALSE(none);
  }
  // The pen was selected out before its holder deleted it.
  EXPECT_EQ(GetObjectType(pen), 0u);
  EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_PEN), originalPen);
}

TEST_F(UniqueHandleTest, ScopeExitRunsOnceUnlessReleased) {
  int runs = 0;
  {
    Tarn::scope_exit guard([&] { ++runs; });
    EXPECT_EQ(runs, 0);
  }
  EXPECT_EQ(runs, 1);
  {
    Tarn::scope_exit guard([&] { ++runs; });
    guard.release();
  }
  EXPECT_EQ(runs, 1);
}

// The context active on this thread (null for the process default).
HANDLE CurrentActCtx() {
  HANDLE current = nullptr;
  if (!GetCurrentActCtx(&current))
    return INVALID_HANDLE_VALUE;
  Tarn::unique_hactctx reference(current);
  return current;
}

TEST_F(UniqueHandleTest, ActivationContextIsDeactivatedOnce) {
  const auto none = Tarn::unique_actctx_cookie::Activate(INVALID_HANDLE_VALUE);
  EXPECT_FALSE(none);

  wchar_t folder[MAX_PATH], path[MAX_PATH];
  ASSERT_NE(GetTempPathW(MAX_PATH, folder), 0u);
  ASSERT_NE(GetTempFileNameW(folder, L"uh", 0, path), 0u);
  Tarn::scope_exit removeFile([&] { DeleteFileW(path); });
  {
    Tarn::unique_file out(_wfopen(path, L"wb"));
    ASSERT_TRUE(out);
    std::fputs("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
               "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\n"
               "<assemblyIdentity type=\"win32\" name=\"Mpcal.HolderTest\" version=\"1.0.0.0\"/>\n"
               "</assembly>\n",
               out.get());
  }
  ACTCTXW description{};
  description.cbSize = sizeof description;
  description.lpSource = path;
  Tarn::unique_hactctx context(CreateActCtxW(&description));
  ASSERT_TRUE(context);
  const HANDLE before = CurrentActCtx();
  {
    auto active = Tarn::unique_actctx_cookie::Activate(context.get());
    ASSERT_TRUE(active);
    EXPECT_EQ(CurrentActCtx(), context.get());
    Tarn::unique_actctx_cookie moved(std::move(active));
    EXPECT_FALSE(active);
    active.reset();
    EXPECT_EQ(CurrentActCtx(), context.get());
  }
  EXPECT_EQ(CurrentActCtx(), before);
}

TEST_F(UniqueHandleTest, WindowDcMovesToItsNewOwner) {
  auto screen = Tarn::unique_window_dc::Get(nullptr);
  ASSERT_TRUE(screen);
  const HDC dc = screen.get();
  Tarn::unique_window_dc moved(std::move(screen));
  EXPECT_FALSE(screen);
  EXPECT_EQ(moved.get(), dc);
  EXPECT_NE(GetObjectType(moved.get()), 0u);
}

} // namespace

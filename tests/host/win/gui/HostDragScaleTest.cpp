// The reference host's drag scale through the registrar's class-object slot, driven as a user
// would: real child windows, mouse drags, observers, measuring and drawing into a metafile.
#include <windows.h>

#include <oleidl.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "GuiDriver.h"
#include "HostApplication.h"
#include "foundation/win/ComObject.h"
#include "foundation/win/ComPtr.h"
#include "foundation/win/UniqueHandle.h"
#include "hostapi/HostInterfaces.h"

namespace {

using Tarn::ComPtr;
using namespace std::chrono_literals;

struct Event {
  std::string what;
  double factor = 0;
  double offset = 0;
};

class RecordingObserver final
    : public Tarn::ComObject<RecordingObserver, Host::IDragScaleObserver> {
public:
  static ComPtr<RecordingObserver> Make() {
    return ComPtr<RecordingObserver>::Adopt(new RecordingObserver);
  }
  std::vector<Event> events;
  // The references held on this observer, the test's own included.
  ULONG References() {
    AddRef();
    return Release();
  }

  HRESULT STDMETHODCALLTYPE DragStarted(Host::IDragScale*) noexcept override {
    return Add("started");
  }
  HRESULT STDMETHODCALLTYPE Dragging(Host::IDragScale*, double f, double o) noexcept override {
    return Add("dragging", f, o);
  }
  HRESULT STDMETHODCALLTYPE RangeChanged(Host::IDragScale*, double f, double o) noexcept override {
    return Add("range", f, o);
  }
  HRESULT STDMETHODCALLTYPE DragEnded(Host::IDragScale*) noexcept override { return Add("ended"); }
  HRESULT STDMETHODCALLTYPE TransformChanged(Host::IDragScale*, double f,
                                             double o) noexcept override {
    return Add("transform", f, o);
  }
  HRESULT STDMETHODCALLTYPE QueryOption(Host::IDragScale*, std::uint32_t) noexcept override {
    return Add("option");
  }

private:
  friend Tarn::ComObject<RecordingObserver, Host::IDragScaleObserver>;
  RecordingObserver() = default;
  ~RecordingObserver() = default;
  HRESULT Add(const char* what, double f = 0, double o = 0) {
    events.push_back({what, f, o});
    return S_OK;
  }
};

std::vector<std::string> Kinds(const std::vector<Event>& events) {
  std::vector<std::string> kinds;
  for (const auto& e : events)
    if (kinds.empty() || kinds.back() != e.what)
      kinds.push_back(e.what);
  return kinds;
}

int Px(int value) {
  return MulDiv(value, GuiDriver::ExpectedDpi(), 96);
}

ComPtr<Host::IDragScaleFactory> Factory() {
  auto& host = Vela::HostApplication::Instance();
  Host::IRegistrarBase* registrar = &host;
  ComPtr<Host::IDragScaleFactory> factory;
  EXPECT_EQ(registrar->GetClassObject(host.DragScaleFactoryClassCode(), Host::IID_IDragScaleFactory,
                                      factory.put_void()),
            S_OK);
  return factory;
}

HWND WindowOf(Host::IDragScale* scale) {
  ComPtr<IOleWindow> window;
  HWND hwnd = nullptr;
  if (SUCCEEDED(scale->QueryInterface(IID_IOleWindow, window.put_void())))
    (void)window->GetWindow(&hwnd);
  return hwnd;
}

class DragScaleTest : public ::testing::Test {
protected:
  void SetUp() override {
    parent_.reset(CreateWindowExW(0, L"STATIC", L"",
                                  WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN | WS_VISIBLE, 40, 40,
                                  Px(540), Px(360), nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(parent_);
    factory_ = Factory();
    ASSERT_TRUE(factory_);
  }

  // A vertical scale beside a 240-pixel axis: the window reaches 9 pixels beyond each end.
  ComPtr<Host::IDragScale> Vertical(RECT r = {10, 10, 70, 268}) {
    ComPtr<Host::IDragScale> scale;
    EXPECT_EQ(factory_->CreateScale(parent_.get(), &r, -9, -9, 48, 0, scale.put()), S_OK);
    return scale;
  }

  Tarn::unique_hwnd parent_;
  ComPtr<Host::IDragScaleFactory> factory_;
};

TEST_F(DragScaleTest, RegistrarGivesTheFactoryUnderItsOwnClassCode) {
  auto& host = Vela::HostApplication::Instance();
  EXPECT_NE(host.DragScaleFactoryClassCode(), host.HostChannelCalcClassCode());
  EXPECT_EQ(host.DragScaleFactoryClassCode() >> 16, host.HostChannelCalcClassCode() >> 16);
  ComPtr<Host::IDragScaleFactory> wrong;
  EXPECT_TRUE(FAILED(host.GetClassObject(host.HostChannelCalcClassCode(),
                                         Host::IID_IDragScaleFactory, wrong.put_void())));
  ComPtr<Host::IDragScale> scale;
  RECT r{0, 0, 50, 100};
  EXPECT_EQ(factory_->CreateScale(parent_.get(), &r, 0, 0, 0, 2, scale.put()), E_INVALIDARG);
  EXPECT_FALSE(scale);
}

TEST_F(DragScaleTest, WindowObjectGivesARealChildWindowWithEveryFace) {
  auto scale = Vertical();
  const HWND hwnd = WindowOf(scale.get());
  ASSERT_TRUE(hwnd);
  EXPECT_EQ(GetParent(hwnd), parent_.get());
  EXPECT_TRUE(GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD);
  RECT r{};
  GetWindowRect(hwnd, &r);
  EXPECT_EQ(r.right - r.left, 60);
  EXPECT_EQ(r.bottom - r.top, 258);
  ComPtr<Host::IAxisScale> axis;
  ASSERT_EQ(scale->GetAxisScale(axis.put()), S_OK);
  ComPtr<Host::IAxisScaleDefault> defaults;
  ASSERT_EQ(scale->QueryInterface(Host::IID_IAxisScaleDefault, defaults.put_void()), S_OK);
  EXPECT_EQ(defaults->HasDefaultRange(), S_FALSE);
  ASSERT_EQ(axis->SetRange(10, -10), S_OK);
  EXPECT_EQ(defaults->HasDefaultRange(), S_OK);
  double factor = 0, offset = 0;
  ASSERT_EQ(axis->GetTransform(&factor, &offset), S_OK);
  EXPECT_DOUBLE_EQ(factor, -12.0) << "240 pixels for 20 units, top at pixel 0";
  EXPECT_DOUBLE_EQ(offset, -10.0);
  double value = 0;
  ASSERT_EQ(axis->PixelToValue(60, &value), S_OK);
  EXPECT_DOUBLE_EQ(value, 5.0);
  ASSERT_EQ(scale->SetRange(4, 2), S_OK);
  ASSERT_EQ(defaults->ResetToDefault(), S_OK);
  double top = 0, bottom = 0;
  ASSERT_EQ(scale->GetRange(&top, &bottom), S_OK);
  EXPECT_EQ(top, 10);
  EXPECT_EQ(bottom, -10);
}

TEST_F(DragScaleTest, RefusedRangesKeepTheOldOneAndTellNobody) {
  auto scale = Vertical();
  ASSERT_EQ(scale->SetRange(5, 1), S_OK);
  auto observer = RecordingObserver::Make();
  ASSERT_EQ(scale->Attach(observer.get()), S_OK);
  constexpr double nan = std::numeric_limits<double>::quiet_NaN();
  constexpr double inf = std::numeric_limits<double>::infinity();
  struct Case {
    double top;
    double bottom;
  };
  for (const Case c : {Case{3, 3}, Case{nan, 1}, Case{1, nan}, Case{inf, 0}, Case{1, 5},
                       Case{1.7e308, -1.7e308}}) {
    EXPECT_LT(scale->SetRange(c.top, c.bottom), 0) << c.top << " " << c.bottom;
    double top = 0, bottom = 0;
    ASSERT_EQ(scale->GetRange(&top, &bottom), S_OK);
    EXPECT_EQ(top, 5);
    EXPECT_EQ(bottom, 1);
  }
  EXPECT_TRUE(observer->events.empty());
  ASSERT_EQ(scale->SetRange(6, 2), S_OK);
  ASSERT_EQ(observer->events.size(), 1u);
  EXPECT_EQ(observer->events[0].what, "range");
  EXPECT_DOUBLE_EQ(observer->events[0].factor, -60.0);
  EXPECT_DOUBLE_EQ(observer->events[0].offset, -6.0);
  EXPECT_EQ(scale->Detach(observer.get()), S_OK);
}

TEST_F(DragScaleTest, DraggingTheMiddlePansAndTheEndsStretchWithObserversToldInOrder) {
  auto scale = Vertical();
  const HWND hwnd = WindowOf(scale.get());
  ASSERT_EQ(scale->SetRange(10, -10), S_OK);
  auto first = RecordingObserver::Make();
  auto second = RecordingObserver::Make();
  ASSERT_EQ(scale->Attach(first.get()), S_OK);
  ASSERT_EQ(scale->Attach(second.get()), S_OK);
  ComPtr<Host::IAxisScale> axis;
  ASSERT_EQ(scale->GetAxisScale(axis.put()), S_OK);

  // Pan: the value under the button (axis pixel 120, window row 129) follows it 30 rows down.
  double grabbed = 0;
  ASSERT_EQ(axis->PixelToValue(120, &grabbed), S_OK);
  ASSERT_TRUE(GuiDriver::Drag(hwnd, {30, 129}, {30, 159}, 3));
  double top = 0, bottom = 0;
  ASSERT_EQ(scale->GetRange(&top, &bottom), S_OK);
  EXPECT_NEAR(top, 12.5, 1e-9);
  EXPECT_NEAR(bottom, -7.5, 1e-9);
  double factor = 0, offset = 0;
  ASSERT_EQ(axis->GetTransform(&factor, &offset), S_OK);
  EXPECT_NEAR((grabbed + offset) * factor, 150, 1e-9);
  for (const auto* observer : {first.get(), second.get()}) {
    EXPECT_EQ(Kinds(observer->events),
              (std::vector<std::string>{"started", "dragging", "range", "ended"}));
    EXPECT_EQ(observer->events.size(), 6u) << "three moves";
    const Event& range = observer->events[observer->events.size() - 2];
    EXPECT_EQ(range.factor, factor);
    EXPECT_EQ(range.offset, offset);
  }

  // Stretch: the top end dragged down by 60 rows, the bottom end stays.
  first->events.clear();
  ASSERT_EQ(scale->SetRange(10, -10), S_OK);
  ASSERT_TRUE(GuiDriver::Drag(hwnd, {30, 9}, {30, 69}));
  ASSERT_EQ(scale->GetRange(&top, &bottom), S_OK);
  EXPECT_EQ(bottom, -10);
  EXPECT_NEAR(top, -10 + 20.0 * 240 / 180, 1e-9);
  EXPECT_EQ(Kinds(first->events),
            (std::vector<std::string>{"range", "started", "dragging", "range", "ended"}));

  // The bottom end dragged further down (below the window): the top stays.
  ASSERT_EQ(scale->SetRange(10, -10), S_OK);
  ASSERT_TRUE(GuiDriver::Drag(hwnd, {30, 247}, {30, 289}));
  ASSERT_EQ(scale->GetRange(&top, &bottom), S_OK);
  EXPECT_EQ(top, 10);
  EXPECT_NEAR(bottom, 10 - 20.0 * 238 / 280, 1e-9);

  // A click without a move changes nothing: no range notice between start and end.
  first->events.clear();
  ASSERT_TRUE(GuiDriver::ClickAt(hwnd, {30, 129}));
  EXPECT_EQ(Kinds(first->events), (std::vector<std::string>{"started", "ended"}));
  EXPECT_EQ(scale->Detach(first.get()), S_OK);
  EXPECT_EQ(scale->Detach(second.get()), S_OK);
}

TEST_F(DragScaleTest, LosingTheCaptureEndsTheDragOnce) {
  auto scale = Vertical();
  const HWND hwnd = WindowOf(scale.get());
  ASSERT_EQ(scale->SetRange(10, -10), S_OK);
  auto observer = RecordingObserver::Make();
  ASSERT_EQ(scale->Attach(observer.get()), S_OK);
  SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 129));
  SendMessageW(hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(30, 141));
  ASSERT_EQ(GetCapture(), hwnd);
  SetCapture(parent_.get());
  ReleaseCapture();
  SendMessageW(hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(30, 200));
  SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(30, 200));
  EXPECT_EQ(Kinds(observer->events),
            (std::vector<std::string>{"started", "dragging", "range", "ended"}));
  double top = 0, bottom = 0;
  ASSERT_EQ(scale->GetRange(&top, &bottom), S_OK);
  EXPECT_NEAR(top, 11, 1e-9) << "12 rows at 12 rows per unit";
  EXPECT_EQ(scale->Detach(observer.get()), S_OK);
}

TEST_F(DragScaleTest, HorizontalScalesPutTheHighEndOnTheRight) {
  RECT r{80, 280, 330, 320};
  ComPtr<Host::IDragScale> scale;
  ASSERT_EQ(factory_->CreateScale(parent_.get(), &r, -5, -5, 0, 1, scale.put()), S_OK);
  ASSERT_EQ(scale->SetRange(100, 0), S_OK);
  ComPtr<Host::IAxisScale> axis;
  ASSERT_EQ(scale->GetAxisScale(axis.put()), S_OK);
  double factor = 0, offset = 0;
  ASSERT_EQ(axis->GetTransform(&factor, &offset), S_OK);
  EXPECT_DOUBLE_EQ(factor, 2.4);
  EXPECT_DOUBLE_EQ(offset, 0.0);
  // Dragged 24 pixels to the right: the values move right, the low end shows -10.
  ASSERT_TRUE(GuiDriver::Drag(WindowOf(scale.get()), {125, 20}, {149, 20}));
  double high = 0, low = 0;
  ASSERT_EQ(scale->GetRange(&high, &low), S_OK);
  EXPECT_NEAR(low, -10, 1e-9);
  EXPECT_NEAR(high, 90, 1e-9);
}

// The graph draws its grid where the scale puts its major ticks and checks typed ranges against
// the scale's limits: both faces answer for vertical and horizontal scales.
TEST_F(DragScaleTest, GridLinesFallOnMajorTicksAndTypedRangesHaveLimits) {
  RECT horizontalRect{80, 280, 330, 320};
  ComPtr<Host::IDragScale> horizontal;
  ASSERT_EQ(factory_->CreateScale(parent_.get(), &horizontalRect, -5, -5, 0, 1, horizontal.put()),
            S_OK);
  struct Case {
    ComPtr<Host::IDragScale> scale;
    double high;
    double low;
  };
  std::vector<Case> cases;
  cases.push_back({Vertical(), 10, -10});
  cases.push_back({Vertical(), 0.37, 0.12});
  cases.push_back({std::move(horizontal), 2500, -100});
  for (Case& c : cases) {
    ASSERT_EQ(c.scale->SetRange(c.high, c.low), S_OK);
    ComPtr<Host::IAxisScaleGrid> grid;
    ASSERT_EQ(c.scale->QueryInterface(Host::IID_IAxisScaleGrid, grid.put_void()), S_OK);
    ComPtr<Host::IAxisScale> axis;
    ASSERT_EQ(c.scale->GetAxisScale(axis.put()), S_OK);
    double first = -1, spacing = -1;
    ASSERT_EQ(grid->GetGrid(&first, &spacing), S_OK);
    double factor = 0, offset = 0;
    ASSERT_EQ(axis->GetTransform(&factor, &offset), S_OK);
    const double length = std::fabs((c.high - c.low) * factor);
    EXPECT_GE(first, 0.0);
    EXPECT_LT(first, spacing + 1e-9);
    ASSERT_GT(spacing, 4.0);
    // The step in values is 1, 2 or 5 times a power of ten, and every line sits on a multiple.
    const double step = spacing / std::fabs(factor);
    const double mantissa = step / std::pow(10.0, std::floor(std::log10(step) + 1e-9));
    EXPECT_TRUE(std::fabs(mantissa - 1) < 1e-6 || std::fabs(mantissa - 2) < 1e-6 ||
                std::fabs(mantissa - 5) < 1e-6)
        << step;
    int lines = 0;
    for (double pixel = first; pixel <= length + 1e-6; pixel += spacing, ++lines) {
      double value = 0;
      ASSERT_EQ(axis->PixelToValue(pixel, &value), S_OK);
      EXPECT_NEAR(value / step, std::round(value / step), 1e-6) << pixel;
      EXPECT_GE(value, c.low - 1e-9);
      EXPECT_LE(value, c.high + 1e-9);
    }
    EXPECT_GE(lines, 2);

    ComPtr<Host::IAxisScaleLimits> limits;
    ASSERT_EQ(c.scale->QueryInterface(Host::IID_IAxisScaleLimits, limits.put_void()), S_OK);
    double upper = 0, lower = 0;
    ASSERT_EQ(limits->GetLimits(&upper, &lower), S_OK);
    EXPECT_TRUE(std::isfinite(upper) && std::isfinite(lower));
    EXPECT_LT(lower, c.low);
    EXPECT_GT(upper, c.high);
    EXPECT_EQ(c.scale->SetRange(upper, lower), S_OK) << "the limits themselves are a range";
  }
}

TEST_F(DragScaleTest, DetachedOrDestroyedObserversAreNeverToldAgainAndAreReleased) {
  auto scale = Vertical();
  auto kept = RecordingObserver::Make();
  auto detached = RecordingObserver::Make();
  ASSERT_EQ(scale->Attach(kept.get()), S_OK);
  ASSERT_EQ(scale->Attach(detached.get()), S_OK);
  EXPECT_EQ(kept->References(), 2u) << "the test's and the scale's";
  ASSERT_EQ(scale->Detach(detached.get()), S_OK);
  EXPECT_EQ(detached->References(), 1u);
  EXPECT_EQ(scale->Detach(detached.get()), S_FALSE);
  ASSERT_EQ(scale->SetRange(3, 1), S_OK);
  RECT moved{12, 10, 72, 308};
  ASSERT_EQ(scale->SetPosition(&moved), S_OK);
  EXPECT_TRUE(detached->events.empty());
  ASSERT_EQ(kept->events.size(), 2u);
  EXPECT_EQ(kept->events[1].what, "transform");
  EXPECT_DOUBLE_EQ(kept->events[1].factor, -140.0) << "280 pixels for 2 units";

  kept->events.clear();
  parent_.reset();
  EXPECT_EQ(kept->References(), 1u) << "released with the window";
  EXPECT_EQ(scale->SetRange(8, 4), S_OK);
  EXPECT_TRUE(kept->events.empty());
  EXPECT_TRUE(FAILED(scale->Attach(kept.get())));
  EXPECT_EQ(kept->References(), 1u);
}

TEST_F(DragScaleTest, TheLastReferenceDestroysTheWindowAndReleasesTheObservers) {
  auto scale = Vertical();
  const HWND hwnd = WindowOf(scale.get());
  auto observer = RecordingObserver::Make();
  ASSERT_EQ(scale->Attach(observer.get()), S_OK);
  scale = nullptr;
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(observer->References(), 1u);
  EXPECT_TRUE(observer->events.empty());
}

int CalcWith(Host::IDragScale* scale, int fontHeight) {
  std::int32_t thickness = 0;
  EXPECT_EQ(scale->CalcSize(nullptr, fontHeight, &thickness), S_OK);
  return thickness;
}

TEST_F(DragScaleTest, CalcSizeGrowsWithTheFont) {
  for (int orientation : {0, 1}) {
    RECT r{0, 0, 300, 300};
    ComPtr<Host::IDragScale> scale;
    ASSERT_EQ(factory_->CreateScale(nullptr, &r, 0, 0, 0, orientation, scale.put()), S_OK);
    ASSERT_EQ(scale->SetRange(-1000.5, -1250), S_OK);
    ASSERT_EQ(scale->SetUnitLabel(L"mV"), S_OK);
    const int small = CalcWith(scale.get(), 10);
    const int large = CalcWith(scale.get(), 24);
    EXPECT_GT(small, 10);
    EXPECT_GT(large, small + 10) << orientation;

    // Measured on a device context with its own font.
    Tarn::unique_hdc dc(CreateCompatibleDC(nullptr));
    Tarn::unique_hfont font(
        CreateFontW(-30, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
    Tarn::unique_select_object selected(dc.get(), font.get());
    std::int32_t onDc = 0;
    ASSERT_EQ(scale->CalcSize(dc.get(), 0, &onDc), S_OK);
    EXPECT_GT(onDc, large);
  }
  // The minimum thickness holds for a scale with narrow labels.
  RECT r{0, 0, 60, 300};
  ComPtr<Host::IDragScale> scale;
  ASSERT_EQ(factory_->CreateScale(nullptr, &r, 0, 0, 48, 0, scale.put()), S_OK);
  EXPECT_GE(CalcWith(scale.get(), 6), 48);
}

int CALLBACK CountRecords(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM counts) {
  auto* found = reinterpret_cast<std::vector<int>*>(counts);
  if (record->iType == EMR_EXTTEXTOUTW)
    ++(*found)[0];
  if (record->iType == EMR_LINETO)
    ++(*found)[1];
  return 1;
}

TEST_F(DragScaleTest, DrawsIntoAnEnhancedMetafileWithoutAWindow) {
  RECT r{0, 0, 60, 300};
  ComPtr<Host::IDragScale> scale;
  ASSERT_EQ(factory_->CreateScale(nullptr, &r, -8, -8, 48, 0, scale.put()), S_OK);
  HWND none = reinterpret_cast<HWND>(1);
  ComPtr<IOleWindow> window;
  ASSERT_EQ(scale->QueryInterface(IID_IOleWindow, window.put_void()), S_OK);
  EXPECT_TRUE(FAILED(window->GetWindow(&none)));
  EXPECT_EQ(none, nullptr);
  ASSERT_EQ(scale->SetRange(1, 0), S_OK);
  ASSERT_EQ(scale->SetUnitLabel(L"V"), S_OK);

  Tarn::unique_hdc dc(CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr));
  ASSERT_TRUE(dc);
  Tarn::unique_hfont font(
      CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
  HGDIOBJ before = SelectObject(dc.get(), font.get());
  RECT target{10, 10, 80, 330};
  EXPECT_EQ(scale->Draw(dc.get(), &target), S_OK);
  EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_FONT), font.get()) << "the dc's state is given back";
  SelectObject(dc.get(), before);
  Tarn::unique_henhmetafile metafile(CloseEnhMetaFile(dc.release()));
  ASSERT_TRUE(metafile);
  std::vector<int> counts{0, 0};
  EnumEnhMetaFile(nullptr, metafile.get(), CountRecords, &counts, nullptr);
  EXPECT_GE(counts[0], 4) << "tick labels and the unit";
  EXPECT_GE(counts[1], 10) << "axis line and ticks";
}

TEST_F(DragScaleTest, ScalePictures) {
  const int len = Px(240);
  const int end = Px(9);
  RECT vr{Px(10), Px(10), Px(10) + Px(70), Px(10) + len + 2 * end};
  ComPtr<Host::IDragScale> vertical;
  ASSERT_EQ(factory_->CreateScale(parent_.get(), &vr, -end, -end, Px(48), 0, vertical.put()), S_OK);
  ASSERT_EQ(vertical->SetUnitLabel(L"mV"), S_OK);
  ASSERT_EQ(vertical->SetRange(1.25, -0.4), S_OK);
  std::int32_t width = 0;
  ASSERT_EQ(vertical->CalcSize(nullptr, 0, &width), S_OK);
  vr.right = vr.left + width;
  ASSERT_EQ(vertical->SetPosition(&vr), S_OK);

  RECT hr{vr.right, vr.bottom - end, vr.right + Px(300), vr.bottom - end + Px(60)};
  ComPtr<Host::IDragScale> horizontal;
  ASSERT_EQ(factory_->CreateScale(parent_.get(), &hr, 0, 0, 0, 1, horizontal.put()), S_OK);
  ASSERT_EQ(horizontal->SetTitle(L"Raw Values"), S_OK);
  ASSERT_EQ(horizontal->SetUnitLabel(L"V"), S_OK);
  ASSERT_EQ(horizontal->SetOption(0xFFFF), S_OK);
  ASSERT_EQ(horizontal->SetRange(2500, -120), S_OK);
  std::int32_t height = 0;
  ASSERT_EQ(horizontal->CalcSize(nullptr, 0, &height), S_OK);
  hr.bottom = hr.top + height;
  ASSERT_EQ(horizontal->SetPosition(&hr), S_OK);

  // A titled scale with exponent labels, stretched by a drag of its bottom end.
  RECT tr{hr.right + Px(20), vr.top, hr.right + Px(20) + Px(48), vr.bottom};
  ComPtr<Host::IDragScale> titled;
  ASSERT_EQ(factory_->CreateScale(parent_.get(), &tr, -end, -end, Px(48), 0, titled.put()), S_OK);
  ASSERT_EQ(titled->SetTitle(L"Fitted Values"), S_OK);
  ASSERT_EQ(titled->SetUnitLabel(L"N"), S_OK);
  ASSERT_EQ(titled->SetOption(0xFFFF), S_OK);
  ASSERT_EQ(titled->SetRange(3e-9, -1e-9), S_OK);
  ASSERT_TRUE(
      GuiDriver::Drag(WindowOf(titled.get()), {Px(20), end + len - 2}, {Px(20), end + len / 2}));
  ASSERT_EQ(titled->CalcSize(nullptr, 0, &width), S_OK);
  tr.right = tr.left + width;
  ASSERT_EQ(titled->SetPosition(&tr), S_OK);

  RedrawWindow(parent_.get(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  GuiDriver::Pump(100ms);
  const auto suffix = std::to_wstring(GuiDriver::ExpectedDpi());
  EXPECT_FALSE(GuiDriver::CaptureToPng(parent_.get(), L"host-drag-scales-" + suffix).empty());

  // Something dark was drawn inside each scale, and nothing outside the window's own pixels.
  for (const HWND hwnd :
       {WindowOf(vertical.get()), WindowOf(horizontal.get()), WindowOf(titled.get())}) {
    const GuiDriver::Picture picture = GuiDriver::Capture(hwnd);
    int dark = 0;
    for (const std::uint32_t pixel : picture.pixels)
      dark += (pixel & 0xFF) < 0x60 && ((pixel >> 8) & 0xFF) < 0x60;
    EXPECT_GT(dark, 100);
  }
}

} // namespace

#include "DataWindow.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "HostIds.h"
#include "HostText.h"
#include "ScaleMath.h"
#include "TraceColumns.h"
#include "ValueAxis.h"
#include "window/win/Dpi.h"

namespace Vela {
namespace {

constexpr COLORREF kBackground = RGB(255, 255, 255);
constexpr COLORREF kPlotFrame = RGB(160, 160, 160);
constexpr COLORREF kGrid = RGB(232, 232, 232);
constexpr COLORREF kBlockGap = RGB(200, 200, 200);
constexpr COLORREF kSelection = RGB(204, 226, 252);
constexpr COLORREF kSelectionEdge = RGB(64, 120, 200);
constexpr COLORREF kText = RGB(32, 32, 32);
constexpr COLORREF kPicked = RGB(64, 120, 200);

void FillSolid(HDC dc, const RECT& r, COLORREF colour) {
  ::SetBkColor(dc, colour);
  ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

SIZE TextSize(HDC dc, const std::wstring& text) {
  SIZE size{};
  ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size;
}

void DrawLine(HDC dc, int x0, int y0, int x1, int y1) {
  ::MoveToEx(dc, x0, y0, nullptr);
  ::LineTo(dc, x1, y1);
}

int Row(double y) {
  return static_cast<int>(std::lround(std::clamp(y, -1e6, 1e6)));
}

// The channel's display range (kept in raw values) in the units the trace is drawn in.
ValueAxis BandAxis(const Recording::Channel& channel, int yBottom, int yTop) {
  return ValueAxis(channel.ToDataUnits(channel.bottom), channel.ToDataUnits(channel.top), yBottom,
                   yTop);
}

// The 1-2-5 ticks of an axis from `low` to `high` over `length` pixels, at least `spacing`
// pixels apart, labelled as the host's drag scale labels them.
struct TickSet {
  double step = 0;
  std::vector<double> values;
  double largest = 0;
  std::wstring Label(double value) const {
    return ScaleMath::LabelText(value, step, largest, DecimalSeparator());
  }
};

TickSet MakeTicks(double low, double high, int length, int spacing) {
  TickSet ticks;
  ScaleMath axis(ScaleMath::Orientation::Vertical, length);
  if (!axis.SetRange(high, low))
    return ticks;
  ticks.step = ScaleMath::TickStep(high - low, length, spacing);
  ticks.values = axis.Ticks(ticks.step);
  ticks.largest = std::max(std::fabs(low), std::fabs(high));
  return ticks;
}

// Value ticks a line and a half of text apart, and at least two in a band however short.
int ValueTickSpacing(int rows, int textHeight) {
  return std::max(1, std::min(textHeight * 3 / 2, rows / 2));
}

std::wstring ChannelTitle(const Recording::Channel& channel) {
  const std::wstring& unit = channel.DataUnit();
  return unit.empty() ? channel.name : channel.name + L" (" + unit + L")";
}

} // namespace

HWND DataWindow::Create(HWND parent, int id) {
  RegisterWindowClass(CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, nullptr,
                      ::LoadCursorW(nullptr, IDC_IBEAM));
  return CreateWindowHandle(0, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS, 0, 0, 0,
                            0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

void DataWindow::SetRecording(Recording* recording) {
  recording_ = recording;
  picked_ = recording_ && recording_->ChannelCount() > 0 ? 0 : -1;
  dragAnchor_.reset();
  keyEnds_.reset();
  Refresh();
}

void DataWindow::Refresh() {
  if (recording_ && picked_ >= static_cast<int>(recording_->ChannelCount()))
    picked_ = static_cast<int>(recording_->ChannelCount()) - 1;
  UpdateLayout();
  if (hwnd())
    ::InvalidateRect(hwnd(), nullptr, FALSE);
}

void DataWindow::PickChannel(int channel) {
  if (recording_ && channel >= 0 && channel < static_cast<int>(recording_->ChannelCount())) {
    picked_ = channel;
    ::InvalidateRect(hwnd(), nullptr, FALSE);
    NotifyParent();
  }
}

int DataWindow::ChannelAt(POINT client) const {
  if (!recording_)
    return -1;
  for (std::size_t c = 0; c < bands_.Count(); ++c) {
    const auto band = bands_.At(c);
    if (client.y >= band.top && client.y < band.bottom &&
        client.x >= time_.Left() - metrics_.margin)
      return static_cast<int>(c);
  }
  return -1;
}

RECT DataWindow::BandRect(int channel) const {
  const auto band = bands_.At(static_cast<std::size_t>(std::max(channel, 0)));
  return {time_.Left(), band.top + metrics_.textHeight + metrics_.tick, time_.Right(), band.bottom};
}

void DataWindow::UpdateFonts() {
  metrics_.dpi = Tarn::Window::DpiOfWindow(hwnd());
  NONCLIENTMETRICSW ncm{};
  ncm.cbSize = sizeof ncm;
  LOGFONTW lf{};
  if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0))
    lf = ncm.lfMessageFont;
  else
    ::lstrcpynW(lf.lfFaceName, L"Tahoma", LF_FACESIZE);
  lf.lfHeight = -::MulDiv(9, metrics_.dpi, 72);
  lf.lfWidth = 0;
  lf.lfWeight = FW_NORMAL;
  font_.reset(::CreateFontIndirectW(&lf));
  lf.lfWeight = FW_BOLD;
  boldFont_.reset(::CreateFontIndirectW(&lf));
}

void DataWindow::UpdateLayout() {
  if (!hwnd())
    return;
  if (!font_)
    UpdateFonts();
  const auto scale = [this](int v) { return Tarn::Window::Scale(v, metrics_.dpi); };
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  auto dc = Tarn::unique_window_dc::Get(hwnd());
  Tarn::unique_select_object selectFont(dc.get(), font_.get());
  TEXTMETRICW tm{};
  ::GetTextMetricsW(dc.get(), &tm);
  metrics_.textHeight = tm.tmHeight;
  metrics_.margin = scale(8);
  metrics_.tick = scale(4);
  metrics_.bandGap = scale(10);
  metrics_.blockGap = scale(10);
  metrics_.axisHeight = metrics_.tick + 2 * metrics_.textHeight + scale(6);

  // The scale column is as wide as the widest tick label of any band.
  int widest = TextSize(dc.get(), L"-0.00").cx;
  const std::size_t channels = recording_ ? recording_->ChannelCount() : 0;
  const int plotBottom = client.bottom - metrics_.axisHeight;
  bands_ = BandLayout(channels, metrics_.margin, plotBottom, metrics_.bandGap);
  for (std::size_t c = 0; c < channels; ++c) {
    const auto band = bands_.At(c);
    const auto& ch = recording_->ChannelAt(c);
    const int rows = band.bottom - band.top - metrics_.textHeight - metrics_.tick;
    const ValueAxis axis = BandAxis(ch, band.bottom, band.top);
    const auto ticks =
        MakeTicks(axis.Bottom(), axis.Top(), rows, ValueTickSpacing(rows, metrics_.textHeight));
    for (double v : ticks.values)
      widest = std::max<int>(widest, TextSize(dc.get(), ticks.Label(v)).cx);
  }
  metrics_.scaleWidth = metrics_.margin + widest + scale(4) + metrics_.tick;

  std::vector<std::size_t> lengths;
  if (recording_)
    for (const auto& block : recording_->Blocks())
      lengths.push_back(block.length);
  time_ = TimeLayout(std::move(lengths), metrics_.scaleWidth,
                     std::max<int>(metrics_.scaleWidth + 1, client.right - metrics_.margin),
                     metrics_.blockGap);
}

LRESULT DataWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_CREATE:
    UpdateFonts();
    return 0;
  case WM_SIZE:
    UpdateLayout();
    ::InvalidateRect(hwnd(), nullptr, FALSE);
    return 0;
  case WM_DPICHANGED_AFTERPARENT:
    UpdateFonts();
    UpdateLayout();
    ::InvalidateRect(hwnd(), nullptr, FALSE);
    return 0;
  case WM_ERASEBKGND:
    return 1;
  case WM_PAINT: {
    Tarn::unique_paint_dc paint(hwnd());
    RECT client{};
    ::GetClientRect(hwnd(), &client);
    // Drawn into a bitmap first, so that a drag repaints without flicker.
    Tarn::unique_hdc memory(::CreateCompatibleDC(paint.get()));
    Tarn::unique_hbitmap bitmap(::CreateCompatibleBitmap(
        paint.get(), std::max<int>(client.right, 1), std::max<int>(client.bottom, 1)));
    if (!memory || !bitmap) {
      Paint(paint.get(), client);
      return 0;
    }
    {
      Tarn::unique_select_object selectBitmap(memory.get(), bitmap.get());
      Paint(memory.get(), client);
      ::BitBlt(paint.get(), 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
    }
    return 0;
  }
  case WM_GETDLGCODE:
    return DLGC_WANTARROWS;
  case WM_SETFOCUS:
  case WM_KILLFOCUS:
    ::InvalidateRect(hwnd(), nullptr, FALSE);
    return 0;
  case WM_KEYDOWN:
    if (wParam == VK_UP || wParam == VK_DOWN) {
      PickChannel(picked_ + (wParam == VK_UP ? -1 : 1));
      return 0;
    }
    if ((wParam == VK_LEFT || wParam == VK_RIGHT) && (::GetKeyState(VK_SHIFT) & 0x8000)) {
      ExtendByKey(wParam == VK_LEFT ? -1 : 1);
      return 0;
    }
    if (wParam == VK_ESCAPE && recording_ && recording_->selection.exists) {
      recording_->selection.exists = false;
      keyEnds_.reset();
      ::InvalidateRect(hwnd(), nullptr, FALSE);
      NotifyParent();
      return 0;
    }
    break;
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK: {
    ::SetFocus(hwnd());
    keyEnds_.reset();
    const POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (const int channel = ChannelAt(p); channel >= 0 && channel != picked_) {
      picked_ = channel;
      NotifyParent();
    }
    if (recording_ && recording_->BlockCount() > 0 && p.x >= time_.Left()) {
      dragAnchor_ = p.x;
      ::SetCapture(hwnd());
      DragTo(p.x);
    }
    ::InvalidateRect(hwnd(), nullptr, FALSE);
    return 0;
  }
  case WM_MOUSEMOVE:
    if (dragAnchor_ && (wParam & MK_LBUTTON))
      DragTo(GET_X_LPARAM(lParam));
    return 0;
  case WM_LBUTTONUP:
    if (dragAnchor_) {
      DragTo(GET_X_LPARAM(lParam));
      dragAnchor_.reset();
      ::ReleaseCapture();
    }
    return 0;
  case WM_CAPTURECHANGED:
    dragAnchor_.reset();
    return 0;
  }
  return DefaultHandle(message, wParam, lParam);
}

void DataWindow::ExtendByKey(int direction) {
  if (!recording_ || recording_->BlockCount() == 0)
    return;
  if (!keyEnds_) {
    // From the selection shown, or from the recording's start when there is none.
    const auto& s = recording_->selection;
    int anchor = time_.Left();
    int end = anchor;
    if (s.exists) {
      anchor = Row(time_.X(
          {static_cast<std::size_t>(s.startPosition), static_cast<std::size_t>(s.startBlock)}));
      end = Row(time_.X(
          {static_cast<std::size_t>(s.endPosition) + 1, static_cast<std::size_t>(s.endBlock)}));
    }
    keyEnds_ = std::pair{anchor, end};
  }
  const int step = std::max(1, Tarn::Window::Scale(2, metrics_.dpi));
  keyEnds_->second = std::clamp(keyEnds_->second + direction * step, time_.Left(), time_.Right());
  dragAnchor_ = keyEnds_->first;
  DragTo(keyEnds_->second);
  dragAnchor_.reset();
}

void DataWindow::NotifyParent() {
  ::SendMessageW(::GetParent(hwnd()), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(hwnd()), kChanged),
                 reinterpret_cast<LPARAM>(hwnd()));
}

void DataWindow::DragTo(int x) {
  if (!recording_ || !dragAnchor_)
    return;
  auto& selection = recording_->selection;
  const auto dragged = DataSelection::FromDrag(time_, *dragAnchor_, x);
  selection.exists = dragged.has_value();
  if (dragged) {
    selection.startPosition = static_cast<std::int32_t>(dragged->first.position);
    selection.startBlock = static_cast<std::int32_t>(dragged->first.block);
    selection.endPosition = static_cast<std::int32_t>(dragged->last.position);
    selection.endBlock = static_cast<std::int32_t>(dragged->last.block);
  }
  ::InvalidateRect(hwnd(), nullptr, FALSE);
  NotifyParent();
}

void DataWindow::Paint(HDC dc, const RECT& client) {
  FillSolid(dc, client, kBackground);
  Tarn::unique_select_object selectFont(dc, font_.get());
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, kText);
  if (!recording_ || recording_->ChannelCount() == 0 || recording_->BlockCount() == 0) {
    RECT r = client;
    const std::wstring text = HostString(IDS_EMPTY_WINDOW);
    ::DrawTextW(dc, text.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    return;
  }
  for (std::size_t c = 0; c < recording_->ChannelCount(); ++c)
    PaintBand(dc, c);
  PaintTimeAxis(dc);
}

void DataWindow::PaintSelection(HDC dc, const RECT& plot) {
  const auto& s = recording_->selection;
  if (!s.exists)
    return;
  const SamplePoint first{static_cast<std::size_t>(std::max(s.startPosition, 0)),
                          static_cast<std::size_t>(std::max(s.startBlock, 0))};
  const SamplePoint last{static_cast<std::size_t>(std::max(s.endPosition, 0)) + 1,
                         static_cast<std::size_t>(std::max(s.endBlock, 0))};
  RECT r{Row(time_.X(first)), plot.top, Row(time_.X(last)), plot.bottom};
  if (r.right <= r.left)
    r.right = r.left + 1;
  // Tinted inside the blocks only, so that the gaps between blocks stay in sight.
  for (std::size_t b = 0; b < time_.BlockCount(); ++b) {
    const auto span = time_.BlockSpan(b);
    const RECT part{std::max<int>(r.left, span.left), r.top, std::min<int>(r.right, span.right),
                    r.bottom};
    if (part.left < part.right)
      FillSolid(dc, part, kSelection);
  }
  Tarn::unique_hpen edge(::CreatePen(PS_SOLID, 1, kSelectionEdge));
  Tarn::unique_select_object selectPen(dc, edge.get());
  DrawLine(dc, r.left, r.top, r.left, r.bottom);
  DrawLine(dc, r.right - 1, r.top, r.right - 1, r.bottom);
}

void DataWindow::PaintBand(HDC dc, std::size_t channel) {
  const auto& ch = recording_->ChannelAt(channel);
  const RECT plot = BandRect(static_cast<int>(channel));
  const bool picked = static_cast<int>(channel) == picked_;

  // The header: the channel's name and unit in its trace colour, marked when picked.
  {
    Tarn::unique_select_object selectBold(dc, boldFont_.get());
    const std::wstring title = ChannelTitle(ch);
    ::SetTextColor(dc, static_cast<COLORREF>(ch.colour));
    RECT header{plot.left, plot.top - metrics_.textHeight - metrics_.tick / 2, plot.right,
                plot.top};
    ::DrawTextW(dc, title.c_str(), -1, &header, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    if (picked) {
      const SIZE size = TextSize(dc, title);
      Tarn::unique_hpen mark(::CreatePen(PS_SOLID, std::max(1, metrics_.tick / 2), kPicked));
      Tarn::unique_select_object selectPen(dc, mark.get());
      const int y = header.top + metrics_.textHeight;
      DrawLine(dc, header.left, y, header.left + size.cx, y);
    }
    ::SetTextColor(dc, kText);
  }

  // Blocks on the plot's background, gaps between them shaded.
  FillSolid(dc, plot, kBlockGap);
  for (std::size_t b = 0; b < time_.BlockCount(); ++b) {
    const auto span = time_.BlockSpan(b);
    FillSolid(dc, RECT{span.left, plot.top, span.right, plot.bottom}, kBackground);
  }
  PaintSelection(dc, plot);

  const int rows = plot.bottom - plot.top;
  const ValueAxis axis = BandAxis(ch, plot.bottom - 1, plot.top);
  const auto ticks =
      MakeTicks(axis.Bottom(), axis.Top(), rows, ValueTickSpacing(rows, metrics_.textHeight));
  {
    Tarn::unique_hpen grid(::CreatePen(PS_SOLID, 1, kGrid));
    Tarn::unique_hpen frame(::CreatePen(PS_SOLID, 1, kPlotFrame));
    Tarn::unique_select_object selectPen(dc, grid.get());
    for (double v : ticks.values) {
      const int y = Row(axis.Y(v));
      for (std::size_t b = 0; b < time_.BlockCount(); ++b)
        DrawLine(dc, time_.BlockSpan(b).left, y, time_.BlockSpan(b).right, y);
    }
    ::SelectObject(dc, frame.get());
    DrawLine(dc, plot.left - 1, plot.top, plot.left - 1, plot.bottom);
    for (double v : ticks.values) {
      const int y = Row(axis.Y(v));
      DrawLine(dc, plot.left - 1 - metrics_.tick, y, plot.left - 1, y);
      const std::wstring label = ticks.Label(v);
      const SIZE size = TextSize(dc, label);
      // Labels at the band's ends stay inside the band.
      const int top = std::clamp<int>(y - size.cy / 2, plot.top - metrics_.tick,
                                      plot.bottom - size.cy + metrics_.tick);
      ::TextOutW(dc, plot.left - 1 - metrics_.tick - Tarn::Window::Scale(3, metrics_.dpi) - size.cx,
                 top, label.c_str(), static_cast<int>(label.size()));
    }
  }
  PaintTrace(dc, channel, plot, axis.Bottom(), axis.Top());
}

void DataWindow::PaintTrace(HDC dc, std::size_t channel, const RECT& plot, double bottom,
                            double top) {
  const auto& ch = recording_->ChannelAt(channel);
  const ValueAxis axis(bottom, top, plot.bottom - 1, plot.top);
  const int saved = ::SaveDC(dc);
  ::IntersectClipRect(dc, plot.left, plot.top, plot.right, plot.bottom);
  Tarn::unique_hpen pen(::CreatePen(PS_SOLID, std::max(1, Tarn::Window::Scale(1, metrics_.dpi)),
                                    static_cast<COLORREF>(ch.colour)));
  Tarn::unique_select_object selectPen(dc, pen.get());
  for (std::size_t b = 0; b < time_.BlockCount(); ++b) {
    const auto& samples = recording_->Samples(b, channel);
    const auto span = time_.BlockSpan(b);
    if (samples.empty() || span.Width() <= 0)
      continue;
    if (TraceColumns::Sparse(samples.size(), span.Width())) {
      bool drawing = false;
      for (std::size_t i = 0; i < samples.size(); ++i) {
        if (std::isnan(samples[i])) {
          drawing = false;
          continue;
        }
        const int x = Row(time_.SampleX(b, i));
        const int y = Row(axis.Y(ch.ToDataUnits(samples[i])));
        if (drawing)
          ::LineTo(dc, x, y);
        else
          ::MoveToEx(dc, x, y, nullptr);
        drawing = true;
      }
      if (samples.size() == 1)
        ::LineTo(dc, Row(time_.SampleX(b, 0)) + 1, Row(axis.Y(ch.ToDataUnits(samples[0]))));
      continue;
    }
    const auto columns = TraceColumns::Reduce(samples.data(), samples.size(), span.Width());
    std::optional<std::pair<int, int>> previous; // rows of the last column drawn
    for (std::size_t c = 0; c < columns.size(); ++c) {
      if (columns[c].empty) {
        previous.reset();
        continue;
      }
      int own0 = Row(axis.Y(ch.ToDataUnits(columns[c].minimum)));
      int own1 = Row(axis.Y(ch.ToDataUnits(columns[c].maximum)));
      if (own0 > own1)
        std::swap(own0, own1);
      int y0 = own0;
      int y1 = own1;
      // Joined to the column before, so that a steep edge shows no gap.
      if (previous) {
        y0 = std::min(y0, previous->second);
        y1 = std::max(y1, previous->first);
      }
      const int x = span.left + static_cast<int>(c);
      DrawLine(dc, x, y0, x, y1 + 1);
      previous = std::pair{own0, own1};
    }
  }
  ::RestoreDC(dc, saved);
}

void DataWindow::PaintTimeAxis(HDC dc) {
  const auto last = bands_.At(bands_.Count() - 1);
  const int axisTop = last.bottom;
  Tarn::unique_hpen frame(::CreatePen(PS_SOLID, 1, kPlotFrame));
  Tarn::unique_select_object selectPen(dc, frame.get());
  const int labelWidth = TextSize(dc, L"-000.000").cx;
  int labelsEnd = std::numeric_limits<int>::min();
  for (std::size_t b = 0; b < time_.BlockCount(); ++b) {
    const auto span = time_.BlockSpan(b);
    const auto& block = recording_->BlockAt(b);
    DrawLine(dc, span.left, axisTop, span.right, axisTop);
    const double t0 = block.start;
    const double t1 = block.start + block.interval * static_cast<double>(block.length);
    const auto ticks = MakeTicks(t0, t1, span.Width(), labelWidth * 3 / 2);
    const bool more = b + 1 < time_.BlockCount();
    if (more) {
      // A break mark on the axis where the recording stops between blocks.
      const int gapLeft = span.right;
      const int gapRight = time_.BlockSpan(b + 1).left;
      const int h = metrics_.tick;
      for (int x : {gapLeft + (gapRight - gapLeft) / 3, gapLeft + 2 * (gapRight - gapLeft) / 3})
        DrawLine(dc, x - h / 2, axisTop + h, x + h / 2, axisTop - h);
    }
    for (double t : ticks.values) {
      // The end of a block followed by another is the next block's start: no label of its own.
      if (more && t > t1 - ticks.step / 2)
        continue;
      const int x = span.left + Row((t - t0) / (t1 - t0) * span.Width());
      DrawLine(dc, x, axisTop, x, axisTop + metrics_.tick);
      const std::wstring label = ticks.Label(t);
      const SIZE size = TextSize(dc, label);
      const int left = std::min<int>(x - size.cx / 2, time_.Right() - size.cx);
      if (left <= labelsEnd)
        continue; // no label over its neighbour's
      ::TextOutW(dc, left, axisTop + metrics_.tick + 1, label.c_str(),
                 static_cast<int>(label.size()));
      labelsEnd = left + size.cx + metrics_.tick;
    }
  }
  const std::wstring title = HostString(IDS_TIME_AXIS);
  RECT r{time_.Left(), axisTop + metrics_.tick + metrics_.textHeight + 2, time_.Right(),
         axisTop + metrics_.axisHeight};
  ::DrawTextW(dc, title.c_str(), -1, &r, DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
}

} // namespace Vela

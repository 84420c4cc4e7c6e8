#include "plotting/win/Table2D.h"

#include "foundation/win/UniqueHandle.h"
#include "plotting/win/SavedDc.h"
#include "plotting/win/TextFormat.h"
#include "window/win/WindowUtil.h"

#include <limits>

namespace GUILib {

bool Table2D::Create(HWND parent, const RECT& rect, int id) noexcept {
  if (!RegisterWindowClass(0, nullptr))
    return false;
  mColumnWidths = {0.5, 0.5};
  return CreateWindowHandle(0, L"", WS_CHILD | WS_VISIBLE, rect.left, rect.top,
                            rect.right - rect.left, rect.bottom - rect.top, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id))) != nullptr;
}

void Table2D::SetSource(ITabulatedData* source) noexcept {
  mSource.reset();
  // A source without the record view counts as none: the owner's titles and values are drawn.
  if (source)
    (void)Tarn::ComPtr<ITabulatedData>(source).QueryTo(mSource);
  Invalidate();
}

void Table2D::SetHeaders(std::vector<std::wstring> headers) {
  mHeaders = std::move(headers);
  Invalidate();
}

void Table2D::SetColumnsData(std::vector<std::vector<float>> columns) {
  mColumnsData = std::move(columns);
  Invalidate();
}

void Table2D::SetColumnWidths(std::vector<double> fractions) {
  mColumnWidths = std::move(fractions);
  Invalidate();
}

void Table2D::SetBoldRows(std::set<int> rows) {
  mPainter.boldRows = std::move(rows);
  Invalidate();
}

void Table2D::SetBoldColumns(std::set<int> columns) {
  mPainter.boldColumns = std::move(columns);
  Invalidate();
}

void Table2D::Invalidate() noexcept {
  if (hwnd())
    ::InvalidateRect(hwnd(), nullptr, FALSE);
}

TableContent Table2D::ReadContent() const {
  if (!mSource)
    return {mHeaders, mColumnsData};
  TableContent content;
  std::int32_t count = 0;
  if (FAILED(mSource->GetChannelCount(&count)))
    return content;
  for (std::int32_t c = 0; c < count; ++c) {
    Tarn::unique_bstr title;
    std::wstring text;
    if (SUCCEEDED(mSource->GetChannelTitle(c, title.put())) && title)
      text.assign(title.get(), ::SysStringLen(title.get()));
    content.titles.push_back(std::move(text));
    std::vector<float>& values = content.values.emplace_back();
    Tarn::ComPtr<Host::IEnumFloatEx> rows;
    if (FAILED(mSource->CreateEnum(c, Host::kRecordEnumFlags, 0,
                                   std::numeric_limits<std::int32_t>::max(), rows.put())))
      continue;
    float chunk[256];
    std::uint32_t got = 0;
    while (SUCCEEDED(rows->Next(256, chunk, &got)) && got > 0)
      values.insert(values.end(), chunk, chunk + got);
  }
  return content;
}

void Table2D::Paint(HDC dc, const RECT& rect) {
  const Rect r = Tarn::Window::ToRect(rect);
  SavedDc saved(dc);
  ::IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
  ::SetBkMode(dc, TRANSPARENT);
  {
    Tarn::unique_hbrush window(::CreateSolidBrush(::GetSysColor(COLOR_WINDOW)));
    ::FillRect(dc, &rect, window.get());
  }
  TextFormat look;
  look.faceName = mFontName;
  look.points = mFontSize;
  look.textColour = mTextColour;
  const Tarn::unique_hfont normal = look.CreateFontFor(dc);
  look.bold = true;
  const Tarn::unique_hfont bold = look.CreateFontFor(dc);
  ::SetTextColor(dc, mTextColour);

  mRowHeight = MeasureRowHeight(dc, normal.get());
  Rect shown = r;
  shown.bottom = TableWholeRowsBottom(r.top, r.bottom, mRowHeight);
  // Row numbers map onto pixels from the top: value 0 is the top edge.
  mRowMap.SetToRange(shown.top, shown.bottom);
  (void)mRowMap.SetFromRange(0, std::max(1.0, static_cast<double>(shown.Height()) / mRowHeight));

  {
    Tarn::unique_hbrush black(::CreateSolidBrush(RGB(0, 0, 0)));
    const RECT frame = Tarn::Window::ToRECT(shown);
    ::FrameRect(dc, &frame, black.get());
  }
  const std::vector<TableColumn> columns = TableColumns(shown, mColumnWidths);
  const double offset = mRowMap.Map(0);
  mGrid.Draw(dc, shown, columns, mRowHeight, offset);
  mPainter.Draw(dc, shown, columns, mRowHeight, offset, ReadContent(), normal.get(), bold.get());
}

int Table2D::MeasureRowHeight(HDC dc, HFONT font) const {
  TEXTMETRICW metrics{};
  Tarn::unique_select_object selected(dc, font);
  ::GetTextMetricsW(dc, &metrics);
  return std::max(1, TableRowHeight(metrics.tmHeight));
}

void Table2D::FitToWholeRows() noexcept {
  const Rect client = Tarn::Window::ClientRect(hwnd());
  const Tarn::unique_window_dc dc = Tarn::unique_window_dc::Get(hwnd());
  if (client.IsEmpty() || !dc)
    return;
  TextFormat look;
  look.faceName = mFontName;
  look.points = mFontSize;
  const Tarn::unique_hfont normal = look.CreateFontFor(dc.get());
  const int height =
      TableWholeRowsBottom(0, client.Height(), MeasureRowHeight(dc.get(), normal.get()));
  ::SetWindowPos(hwnd(), nullptr, 0, 0, client.Width(), height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Table2D::PaintWindow() {
  Tarn::unique_paint_dc paint(hwnd());
  const Rect client = Tarn::Window::ClientRect(hwnd());
  if (client.IsEmpty())
    return;
  Tarn::unique_hdc buffer(::CreateCompatibleDC(paint.get()));
  Tarn::unique_hbitmap bitmap(
      ::CreateCompatibleBitmap(paint.get(), client.Width(), client.Height()));
  Tarn::unique_select_object selected(buffer.get(), bitmap.get());
  Paint(buffer.get(), Tarn::Window::ToRECT(client));
  ::BitBlt(paint.get(), 0, 0, client.Width(), client.Height(), buffer.get(), 0, 0, SRCCOPY);
}

LRESULT Table2D::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_ERASEBKGND:
    return 1;
  case WM_PAINT:
    PaintWindow();
    return 0;
  default:
    return DefaultHandle(message, wParam, lParam);
  }
}

} // namespace GUILib

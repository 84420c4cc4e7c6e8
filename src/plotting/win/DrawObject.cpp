#include "plotting/win/DrawObject.h"

#include "foundation/win/UniqueHandle.h"
#include "plotting/win/SavedDc.h"
#include "plotting/win/TextFormat.h"

#include <algorithm>
#include <string>
#include <vector>

namespace GUILib {

static_assert(sizeof(Point) == sizeof(POINT) && alignof(Point) == alignof(POINT),
              "pixel points are handed to GDI as they are");

int ScaleToDevice(HDC dc, int size) noexcept {
  return ::MulDiv(size, ::GetDeviceCaps(dc, LOGPIXELSX), 96);
}

void DrawLineSegments::Draw(HDC dc, const LineRuns& runs, const LayerStyle& style) const {
  // Points a one-pixel line would only draw over again are left out before GDI sees them.
  const LineRuns lines = ReduceToColumns(runs);
  if (lines.counts.empty())
    return;
  Tarn::unique_hpen pen(
      ::CreatePen(style.penStyle, ScaleToDevice(dc, std::max(style.size, 0)), style.colour));
  SavedDc saved(dc);
  ::SelectObject(dc, pen.get());
  ::PolyPolyline(dc, reinterpret_cast<const POINT*>(lines.points.data()),
                 reinterpret_cast<const DWORD*>(lines.counts.data()),
                 static_cast<DWORD>(lines.counts.size()));
}

void DrawPoints::Draw(HDC dc, const LineRuns& runs, const LayerStyle& style) const {
  if (runs.points.empty())
    return;
  const int radius = ScaleToDevice(dc, style.size);
  Tarn::unique_hpen pen(::CreatePen(PS_SOLID, 1, style.colour));
  Tarn::unique_hbrush brush(::CreateSolidBrush(style.colour));
  SavedDc saved(dc);
  ::SelectObject(dc, pen.get());
  ::SelectObject(dc, brush.get());
  for (const Point& p : runs.points)
    ::Ellipse(dc, p.x - radius, p.y - radius, p.x + radius + 1, p.y + radius + 1);
}

void DrawOrdinal::Draw(HDC dc, const LineRuns& runs, const LayerStyle& style) const {
  if (runs.points.empty())
    return;
  TextFormat format;
  format.textColour = style.colour;
  format.backColour = ::GetSysColor(COLOR_WINDOW);
  format.backMode = OPAQUE;
  format.alignment = TA_BOTTOM | TA_CENTER;
  const int offset = ScaleToDevice(dc, style.size);
  Tarn::unique_hfont font = format.CreateFontFor(dc);
  SavedDc saved(dc);
  ::SelectObject(dc, font.get());
  format.ApplyTo(dc);
  for (std::size_t i = 0; i < runs.points.size(); ++i) {
    const std::wstring number = std::to_wstring(i + 1);
    const Point& p = runs.points[i];
    ::ExtTextOutW(dc, p.x + offset, p.y - offset, 0, nullptr, number.c_str(),
                  static_cast<UINT>(number.size()), nullptr);
  }
}

std::shared_ptr<const DrawObject> MakeDrawObject(int type) {
  switch (type) {
  case 1:
    return std::make_shared<DrawLineSegments>();
  case 2:
    return std::make_shared<DrawPoints>();
  case 3:
    return std::make_shared<DrawOrdinal>();
  default:
    return nullptr;
  }
}

} // namespace GUILib

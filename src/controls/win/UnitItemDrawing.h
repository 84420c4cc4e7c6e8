#pragma once
#include <windows.h>

#include <string>

#include "foundation/win/UniqueHandle.h"
#include "units/UnitInfo.h"

namespace TarnControls {

// Draws unit lines as the units control and the Delete Unit list show them: the prefix letter in
// italics right-aligned in a column as wide as "  M", the name 2 pixels further right with an end
// ellipsis, "[No unit]" for a unit without a name; the italic font is made once per base font.
class UnitItemPainter {
public:
  void Draw(const DRAWITEMSTRUCT& draw, const Tarn::UnitInfo& unit, HFONT regular);

private:
  HFONT Italic(HFONT regular);

  Tarn::unique_hfont italic_;
  HFONT italicFrom_ = nullptr;
};

// String 281 of the module, "[No unit]".
std::wstring NoUnitLabel();

} // namespace TarnControls

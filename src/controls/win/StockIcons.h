#pragma once
#include <windows.h>

#include <shellapi.h>

#include "foundation/win/UniqueHandle.h"

namespace TarnControls {

// A system stock icon (SIID_ERROR, SIID_WARNING, SIID_INFO) in the small or the large size.
// SHGetStockIconInfo may report success without an icon (Wine does): the standard icon of the
// same meaning is then loaded with LoadIconMetric. Null when neither gives one.
Tarn::unique_hicon LoadStockIcon(SHSTOCKICONID id, bool small) noexcept;

} // namespace TarnControls

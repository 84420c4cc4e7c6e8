#pragma once
#include "foundation/HResult.h"

#include <string>

namespace Tarn {

// The message texts of status codes on Windows. The module's own codes (0xA0048200 to
// 0xA004821E) are texts of the HOST executable's string table under the code's low word as the
// identifier (0x8205 for 0xA0048205), loaded in the application's language with the product
// words substituted; any other code gives the system's message text with the trailing line
// break removed and a full stop added when missing. Unknown codes give "Error 0x........".
std::wstring WindowsStatusMessage(HResult status);

// Makes WindowsStatusMessage the message source of XTarn.
void InstallStatusMessages() noexcept;

} // namespace Tarn

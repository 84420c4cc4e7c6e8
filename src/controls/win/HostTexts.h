#pragma once
#include <string>

namespace TarnControls {

// The host application's texts of the range checks, loaded from its executable once per process.
const std::wstring& RangeErrorText();  // 20001: "... %1 ... %2 ..."
const std::wstring& RangeErrorTitle(); // 22022
const std::wstring& RangeErrorBody();  // 22023: "... %1 ... %2 ..."

// The user's decimal separator (the locale information's, read once per process).
std::wstring UserDecimalSeparator();

} // namespace TarnControls

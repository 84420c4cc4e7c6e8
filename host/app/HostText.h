#pragma once
#include <initializer_list>
#include <string>

namespace Vela {

// The host program's own texts: its string table (in the executable), and numbers shown to the
// user with the user's decimal separator and no digit grouping.
std::wstring HostString(unsigned id);
// A text of the string table with %1, %2, ... replaced by the arguments in order.
std::wstring HostString(unsigned id, std::initializer_list<std::wstring> arguments);
std::wstring DisplayNumber(double value, int decimals);
// The user's decimal separator ('.' when the settings give none of one character).
wchar_t DecimalSeparator();

} // namespace Vela

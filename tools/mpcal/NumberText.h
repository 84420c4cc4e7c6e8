#pragma once
#include <string>
#include <string_view>

namespace MPCalTool {

// Numbers in files are always in the classic form ('.' decimal point, no grouping) whatever the
// user's locale: the files are exchanged between machines.

// Reads a whole field as a double: optional blanks around it, an optional '+' or '-', decimal or
// exponent form, "nan", "inf" and "infinity" in any case. False for anything else, including an
// empty field and a value beyond the double range.
bool ParseNumber(std::string_view text, double& value) noexcept;

// Appends the shortest text that reads back as the same float ("0.1", "1e+30", "nan", "-inf").
void AppendShortestFloat(std::string& out, float value);

// Appends the shortest text that reads back as the same double.
void AppendShortestDouble(std::string& out, double value);

// Appends a double with 17 significant digits as %.17g writes it ("1", "0.10000000000000001").
void AppendPrecise(std::string& out, double value);

} // namespace MPCalTool

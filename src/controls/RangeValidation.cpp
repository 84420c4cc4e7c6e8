#include "controls/RangeValidation.h"

#include "controls/NumberText.h"
#include "foundation/BasicFormatStream.h"

namespace TarnControls {

std::wstring WholeFilterCharacters() {
  return L"+-0123456789";
}

std::wstring DecimalFilterCharacters(std::wstring_view decimalSeparator) {
  std::wstring allowed = L"-+eE0123456789";
  for (wchar_t c : decimalSeparator)
    if (allowed.find(c) == std::wstring::npos)
      allowed += c;
  return allowed;
}

bool PassesFilter(std::wstring_view text, std::wstring_view allowed) noexcept {
  for (wchar_t c : text)
    if (allowed.find(c) == std::wstring_view::npos)
      return false;
  return true;
}

bool IsValidWholeText(std::wstring_view text, WholeRange range) {
  return PassesFilter(text, WholeFilterCharacters()) &&
         range.Contains(ParseWholeNumber(text).value);
}

bool IsValidDecimalText(std::wstring_view text, DecimalRange range,
                        std::wstring_view decimalSeparator) {
  return PassesFilter(text, DecimalFilterCharacters(decimalSeparator)) &&
         range.Contains(DecimalTransferValue(text, decimalSeparator));
}

double DecimalTransferValue(std::wstring_view text, std::wstring_view decimalSeparator) {
  return ParseDisplayedNumber(text, decimalSeparator).value;
}

namespace {

std::wstring Insert(std::wstring_view format, const std::wstring& min, const std::wstring& max) {
  Tarn::OFormatWStringStream out(format);
  out << min << max;
  return out.str();
}

} // namespace

std::wstring RangeMessage(std::wstring_view format, WholeRange range) {
  return Insert(format, std::to_wstring(range.min), std::to_wstring(range.max));
}

std::wstring RangeMessage(std::wstring_view format, DecimalRange range,
                          std::wstring_view decimalSeparator) {
  return Insert(format, FormatDisplayedNumber(range.min, decimalSeparator),
                FormatDisplayedNumber(range.max, decimalSeparator));
}

} // namespace TarnControls

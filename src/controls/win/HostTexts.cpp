#include "controls/win/HostTexts.h"

#include "foundation/win/LocaleInfo.h"
#include "foundation/win/ResourceStrings.h"

namespace TarnControls {
namespace {

std::wstring HostText(UINT id) {
  return Tarn::LoadResourceString(nullptr, id, true).str();
}

} // namespace

const std::wstring& RangeErrorText() {
  static const std::wstring text = HostText(20001);
  return text;
}

const std::wstring& RangeErrorTitle() {
  static const std::wstring text = HostText(22022);
  return text;
}

const std::wstring& RangeErrorBody() {
  static const std::wstring text = HostText(22023);
  return text;
}

std::wstring UserDecimalSeparator() {
  const std::wstring separator = Tarn::LocaleInfo::Get().decimalSeparator;
  return separator.empty() ? std::wstring(L".") : separator;
}

} // namespace TarnControls

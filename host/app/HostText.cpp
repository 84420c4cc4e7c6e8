#include "HostText.h"

#include <windows.h>

#include <cstdio>

namespace Vela {

std::wstring HostString(unsigned id) {
  const wchar_t* text = nullptr;
  // With a zero buffer length LoadStringW points at the resource itself, not terminated.
  const int length =
      ::LoadStringW(::GetModuleHandleW(nullptr), id, reinterpret_cast<wchar_t*>(&text), 0);
  return length > 0 && text ? std::wstring(text, static_cast<std::size_t>(length)) : std::wstring();
}

std::wstring HostString(unsigned id, std::initializer_list<std::wstring> arguments) {
  std::wstring text = HostString(id);
  wchar_t marker[] = L"%1";
  for (const auto& argument : arguments) {
    if (const auto at = text.find(marker); at != std::wstring::npos)
      text.replace(at, 2, argument);
    ++marker[1];
  }
  return text;
}

std::wstring DisplayNumber(double value, int decimals) {
  wchar_t buffer[64];
  std::swprintf(buffer, std::size(buffer), L"%.*f", decimals, value);
  std::wstring text = buffer;
  if (text.find_first_not_of(L"-0.") == std::wstring::npos && !text.empty() && text[0] == L'-')
    text.erase(0, 1); // no "-0.0"
  if (const auto at = text.find(L'.'); at != std::wstring::npos)
    text[at] = DecimalSeparator();
  return text;
}

wchar_t DecimalSeparator() {
  wchar_t separator[8] = L".";
  if (::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator,
                        static_cast<int>(std::size(separator))) != 2)
    return L'.';
  return separator[0];
}

} // namespace Vela

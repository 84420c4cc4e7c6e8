#include "foundation/win/StatusMessages.h"

#include "foundation/XTarn.h"
#include "foundation/win/ResourceStrings.h"

#include <windows.h>

namespace Tarn {

std::wstring WindowsStatusMessage(HResult status) {
  const auto code = static_cast<std::uint32_t>(status);
  if (code >= hr::moduleCodeFirst && code <= hr::moduleCodeLast) {
    std::wstring text = LoadResourceString(nullptr, code & 0xFFFF, true).str();
    return text.empty() ? DefaultStatusMessage(status) : text;
  }
  LPWSTR buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
  struct LocalFreer {
    LPWSTR p;
    ~LocalFreer() { LocalFree(p); }
  } owner{buffer};
  std::wstring text = length && buffer ? std::wstring(buffer, length) : std::wstring();
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
    text.pop_back();
  if (text.empty())
    return DefaultStatusMessage(status);
  if (text.back() != L'.')
    text += L'.';
  return text;
}

void InstallStatusMessages() noexcept {
  SetStatusMessageLookup(&WindowsStatusMessage);
}

} // namespace Tarn

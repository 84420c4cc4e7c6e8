#include "foundation/win/StatusMessages.h"

#include "foundation/XTarn.h"
#include "foundation/win/ResourceStrings.h"
#include "foundation/win/UniqueHandle.h"

#include <windows.h>

namespace Tarn {

std::wstring WindowsStatusMessage(HResult status) {
  const auto code = static_cast<std::uint32_t>(status);
  if (code >= hr::moduleCodeFirst && code <= hr::moduleCodeLast) {
    std::wstring text = LoadResourceString(nullptr, code & 0xFFFF, true).str();
    return text.empty() ? DefaultStatusMessage(status) : text;
  }
  unique_hlocal_string buffer;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<LPWSTR>(buffer.put()), 0, nullptr);
  std::wstring text = length && buffer ? std::wstring(buffer.get(), length) : std::wstring();
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

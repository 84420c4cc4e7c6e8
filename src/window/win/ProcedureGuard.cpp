#include "window/win/ProcedureGuard.h"

#include "foundation/Utf8.h"
#include "foundation/XHResult.h"
#include "foundation/XTarn.h"

#include <cwchar>
#include <exception>
#include <iostream>
#include <string>

namespace Tarn::Window {
namespace {

std::wstring CaughtText() {
  try {
    throw;
  } catch (const XTarn& e) {
    return e.message();
  } catch (const XHResult& e) {
    return StatusMessage(e.status());
  } catch (const std::exception& e) {
    return FromUtf8(e.what());
  } catch (...) {
    return L"unknown exception";
  }
}

} // namespace

void LogCaughtInProcedure(UINT message) noexcept {
  try {
    wchar_t code[16];
    std::swprintf(code, 16, L"0x%04X", message);
    std::wcerr << L"TARNBOOTLOG: WINDOW: message " << code << L": " << CaughtText() << std::endl;
    std::wcerr.clear();
  } catch (...) {
  }
}

void RecoverFromFailedMessage(HWND hwnd, UINT message) noexcept {
  if (message == WM_PAINT)
    ::ValidateRect(hwnd, nullptr);
}

} // namespace Tarn::Window

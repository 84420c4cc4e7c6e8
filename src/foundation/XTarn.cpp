#include "foundation/XTarn.h"

#include "foundation/Utf8.h"
#include "foundation/XHResult.h"

#include <atomic>
#include <cstdio>
#include <iostream>
#include <new>

namespace Tarn {
namespace {

std::atomic<StatusMessageLookup> g_lookup{nullptr};

} // namespace

void SetStatusMessageLookup(StatusMessageLookup lookup) noexcept {
  g_lookup.store(lookup);
}

std::wstring DefaultStatusMessage(HResult status) {
  wchar_t text[32];
  std::swprintf(text, 32, L"Error 0x%08X.", static_cast<unsigned>(status));
  return text;
}

std::wstring StatusMessage(HResult status) {
  const StatusMessageLookup lookup = g_lookup.load();
  std::wstring text = lookup ? lookup(status) : std::wstring();
  return text.empty() ? DefaultStatusMessage(status) : text;
}

XTarn::XTarn(HResult status) : XTarn(status, StatusMessage(ReportedStatus(status))) {}

XTarn::XTarn(HResult status, std::wstring message)
    : status_(ReportedStatus(status)), message_(std::move(message)), narrow_(ToUtf8(message_)) {
  Log();
}

void XTarn::Log() const noexcept {
  try {
    std::wcerr << L"TARNBOOTLOG: " << L"XTARN: " << message_ << std::endl;
    // A character the console cannot show fails the stream; later lines must still appear.
    std::wcerr.clear();
  } catch (...) {
  }
}

HResult StatusFromCaught() noexcept {
  try {
    throw;
  } catch (const XTarn& e) {
    return e.status();
  } catch (const XHResult& e) {
    return e.status();
  } catch (const std::bad_alloc&) {
    return hr::outOfMemory;
  } catch (...) {
    return hr::fail;
  }
}

} // namespace Tarn

#include "foundation/XTarn.h"

#include "foundation/XHResult.h"

#include <atomic>
#include <cstdio>
#include <iostream>
#include <new>

namespace Tarn {
namespace {

std::atomic<StatusMessageLookup> g_lookup{nullptr};

std::string ToUtf8(const std::wstring& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::uint32_t c = static_cast<std::uint32_t>(text[i]);
    if constexpr (sizeof(wchar_t) == 2) {
      if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size()) {
        const std::uint32_t low = static_cast<std::uint32_t>(text[i + 1]);
        if (low >= 0xDC00 && low < 0xE000) {
          c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
          ++i;
        }
      }
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

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

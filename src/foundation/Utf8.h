#pragma once
#include <string>
#include <string_view>

namespace Tarn {

// UTF-8 of a wide string, whether wchar_t holds UTF-16 (Windows) or UTF-32; an unpaired
// surrogate or an invalid code point becomes U+FFFD.
std::string ToUtf8(std::wstring_view text);

// The wide string of UTF-8 text; invalid sequences become U+FFFD.
std::wstring FromUtf8(std::string_view text);

} // namespace Tarn

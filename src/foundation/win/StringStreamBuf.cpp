#include "foundation/win/StringStreamBuf.h"

#include <algorithm>
#include <cstring>

namespace Tarn {

StringStreamBuf::StringStreamBuf() : StringStreamBuf(TarnString()) {}

StringStreamBuf::StringStreamBuf(TarnString initial) : text_(std::move(initial)) {
  markFull();
}

void StringStreamBuf::markFull() {
  // The put area ends at the text, so the next write goes through grow(), which unshares the
  // string before any character is written.
  wchar_t* begin = const_cast<wchar_t*>(text_.c_str());
  setp(begin, begin + text_.size());
  pbump(static_cast<int>(text_.size()));
}

void StringStreamBuf::grow(std::size_t needed) {
  const std::size_t used = written();
  text_.setLength(used);
  std::size_t capacity = text_.capacity();
  while (capacity - used < std::max(kReserve, needed))
    capacity = std::max(capacity * 2, kReserve);
  // Unshares the string too when a copy of it was handed out.
  wchar_t* chars = text_.reserve(capacity);
  setp(chars, chars + text_.capacity());
  pbump(static_cast<int>(used));
}

StringStreamBuf::int_type StringStreamBuf::overflow(int_type c) {
  if (traits_type::eq_int_type(c, traits_type::eof()))
    return traits_type::not_eof(c);
  grow(1);
  *pptr() = traits_type::to_char_type(c);
  pbump(1);
  return c;
}

std::streamsize StringStreamBuf::xsputn(const wchar_t* s, std::streamsize n) {
  if (n <= 0)
    return 0;
  if (epptr() - pptr() < n)
    grow(static_cast<std::size_t>(n));
  std::memcpy(pptr(), s, static_cast<std::size_t>(n) * sizeof(wchar_t));
  pbump(static_cast<int>(n));
  return n;
}

TarnString StringStreamBuf::str() {
  text_.setLength(written());
  markFull();
  return text_;
}

} // namespace Tarn

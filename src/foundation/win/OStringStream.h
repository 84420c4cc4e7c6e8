#pragma once
#include "foundation/win/StringStreamBuf.h"

#include <ostream>

namespace Tarn {

// A wide output stream into a TarnString, with the global locale (the user's separators without
// digit grouping once LocaleInfo has installed its stream locale). Persisted numbers must use
// imbue(std::locale::classic()).
class OStringStream : private StringStreamBuf, public std::wostream {
public:
  OStringStream() : std::wostream(static_cast<StringStreamBuf*>(this)) {}
  explicit OStringStream(TarnString initial)
      : StringStreamBuf(std::move(initial)), std::wostream(static_cast<StringStreamBuf*>(this)) {}

  TarnString str() { return StringStreamBuf::str(); }
  StringStreamBuf* rdbuf() noexcept { return this; }
};

} // namespace Tarn

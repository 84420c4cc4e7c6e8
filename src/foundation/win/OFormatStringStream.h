#pragma once
#include "foundation/win/OFormatStream.h"

namespace Tarn {

// A message stream whose result is collected in a TarnString.
class OFormatStringStream : private StringStreamBuf, public OFormatStream {
public:
  explicit OFormatStringStream(std::wstring_view format)
      : OFormatStream(format, static_cast<StringStreamBuf&>(*this)) {}
  // The finished text (finishing it first when arguments are missing).
  TarnString str() {
    finish();
    return StringStreamBuf::str();
  }
};

} // namespace Tarn

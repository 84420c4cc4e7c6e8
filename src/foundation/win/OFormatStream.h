#pragma once
#include "foundation/BasicFormatStream.h"
#include "foundation/win/StringStreamBuf.h"

namespace Tarn {

// A message stream with markers %1 to %20 (see FormatText) writing its result into a string
// stream buffer.
class OFormatStream : public BasicFormatStream {
public:
  OFormatStream(std::wstring_view format, StringStreamBuf& buffer)
      : BasicFormatStream(format, buffer) {}
};

} // namespace Tarn

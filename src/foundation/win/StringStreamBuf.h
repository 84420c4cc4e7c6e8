#pragma once
#include "foundation/win/TarnString.h"

#include <streambuf>

namespace Tarn {

// A wide stream buffer writing straight into a TarnString. When fewer than 8 characters of
// capacity remain the capacity doubles. The length is written back into the string when its
// text is taken.
class StringStreamBuf : public std::wstreambuf {
public:
  StringStreamBuf();
  // Continues after the text of `initial`.
  explicit StringStreamBuf(TarnString initial);

  // The text so far. The buffer keeps writing into a copy of its own afterwards.
  TarnString str();

protected:
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const wchar_t* s, std::streamsize n) override;

private:
  static constexpr std::size_t kReserve = 8;
  void grow(std::size_t needed);
  void markFull();
  std::size_t written() const noexcept { return static_cast<std::size_t>(pptr() - pbase()); }

  TarnString text_;
};

} // namespace Tarn

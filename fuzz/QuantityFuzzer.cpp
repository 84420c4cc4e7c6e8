// Parses arbitrary text as a quantity ("5 mV", "2 kOhms") and writes it back: parsing must never
// fail other than by giving the invalid quantity, and a parsed quantity must write and read
// back to the same value within the written precision.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <locale>
#include <sstream>
#include <string>

#include "units/Quantity.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::wstring text;
  text.reserve(size);
  for (std::size_t i = 0; i < size; ++i)
    text += static_cast<wchar_t>(data[i]);

  std::wistringstream in(text);
  in.imbue(std::locale::classic());
  const Tarn::Quantity q = Tarn::ParseQuantity(in);
  if (q == Tarn::InvalidQuantity())
    return 0;
  if (q.exponent % 3 != 0)
    std::abort();

  std::wostringstream out;
  out.imbue(std::locale::classic());
  out.precision(17);
  Tarn::WriteQuantity(out, q);
  std::wistringstream again(out.str());
  again.imbue(std::locale::classic());
  const Tarn::Quantity back = Tarn::ParseQuantity(again);
  const double a = Tarn::QuantityValue(q);
  const double b = Tarn::QuantityValue(back);
  if (std::isfinite(a) && std::isfinite(b) && std::fabs(a - b) > 1e-12 * std::fabs(a) &&
      back.unit == q.unit)
    std::abort();
  return 0;
}

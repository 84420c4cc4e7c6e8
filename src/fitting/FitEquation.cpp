#include <cmath>
#include <locale>
#include <sstream>

#include "fitting/Fit.h"
#include "fitting/FitType.h"
#include "foundation/ModuleStrings.h"
#include "units/Quantity.h"

namespace MPCalibration {
namespace {

constexpr std::uint32_t kPointToPointEquationId = 276;

// General notation, six significant digits.
std::wostringstream MakeStream(const std::locale& numberLocale) {
  std::wostringstream out;
  out.imbue(numberLocale);
  return out;
}

// " - " or " + " when signed, then the magnitude.
void WriteTerm(std::wostream& out, double value, bool isSigned) {
  if (isSigned)
    out << (value < 0.0 ? L" - " : L" + ");
  Tarn::WriteQuantity(out, Tarn::MakeQuantity(std::fabs(value), std::wstring()));
}

void WritePolynomial(std::wostream& out, const std::vector<double>& c) {
  const std::size_t size = c.size();
  for (std::size_t k = size; k-- > 0;) {
    const bool leading = k + 1 == size;
    WriteTerm(out, c[k], !leading || c[k] < 0.0);
    if (k >= 1)
      out << L'x';
    if (k >= 2)
      out << L'^' << k;
  }
}

} // namespace

std::wstring FormatEquation(const FitRecord& record, const std::locale& numberLocale) {
  std::wostringstream out = MakeStream(numberLocale);
  out << L"y = ";
  const std::vector<double>& c = record.coefficients;
  switch (record.fitType) {
  case Linear:
  case Quadratic:
  case Cubic:
  case Quartic:
  case Quintic:
    WritePolynomial(out, c);
    break;
  case Logarithmic:
    if (c.size() >= 2) {
      WriteTerm(out, c[1], c[1] < 0.0);
      out << L" ln(x)";
      WriteTerm(out, c[0], true);
    }
    break;
  case Exponential:
    if (c.size() >= 2) {
      WriteTerm(out, c[1], c[1] < 0.0);
      out << L" exp(";
      WriteTerm(out, c[0], c[0] < 0.0);
      out << L"x)";
    }
    break;
  case PointToPoint:
    out << Tarn::ModuleString(kPointToPointEquationId);
    break;
  default:
    break;
  }
  return out.str();
}

std::wstring FormatFitError(const FitRecord& record, const std::locale& numberLocale) {
  if (record.fitType == PointToPoint)
    return {};
  std::wostringstream out = MakeStream(numberLocale);
  out << L"SSE = " << record.sumSquaredError;
  // R² says nothing about a fit forced through the origin; only polynomials are ever forced.
  if (!ForceOriginApplies(record.fitType, record.forceOrigin))
    out << L"   R\u00B2 = " << record.fitError;
  return out.str();
}

} // namespace MPCalibration

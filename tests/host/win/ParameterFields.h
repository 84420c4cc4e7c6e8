#pragma once
#include <sstream>
#include <string>
#include <vector>

namespace VelaTest {

// A calibration's parameter text taken apart by the tests themselves, not by the module: the fit
// type, the unit, the coefficients and the points, each number as the text carries it.
struct ParameterFields {
  std::wstring fitType;
  std::wstring unit;
  std::vector<std::wstring> coefficients;
  std::vector<std::wstring> raw;
  std::vector<std::wstring> calibrated;
};

inline ParameterFields ParseParameterText(const std::wstring& text) {
  std::vector<std::wstring> f;
  std::wistringstream in(text);
  for (std::wstring field; std::getline(in, field, L'\t');)
    f.push_back(field);
  ParameterFields p;
  if (f.size() < 6)
    return p;
  p.fitType = f[0];
  p.unit = f[2];
  std::size_t at = 6;
  const std::size_t coefficients = std::wcstoul(f[5].c_str(), nullptr, 10);
  for (std::size_t i = 0; i < coefficients && at < f.size(); ++i)
    p.coefficients.push_back(f[at++]);
  const std::size_t points = at < f.size() ? std::wcstoul(f[at++].c_str(), nullptr, 10) : 0;
  for (std::size_t i = 0; i < points && at < f.size(); ++i)
    p.raw.push_back(f[at++]);
  for (std::size_t i = 0; i < points && at < f.size(); ++i)
    p.calibrated.push_back(f[at++]);
  return p;
}

inline std::vector<double> Numbers(const std::vector<std::wstring>& texts) {
  std::vector<double> numbers;
  for (const std::wstring& t : texts)
    numbers.push_back(std::wcstod(t.c_str(), nullptr));
  return numbers;
}

} // namespace VelaTest

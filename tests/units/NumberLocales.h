#pragma once
#include <locale>
#include <string>

namespace Tarn::testing {

// A locale that writes and reads numbers with a comma as the decimal separator and no digit
// grouping, built from the classic one so that it exists on every machine.
class CommaDecimal : public std::numpunct<wchar_t> {
protected:
  wchar_t do_decimal_point() const override { return L','; }
  std::string do_grouping() const override { return {}; }
};

inline std::locale CommaDecimalLocale() {
  return std::locale(std::locale::classic(), new CommaDecimal);
}

// Installs a global C++ locale for one test and restores the previous one.
class GlobalLocaleGuard {
public:
  explicit GlobalLocaleGuard(const std::locale& locale) : previous_(std::locale::global(locale)) {}
  ~GlobalLocaleGuard() { std::locale::global(previous_); }
  GlobalLocaleGuard(const GlobalLocaleGuard&) = delete;
  GlobalLocaleGuard& operator=(const GlobalLocaleGuard&) = delete;

private:
  std::locale previous_;
};

} // namespace Tarn::testing

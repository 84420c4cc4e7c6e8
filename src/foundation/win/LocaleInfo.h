#pragma once
#include <cstdint>
#include <locale>
#include <string>
#include <vector>

#include "foundation/NoDestroy.h"

namespace Tarn {

// Number punctuation of a named locale without digit grouping, so no group separator is ever
// written or expected.
template <class CharT> class NoThousandsSep : public std::numpunct_byname<CharT> {
public:
  explicit NoThousandsSep(const char* name, std::size_t refs = 0)
      : std::numpunct_byname<CharT>(name, refs) {}

protected:
  std::string do_grouping() const override { return {}; }
};

// Wide punctuation of a named locale with the user's decimal and group separators (their first
// characters) and no grouping: the run-time library cannot make a locale from the user's locale
// name, so the user's separators are carried by this facet instead.
class CRTBug_UserRadix_NoThousandsSep : public std::numpunct_byname<wchar_t> {
public:
  CRTBug_UserRadix_NoThousandsSep(const char* name, wchar_t decimalPoint, wchar_t thousandsSep,
                                  std::size_t refs = 0)
      : std::numpunct_byname<wchar_t>(name, refs), decimal_(decimalPoint),
        thousands_(thousandsSep) {}

protected:
  wchar_t do_decimal_point() const override { return decimal_; }
  wchar_t do_thousands_sep() const override { return thousands_; }
  std::string do_grouping() const override { return {}; }

private:
  wchar_t decimal_;
  wchar_t thousands_;
};

// The user's locale settings, read once per process. Creating it installs the global stream
// locale: numbers written by wide streams then use the user's decimal separator and no digit
// grouping. Numbers that are persisted or exchanged must not depend on it: imbue
// std::locale::classic() on the stream that writes or reads them.
class LocaleInfo {
public:
  // The single object, created on the first call (thread-safe).
  static const LocaleInfo& Get();

  // Whether the locale warnings are shown in a message box (default true). Tests switch it off
  // before the first Get() so that nothing ever waits for a user.
  static void SetMessageBoxEnabled(bool enabled) noexcept;

  // The wide stream locale for the given separators: the classic locale with the user's
  // decimal point and group separator and no grouping.
  static std::locale MakeStreamLocale(wchar_t decimalPoint, wchar_t thousandsSep);
  // The warnings about conflicting separators (empty when the settings are usable).
  static std::vector<std::wstring> SeparatorWarnings(const std::wstring& decimal,
                                                     const std::wstring& date,
                                                     const std::wstring& list);

  char decimalSeparatorNarrow[8] = {};
  wchar_t decimalSeparator[8] = {};
  wchar_t thousandsSeparator[8] = {};
  wchar_t timeSeparator[8] = {};
  wchar_t dateSeparator[8] = {};
  wchar_t listSeparator[8] = {};
  wchar_t morningDesignator[16] = {};
  wchar_t afternoonDesignator[16] = {};
  bool clock24Hour = false;
  bool timeMarkerLeads = false;
  std::int32_t codePage = 0;
  std::wstring timeFormat;
  std::wstring longDateFormat;
  std::wstring shortDateFormat;
  std::locale streamLocale;
  bool initialised = false;
  // The warnings found when the object was made (also shown in the message box).
  std::vector<std::wstring> warnings;

private:
  template <class> friend class NoDestroy;
  LocaleInfo();
};

} // namespace Tarn

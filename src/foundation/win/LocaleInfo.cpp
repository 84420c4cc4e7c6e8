#include "foundation/win/LocaleInfo.h"

#include <windows.h>

#include "foundation/ModuleStrings.h"
#include "foundation/NoDestroy.h"
#include "foundation/win/StatusMessages.h"

#include <atomic>
#include <clocale>
#include <cstring>
#include <cwchar>

namespace Tarn {
namespace {

std::atomic<bool> g_messageBoxEnabled{true};

constexpr UINT kCaptionId = 250; // "Multipoint Calibration"

bool ReadItem(LCTYPE item, wchar_t* buffer, int size) {
  return GetLocaleInfoW(LOCALE_USER_DEFAULT, item, buffer, size) > 0;
}

bool ReadFormat(LCTYPE item, std::wstring& out) {
  const int length = GetLocaleInfoW(LOCALE_USER_DEFAULT, item, nullptr, 0);
  if (length <= 1)
    return false;
  out.resize(static_cast<std::size_t>(length));
  if (GetLocaleInfoW(LOCALE_USER_DEFAULT, item, out.data(), length) <= 0)
    return false;
  out.resize(std::wcslen(out.c_str()));
  return !out.empty();
}

void ShowMessage(const std::wstring& text) {
  if (!g_messageBoxEnabled.load())
    return;
  const std::wstring caption = ModuleString(kCaptionId);
  MessageBoxW(nullptr, text.c_str(), caption.c_str(), MB_OK | MB_ICONWARNING | MB_TASKMODAL);
}

std::wstring CharacterCodes(const std::wstring& text) {
  std::wstring codes;
  for (wchar_t c : text) {
    if (!codes.empty())
      codes += L", ";
    codes += std::to_wstring(static_cast<unsigned>(c));
  }
  return codes.empty() ? std::wstring(L"none") : codes;
}

bool NumericLocaleIsClassic() {
  const char* current = std::setlocale(LC_NUMERIC, nullptr);
  return current && (std::strcmp(current, "C") == 0 || std::strcmp(current, "POSIX") == 0);
}

} // namespace

void LocaleInfo::SetMessageBoxEnabled(bool enabled) noexcept {
  g_messageBoxEnabled.store(enabled);
}

const LocaleInfo& LocaleInfo::Get() {
  // Thread-safe one-time construction; never destroyed, as numbers may still be formatted
  // during the process's exit.
  static const NoDestroy<LocaleInfo> info;
  return info.get();
}

std::locale LocaleInfo::MakeStreamLocale(wchar_t decimalPoint, wchar_t thousandsSep) {
  // MinGW's library knows only the "C" locale by name, so it is the base; the narrow
  // punctuation keeps its own point and loses the grouping.
  std::locale base = std::locale::classic();
  std::locale narrow(base, new NoThousandsSep<char>("C"));
  return std::locale(narrow, new CRTBug_UserRadix_NoThousandsSep("C", decimalPoint, thousandsSep));
}

std::vector<std::wstring> LocaleInfo::SeparatorWarnings(const std::wstring& decimal,
                                                        const std::wstring& date,
                                                        const std::wstring& list) {
  std::vector<std::wstring> out;
  if (!decimal.empty() && date == decimal)
    out.push_back(L"The date separator is the same as the decimal separator (\"" + decimal +
                  L"\"). Dates and numbers may be read wrongly.");
  if (!decimal.empty() && list == decimal)
    out.push_back(L"The list separator is the same as the decimal separator (\"" + decimal +
                  L"\"). Lists of numbers may be read wrongly.");
  if (decimal != L"." && decimal != L",")
    out.push_back(L"The decimal separator is neither a point nor a comma (character codes: " +
                  CharacterCodes(decimal) + L"). Numbers may be shown or read wrongly.");
  return out;
}

LocaleInfo::LocaleInfo() {
  bool ok = GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, decimalSeparatorNarrow,
                           sizeof decimalSeparatorNarrow) > 0;
  ok = ok && ReadItem(LOCALE_SDECIMAL, decimalSeparator, 8);
  ok = ok && ReadItem(LOCALE_STHOUSAND, thousandsSeparator, 8);
  ok = ok && ReadItem(LOCALE_STIME, timeSeparator, 8);
  ok = ok && ReadItem(LOCALE_SDATE, dateSeparator, 8);
  ok = ok && ReadItem(LOCALE_SLIST, listSeparator, 8);
  ok = ok && ReadItem(LOCALE_S1159, morningDesignator, 16);
  ok = ok && ReadItem(LOCALE_S2359, afternoonDesignator, 16);
  wchar_t flag[4] = {};
  ok = ok && ReadItem(LOCALE_ITIME, flag, 4);
  clock24Hour = ok && flag[0] == L'1';
  ok = ok && ReadItem(LOCALE_ITIMEMARKPOSN, flag, 4);
  timeMarkerLeads = ok && flag[0] != L'0';
  DWORD page = 0;
  ok = ok && GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_IDEFAULTCODEPAGE | LOCALE_RETURN_NUMBER,
                            reinterpret_cast<LPWSTR>(&page), sizeof page / sizeof(wchar_t)) > 0;
  codePage = static_cast<std::int32_t>(page);
  ok = ok && ReadFormat(LOCALE_STIMEFORMAT, timeFormat);
  ok = ok && ReadFormat(LOCALE_SLONGDATE, longDateFormat);
  ok = ok && ReadFormat(LOCALE_SSHORTDATE, shortDateFormat);
  if (!ok) {
    warnings.push_back(L"The regional settings of this computer could not be read. Numbers, "
                       L"dates and times may be shown or read wrongly.");
  } else if (NumericLocaleIsClassic()) {
    // Nothing else in the process has chosen a numeric locale: install ours for the streams.
    streamLocale = MakeStreamLocale(decimalSeparator[0] ? decimalSeparator[0] : L'.',
                                    thousandsSeparator[0] ? thousandsSeparator[0] : L',');
    std::locale::global(streamLocale);
    initialised = true;
    for (std::wstring& w : SeparatorWarnings(decimalSeparator, dateSeparator, listSeparator))
      warnings.push_back(std::move(w));
  }
  if (!warnings.empty()) {
    std::wstring text;
    for (const std::wstring& w : warnings)
      text += (text.empty() ? L"" : L"\n\n") + w;
    ShowMessage(text);
  }
}

} // namespace Tarn

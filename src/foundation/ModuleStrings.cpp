#include "foundation/ModuleStrings.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <string_view>

namespace Tarn {
namespace {

struct TableEntry {
  std::uint32_t id;
  const wchar_t* text;
};

#define MPCAL_STRING(id, text) {id, text},
constexpr TableEntry kTable[] = {
#include "resources/StringTable.inc"
};
#undef MPCAL_STRING

struct Substitution {
  std::wstring_view pattern;
  std::wstring_view replacement;
};
// "KYMO" is a part of the first pattern, so the longer word must go first.
constexpr std::array<Substitution, 4> kSubstitutions{{
    {L"DUZURERIDEZEZE", L"Kymo"},
    {L"KYMO", L"Kymo"},
    {L"ACQBOX", L"Acqbox"},
    {L"OEM", L"Tarn Instruments"},
}};

std::atomic<ModuleStringProvider> g_provider{nullptr};

} // namespace

std::wstring BuiltInModuleString(std::uint32_t id) {
  const auto* entry = std::find_if(std::begin(kTable), std::end(kTable),
                                   [id](const TableEntry& e) { return e.id == id; });
  return entry == std::end(kTable) || id == 0 ? std::wstring() : std::wstring(entry->text);
}

void SubstituteProductNames(std::wstring& text) {
  for (const Substitution& s : kSubstitutions) {
    std::size_t pos = 0;
    while ((pos = text.find(s.pattern, pos)) != std::wstring::npos) {
      text.replace(pos, s.pattern.size(), s.replacement);
      pos += s.replacement.size(); // never search the inserted replacement again
    }
  }
}

void SetModuleStringProvider(ModuleStringProvider provider) noexcept {
  g_provider.store(provider);
}

std::wstring ModuleString(std::uint32_t id) {
  if (const ModuleStringProvider provider = g_provider.load())
    return provider(id);
  std::wstring text = BuiltInModuleString(id);
  if (!text.empty())
    SubstituteProductNames(text);
  return text;
}

} // namespace Tarn

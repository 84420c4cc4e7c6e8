#pragma once
#include <cstdint>
#include <string>

namespace Tarn {

// Texts of the module's string table (identifiers 100..284) for portable code. The built-in
// provider serves the texts compiled from resources/StringTable.inc; the Windows module installs
// the resource string loader instead, so the host's language is honoured. Every text is returned
// with the product words substituted; identifier 0 or a missing entry gives the empty string.
std::wstring ModuleString(std::uint32_t id);

using ModuleStringProvider = std::wstring (*)(std::uint32_t id);
// Installs a provider (null restores the built-in table). Call before other threads use texts.
void SetModuleStringProvider(ModuleStringProvider provider) noexcept;

// The built-in table's text for `id`, without substitution; empty when there is none.
std::wstring BuiltInModuleString(std::uint32_t id);

// Replaces the product words (DUZURERIDEZEZE, KYMO, ACQBOX, OEM) in order, case-sensitively,
// never re-scanning an inserted replacement.
void SubstituteProductNames(std::wstring& text);

} // namespace Tarn

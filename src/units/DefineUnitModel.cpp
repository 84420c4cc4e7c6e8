#include "units/DefineUnitModel.h"

#include "units/Quantity.h"
#include "units/UnitPrefixes.h"

namespace Tarn {

namespace {
constexpr int kFirstPrefixIndex = 2;
}

std::wstring DefinePrefixEntryText(int entry) {
  if (entry < 0 || entry >= kDefinePrefixEntries)
    return {};
  return PrefixCharacter(entry + kFirstPrefixIndex);
}

int DefinePrefixEntryOf(int prefixIndex) noexcept {
  const int entry = prefixIndex - kFirstPrefixIndex;
  return entry >= 0 && entry < kDefinePrefixEntries ? entry : kDefineNoPrefixEntry;
}

DefineUnitModel::DefineUnitModel(const UnitInfo& initial)
    : entry_(DefinePrefixEntryOf(initial.prefixIndex)), name_(initial.name) {}

void DefineUnitModel::SetPrefixEntry(int entry) noexcept {
  entry_ = entry >= 0 && entry < kDefinePrefixEntries ? entry : kDefineNoPrefixEntry;
}

UnitInfo DefineUnitModel::Unit() const {
  UnitInfo unit;
  unit.unitKind = 0;
  unit.prefixIndex = entry_ + kFirstPrefixIndex;
  unit.name = name_;
  return unit;
}

int DefineUnitModel::ProviderFlags(int flags) const noexcept {
  return Valid() ? flags & ~kDefineUnitProviderFlags : flags | kDefineUnitProviderFlags;
}

std::wstring DefineUnitModel::Example(const std::locale& numberLocale) const {
  if (!Valid())
    return {};
  const Quantity q =
      MakeQuantity(ScaleByPowerOfTen(499.0, PrefixPower(entry_ + kFirstPrefixIndex)), name_);
  return FormatQuantity(q, q.exponent, 3, {}, numberLocale);
}

std::wstring DefineUnitModel::ExampleText(const std::wstring& exampleLabel,
                                          const std::locale& numberLocale) const {
  if (!Valid())
    return {};
  return exampleLabel + Example(numberLocale);
}

} // namespace Tarn

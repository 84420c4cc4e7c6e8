#pragma once
#include <locale>
#include <string>

#include "units/UnitInfo.h"

namespace Tarn {

// Strings of the Define Unit dialog in the module's string table.
inline constexpr int kInvalidUnitTitleString = 282; // "Invalid Unit"
inline constexpr int kUnitNeedsNameString = 283;    // "The unit requires a name."
inline constexpr int kExampleString = 284;          // "Example: "

// The prefix combo lists the prefixes of indexes 2..14: a f p n µ m, an empty entry, k M G T P E.
inline constexpr int kDefinePrefixEntries = 13;
inline constexpr int kDefineNoPrefixEntry = 6;

// The text of a prefix entry (0..12).
std::wstring DefinePrefixEntryText(int entry);
// The entry showing a prefix index: the empty entry for an index outside 2..14.
int DefinePrefixEntryOf(int prefixIndex) noexcept;

// The error provider flags the dialog switches with the validity of the name.
inline constexpr int kDefineUnitProviderFlags = 0x01 | 0x04;

// The Define Unit dialog's state: the chosen prefix entry and the unit name typed.
class DefineUnitModel {
public:
  explicit DefineUnitModel(const UnitInfo& initial);

  // An entry outside 0..12 (nothing chosen) stands for the empty entry.
  void SetPrefixEntry(int entry) noexcept;
  void SetName(std::wstring name) { name_ = std::move(name); }

  int PrefixEntry() const noexcept { return entry_; }
  const std::wstring& Name() const noexcept { return name_; }

  // {unitKind 0, prefix index of the entry, name}: what OK hands back.
  UnitInfo Unit() const;
  // OK can be pressed: the unit has a name.
  bool Valid() const noexcept { return !name_.empty(); }
  // `flags` with the provider's flags set for an invalid unit and cleared for a valid one.
  int ProviderFlags(int flags) const noexcept;
  // 499 in the prefixed unit, three significant digits, in `numberLocale` ("499 mV"); empty
  // without a name.
  std::wstring Example(const std::locale& numberLocale) const;
  // `exampleLabel` ("Example: ") followed by the example; empty without a name.
  std::wstring ExampleText(const std::wstring& exampleLabel, const std::locale& numberLocale) const;

private:
  int entry_;
  std::wstring name_;
};

} // namespace Tarn

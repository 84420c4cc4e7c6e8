#pragma once
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace Tarn {

// A message text with positional markers %1 to %20. A doubled percent sign stands for one
// percent sign; a backslash directly after a marker's number ends the marker and is dropped,
// so "%1\2" is argument 1 followed by the digit 2. Up to 20 markers are recorded, later ones stay
// literal text; a later marker with an argument number already seen takes that argument over.
// The highest number seen (also above 20) is the number of arguments expected.
class FormatText {
public:
  static constexpr int kMaxPlaceholders = 20;
  static constexpr int kMaxArgument = 20;

  explicit FormatText(std::wstring_view format);

  const std::wstring& text() const noexcept { return format_; }
  bool hasPlaceholders() const noexcept { return !placeholders_.empty(); }
  int expectedArguments() const noexcept { return highest_; }
  // True when the output of argument `argument` (1-based) appears in the result.
  bool usesArgument(int argument) const noexcept;
  // The finished text: `outputs[i]` is the output of argument i + 1; missing ones are empty.
  std::wstring assemble(const std::vector<std::wstring>& outputs) const;

private:
  struct Placeholder {
    std::size_t start;  // the '%'
    std::size_t end;    // just behind the number (and its backslash)
    bool escapedBefore; // a doubled percent sign occurs in the literal text before it
    int argument;
  };
  void appendLiteral(std::wstring& out, std::size_t from, std::size_t to, bool escaped) const;

  std::wstring format_;
  std::vector<Placeholder> placeholders_;
  std::array<int, kMaxArgument + 1> map_; // argument -> placeholder index, -1 for none
  bool trailingEscaped_ = false;
  int highest_ = 0;
};

} // namespace Tarn
